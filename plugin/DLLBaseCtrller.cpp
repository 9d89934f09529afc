#include "plugin/DLLBaseCtrller.h"

namespace krv {

void TDLLBaseController::NotifyFormCreated() { Notify(DLLNotifyFormCreated); }

void TDLLBaseController::FormShowRelay(TObject*) { Notify(DLLNotifyFormShown); }

void TDLLBaseController::FormHideRelay(TObject*) { Notify(DLLNotifyFormHidden); }

void TDLLBaseController::FormDestroyRelay(TObject*) { Notify(DLLNotifyFormDestroyed); }

void TDLLBaseController::NotifyReserved() { Notify(DLLNotifyReserved); }

void TDLLBaseController::Notify(int32_t code) {
    if (OnNotify) OnNotify(code, this);
}

void TDLLBaseController::Reserved() {}

TDLLBaseController::~TDLLBaseController() = default;

}  // namespace krv
