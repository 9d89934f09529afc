// Creation of objects registered by name, and the job object of a server module.
//
// CreateOleObject("Some.Class") first asks the factories registered in this process, then the
// registry: key HKEY_CLASSES_ROOT\<class name>\InprocServer32, whose default value names the
// in-process server library (a bare name is found as LoadLibrary finds it, ".dll" becomes ".so").
// Such a library exports the creation function `KrvCreateObject` (TCreateObjectProc below) and
// stays loaded for the rest of the process, because the objects it made run its code.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Dispatch.h"
#include "platform/DynLib.h"
#include "platform/SysUtils.h"
#include "platform/Variant.h"

namespace krv {

// Raised when an object cannot be created by name.
KRV_DECLARE_EXCEPTION(EOleSysError, EOleError);

using TComObjectFactory = std::function<DispatchPtr()>;

// Registers (or replaces) the factory for a class name; names ignore case.
void RegisterComObjectFactory(const std::string& className, TComObjectFactory factory);
void UnregisterComObjectFactory(const std::string& className);
bool IsComObjectFactoryRegistered(const std::string& className);

// Registers a factory for the lifetime of a static object, for "register at load" in a library.
class TComObjectRegistration {
public:
    TComObjectRegistration(std::string className, TComObjectFactory factory);
    ~TComObjectRegistration();
    TComObjectRegistration(const TComObjectRegistration&) = delete;
    TComObjectRegistration& operator=(const TComObjectRegistration&) = delete;

private:
    std::string className_;
};

// Creates the object registered under the name and answers it as a dispatch variant. Raises
// EOleSysError naming the class and the reason: not registered, library not loadable, library
// without the creation function, creation failed or gave no object.
Variant CreateOleObject(const std::string& className);
DispatchPtr CreateComObject(const std::string& className);

// The export of an in-process server library: fills *object with a new instance of the class
// and answers true, or answers false when the library does not serve that class. May raise.
inline constexpr const char* kCreateObjectExport = "KrvCreateObject";
using TCreateObjectProc = bool(const char* className, DispatchPtr* object);

// ---- server modules --------------------------------------------------------------------------

// The job object that a server module's export GetSvrController gives. The operations are
// declared in the order of the module's operation table: the message, then the run. Run raises
// the job's failure as an exception. The caller ends the object with Release, before it unloads
// the library.
class ISvrController {
public:
    // The job's message text after a run ("" when it has nothing to say).
    virtual std::u16string Message() = 0;
    // Runs the job with its argument array.
    virtual void Run(const Variant& args) = 0;
    virtual void Release() = 0;

protected:
    virtual ~ISvrController() = default;
};

inline constexpr const char* kSvrControllerExport = "GetSvrController";
using TGetSvrControllerProc = ISvrController*();

// The job object of a server module, obtained from its export GetSvrController and released when
// this object goes (so before the library is unloaded, when it is declared after the TDynLib).
class TServerModuleJob {
public:
    // Asks the library for its job object. Raises EOleError when the library has no
    // GetSvrController or it gives no object.
    explicit TServerModuleJob(TDynLib& library);
    ~TServerModuleJob();
    TServerModuleJob(const TServerModuleJob&) = delete;
    TServerModuleJob& operator=(const TServerModuleJob&) = delete;

    // Operation 3: runs the job with its argument array; the job's failure raises.
    void Run(const Variant& args);
    // Operation 2: the job's message as wide text.
    std::u16string Message();

private:
    ISvrController* job_;
};

}  // namespace krv
