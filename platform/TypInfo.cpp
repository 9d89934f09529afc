#include "platform/TypInfo.h"

#include <map>

#include "platform/CodePage.h"

namespace krv {

// ---- identifier tables -----------------------------------------------------------------------

bool IdentToInt(const std::string& ident, int& value, const TIdentTable& table) {
    for (const TIdentMapEntry& e : table)
        if (SameText(e.name, ident)) {
            value = e.value;
            return true;
        }
    return false;
}

bool IntToIdent(int value, std::string& ident, const TIdentTable& table) {
    for (const TIdentMapEntry& e : table)
        if (e.value == value) {
            ident = e.name;
            return true;
        }
    return false;
}

// ---- type infos ------------------------------------------------------------------------------

TTypeInfo MakeEnumType(std::string name, std::vector<std::string> valueNames) {
    TTypeInfo t;
    t.kind = tkEnumeration;
    t.name = std::move(name);
    t.enumNames = std::move(valueNames);
    return t;
}

TTypeInfo MakeSetType(std::string name, const TTypeInfo& elementType) {
    TTypeInfo t;
    t.kind = tkSet;
    t.name = std::move(name);
    t.compType = &elementType;
    return t;
}

TTypeInfo MakeIntegerType(std::string name, TIdentTable idents) {
    TTypeInfo t;
    t.kind = tkInteger;
    t.name = std::move(name);
    t.idents = std::move(idents);
    return t;
}

static TTypeInfo MakeSimple(TTypeKind kind, const char* name) {
    TTypeInfo t;
    t.kind = kind;
    t.name = name;
    return t;
}

const TTypeInfo& TypeInfoInteger() {
    static const TTypeInfo t = MakeIntegerType("Integer");
    return t;
}
const TTypeInfo& TypeInfoBoolean() {
    static const TTypeInfo t = MakeEnumType("Boolean", {"False", "True"});
    return t;
}
const TTypeInfo& TypeInfoString() {
    static const TTypeInfo t = MakeSimple(tkString, "string");
    return t;
}
const TTypeInfo& TypeInfoWideString() {
    static const TTypeInfo t = MakeSimple(tkWString, "WideString");
    return t;
}
const TTypeInfo& TypeInfoChar() {
    static const TTypeInfo t = MakeSimple(tkChar, "Char");
    return t;
}
const TTypeInfo& TypeInfoWideChar() {
    static const TTypeInfo t = MakeSimple(tkWChar, "WideChar");
    return t;
}
const TTypeInfo& TypeInfoDouble() {
    static const TTypeInfo t = MakeSimple(tkFloat, "Double");
    return t;
}
const TTypeInfo& TypeInfoDateTime() {
    static const TTypeInfo t = MakeSimple(tkFloat, "TDateTime");
    return t;
}

const TTypeInfo& TypeInfoObject(const TClassInfo& cls) {
    static std::map<const TClassInfo*, TTypeInfo> interned;
    auto it = interned.find(&cls);
    if (it == interned.end()) {
        TTypeInfo t = MakeSimple(tkClass, cls.name.c_str());
        t.classType = &cls;
        it = interned.emplace(&cls, std::move(t)).first;
    }
    return it->second;
}

const TTypeInfo& TypeInfoMethod(const std::string& typeName) {
    static std::map<std::string, TTypeInfo> interned;
    auto it = interned.find(typeName);
    if (it == interned.end()) it = interned.emplace(typeName, MakeSimple(tkMethod, typeName.c_str())).first;
    return it->second;
}

std::string GetEnumName(const TTypeInfo& type, int value) {
    if (value < 0 || value >= static_cast<int>(type.enumNames.size())) return "";
    return type.enumNames[value];
}

int GetEnumValue(const TTypeInfo& type, const std::string& name) {
    std::string trimmed = Trim(name);
    for (size_t i = 0; i < type.enumNames.size(); ++i)
        if (SameText(type.enumNames[i], trimmed)) return static_cast<int>(i);
    return -1;
}

std::string SetToString(const TTypeInfo& setType, int64_t bits, bool brackets) {
    std::string out;
    const TTypeInfo* elements = setType.compType;
    for (size_t i = 0; elements && i < elements->enumNames.size() && i < 64; ++i) {
        if (!(static_cast<uint64_t>(bits) & (uint64_t(1) << i))) continue;
        if (!out.empty()) out += ',';
        out += elements->enumNames[i];
    }
    return brackets ? "[" + out + "]" : out;
}

int64_t StringToSet(const TTypeInfo& setType, const std::string& text) {
    std::string body = Trim(text);
    if (!body.empty() && body.front() == '[') body.erase(0, 1);
    if (!body.empty() && body.back() == ']') body.pop_back();
    uint64_t bits = 0;
    size_t start = 0;
    while (start <= body.size()) {
        size_t comma = body.find(',', start);
        std::string item = Trim(body.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!item.empty()) {
            int value = setType.compType ? GetEnumValue(*setType.compType, item) : -1;
            if (value < 0 || value >= 64) throw EPropertyConvertError("Invalid property element: " + item);
            bits |= uint64_t(1) << value;
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return static_cast<int64_t>(bits);
}

// ---- class metadata --------------------------------------------------------------------------

bool TPropInfo::IsWritable() const {
    return setOrd || setFloat || setStr || setWStr || setObject || setMethod;
}

const TPropInfo* TClassInfo::FindProp(const std::string& propName) const {
    auto it = propIndex.find(UpperCase(propName));
    return it == propIndex.end() ? nullptr : props[it->second].get();
}

const TMethodInfo* TClassInfo::FindMethod(const std::string& methodName) const {
    auto it = methodIndex.find(UpperCase(methodName));
    return it == methodIndex.end() ? nullptr : methods[it->second].get();
}

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const {
    for (const TClassInfo* c = this; c; c = c->parent)
        if (c == &ancestor) return true;
    return false;
}

bool TClassInfo::InheritsFrom(const std::string& ancestorName) const {
    for (const TClassInfo* c = this; c; c = c->parent)
        if (SameText(c->name, ancestorName)) return true;
    return false;
}

TComponent* TClassInfo::CreateInstance(TComponent* owner) const {
    if (!create) throw EComponentError("Class " + name + " cannot be created");
    return create(owner);
}

void AddPropTo(TClassInfo& cls, std::shared_ptr<const TPropInfo> prop) {
    std::string key = UpperCase(prop->name);
    auto it = cls.propIndex.find(key);
    if (it != cls.propIndex.end()) {
        cls.props[it->second] = std::move(prop);
        return;
    }
    cls.propIndex.emplace(std::move(key), cls.props.size());
    cls.props.push_back(std::move(prop));
}

void AddMethodTo(TClassInfo& cls, std::shared_ptr<const TMethodInfo> method) {
    std::string key = UpperCase(method->name);
    auto it = cls.methodIndex.find(key);
    if (it != cls.methodIndex.end()) {
        cls.methods[it->second] = std::move(method);
        return;
    }
    cls.methodIndex.emplace(std::move(key), cls.methods.size());
    cls.methods.push_back(std::move(method));
}

std::vector<std::string> GetClassChain(const TClassInfo& cls, const std::string& stopAt) {
    std::vector<std::string> chain;
    for (const TClassInfo* c = &cls; c; c = c->parent) {
        if (SameText(c->name, stopAt)) break;
        chain.push_back(c->name);
    }
    return {chain.rbegin(), chain.rend()};
}

// ---- access by name --------------------------------------------------------------------------

const TPropInfo* GetPropInfo(const TObject* object, const std::string& name) {
    return object ? object->ClassInfo().FindProp(name) : nullptr;
}

const TPropInfo* GetPropInfo(const TClassInfo& cls, const std::string& name) { return cls.FindProp(name); }

bool IsPublishedProp(const TObject* object, const std::string& name) { return GetPropInfo(object, name) != nullptr; }

static const TPropInfo& RequireProp(const TObject* object, const std::string& name) {
    const TPropInfo* prop = GetPropInfo(object, name);
    if (!prop) throw EPropertyError("Property " + name + " does not exist");
    return *prop;
}

bool PropIsType(const TObject* object, const std::string& name, TTypeKind kind) {
    return RequireProp(object, name).Kind() == kind;
}

TTypeKind PropType(const TObject* object, const std::string& name) { return RequireProp(object, name).Kind(); }

std::vector<const TPropInfo*> GetPropList(const TObject* object) {
    std::vector<const TPropInfo*> list;
    if (!object) return list;
    for (const auto& prop : object->ClassInfo().props) list.push_back(prop.get());
    return list;
}

[[noreturn]] static void WrongKind(const TPropInfo& prop) {
    throw EPropertyConvertError("Invalid property type: " + prop.name);
}

[[noreturn]] static void ReadOnly(const TPropInfo& prop) { throw EPropertyError("Property " + prop.name + " is read-only"); }

template <class F>
static void RequireSetter(const TPropInfo& prop, const F& setter) {
    if (!setter) ReadOnly(prop);
}

int64_t GetOrdProp(TObject* object, const TPropInfo& prop) {
    if (!prop.getOrd) WrongKind(prop);
    return prop.getOrd(object);
}
int64_t GetOrdProp(TObject* object, const std::string& name) { return GetOrdProp(object, RequireProp(object, name)); }

void SetOrdProp(TObject* object, const TPropInfo& prop, int64_t value) {
    if (!prop.getOrd) WrongKind(prop);
    RequireSetter(prop, prop.setOrd);
    prop.setOrd(object, value);
}
void SetOrdProp(TObject* object, const std::string& name, int64_t value) {
    SetOrdProp(object, RequireProp(object, name), value);
}

std::string GetStrProp(TObject* object, const TPropInfo& prop) {
    if (prop.getStr) return prop.getStr(object);
    if (prop.getWStr) return WideToAnsi(prop.getWStr(object));
    WrongKind(prop);
}
std::string GetStrProp(TObject* object, const std::string& name) { return GetStrProp(object, RequireProp(object, name)); }

void SetStrProp(TObject* object, const TPropInfo& prop, const std::string& value) {
    if (prop.getStr) {
        RequireSetter(prop, prop.setStr);
        prop.setStr(object, value);
        return;
    }
    if (prop.getWStr) {
        RequireSetter(prop, prop.setWStr);
        prop.setWStr(object, AnsiToWide(value));
        return;
    }
    WrongKind(prop);
}
void SetStrProp(TObject* object, const std::string& name, const std::string& value) {
    SetStrProp(object, RequireProp(object, name), value);
}

std::u16string GetWideStrProp(TObject* object, const std::string& name) {
    const TPropInfo& prop = RequireProp(object, name);
    if (prop.getWStr) return prop.getWStr(object);
    if (prop.getStr) return AnsiToWide(prop.getStr(object));
    WrongKind(prop);
}

void SetWideStrProp(TObject* object, const std::string& name, const std::u16string& value) {
    const TPropInfo& prop = RequireProp(object, name);
    if (prop.getWStr) {
        RequireSetter(prop, prop.setWStr);
        prop.setWStr(object, value);
        return;
    }
    SetStrProp(object, prop, WideToAnsi(value));
}

double GetFloatProp(TObject* object, const TPropInfo& prop) {
    if (!prop.getFloat) WrongKind(prop);
    return prop.getFloat(object);
}
double GetFloatProp(TObject* object, const std::string& name) { return GetFloatProp(object, RequireProp(object, name)); }

void SetFloatProp(TObject* object, const TPropInfo& prop, double value) {
    if (!prop.getFloat) WrongKind(prop);
    RequireSetter(prop, prop.setFloat);
    prop.setFloat(object, value);
}
void SetFloatProp(TObject* object, const std::string& name, double value) {
    SetFloatProp(object, RequireProp(object, name), value);
}

TObject* GetObjectProp(TObject* object, const TPropInfo& prop) {
    if (!prop.getObject) WrongKind(prop);
    return prop.getObject(object);
}
TObject* GetObjectProp(TObject* object, const std::string& name) {
    return GetObjectProp(object, RequireProp(object, name));
}

void SetObjectProp(TObject* object, const std::string& name, TObject* value) {
    const TPropInfo& prop = RequireProp(object, name);
    if (!prop.getObject) WrongKind(prop);
    RequireSetter(prop, prop.setObject);
    prop.setObject(object, value);
}

TMethod GetMethodProp(TObject* object, const TPropInfo& prop) {
    if (!object) return {};
    if (!prop.getMethod) WrongKind(prop);
    return prop.getMethod(object);
}
TMethod GetMethodProp(TObject* object, const std::string& name) {
    if (!object) return {};
    return GetMethodProp(object, RequireProp(object, name));
}

void SetMethodProp(TObject* object, const TPropInfo& prop, const TMethod& value) {
    if (!object) return;
    if (!prop.setMethod) WrongKind(prop);
    prop.setMethod(object, value);
}
void SetMethodProp(TObject* object, const std::string& name, const TMethod& value) {
    if (!object) return;
    SetMethodProp(object, RequireProp(object, name), value);
}

std::string GetEnumProp(TObject* object, const std::string& name) {
    const TPropInfo& prop = RequireProp(object, name);
    if (prop.Kind() != tkEnumeration) WrongKind(prop);
    return GetEnumName(*prop.type, static_cast<int>(GetOrdProp(object, prop)));
}

void SetEnumProp(TObject* object, const std::string& name, const std::string& valueName) {
    const TPropInfo& prop = RequireProp(object, name);
    if (prop.Kind() != tkEnumeration) WrongKind(prop);
    int value = GetEnumValue(*prop.type, valueName);
    if (value < 0) throw EPropertyConvertError("Invalid enumeration name: " + valueName);
    SetOrdProp(object, prop, value);
}

std::string GetSetProp(TObject* object, const std::string& name, bool brackets) {
    const TPropInfo& prop = RequireProp(object, name);
    if (prop.Kind() != tkSet) WrongKind(prop);
    return SetToString(*prop.type, GetOrdProp(object, prop), brackets);
}

void SetSetProp(TObject* object, const std::string& name, const std::string& text) {
    const TPropInfo& prop = RequireProp(object, name);
    if (prop.Kind() != tkSet) WrongKind(prop);
    SetOrdProp(object, prop, StringToSet(*prop.type, text));
}

Variant GetPropValue(TObject* object, const std::string& name, bool preferStrings) {
    const TPropInfo& prop = RequireProp(object, name);
    switch (prop.Kind()) {
    case tkInteger:
        return Variant(GetOrdProp(object, prop));
    case tkChar:
        return Variant(std::string(1, static_cast<char>(GetOrdProp(object, prop))));
    case tkWChar:
        return Variant(std::u16string(1, static_cast<char16_t>(GetOrdProp(object, prop))));
    case tkEnumeration: {
        int64_t ord = GetOrdProp(object, prop);
        if (prop.type == &TypeInfoBoolean()) return Variant(ord != 0);
        return preferStrings ? Variant(GetEnumName(*prop.type, static_cast<int>(ord))) : Variant(ord);
    }
    case tkSet: {
        int64_t bits = GetOrdProp(object, prop);
        return preferStrings ? Variant(SetToString(*prop.type, bits, false)) : Variant(bits);
    }
    case tkFloat: {
        double value = GetFloatProp(object, prop);
        return prop.type == &TypeInfoDateTime() ? Variant::FromDate(value) : Variant(value);
    }
    case tkString:
        return Variant(GetStrProp(object, prop));
    case tkWString:
        return Variant(prop.getWStr(object));
    default:
        WrongKind(prop);
    }
}

void SetPropValue(TObject* object, const std::string& name, const Variant& value) {
    const TPropInfo& prop = RequireProp(object, name);
    switch (prop.Kind()) {
    case tkInteger:
    case tkEnumeration:
    case tkSet:
        if (value.IsText())
            SetPropFromText(object, prop, value.AsString());
        else
            SetOrdProp(object, prop, value.Kind() == VarKind::Boolean ? (value.AsBoolean() ? 1 : 0) : value.AsInt64());
        return;
    case tkChar:
    case tkWChar:
        if (value.IsText())
            SetPropFromText(object, prop, value.AsString());
        else
            SetOrdProp(object, prop, value.AsInt64());
        return;
    case tkFloat:
        SetFloatProp(object, prop, value.AsFloat());
        return;
    case tkString:
        SetStrProp(object, prop, value.AsString());
        return;
    case tkWString:
        RequireSetter(prop, prop.setWStr);
        prop.setWStr(object, value.AsWideString());
        return;
    default:
        WrongKind(prop);
    }
}

// An integer as a form description writes it: a decimal number or "$" and hex digits.
static bool TextToInteger(const std::string& text, int64_t& value) {
    std::string t = Trim(text);
    if (t.size() > 1 && t[0] == '$') {
        uint64_t v = 0;
        for (size_t i = 1; i < t.size(); ++i) {
            char c = t[i];
            int digit = (c >= '0' && c <= '9') ? c - '0'
                        : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                        : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                 : -1;
            if (digit < 0 || i > 16) return false;
            v = v * 16 + static_cast<uint64_t>(digit);
        }
        // "$80000000"-style texts are 32-bit patterns, as colours are written.
        value = t.size() <= 9 ? static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(v)))
                              : static_cast<int64_t>(v);
        return true;
    }
    return TryStrToInt64(t, value);
}

void SetPropFromText(TObject* object, const TPropInfo& prop, const std::string& text) {
    switch (prop.Kind()) {
    case tkInteger: {
        int ident = 0;
        int64_t value = 0;
        if (IdentToInt(Trim(text), ident, prop.type->idents))
            value = ident;
        else if (!TextToInteger(text, value))
            throw EPropertyConvertError("Invalid property value: " + text);
        SetOrdProp(object, prop, value);
        return;
    }
    case tkChar: {
        int64_t code = 0;
        if (text.size() == 1)
            code = static_cast<unsigned char>(text[0]);
        else if (text.size() > 1 && text[0] == '#' && TryStrToInt64(text.substr(1), code) && code >= 0 && code <= 255)
            ;
        else
            throw EPropertyConvertError("Invalid property value: " + text);
        SetOrdProp(object, prop, code);
        return;
    }
    case tkWChar: {
        std::u16string wide = AnsiToWide(text);
        if (wide.size() != 1) throw EPropertyConvertError("Invalid property value: " + text);
        SetOrdProp(object, prop, wide[0]);
        return;
    }
    case tkEnumeration: {
        int value = GetEnumValue(*prop.type, text);
        if (value < 0) throw EPropertyConvertError("Invalid property value: " + text);
        SetOrdProp(object, prop, value);
        return;
    }
    case tkSet:
        SetOrdProp(object, prop, StringToSet(*prop.type, text));
        return;
    case tkFloat: {
        double value = 0;
        if (!TryStrToFloat(Trim(text), value)) throw EPropertyConvertError("Invalid property value: " + text);
        SetFloatProp(object, prop, value);
        return;
    }
    case tkString:
    case tkWString:
        SetStrProp(object, prop, text);
        return;
    default:
        WrongKind(prop);
    }
}

void SetPropFromText(TObject* object, const std::string& name, const std::string& text) {
    SetPropFromText(object, RequireProp(object, name), text);
}

// ---- published methods -----------------------------------------------------------------------

TMethod MethodAddress(TObject* object, const std::string& name) {
    if (!object) return {};
    const TMethodInfo* method = object->ClassInfo().FindMethod(name);
    return method ? method->bind(object) : TMethod();
}

bool CallPublishedMethod(TObject* object, const std::string& name, TObject* sender) {
    if (!object) return false;
    const TMethodInfo* method = object->ClassInfo().FindMethod(name);
    if (!method || !method->callWithSender) return false;
    method->callWithSender(object, sender);
    return true;
}

}  // namespace krv
