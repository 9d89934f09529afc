#include "plugin/DLLBTCtrller.h"

#include "forms/BaseGene.h"
#include "platform/CodePage.h"
#include "platform/DynLib.h"
#include "platform/Forms.h"

namespace krv {

TDLLControllerClass DLLControllerClass = nullptr;
const TClassInfo* frmBaseBatchClass = nullptr;

namespace {

// The unit registers its controller class once, when the library is loaded.
const bool controllerClassRegistered = [] {
    if (!DLLControllerClass) DLLControllerClass = &TDLLBTCtrller::CreateInstance;
    return true;
}();

constexpr int32_t kPresetCommand = 5;

// The full path of the file this code was loaded from: the library, or a program it is built into.
std::string OwnModuleFileName() { return ModuleFileNameOf(reinterpret_cast<const void*>(&OwnModuleFileName)); }

}  // namespace

TDLLBaseController* TDLLBTCtrller::CreateInstance() { return new TDLLBTCtrller(); }

TDLLBTCtrller::~TDLLBTCtrller() {
    *alive_ = false;
    if (delivering_ > 0 && Form) {
        // Freed by the host from a notification: the form's code is still running, so the form
        // goes at the next message processing, without relays into this controller.
        UnhookFormEvents();
        Form->Release();
        return;
    }
    FreeForm();
}

void TDLLBTCtrller::GetRevision(std::u16string& text) {
    if (Form) text = AnsiToWide(Form->Revision);
}

int32_t TDLLBTCtrller::IsFormVisible() { return Form && Form->Visible() ? DLLTrue : DLLFalse; }

void TDLLBTCtrller::SetFormVisible(int16_t visible) {
    if (!Form) return;
    const std::shared_ptr<bool> alive = alive_;
    Form->SetVisible(visible != 0);
    if (!*alive || !Form || visible == 0) return;
    if (Form->WindowState() == wsMinimized) Form->SetWindowState(wsNormal);
    Form->BringToFront();
}

TDLLWindowHandle TDLLBTCtrller::GetFormHandle() { return Form ? Form->Handle() : 0; }

int32_t TDLLBTCtrller::CreateForm(const Variant& params) {
    if (!Form) {
        Form = CreateJobForm();
        Form->SetModuleFileName(OwnModuleFileName());
        Form->HostServices = HostServices;
        if (!DeliverToHost([this] { NotifyFormCreated(); })) return DLLStatusFailed;
        HookFormEvents();
    }
    return Form->Initialize(params) ? DLLStatusOk : DLLStatusFailed;
}

TfrmBaseGene* TDLLBTCtrller::CreateJobForm() {
    if (!frmBaseBatchClass)
        throw Exception("KRV DLL Internal Error :\rNot Assign \"frmBaseBatchClass\" varible");
    TComponent* instance = frmBaseBatchClass->CreateInstance(nullptr);
    auto* form = dynamic_cast<TfrmBaseGene*>(instance);
    if (!form) {
        instance->Free();
        throw Exception("KRV DLL Internal Error :\r\"frmBaseBatchClass\" is no job form class");
    }
    return form;
}

// Installed once per form: a relay that saved itself as the previous handler would call itself
// without end.
void TDLLBTCtrller::HookFormEvents() {
    SavedOnShow = Form->OnShow;
    SavedOnHide = Form->OnHide;
    SavedOnDestroy = Form->OnDestroy;
    Form->OnShow = TNotifyEvent(this, &TDLLBTCtrller::FormShowRelay);
    Form->OnHide = TNotifyEvent(this, &TDLLBTCtrller::FormHideRelay);
    Form->OnDestroy = TNotifyEvent(this, &TDLLBTCtrller::FormDestroyRelay);
    hooked_ = true;
}

void TDLLBTCtrller::UnhookFormEvents() {
    if (!hooked_) return;
    Form->OnShow = SavedOnShow;
    Form->OnHide = SavedOnHide;
    Form->OnDestroy = SavedOnDestroy;
    hooked_ = false;
}

bool TDLLBTCtrller::DeliverToHost(const std::function<void()>& raise) {
    const std::shared_ptr<bool> alive = alive_;
    ++delivering_;
    raise();
    if (!*alive) return false;
    --delivering_;
    return true;
}

int32_t TDLLBTCtrller::SetPresetValues(const Variant& values) {
    if (!Form || !VarIsArray(values) || values.DimCount() != 1) return DLLStatusFailed;
    if (values.LowBound() > 1 || values.HighBound() < 1) return DLLStatusFailed;
    try {
        Form->ApplyPresetPackage(values[1]);
        return DLLStatusOk;
    } catch (...) {
        return DLLStatusFailed;
    }
}

int32_t TDLLBTCtrller::SendCommand(int32_t code, const Variant& value) {
    if (code != kPresetCommand) return DLLStatusFailed;
    return SetPresetValues(VarArrayOf({false, value}));
}

void TDLLBTCtrller::ShowFormModal(Variant& result) {
    result = Form ? Form->ShowModal() : mrCancel;
}

// Nothing may touch the controller after Free: the host may free it from its 304 callback.
void TDLLBTCtrller::FreeForm() {
    if (!Form || Form->IsDestroying()) return;
    // Asked from a notification, the form's handler is still running: it goes at the next
    // message processing instead.
    if (delivering_ > 0) {
        Form->Release();
        return;
    }
    Form->Free();
}

int32_t TDLLBTCtrller::GetJobInfo(Variant& info) {
    if (!Form) return DLLStatusFailed;
    info = VarArrayOf({Form->UserId, Form->CompanyId, Form->ProgramCode, Form->ProgramName});
    return DLLStatusOk;
}

bool TDLLBTCtrller::FormIsNil() { return Form == nullptr; }

void TDLLBTCtrller::FormShowRelay(TObject* sender) {
    SavedOnShow(sender);
    DeliverToHost([this] { Notify(DLLNotifyFormShown); });
}

void TDLLBTCtrller::FormHideRelay(TObject* sender) {
    SavedOnHide(sender);
    DeliverToHost([this] { Notify(DLLNotifyFormHidden); });
}

// The form is forgotten before the host hears of it, so a host that frees the controller in its
// callback leaves nothing behind that the relay would still touch.
void TDLLBTCtrller::FormDestroyRelay(TObject* sender) {
    if (!Form) return;
    ResultCode = Form->ResultState;
    ResultValue = Form->ResultText;
    SavedOnDestroy(sender);
    Form = nullptr;
    hooked_ = false;
    DeliverToHost([this] { Notify(DLLNotifyFormDestroyed); });
}

}  // namespace krv
