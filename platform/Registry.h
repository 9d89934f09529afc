// The read-only registry: keys and values come from a file in the format of a registry export
// ("REGEDIT4" or "Windows Registry Editor Version 5.00"; ANSI bytes of the system code page, or
// UTF-16LE with a byte-order mark), so that keys exported from a Windows installation can be used
// as they are.
//
// The file is named by the environment variable KRV_REGISTRY_FILE, else it is
// /etc/krv/registry.reg. Each OpenKey reads the file again (nothing is cached), so a test may
// rewrite it between opens. A missing, unreadable or damaged file never raises: lines that cannot
// be read are skipped and keys that were not read simply do not exist.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/SysUtils.h"

namespace krv {

KRV_DECLARE_EXCEPTION(ERegistryException, Exception);

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

enum class RegDataType { Unknown, String, ExpandString, Integer, Binary, MultiString, QWord };

// The path of the registry file in use.
std::string RegistryFilePath();
// Test setter: use this file from now on; an empty path returns to the environment or default.
void SetRegistryFilePath(const std::string& path);

class TRegistry {
public:
    explicit TRegistry(RegRoot root = RegRoot::LocalMachine) : root_(root) {}

    RegRoot RootKey() const { return root_; }
    void SetRootKey(RegRoot root) { CloseKey(); root_ = root; }

    // Opens an existing key (names ignore case; a leading "\" is allowed). False when the key
    // does not exist or the registry file cannot be read; a missing value is not a failure here.
    bool OpenKeyReadOnly(const std::string& key);
    bool OpenKey(const std::string& key) { return OpenKeyReadOnly(key); }
    void CloseKey();
    bool KeyExists(const std::string& key) const;
    bool HasOpenKey() const { return open_ != nullptr; }
    // The opened key's path as given to OpenKeyReadOnly.
    const std::string& CurrentPath() const { return currentPath_; }

    // Values of the opened key; the name "" is the key's default value ("@" in the file).
    bool ValueExists(const std::string& name) const;
    RegDataType GetDataType(const std::string& name) const;
    // A string or expandable string in the system code page. A missing value (or no open key)
    // reads ""; a value of another type raises ERegistryException "Invalid data type for '%s'".
    std::string ReadString(const std::string& name) const;
    std::u16string ReadWideString(const std::string& name) const;
    // A DWORD value; missing or of another type raises ERegistryException.
    int ReadInteger(const std::string& name) const;
    std::vector<std::string> GetValueNames() const;
    std::vector<std::string> GetKeyNames() const;

    // One value as read from the file (public so that the reader can build it).
    struct Value {
        RegDataType type = RegDataType::Unknown;
        std::u16string text;                 // String, ExpandString
        std::vector<std::u16string> lines;   // MultiString
        uint64_t number = 0;                 // Integer, QWord
        std::vector<uint8_t> bytes;          // Binary and unknown hex kinds
    };
    struct Key {
        std::string path;                              // as spelled in the file
        std::vector<std::pair<std::string, Value>> values;  // file order, later lines replace
        std::vector<std::string> subKeys;              // direct children, file order
    };

private:
    const Value* FindValue(const std::string& name) const;

    RegRoot root_;
    std::string currentPath_;
    std::unique_ptr<Key> open_;
};

}  // namespace krv
