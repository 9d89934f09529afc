#include "platform/Dispatch.h"

namespace krv {

void RaiseUnknownMember(const std::string& name) {
    throw EOleError("Method '" + name + "' not supported by automation object");
}

void DispatchObject::RegisterMethod(const std::string& name, Method method) {
    members_[UpperCase(name)].method = std::move(method);
}

void DispatchObject::RegisterProperty(const std::string& name, Getter getter, Setter setter) {
    Member& member = members_[UpperCase(name)];
    member.getter = std::move(getter);
    member.setter = std::move(setter);
}

const DispatchObject::Member* DispatchObject::Find(const std::string& name) const {
    auto it = members_.find(UpperCase(name));
    return it == members_.end() ? nullptr : &it->second;
}

Variant DispatchObject::Invoke(const std::string& name, std::vector<Variant>& args) {
    const Member* member = Find(name);
    if (member && member->method) return member->method(args);
    if (member && member->getter && args.empty()) return member->getter();
    RaiseUnknownMember(name);
}

Variant DispatchObject::GetProperty(const std::string& name) {
    const Member* member = Find(name);
    if (member && member->getter) return member->getter();
    if (member && member->method) {
        std::vector<Variant> none;
        return member->method(none);
    }
    RaiseUnknownMember(name);
}

void DispatchObject::SetProperty(const std::string& name, const Variant& value) {
    const Member* member = Find(name);
    if (!member || !member->setter) RaiseUnknownMember(name);
    member->setter(value);
}

bool DispatchObject::HasMember(const std::string& name) const { return Find(name) != nullptr; }

namespace {
IDispatch& Target(const Variant& object) {
    DispatchPtr target = object.IsDispatch() ? object.AsDispatch() : nullptr;
    if (!target) throw EOleError("Variant does not reference an automation object");
    return *target;
}
}  // namespace

Variant DispatchCall(const Variant& object, const std::string& name, std::vector<Variant>& args) {
    // Keep the object alive for the call even if the callee clears the variant holding it.
    DispatchPtr keep = object.IsDispatch() ? object.AsDispatch() : nullptr;
    return Target(object).Invoke(name, args);
}

Variant DispatchCall(const Variant& object, const std::string& name,
                     std::initializer_list<Variant> args) {
    std::vector<Variant> list(args);
    return DispatchCall(object, name, list);
}

Variant DispatchGet(const Variant& object, const std::string& name) {
    return Target(object).GetProperty(name);
}

void DispatchSet(const Variant& object, const std::string& name, const Variant& value) {
    Target(object).SetProperty(name, value);
}

}  // namespace krv
