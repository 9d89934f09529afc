// Dynamic libraries loaded at run time by name or by full path, with exports found by name.
//
// Names written the Windows way keep working: an extension ".dll" (any case) becomes ".so". A bare
// file name is searched next to the running program first, then next to the platform library,
// then on the loader's normal search path. A missing library or export is an answer (a null
// handle, a null address), never a crash; the loader's reason stays readable for messages.
#pragma once

#include <string>

namespace krv {

using HMODULE = void*;

// The file name the loader is given for a name: ".dll" replaced by ".so".
std::string PlatformLibraryName(const std::string& nameOrPath);

// Loads the library; nullptr when it cannot be loaded (see LastLibraryError).
HMODULE LoadLibrary(const std::string& nameOrPath);
// The export's address; nullptr when the handle is null or the library has no such export.
void* GetProcAddress(HMODULE module, const std::string& exportName);
// Unloads a library loaded by LoadLibrary; false for a null handle or when the loader refuses.
bool FreeLibrary(HMODULE module);
// The full path of the file a loaded library came from ("" for a null handle).
std::string GetModuleFileName(HMODULE module);
// The full path of the library or program file that holds this address (a function or variable
// of it); "" when the address belongs to none. This is how a library finds its own file.
std::string ModuleFileNameOf(const void* address);
// The loader's text for the last failure of LoadLibrary or GetProcAddress on this thread.
std::string LastLibraryError();

// One loaded library, unloaded when the object goes (or on Unload). Move-only.
class TDynLib {
public:
    TDynLib() = default;
    explicit TDynLib(const std::string& nameOrPath) { Load(nameOrPath); }
    ~TDynLib() { Unload(); }
    TDynLib(TDynLib&& other) noexcept;
    TDynLib& operator=(TDynLib&& other) noexcept;
    TDynLib(const TDynLib&) = delete;
    TDynLib& operator=(const TDynLib&) = delete;

    // Unloads what was loaded before; false when the new library cannot be loaded.
    bool Load(const std::string& nameOrPath);
    void Unload();
    bool Loaded() const { return handle_ != nullptr; }
    HMODULE Handle() const { return handle_; }
    // Path of the loaded file, or "" when nothing is loaded.
    std::string Path() const { return GetModuleFileName(handle_); }
    // The reason of the last failed Load or Find.
    const std::string& Error() const { return error_; }

    // An export's address, nullptr when absent (optional exports are simply tested for null).
    void* Find(const std::string& exportName);
    template <class Fn>
    Fn* FindAs(const std::string& exportName) {
        return reinterpret_cast<Fn*>(Find(exportName));
    }

private:
    HMODULE handle_ = nullptr;
    std::string error_;
};

}  // namespace krv
