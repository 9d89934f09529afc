// Variant: the one value type that crosses between host, module and servers.
//
// Kinds: empty, null, integer (64-bit storage), boolean, float, date (days since 1899-12-30),
// narrow text (bytes of a Chinese code page), wide text (UTF-16), dispatch object, and arrays of
// one or two dimensions with their own bounds whose elements are Variants (arrays may nest).
// Copying a Variant copies its array (value semantics); move it where no copy is needed.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace krv {

class IDispatch;
using DispatchPtr = std::shared_ptr<IDispatch>;

enum class VarKind : uint8_t {
    Empty, Null, Integer, Boolean, Float, Date, String, WideString, Dispatch, Array
};

// The GUI library's type codes, for the places that test `VarType(v) = varXxx`.
enum VarTypeCode : int {
    varEmpty = 0x0000, varNull = 0x0001, varSmallint = 0x0002, varInteger = 0x0003,
    varSingle = 0x0004, varDouble = 0x0005, varCurrency = 0x0006, varDate = 0x0007,
    varOleStr = 0x0008, varDispatch = 0x0009, varError = 0x000A, varBoolean = 0x000B,
    varVariant = 0x000C, varUnknown = 0x000D, varByte = 0x0011, varInt64 = 0x0014,
    varString = 0x0100, varTypeMask = 0x0FFF, varArray = 0x2000
};

struct VarArrayBound {
    int low = 0;
    int high = -1;
    int Count() const { return high >= low ? high - low + 1 : 0; }
};

class Variant {
public:
    Variant() noexcept = default;
    Variant(int value) noexcept : kind_(VarKind::Integer), int_(value) {}
    Variant(int64_t value) noexcept : kind_(VarKind::Integer), int_(value) {}
    Variant(bool value) noexcept : kind_(VarKind::Boolean), bool_(value) {}
    Variant(double value) noexcept : kind_(VarKind::Float), float_(value) {}
    Variant(const char* text) : kind_(VarKind::String), text_(text ? text : "") {}
    Variant(std::string text) noexcept : kind_(VarKind::String), text_(std::move(text)) {}
    Variant(const char16_t* text) : kind_(VarKind::WideString), wide_(text ? text : u"") {}
    Variant(std::u16string text) noexcept : kind_(VarKind::WideString), wide_(std::move(text)) {}
    Variant(DispatchPtr object) noexcept;

    static Variant Null() { Variant v; v.kind_ = VarKind::Null; return v; }
    static Variant FromDate(double date) { Variant v(date); v.kind_ = VarKind::Date; return v; }

    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;
    ~Variant();

    VarKind Kind() const { return kind_; }
    bool IsEmpty() const { return kind_ == VarKind::Empty; }
    bool IsNull() const { return kind_ == VarKind::Null; }
    bool IsArray() const { return kind_ == VarKind::Array; }
    bool IsNarrowText() const { return kind_ == VarKind::String; }
    bool IsWideText() const { return kind_ == VarKind::WideString; }
    bool IsText() const { return IsNarrowText() || IsWideText(); }
    bool IsDispatch() const { return kind_ == VarKind::Dispatch; }
    bool IsNumeric() const { return kind_ == VarKind::Integer || kind_ == VarKind::Float; }
    void Clear() { *this = Variant(); }

    // Conversions as the GUI library's variants make them. Null and empty give "" as text and 0
    // or false elsewhere... except that null cannot become a number or boolean (raises, as the
    // library does). An impossible conversion raises EVariantTypeCastError
    // "Could not convert variant of type (From) into type (To)".
    std::string AsString() const;        // narrow; wide text narrowed with the system code page
    std::u16string AsWideString() const; // wide; narrow text widened with the system code page
    int64_t AsInt64() const;             // floats rounded half to even, as the library does
    int AsInteger() const;
    double AsFloat() const;
    double AsDate() const;
    bool AsBoolean() const;
    DispatchPtr AsDispatch() const;      // null and empty give nullptr

    // Direct access to the stored text without conversion; raises when the kind differs.
    const std::string& NarrowRef() const;
    const std::u16string& WideRef() const;

    // ---- arrays (checked: a bad index or a missing dimension raises EVariantBadIndexError) ----
    int DimCount() const;
    int LowBound(int dim = 1) const;
    int HighBound(int dim = 1) const;
    int ElementCount() const;  // all elements of every dimension
    Variant& operator[](int index);              // one-dimensional element
    const Variant& operator[](int index) const;
    Variant& At(int i, int j);                   // two-dimensional element
    const Variant& At(int i, int j) const;
    // Change the high bound of the (last) dimension; kept elements stay, new ones are empty.
    void Redim(int newHigh);
    // Elements in storage order (the first index varies fastest), for walking an array linearly.
    std::vector<Variant>& Elements();
    const std::vector<Variant>& Elements() const;

    // Same kind and value; arrays compare element-wise, dispatch objects by identity.
    bool operator==(const Variant& other) const;
    bool operator!=(const Variant& other) const { return !(*this == other); }

    // Type name as the error texts print it: "Empty", "Null", "Integer", "String", "OleStr" ...
    std::string TypeName() const;

    // Used by VarArrayCreate; bounds per dimension, elements empty.
    static Variant MakeArray(const std::vector<VarArrayBound>& bounds);

private:
    struct ArrayData;
    struct ArrayDeleter {
        void operator()(ArrayData* data) const noexcept;
    };
    void Destroy() noexcept;
    void CopyFrom(const Variant& other);
    void MoveFrom(Variant&& other) noexcept;
    [[noreturn]] void CastError(const char* target) const;
    ArrayData& Arr();
    const ArrayData& Arr() const;

    VarKind kind_ = VarKind::Empty;
    union {
        int64_t int_;
        bool bool_;
        double float_;
    };
    std::string text_;
    std::u16string wide_;
    DispatchPtr dispatch_;
    std::unique_ptr<ArrayData, ArrayDeleter> array_;
};

// ---- the familiar helpers ---------------------------------------------------------------------

// A 0-based one-dimensional array of the given values.
Variant VarArrayOf(std::initializer_list<Variant> values);
Variant VarArrayOf(std::vector<Variant> values);
// One dimension low..high, or two dimensions; elements empty.
Variant VarArrayCreate(int low, int high);
Variant VarArrayCreate(int low1, int high1, int low2, int high2);
void VarArrayRedim(Variant& v, int newHigh);
bool VarIsArray(const Variant& v);
// An array whose (first) dimension holds at least one element.
bool VarIsNonEmptyArray(const Variant& v);
int VarArrayDimCount(const Variant& v);  // 0 for a non-array
int VarArrayLowBound(const Variant& v, int dim);
int VarArrayHighBound(const Variant& v, int dim);
bool VarIsNull(const Variant& v);
bool VarIsEmpty(const Variant& v);
// Text of any scalar; null and empty give "" (never raises for those).
std::string VarToStr(const Variant& v);
std::u16string VarToWideStr(const Variant& v);
int VarType(const Variant& v);
const char* VarKindName(VarKind kind);

}  // namespace krv
