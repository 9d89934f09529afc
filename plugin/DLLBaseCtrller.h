// The job controller as a host sees it. A host includes this header, obtains a controller from the
// library's export `GetController` and drives the job through the virtual operations below.
//
// The class is defined entirely here, so a host compiles it in as the module does.
//
// The host contract is the order of the virtual operations (table slots 0..17, declared first and
// in that order, the destructor after them) and the order and types of the data fields. Do not
// reorder, insert or remove either; add new operations only after `Reserved`.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Variant.h"

namespace krv {

class TObject;
class TDLLBaseController;

// Window handle as the host reads it (0 = no window).
using TDLLWindowHandle = std::intptr_t;

// The host's notification callback: procedure(Code, Sender) bound to the host's object.
using TDLLNotifyEvent = std::function<void(int32_t code, TDLLBaseController* sender)>;

// Notification codes passed to OnNotify.
enum : int32_t {
    DLLNotifyFormCreated = 0x100,  // the form was just created, before it is initialized
    DLLNotifyFormShown = 0x110,
    DLLNotifyFormHidden = 0x120,
    DLLNotifyFormDestroyed = 0x130,  // ResultCode and ResultValue are already filled
    DLLNotifyReserved = 0x140,
};

// Boolean results of the table are 32-bit: -1 true, 0 false.
constexpr int32_t DLLTrue = -1;
constexpr int32_t DLLFalse = 0;
// Status results: 0 success, -1 failure.
constexpr int32_t DLLStatusOk = 0;
constexpr int32_t DLLStatusFailed = -1;

// Function type of the library's export `GetController`.
using TGetControllerFunc = TDLLBaseController* (*)();

class TDLLBaseController {
public:
    // ---- operation table: slots 0..10 are implemented by the concrete controller -------------
    /* 0 */ virtual void GetRevision(std::u16string& text) = 0;
    /* 1 */ virtual int32_t IsFormVisible() = 0;
    /* 2 */ virtual void SetFormVisible(int16_t visible) = 0;
    /* 3 */ virtual TDLLWindowHandle GetFormHandle() = 0;
    /* 4 */ virtual int32_t CreateForm(const Variant& params) = 0;
    /* 5 */ virtual int32_t SetPresetValues(const Variant& values) = 0;
    /* 6 */ virtual int32_t SendCommand(int32_t code, const Variant& value) = 0;
    /* 7 */ virtual void ShowFormModal(Variant& result) = 0;
    /* 8 */ virtual void FreeForm() = 0;
    /* 9 */ virtual int32_t GetJobInfo(Variant& info) = 0;
    /* 10 */ virtual bool FormIsNil() = 0;
    // ---- slots 11..17 have base implementations ----------------------------------------------
    /* 11 */ virtual void NotifyFormCreated() { Notify(DLLNotifyFormCreated); }
    /* 12 */ virtual void FormShowRelay(TObject*) { Notify(DLLNotifyFormShown); }
    /* 13 */ virtual void FormHideRelay(TObject*) { Notify(DLLNotifyFormHidden); }
    /* 14 */ virtual void FormDestroyRelay(TObject*) { Notify(DLLNotifyFormDestroyed); }
    /* 15 */ virtual void NotifyReserved() { Notify(DLLNotifyReserved); }
    // Every notification goes through here, so a derived controller can intercept them all.
    // The callback runs from a copy: a host may free the controller (and with it OnNotify)
    // while its callback is still running.
    /* 16 */ virtual void Notify(int32_t code) {
        if (!OnNotify) return;
        const TDLLNotifyEvent callback = OnNotify;
        callback(code, this);
    }
    /* 17 */ virtual void Reserved() {}

    // Freeing the controller frees its form first.
    virtual ~TDLLBaseController() = default;

    // ---- host-visible data, in this order ------------------------------------------------------
    Variant HostServices;     // the host's service object, copied into the form by CreateForm
    int32_t ResultCode = 0;   // 0 nothing done, 1 run or submitted, 2 cancelled
    Variant ResultValue;      // the job request's identifier, or empty
    TDLLNotifyEvent OnNotify; // may be unassigned
};

}  // namespace krv
