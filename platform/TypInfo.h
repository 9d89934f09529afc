// Class metadata: names, parents, factories, published properties and published methods, looked
// up by name (ignoring case) the way the GUI library's run-time type information is.
//
// Publishing, one line per property, in the class's source:
//
//   const TClassInfo& TEdit::StaticClassInfo() {
//       static const TClassInfo info = TClassBuilder<TEdit>("TEdit", TCustomEdit::StaticClassInfo())
//           .Creatable()                                          // class references can create it
//           .Str("Text", &TEdit::Text, &TEdit::SetText)
//           .Int("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength)
//           .Bool("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly)
//           .Enum("CharCase", TypeInfoEditCharCase(), &TEdit::CharCase, &TEdit::SetCharCase)
//           .Int("Color", &TEdit::Color, &TEdit::SetColor, TypeInfoColor())
//           .Object("Font", &TEdit::Font)                         // read-only object property
//           .Event("OnChange", &TEdit::OnChange)                  // a public TEvent field
//           .Method("EditChange", &TMyForm::EditChange)           // a published method
//           .Build();
//       return info;
//   }
//
// Getters and setters are anything std::invoke can call with (T*) and (T*, value): member
// functions of T or of its bases, or lambdas. Enumerations and sets need their type info, made
// once with MakeEnumType/MakeSetType in a function-local static.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/Classes.h"
#include "platform/SysUtils.h"
#include "platform/Variant.h"

namespace krv {

KRV_DECLARE_EXCEPTION(EPropertyError, Exception);
KRV_DECLARE_EXCEPTION(EPropertyConvertError, Exception);

enum TTypeKind : uint8_t {
    tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod,
    tkWChar, tkLString, tkWString, tkVariant, tkArray, tkRecord, tkInterface, tkInt64, tkDynArray
};

struct TIdentMapEntry {
    int value;
    const char* name;
};
using TIdentTable = std::vector<TIdentMapEntry>;

// Identifier ↔ integer through a table (colours, cursors, character sets), ignoring case.
bool IdentToInt(const std::string& ident, int& value, const TIdentTable& table);
bool IntToIdent(int value, std::string& ident, const TIdentTable& table);

struct TTypeInfo {
    TTypeKind kind = tkUnknown;
    std::string name;                       // declared type name: "TColor", "TFont", "Boolean" ...
    std::vector<std::string> enumNames;     // enumeration: value names, ordinal 0 first
    const TTypeInfo* compType = nullptr;    // set: its element enumeration
    TIdentTable idents;                     // integer: identifier table (may be empty)
    const TClassInfo* classType = nullptr;  // class: the object's class
};

TTypeInfo MakeEnumType(std::string name, std::vector<std::string> valueNames);
TTypeInfo MakeSetType(std::string name, const TTypeInfo& elementType);
TTypeInfo MakeIntegerType(std::string name, TIdentTable idents = {});

const TTypeInfo& TypeInfoInteger();     // "Integer"
const TTypeInfo& TypeInfoBoolean();     // "Boolean": False, True
const TTypeInfo& TypeInfoString();      // "string"
const TTypeInfo& TypeInfoWideString();  // "WideString"
const TTypeInfo& TypeInfoChar();        // "Char"
const TTypeInfo& TypeInfoWideChar();    // "WideChar"
const TTypeInfo& TypeInfoDouble();      // "Double"
const TTypeInfo& TypeInfoDateTime();    // "TDateTime", a float
const TTypeInfo& TypeInfoObject(const TClassInfo& cls);  // kind tkClass, named after the class

// Value names; "" for an ordinal out of range.
std::string GetEnumName(const TTypeInfo& type, int value);
// Trimmed, ignoring case; -1 when unknown.
int GetEnumValue(const TTypeInfo& type, const std::string& name);
// "[fsBold,fsItalic]" (or without brackets).
std::string SetToString(const TTypeInfo& setType, int64_t bits, bool brackets = true);
// Names separated by commas, with or without brackets, blanks allowed; raises
// EPropertyConvertError "Invalid property element: %s" for an unknown name.
int64_t StringToSet(const TTypeInfo& setType, const std::string& text);

// ---- properties ------------------------------------------------------------------------------

struct TPropInfo {
    std::string name;
    const TTypeInfo* type = nullptr;
    // Accessors by kind; the ones of other kinds are empty. A missing setter means read-only.
    std::function<int64_t(TObject*)> getOrd;  // integer, char, wide char, enumeration, set (bits)
    std::function<void(TObject*, int64_t)> setOrd;
    std::function<double(TObject*)> getFloat;
    std::function<void(TObject*, double)> setFloat;
    std::function<std::string(TObject*)> getStr;
    std::function<void(TObject*, const std::string&)> setStr;
    std::function<std::u16string(TObject*)> getWStr;
    std::function<void(TObject*, const std::u16string&)> setWStr;
    std::function<TObject*(TObject*)> getObject;
    std::function<void(TObject*, TObject*)> setObject;
    std::function<TMethod(TObject*)> getMethod;
    std::function<void(TObject*, const TMethod&)> setMethod;

    TTypeKind Kind() const { return type ? type->kind : tkUnknown; }
    const std::string& TypeName() const { return type->name; }
    bool IsWritable() const;
};

// A published method: bound to an instance on request. Methods taking only a sender can also be
// called directly.
struct TMethodInfo {
    std::string name;
    std::function<TMethod(TObject*)> bind;
    std::function<void(TObject* self, TObject* sender)> callWithSender;  // empty for other shapes
};

struct TClassInfo {
    std::string name;
    const TClassInfo* parent = nullptr;
    // Creates an instance with the given owner (class references); nullptr when not creatable.
    TComponent* (*create)(TComponent* owner) = nullptr;
    // Inherited first, in declaration order; a re-declared name replaces the inherited entry.
    std::vector<std::shared_ptr<const TPropInfo>> props;
    std::vector<std::shared_ptr<const TMethodInfo>> methods;

    const TPropInfo* FindProp(const std::string& propName) const;
    const TMethodInfo* FindMethod(const std::string& methodName) const;
    bool InheritsFrom(const TClassInfo& ancestor) const;
    bool InheritsFrom(const std::string& ancestorName) const;  // ignoring case
    // Raises EComponentError "Class %s cannot be created" without a factory.
    TComponent* CreateInstance(TComponent* owner) const;

    std::map<std::string, size_t> propIndex;    // upper-cased name -> index in props
    std::map<std::string, size_t> methodIndex;  // upper-cased name -> index in methods
};

// Class names from the most basic up to the class itself, leaving out `stopAt` and everything
// above it (ignoring case); the whole chain when `stopAt` is not an ancestor.
std::vector<std::string> GetClassChain(const TClassInfo& cls, const std::string& stopAt);

// ---- access by name --------------------------------------------------------------------------
// Unknown names raise EPropertyError "Property %s does not exist"; the wrong kind raises
// EPropertyConvertError "Invalid property type: %s"; writing a read-only property raises
// EPropertyError "Property %s is read-only". A set has the same side effects as a code
// assignment, because it calls the same setter.

const TPropInfo* GetPropInfo(const TObject* object, const std::string& name);  // nullptr if none
const TPropInfo* GetPropInfo(const TClassInfo& cls, const std::string& name);
bool IsPublishedProp(const TObject* object, const std::string& name);
bool PropIsType(const TObject* object, const std::string& name, TTypeKind kind);
TTypeKind PropType(const TObject* object, const std::string& name);  // raises when unknown
std::vector<const TPropInfo*> GetPropList(const TObject* object);

int64_t GetOrdProp(TObject* object, const TPropInfo& prop);
int64_t GetOrdProp(TObject* object, const std::string& name);
void SetOrdProp(TObject* object, const TPropInfo& prop, int64_t value);
void SetOrdProp(TObject* object, const std::string& name, int64_t value);
// Text properties; a wide text property is narrowed/widened with the system code page.
std::string GetStrProp(TObject* object, const TPropInfo& prop);
std::string GetStrProp(TObject* object, const std::string& name);
void SetStrProp(TObject* object, const TPropInfo& prop, const std::string& value);
void SetStrProp(TObject* object, const std::string& name, const std::string& value);
std::u16string GetWideStrProp(TObject* object, const std::string& name);
void SetWideStrProp(TObject* object, const std::string& name, const std::u16string& value);
double GetFloatProp(TObject* object, const TPropInfo& prop);
double GetFloatProp(TObject* object, const std::string& name);
void SetFloatProp(TObject* object, const TPropInfo& prop, double value);
void SetFloatProp(TObject* object, const std::string& name, double value);
TObject* GetObjectProp(TObject* object, const TPropInfo& prop);
TObject* GetObjectProp(TObject* object, const std::string& name);
void SetObjectProp(TObject* object, const std::string& name, TObject* value);
// A nil object gives an empty handler and takes none.
TMethod GetMethodProp(TObject* object, const TPropInfo& prop);
TMethod GetMethodProp(TObject* object, const std::string& name);
// The handler must be of the property's event type, or empty.
void SetMethodProp(TObject* object, const TPropInfo& prop, const TMethod& value);
void SetMethodProp(TObject* object, const std::string& name, const TMethod& value);
std::string GetEnumProp(TObject* object, const std::string& name);
void SetEnumProp(TObject* object, const std::string& name, const std::string& valueName);
std::string GetSetProp(TObject* object, const std::string& name, bool brackets = true);
void SetSetProp(TObject* object, const std::string& name, const std::string& text);

// As a Variant: integers, floats, texts, Booleans as booleans; other enumerations and sets as
// their names when preferStrings, else as ordinals/bits. Objects and methods raise.
Variant GetPropValue(TObject* object, const std::string& name, bool preferStrings = true);
void SetPropValue(TObject* object, const std::string& name, const Variant& value);

// Sets a property from text as a form description would: an enumeration by name (trimmed,
// ignoring case), a set from names, an integer from its type's identifier ("clRed",
// "crHandPoint"), a decimal number or "$" and hex digits, a float ("." decimal separator), a
// character, a text. Raises EPropertyConvertError when the text does not fit the kind.
void SetPropFromText(TObject* object, const TPropInfo& prop, const std::string& text);
void SetPropFromText(TObject* object, const std::string& name, const std::string& text);

// ---- published methods -----------------------------------------------------------------------

// The bound method, or an empty handler when the class publishes none of that name.
TMethod MethodAddress(TObject* object, const std::string& name);
// Calls a published method that takes a sender; false when there is none of that name/shape.
bool CallPublishedMethod(TObject* object, const std::string& name, TObject* sender);

// ---- the builder -----------------------------------------------------------------------------

// Used by the builder: add or replace by name; the interned type info of an event type name.
void AddPropTo(TClassInfo& cls, std::shared_ptr<const TPropInfo> prop);
void AddMethodTo(TClassInfo& cls, std::shared_ptr<const TMethodInfo> method);
const TTypeInfo& TypeInfoMethod(const std::string& typeName);

namespace typinfo_detail {
template <class V>
int64_t ToOrd(V v) {
    if constexpr (std::is_same_v<V, char>)
        return static_cast<unsigned char>(v);
    else
        return static_cast<int64_t>(v);
}
template <class M>
struct MemberEvent;
template <class C, class... A>
struct MemberEvent<void (C::*)(A...)> {
    using Event = TEvent<A...>;
};
}  // namespace typinfo_detail

template <class T>
class TClassBuilder {
public:
    TClassBuilder(std::string name, const TClassInfo& parent) {
        info_.name = std::move(name);
        info_.parent = &parent;
        info_.props = parent.props;
        info_.propIndex = parent.propIndex;
        info_.methods = parent.methods;
        info_.methodIndex = parent.methodIndex;
    }
    // For the root class only.
    explicit TClassBuilder(std::string name) { info_.name = std::move(name); }

    TClassBuilder& Creatable() {
        info_.create = [](TComponent* owner) -> TComponent* { return Create<T>(owner); };
        return *this;
    }

    template <class G, class S = std::nullptr_t>
    TClassBuilder& Int(const std::string& name, G get, S set = nullptr,
                       const TTypeInfo& type = TypeInfoInteger()) {
        return Ordinal(name, type, get, set);
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Bool(const std::string& name, G get, S set = nullptr) {
        return Ordinal(name, TypeInfoBoolean(), get, set);
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Char(const std::string& name, G get, S set = nullptr) {
        return Ordinal(name, TypeInfoChar(), get, set);
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& WChar(const std::string& name, G get, S set = nullptr) {
        return Ordinal(name, TypeInfoWideChar(), get, set);
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Enum(const std::string& name, const TTypeInfo& type, G get, S set = nullptr) {
        return Ordinal(name, type, get, set);
    }
    // The getter returns a TSet<E>; the property value is its bit mask.
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Set(const std::string& name, const TTypeInfo& type, G get, S set = nullptr) {
        auto prop = NewProp(name, type);
        prop->getOrd = [get](TObject* o) -> int64_t { return static_cast<int64_t>(std::invoke(get, Self(o)).Bits()); };
        if constexpr (!std::is_null_pointer_v<S>) {
            using SetT = std::decay_t<decltype(std::invoke(get, std::declval<T*>()))>;
            prop->setOrd = [set](TObject* o, int64_t v) { std::invoke(set, Self(o), SetT::FromBits(static_cast<uint64_t>(v))); };
        }
        return Add(prop);
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Float(const std::string& name, G get, S set = nullptr,
                         const TTypeInfo& type = TypeInfoDouble()) {
        auto prop = NewProp(name, type);
        prop->getFloat = [get](TObject* o) -> double { return static_cast<double>(std::invoke(get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>)
            prop->setFloat = [set](TObject* o, double v) { std::invoke(set, Self(o), v); };
        return Add(prop);
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Str(const std::string& name, G get, S set = nullptr) {
        auto prop = NewProp(name, TypeInfoString());
        prop->getStr = [get](TObject* o) -> std::string { return std::string(std::invoke(get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>)
            prop->setStr = [set](TObject* o, const std::string& v) { std::invoke(set, Self(o), v); };
        return Add(prop);
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& WStr(const std::string& name, G get, S set = nullptr) {
        auto prop = NewProp(name, TypeInfoWideString());
        prop->getWStr = [get](TObject* o) -> std::u16string { return std::u16string(std::invoke(get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>)
            prop->setWStr = [set](TObject* o, const std::u16string& v) { std::invoke(set, Self(o), v); };
        return Add(prop);
    }
    // The getter returns a pointer to a TObject descendant with its own metadata; the type name
    // is that class's name. A setter takes the same pointer type (usually it Assigns).
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Object(const std::string& name, G get, S set = nullptr) {
        using P = std::remove_pointer_t<std::decay_t<decltype(std::invoke(get, std::declval<T*>()))>>;
        auto prop = NewProp(name, TypeInfoObject(P::StaticClassInfo()));
        prop->getObject = [get](TObject* o) -> TObject* {
            return const_cast<std::remove_const_t<P>*>(std::invoke(get, Self(o)));
        };
        if constexpr (!std::is_null_pointer_v<S>)
            prop->setObject = [set](TObject* o, TObject* v) {
                std::invoke(set, Self(o), v ? &dynamic_cast<std::remove_const_t<P>&>(*v) : nullptr);
            };
        return Add(prop);
    }
    // A public event field (TEvent) of T or of a base.
    template <class F>
    TClassBuilder& Event(const std::string& name, F field, const char* typeName = nullptr) {
        using E = std::decay_t<decltype(std::invoke(field, std::declval<T*>()))>;
        auto prop = NewProp(name, TypeInfoMethod(typeName ? typeName : kEventTypeName<E>));
        prop->getMethod = [field](TObject* o) { return TMethod(std::invoke(field, Self(o))); };
        prop->setMethod = [field, name](TObject* o, const TMethod& m) {
            if (!m.Assigned()) {
                std::invoke(field, Self(o)) = E();
                return;
            }
            const E* event = m.template As<E>();
            if (!event) throw EPropertyConvertError("Invalid property type: " + name);
            std::invoke(field, Self(o)) = *event;
        };
        return Add(prop);
    }
    // A published method of T (or a base), found by name and bound to an instance.
    template <class M>
    TClassBuilder& Method(const std::string& name, M method) {
        using E = typename typinfo_detail::MemberEvent<M>::Event;
        auto info = std::make_shared<TMethodInfo>();
        info->name = name;
        info->bind = [method](TObject* o) { return TMethod(E(Self(o), method)); };
        if constexpr (std::is_same_v<E, TNotifyEvent>)
            info->callWithSender = [method](TObject* o, TObject* sender) { (Self(o)->*method)(sender); };
        AddMethod(std::move(info));
        return *this;
    }

    TClassInfo Build() { return std::move(info_); }

private:
    static T* Self(TObject* o) { return static_cast<T*>(o); }

    std::shared_ptr<TPropInfo> NewProp(const std::string& name, const TTypeInfo& type) {
        auto prop = std::make_shared<TPropInfo>();
        prop->name = name;
        prop->type = &type;
        return prop;
    }
    template <class G, class S>
    TClassBuilder& Ordinal(const std::string& name, const TTypeInfo& type, G get, S set) {
        auto prop = NewProp(name, type);
        prop->getOrd = [get](TObject* o) -> int64_t { return typinfo_detail::ToOrd(std::invoke(get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>) {
            using V = std::decay_t<decltype(std::invoke(get, std::declval<T*>()))>;
            prop->setOrd = [set](TObject* o, int64_t v) { std::invoke(set, Self(o), static_cast<V>(v)); };
        }
        return Add(prop);
    }
    TClassBuilder& Add(std::shared_ptr<TPropInfo> prop) {
        AddPropTo(info_, std::move(prop));
        return *this;
    }
    void AddMethod(std::shared_ptr<TMethodInfo> method) { AddMethodTo(info_, std::move(method)); }

    TClassInfo info_;
};

}  // namespace krv
