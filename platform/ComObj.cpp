#include "platform/ComObj.h"

#include <map>
#include <mutex>
#include <utility>

#include "platform/DynLib.h"
#include "platform/Registry.h"

namespace krv {

namespace {

struct FactoryTable {
    std::mutex lock;
    std::map<std::string, TComObjectFactory> factories;  // key: upper-cased class name
    std::map<std::string, HMODULE> serverLibraries;      // key: library name as registered
};

// Reached from static registrations of other libraries, so built on first use.
FactoryTable& Table() {
    static FactoryTable table;
    return table;
}

TComObjectFactory FindFactory(const std::string& className) {
    FactoryTable& table = Table();
    std::lock_guard guard(table.lock);
    const auto it = table.factories.find(UpperCase(className));
    return it == table.factories.end() ? TComObjectFactory() : it->second;
}

[[noreturn]] void RaiseCreationError(const std::string& className, const std::string& reason) {
    throw EOleSysError("Cannot create object \"" + className + "\": " + reason);
}

// The registry names the in-process server library of a class; "" when it names none.
std::string RegisteredServerLibrary(const std::string& className) {
    TRegistry registry(RegRoot::ClassesRoot);
    if (!registry.OpenKeyReadOnly(className + "\\InprocServer32")) return {};
    try {
        return Trim(registry.ReadString(""));
    } catch (const ERegistryException&) {
        return {};
    }
}

// A server library stays loaded once loaded: the objects it made run its code. It is loaded
// without the table's lock held, because its start-up may register factories of its own.
HMODULE LoadServerLibrary(const std::string& className, const std::string& library) {
    FactoryTable& table = Table();
    {
        std::lock_guard guard(table.lock);
        const auto loaded = table.serverLibraries.find(library);
        if (loaded != table.serverLibraries.end()) return loaded->second;
    }
    HMODULE module = LoadLibrary(library);
    if (!module)
        RaiseCreationError(className, "cannot load library " + library + " (" + LastLibraryError() + ")");
    std::lock_guard guard(table.lock);
    table.serverLibraries.emplace(library, module);
    return module;
}

DispatchPtr CreateFromServerLibrary(const std::string& className, const std::string& library) {
    HMODULE module = LoadServerLibrary(className, library);
    auto* create = reinterpret_cast<TCreateObjectProc*>(GetProcAddress(module, kCreateObjectExport));
    if (!create)
        RaiseCreationError(className, "library " + library + " has no export " + kCreateObjectExport);
    DispatchPtr object;
    bool served = false;
    try {
        served = create(className.c_str(), &object);
    } catch (const std::exception& e) {
        RaiseCreationError(className, e.what());
    }
    if (!served || !object)
        RaiseCreationError(className, "library " + library + " does not serve this class");
    return object;
}

DispatchPtr CreateFromFactory(const std::string& className, const TComObjectFactory& factory) {
    DispatchPtr object;
    try {
        object = factory();
    } catch (const std::exception& e) {
        RaiseCreationError(className, e.what());
    }
    if (!object) RaiseCreationError(className, "the factory gave no object");
    return object;
}

}  // namespace

void RegisterComObjectFactory(const std::string& className, TComObjectFactory factory) {
    FactoryTable& table = Table();
    std::lock_guard guard(table.lock);
    table.factories[UpperCase(className)] = std::move(factory);
}

void UnregisterComObjectFactory(const std::string& className) {
    FactoryTable& table = Table();
    std::lock_guard guard(table.lock);
    table.factories.erase(UpperCase(className));
}

bool IsComObjectFactoryRegistered(const std::string& className) {
    return static_cast<bool>(FindFactory(className));
}

TComObjectRegistration::TComObjectRegistration(std::string className, TComObjectFactory factory)
    : className_(std::move(className)) {
    RegisterComObjectFactory(className_, std::move(factory));
}

TComObjectRegistration::~TComObjectRegistration() { UnregisterComObjectFactory(className_); }

DispatchPtr CreateComObject(const std::string& className) {
    if (Trim(className).empty()) RaiseCreationError(className, "no class name given");
    if (const TComObjectFactory factory = FindFactory(className))
        return CreateFromFactory(className, factory);
    const std::string library = RegisteredServerLibrary(className);
    if (library.empty()) RaiseCreationError(className, "class not registered");
    return CreateFromServerLibrary(className, library);
}

Variant CreateOleObject(const std::string& className) { return Variant(CreateComObject(className)); }

// ---- server module job object ----------------------------------------------------------------

TServerModuleJob::TServerModuleJob(TDynLib& library) : job_(nullptr) {
    auto* getController = library.FindAs<TGetSvrControllerProc>(kSvrControllerExport);
    if (!getController)
        throw EOleError("Server module " + library.Path() + " has no export " +
                        kSvrControllerExport);
    job_ = getController();
    if (!job_)
        throw EOleError("Server module " + library.Path() + " gave no job object");
}

TServerModuleJob::~TServerModuleJob() {
    if (job_) job_->Release();
}

void TServerModuleJob::Run(const Variant& args) { job_->Run(args); }

std::u16string TServerModuleJob::Message() { return job_->Message(); }

}  // namespace krv
