#include "platform/DynLib.h"

#include <dlfcn.h>
#include <limits.h>
#include <link.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>

#include "platform/SysUtils.h"

namespace krv {

namespace {

thread_local std::string lastError;

void RememberLoaderError(const std::string& fallback) {
    const char* reason = dlerror();
    lastError = reason ? reason : fallback;
}

bool HasFolder(const std::string& path) { return path.find('/') != std::string::npos; }

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExecutableFolder() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return length > 0 ? FolderOf(std::string(buffer, static_cast<size_t>(length))) : std::string();
}

// The folder of the platform library itself, found through one of its own functions.
std::string PlatformFolder() {
    return FolderOf(ModuleFileNameOf(reinterpret_cast<const void*>(&PlatformLibraryName)));
}

HMODULE OpenFile(const std::string& file) { return dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL); }

// A bare name: next to the program, next to the platform library (where the module and its
// libraries are installed together), then wherever the loader looks by itself.
HMODULE OpenBareName(const std::string& name) {
    for (const std::string& folder : {ExecutableFolder(), PlatformFolder()}) {
        if (folder.empty()) continue;
        const std::string candidate = folder + name;
        if (access(candidate.c_str(), F_OK) == 0) return OpenFile(candidate);
    }
    return OpenFile(name);
}

}  // namespace

std::string PlatformLibraryName(const std::string& nameOrPath) {
    const std::string windowsExtension = ".dll";
    if (nameOrPath.size() > windowsExtension.size() &&
        SameText(nameOrPath.substr(nameOrPath.size() - windowsExtension.size()), windowsExtension))
        return nameOrPath.substr(0, nameOrPath.size() - windowsExtension.size()) + ".so";
    return nameOrPath;
}

HMODULE LoadLibrary(const std::string& nameOrPath) {
    if (nameOrPath.empty()) {
        lastError = "No library name given";
        return nullptr;
    }
    const std::string file = PlatformLibraryName(nameOrPath);
    dlerror();
    HMODULE module = HasFolder(file) ? OpenFile(file) : OpenBareName(file);
    if (!module) RememberLoaderError("Cannot load " + file);
    return module;
}

void* GetProcAddress(HMODULE module, const std::string& exportName) {
    if (!module) {
        lastError = "No library loaded";
        return nullptr;
    }
    dlerror();
    void* address = dlsym(module, exportName.c_str());
    if (!address) RememberLoaderError("No export " + exportName);
    return address;
}

bool FreeLibrary(HMODULE module) { return module && dlclose(module) == 0; }

std::string GetModuleFileName(HMODULE module) {
    if (!module) return {};
    const link_map* map = nullptr;
    if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name) return {};
    // The main program's entry has an empty name.
    return *map->l_name ? std::string(map->l_name) : std::string();
}

std::string ModuleFileNameOf(const void* address) {
    Dl_info info{};
    if (!address || dladdr(address, &info) == 0 || !info.dli_fname) return {};
    char resolved[PATH_MAX];
    return realpath(info.dli_fname, resolved) ? std::string(resolved) : std::string(info.dli_fname);
}

std::string LastLibraryError() { return lastError; }

// ---- TDynLib ---------------------------------------------------------------------------------

TDynLib::TDynLib(TDynLib&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_)) {}

TDynLib& TDynLib::operator=(TDynLib&& other) noexcept {
    if (this != &other) {
        Unload();
        handle_ = std::exchange(other.handle_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

bool TDynLib::Load(const std::string& nameOrPath) {
    Unload();
    handle_ = LoadLibrary(nameOrPath);
    error_ = handle_ ? std::string() : LastLibraryError();
    return handle_ != nullptr;
}

void TDynLib::Unload() {
    if (handle_) FreeLibrary(std::exchange(handle_, nullptr));
}

void* TDynLib::Find(const std::string& exportName) {
    void* address = GetProcAddress(handle_, exportName);
    if (!address) error_ = LastLibraryError();
    return address;
}

}  // namespace krv
