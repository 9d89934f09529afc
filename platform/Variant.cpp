#include "platform/Variant.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/CodePage.h"
#include "platform/Dispatch.h"
#include "platform/SysUtils.h"

namespace krv {

struct Variant::ArrayData {
    std::vector<VarArrayBound> bounds;  // one or two dimensions
    std::vector<Variant> elements;      // first index varies fastest

    size_t Offset(int i) const {
        if (bounds.size() != 1) throw EVariantBadIndexError("Variant array index out of bounds");
        if (i < bounds[0].low || i > bounds[0].high)
            throw EVariantBadIndexError("Variant array index out of bounds");
        return size_t(i - bounds[0].low);
    }
    size_t Offset(int i, int j) const {
        if (bounds.size() != 2) throw EVariantBadIndexError("Variant array index out of bounds");
        if (i < bounds[0].low || i > bounds[0].high || j < bounds[1].low || j > bounds[1].high)
            throw EVariantBadIndexError("Variant array index out of bounds");
        return size_t(i - bounds[0].low) + size_t(j - bounds[1].low) * size_t(bounds[0].Count());
    }
};

void Variant::ArrayDeleter::operator()(ArrayData* data) const noexcept { delete data; }

Variant::Variant(DispatchPtr object) noexcept : kind_(VarKind::Dispatch), int_(0) {
    if (object)
        dispatch_ = std::move(object);
    else
        kind_ = VarKind::Empty;  // a nil interface assigned to a variant leaves it unassigned
}

Variant::Variant(const Variant& other) : int_(0) { CopyFrom(other); }
Variant::Variant(Variant&& other) noexcept : int_(0) { MoveFrom(std::move(other)); }

Variant& Variant::operator=(const Variant& other) {
    if (this != &other) {
        Variant copy(other);  // other may live inside this variant's array
        Destroy();
        MoveFrom(std::move(copy));
    }
    return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        Variant taken;
        taken.MoveFrom(std::move(other));  // other may live inside this variant's array
        Destroy();
        MoveFrom(std::move(taken));
    }
    return *this;
}

Variant::~Variant() = default;

void Variant::Destroy() noexcept {
    text_.clear();
    text_.shrink_to_fit();
    wide_.clear();
    wide_.shrink_to_fit();
    dispatch_.reset();
    array_.reset();
    kind_ = VarKind::Empty;
    int_ = 0;
}

void Variant::CopyFrom(const Variant& other) {
    kind_ = other.kind_;
    std::memcpy(&int_, &other.int_, sizeof int_);  // the whole scalar union
    text_ = other.text_;
    wide_ = other.wide_;
    dispatch_ = other.dispatch_;
    if (other.array_) array_.reset(new ArrayData(*other.array_));
}

void Variant::MoveFrom(Variant&& other) noexcept {
    kind_ = other.kind_;
    std::memcpy(&int_, &other.int_, sizeof int_);  // the whole scalar union
    text_ = std::move(other.text_);
    wide_ = std::move(other.wide_);
    dispatch_ = std::move(other.dispatch_);
    array_ = std::move(other.array_);
    other.kind_ = VarKind::Empty;
    other.int_ = 0;
}

const char* VarKindName(VarKind kind) {
    switch (kind) {
        case VarKind::Empty: return "Empty";
        case VarKind::Null: return "Null";
        case VarKind::Integer: return "Integer";
        case VarKind::Boolean: return "Boolean";
        case VarKind::Float: return "Double";
        case VarKind::Date: return "Date";
        case VarKind::String: return "String";
        case VarKind::WideString: return "OleStr";
        case VarKind::Dispatch: return "Dispatch";
        case VarKind::Array: return "Array";
    }
    return "Unknown";
}

std::string Variant::TypeName() const { return VarKindName(kind_); }

void Variant::CastError(const char* target) const {
    throw EVariantTypeCastError(std::string("Could not convert variant of type (") + TypeName() +
                                ") into type (" + target + ")");
}

namespace {
// Rounds half to even, as the variant conversions of the GUI library do.
bool RoundToInt64(double value, int64_t& out) {
    if (!std::isfinite(value)) return false;
    double rounded = std::nearbyint(value);  // default rounding mode: to nearest, ties to even
    if (rounded < -9.2233720368547758e18 || rounded >= 9.2233720368547758e18) return false;
    out = int64_t(rounded);
    return true;
}
}  // namespace

std::string Variant::AsString() const {
    switch (kind_) {
        case VarKind::Empty:
        case VarKind::Null: return {};
        case VarKind::Integer: return IntToStr(int_);
        case VarKind::Boolean: return bool_ ? "True" : "False";
        case VarKind::Float: return FloatToStr(float_);
        case VarKind::Date: return DateTimeToStr(float_);
        case VarKind::String: return text_;
        case VarKind::WideString: return WideToAnsi(wide_);
        case VarKind::Dispatch:
        case VarKind::Array: break;
    }
    CastError("String");
}

std::u16string Variant::AsWideString() const {
    if (kind_ == VarKind::WideString) return wide_;
    if (kind_ == VarKind::Dispatch || kind_ == VarKind::Array) CastError("OleStr");
    return AnsiToWide(AsString());
}

int64_t Variant::AsInt64() const {
    int64_t value = 0;
    switch (kind_) {
        case VarKind::Empty: return 0;
        case VarKind::Integer: return int_;
        case VarKind::Boolean: return bool_ ? -1 : 0;
        case VarKind::Float:
        case VarKind::Date:
            if (RoundToInt64(float_, value)) return value;
            break;
        case VarKind::String:
        case VarKind::WideString: {
            std::string text = AsString();
            double number = 0;
            if (TryStrToInt64(text, value)) return value;
            if (TryStrToFloat(text, number) && RoundToInt64(number, value)) return value;
            break;
        }
        default: break;
    }
    CastError("Int64");
}

int Variant::AsInteger() const {
    int64_t value = AsInt64();
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        CastError("Integer");
    return int(value);
}

double Variant::AsFloat() const {
    double value = 0;
    switch (kind_) {
        case VarKind::Empty: return 0;
        case VarKind::Integer: return double(int_);
        case VarKind::Boolean: return bool_ ? -1 : 0;
        case VarKind::Float:
        case VarKind::Date: return float_;
        case VarKind::String:
        case VarKind::WideString:
            if (TryStrToFloat(AsString(), value)) return value;
            break;
        default: break;
    }
    CastError("Double");
}

double Variant::AsDate() const {
    double value = 0;
    switch (kind_) {
        case VarKind::Empty: return 0;
        case VarKind::Integer: return double(int_);
        case VarKind::Float:
        case VarKind::Date: return float_;
        case VarKind::String:
        case VarKind::WideString: {
            std::string text = AsString();
            if (TryStrToDateTime(text, value) || TryStrToFloat(text, value)) return value;
            break;
        }
        default: break;
    }
    CastError("Date");
}

bool Variant::AsBoolean() const {
    double number = 0;
    switch (kind_) {
        case VarKind::Empty: return false;
        case VarKind::Integer: return int_ != 0;
        case VarKind::Boolean: return bool_;
        case VarKind::Float:
        case VarKind::Date: return float_ != 0;
        case VarKind::String:
        case VarKind::WideString: {
            std::string text = Trim(AsString());
            if (SameText(text, "True")) return true;
            if (SameText(text, "False")) return false;
            if (TryStrToFloat(text, number)) return number != 0;
            break;
        }
        default: break;
    }
    CastError("Boolean");
}

DispatchPtr Variant::AsDispatch() const {
    if (kind_ == VarKind::Dispatch) return dispatch_;
    if (kind_ == VarKind::Empty || kind_ == VarKind::Null) return nullptr;
    CastError("Dispatch");
}

const std::string& Variant::NarrowRef() const {
    if (kind_ != VarKind::String) CastError("String");
    return text_;
}

const std::u16string& Variant::WideRef() const {
    if (kind_ != VarKind::WideString) CastError("OleStr");
    return wide_;
}

// ---- arrays ----------------------------------------------------------------------------------

Variant::ArrayData& Variant::Arr() {
    if (kind_ != VarKind::Array) throw EVariantError("Variant is not an array");
    return *array_;
}

const Variant::ArrayData& Variant::Arr() const {
    if (kind_ != VarKind::Array) throw EVariantError("Variant is not an array");
    return *array_;
}

Variant Variant::MakeArray(const std::vector<VarArrayBound>& bounds) {
    if (bounds.empty() || bounds.size() > 2)
        throw EVariantError("Variant array must have one or two dimensions");
    size_t count = 1;
    for (const VarArrayBound& b : bounds) {
        if (b.high < b.low - 1) throw EVariantError("Invalid variant array bounds");
        count *= size_t(b.Count());
    }
    Variant v;
    v.kind_ = VarKind::Array;
    v.array_.reset(new ArrayData());
    v.array_->bounds = bounds;
    v.array_->elements.resize(count);
    return v;
}

int Variant::DimCount() const { return kind_ == VarKind::Array ? int(array_->bounds.size()) : 0; }

int Variant::LowBound(int dim) const {
    const ArrayData& a = Arr();
    if (dim < 1 || size_t(dim) > a.bounds.size())
        throw EVariantBadIndexError("Variant array dimension out of range");
    return a.bounds[size_t(dim - 1)].low;
}

int Variant::HighBound(int dim) const {
    const ArrayData& a = Arr();
    if (dim < 1 || size_t(dim) > a.bounds.size())
        throw EVariantBadIndexError("Variant array dimension out of range");
    return a.bounds[size_t(dim - 1)].high;
}

int Variant::ElementCount() const { return int(Arr().elements.size()); }

Variant& Variant::operator[](int index) {
    ArrayData& a = Arr();
    return a.elements[a.Offset(index)];
}

const Variant& Variant::operator[](int index) const {
    const ArrayData& a = Arr();
    return a.elements[a.Offset(index)];
}

Variant& Variant::At(int i, int j) {
    ArrayData& a = Arr();
    return a.elements[a.Offset(i, j)];
}

const Variant& Variant::At(int i, int j) const {
    const ArrayData& a = Arr();
    return a.elements[a.Offset(i, j)];
}

void Variant::Redim(int newHigh) {
    ArrayData& a = Arr();
    VarArrayBound& last = a.bounds.back();
    if (newHigh < last.low - 1) throw EVariantError("Invalid variant array bounds");
    last.high = newHigh;
    // The last dimension varies slowest, so growing or shrinking it keeps every kept element
    // where it is.
    size_t count = 1;
    for (const VarArrayBound& b : a.bounds) count *= size_t(b.Count());
    a.elements.resize(count);
}

std::vector<Variant>& Variant::Elements() { return Arr().elements; }
const std::vector<Variant>& Variant::Elements() const { return Arr().elements; }

bool Variant::operator==(const Variant& other) const {
    if (IsNumeric() && other.IsNumeric()) return AsFloat() == other.AsFloat();
    if (kind_ != other.kind_) return false;
    switch (kind_) {
        case VarKind::Empty:
        case VarKind::Null: return true;
        case VarKind::Integer: return int_ == other.int_;
        case VarKind::Boolean: return bool_ == other.bool_;
        case VarKind::Float:
        case VarKind::Date: return float_ == other.float_;
        case VarKind::String: return text_ == other.text_;
        case VarKind::WideString: return wide_ == other.wide_;
        case VarKind::Dispatch: return dispatch_ == other.dispatch_;
        case VarKind::Array:
            return array_->bounds.size() == other.array_->bounds.size() &&
                   std::equal(array_->bounds.begin(), array_->bounds.end(),
                              other.array_->bounds.begin(),
                              [](const VarArrayBound& x, const VarArrayBound& y) {
                                  return x.low == y.low && x.high == y.high;
                              }) &&
                   array_->elements == other.array_->elements;
    }
    return false;
}

// ---- helpers ---------------------------------------------------------------------------------

Variant VarArrayOf(std::vector<Variant> values) {
    Variant v = Variant::MakeArray({VarArrayBound{0, int(values.size()) - 1}});
    v.Elements() = std::move(values);
    return v;
}

Variant VarArrayOf(std::initializer_list<Variant> values) {
    return VarArrayOf(std::vector<Variant>(values));
}

Variant VarArrayCreate(int low, int high) { return Variant::MakeArray({{low, high}}); }

Variant VarArrayCreate(int low1, int high1, int low2, int high2) {
    return Variant::MakeArray({{low1, high1}, {low2, high2}});
}

void VarArrayRedim(Variant& v, int newHigh) { v.Redim(newHigh); }
bool VarIsArray(const Variant& v) { return v.IsArray(); }
bool VarIsNonEmptyArray(const Variant& v) {
    return v.IsArray() && v.HighBound(1) >= v.LowBound(1);
}
int VarArrayDimCount(const Variant& v) { return v.DimCount(); }
int VarArrayLowBound(const Variant& v, int dim) { return v.LowBound(dim); }
int VarArrayHighBound(const Variant& v, int dim) { return v.HighBound(dim); }
bool VarIsNull(const Variant& v) { return v.IsNull(); }
bool VarIsEmpty(const Variant& v) { return v.IsEmpty(); }
std::string VarToStr(const Variant& v) { return v.AsString(); }
std::u16string VarToWideStr(const Variant& v) { return v.AsWideString(); }

int VarType(const Variant& v) {
    switch (v.Kind()) {
        case VarKind::Empty: return varEmpty;
        case VarKind::Null: return varNull;
        case VarKind::Integer: return varInteger;
        case VarKind::Boolean: return varBoolean;
        case VarKind::Float: return varDouble;
        case VarKind::Date: return varDate;
        case VarKind::String: return varString;
        case VarKind::WideString: return varOleStr;
        case VarKind::Dispatch: return varDispatch;
        case VarKind::Array: return varArray | varVariant;
    }
    return varEmpty;
}

}  // namespace krv
