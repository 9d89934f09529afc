#include "runtime/LibRTTI.h"

#include "platform/TypInfo.h"

namespace krv {
namespace {

// The published property, or nullptr for every case the functions tolerate.
const TPropInfo* FindProp(const TObject* object, const std::string& name) {
    return object && !name.empty() ? GetPropInfo(object, name) : nullptr;
}

}  // namespace

bool HasPropByName(const TObject* object, const std::string& name) {
    return FindProp(object, name) != nullptr;
}

std::string GetStrPropByName(TObject* object, const std::string& name) {
    const TPropInfo* prop = FindProp(object, name);
    return prop ? GetStrProp(object, *prop) : std::string();
}

void SetStrPropByName(TObject* object, const std::string& name, const std::string& value) {
    if (const TPropInfo* prop = FindProp(object, name)) SetStrProp(object, *prop, value);
}

int64_t GetOrdPropByName(TObject* object, const std::string& name) {
    const TPropInfo* prop = FindProp(object, name);
    return prop ? GetOrdProp(object, *prop) : 0;
}

void SetOrdPropByName(TObject* object, const std::string& name, int64_t value) {
    if (const TPropInfo* prop = FindProp(object, name)) SetOrdProp(object, *prop, value);
}

TMethod GetMethodPropByName(TObject* object, const std::string& name) {
    const TPropInfo* prop = FindProp(object, name);
    return prop ? GetMethodProp(object, *prop) : TMethod();
}

void SetMethodPropByName(TObject* object, const std::string& name, const TMethod& handler) {
    if (const TPropInfo* prop = FindProp(object, name)) SetMethodProp(object, *prop, handler);
}

}  // namespace krv
