// The library's main: its single export and the start-up that registers the job form class.
#include "forms/BaseGene.h"
#include "platform/SysUtils.h"
#include "plugin/DLLBTCtrller.h"

namespace {

// Runs when the library is loaded, after the units have registered their classes. The generic
// job form serves until the job's own form class is registered here.
const bool formClassRegistered = [] {
    krv::frmBaseBatchClass = &krv::TfrmBaseGene::StaticClassInfo();
    return true;
}();

}  // namespace

// A new controller that the caller owns and frees.
extern "C" krv::TDLLBaseController* GetController() {
    if (!krv::DLLControllerClass)
        throw krv::Exception("KRV DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible");
    return krv::DLLControllerClass();
}
