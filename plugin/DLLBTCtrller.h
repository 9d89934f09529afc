// The controller of batch-type jobs: it owns the one job form, relays the form's life-cycle
// events to the host and answers the host's questions about the form.
#pragma once

#include <functional>
#include <memory>

#include "platform/Classes.h"
#include "platform/TypInfo.h"
#include "plugin/DLLBaseCtrller.h"

namespace krv {

class TfrmBaseGene;

// Class reference of a controller: creates a new instance that the caller owns.
using TDLLControllerClass = TDLLBaseController* (*)();

// The controller class that GetController instantiates; set when the library starts.
extern TDLLControllerClass DLLControllerClass;
// The job form class that the controller creates (a TfrmBaseGene descendant); set by the
// library's start-up code.
extern const TClassInfo* frmBaseBatchClass;

class TDLLBTCtrller : public TDLLBaseController {
public:
    static TDLLBaseController* CreateInstance();
    // Frees a live form first; the host gets its 304 before the controller is gone.
    ~TDLLBTCtrller() override;

    void GetRevision(std::u16string& text) override;
    int32_t IsFormVisible() override;
    void SetFormVisible(int16_t visible) override;
    TDLLWindowHandle GetFormHandle() override;
    // Raises when no form class is registered.
    int32_t CreateForm(const Variant& params) override;
    int32_t SetPresetValues(const Variant& values) override;
    int32_t SendCommand(int32_t code, const Variant& value) override;
    void ShowFormModal(Variant& result) override;
    void FreeForm() override;
    int32_t GetJobInfo(Variant& info) override;
    bool FormIsNil() override;
    void FormShowRelay(TObject* sender) override;
    void FormHideRelay(TObject* sender) override;
    void FormDestroyRelay(TObject* sender) override;

    TfrmBaseGene* Form = nullptr;
    TNotifyEvent SavedOnShow;
    TNotifyEvent SavedOnHide;
    TNotifyEvent SavedOnDestroy;

private:
    TfrmBaseGene* CreateJobForm();
    void HookFormEvents();
    void UnhookFormEvents();
    // Raises a notification that the host may answer by freeing the form or the controller;
    // false when the controller is gone afterwards.
    bool DeliverToHost(const std::function<void()>& raise);

    bool hooked_ = false;
    // Notifications being delivered: the form's own code is still running below them.
    int delivering_ = 0;
    // Cleared when the controller goes, so that a delivery ending after it touches nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace krv
