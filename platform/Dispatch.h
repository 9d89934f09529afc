// Late-bound objects: methods and properties called by name, as the module calls its host, its
// application server and their services.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/SysUtils.h"
#include "platform/Variant.h"

namespace krv {

// A late-bound object. Names are matched ignoring case. The callee may change the arguments it
// receives (by-reference arguments come back changed). A failing call raises an exception that
// carries the callee's message; an unknown name raises EOleError.
class IDispatch : public std::enable_shared_from_this<IDispatch> {
public:
    virtual ~IDispatch() = default;
    virtual Variant Invoke(const std::string& name, std::vector<Variant>& args) = 0;
    virtual Variant GetProperty(const std::string& name) = 0;
    virtual void SetProperty(const std::string& name, const Variant& value) = 0;
    // Whether the object answers to the name as a method or a property.
    virtual bool HasMember(const std::string& name) const = 0;
};

// Helper for peers and tests: register methods and properties by name. A property can also be
// read by calling it without arguments, and a method without arguments can be read as a property,
// as late binding allows.
class DispatchObject : public IDispatch {
public:
    using Method = std::function<Variant(std::vector<Variant>& args)>;
    using Getter = std::function<Variant()>;
    using Setter = std::function<void(const Variant&)>;

    void RegisterMethod(const std::string& name, Method method);
    void RegisterProperty(const std::string& name, Getter getter, Setter setter = nullptr);

    Variant Invoke(const std::string& name, std::vector<Variant>& args) override;
    Variant GetProperty(const std::string& name) override;
    void SetProperty(const std::string& name, const Variant& value) override;
    bool HasMember(const std::string& name) const override;

private:
    struct Member {
        Method method;
        Getter getter;
        Setter setter;
    };
    const Member* Find(const std::string& name) const;
    std::map<std::string, Member> members_;  // key: upper-cased name
};

// Raises the error an unknown member gives: "Method '%s' not supported by automation object".
[[noreturn]] void RaiseUnknownMember(const std::string& name);

// Convenience: call a method on a variant that holds a dispatch object. Raises EOleError
// "Variant does not reference an automation object" when it holds none.
Variant DispatchCall(const Variant& object, const std::string& name, std::vector<Variant>& args);
Variant DispatchCall(const Variant& object, const std::string& name,
                     std::initializer_list<Variant> args = {});
Variant DispatchGet(const Variant& object, const std::string& name);
void DispatchSet(const Variant& object, const std::string& name, const Variant& value);

}  // namespace krv
