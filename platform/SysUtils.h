// Run-time-library routines the module leans on: the exception hierarchy, number and text
// conversions, strings with 1-based byte positions, and process settings.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace krv {

// Base of every exception the platform and the module raise. The message is narrow text in the
// system code page and keeps control characters and quotes as given.
class Exception : public std::exception {
public:
    explicit Exception(std::string message, int helpContext = -1)
        : message_(std::move(message)), helpContext_(helpContext) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const { return message_; }
    void SetMessage(std::string message) { message_ = std::move(message); }
    int HelpContext() const { return helpContext_; }
    // The class name as the error reports print it ("Exception", "EConvertError" ...).
    virtual std::string ClassName() const { return "Exception"; }

private:
    std::string message_;
    int helpContext_;
};

#define KRV_DECLARE_EXCEPTION(Name, Base)                                  \
    class Name : public Base {                                             \
    public:                                                                \
        using Base::Base;                                                  \
        std::string ClassName() const override { return #Name; }           \
    }

KRV_DECLARE_EXCEPTION(EConvertError, Exception);
KRV_DECLARE_EXCEPTION(EVariantError, Exception);
KRV_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError);
KRV_DECLARE_EXCEPTION(EVariantBadIndexError, EVariantError);
KRV_DECLARE_EXCEPTION(EListError, Exception);
KRV_DECLARE_EXCEPTION(EOleError, Exception);
KRV_DECLARE_EXCEPTION(EOleException, EOleError);
KRV_DECLARE_EXCEPTION(EInvalidOperation, Exception);

// ---- Numbers ---------------------------------------------------------------------------------

std::string IntToStr(int64_t value);
// Optional sign and decimal digits, blanks around allowed; anything else raises EConvertError
// "'%s' is not a valid integer value".
int64_t StrToInt64(const std::string& text);
int StrToInt(const std::string& text);
int StrToIntDef(const std::string& text, int defaultValue);
bool TryStrToInt64(const std::string& text, int64_t& value);
// The decimal separator is always "."; raises EConvertError "'%s' is not a valid floating point value".
double StrToFloat(const std::string& text);
bool TryStrToFloat(const std::string& text, double& value);
// Shortest text of at most 15 significant digits, as the GUI library prints floats.
std::string FloatToStr(double value);

// ---- Dates (a double: days since 1899-12-30, the fraction the time of day) ------------------

bool IsValidDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, double& date);
// Raises EConvertError "Invalid argument to date encode" for a date outside 1..9999.
double EncodeDate(int year, int month, int day);
double EncodeTime(int hour, int minute, int second, int millisecond);
void DecodeDate(double date, int& year, int& month, int& day);
void DecodeTime(double date, int& hour, int& minute, int& second, int& millisecond);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(double date);
bool IsLeapYear(int year);
// "yyyy/mm/dd", followed by " hh:nn:ss" when the time of day is not midnight.
std::string DateTimeToStr(double date);
// Accepts "yyyy/mm/dd" or "yyyy-mm-dd", optionally followed by " hh:nn[:ss[.zzz]]".
bool TryStrToDateTime(const std::string& text, double& date);
int DaysInAMonth(int year, int month);

// ---- Strings (bytes of the system code page, 1-based positions) -----------------------------

bool IsLeadByte(unsigned char c);
// Blanks and control characters off both ends (or one end).
std::string Trim(const std::string& s);
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);
// ASCII letters only; the double-byte variants never touch a trail byte.
std::string UpperCase(const std::string& s);
std::string LowerCase(const std::string& s);
std::string AnsiUpperCase(const std::string& s);
std::string AnsiLowerCase(const std::string& s);
bool SameText(const std::string& a, const std::string& b);
int CompareText(const std::string& a, const std::string& b);
// 1-based position of the first occurrence, 0 when absent; plain byte comparison.
int Pos(const std::string& sub, const std::string& s);
// Count bytes from 1-based index; out-of-range parts are clipped.
std::string Copy(const std::string& s, int index, int count);
void Delete(std::string& s, int index, int count);
void Insert(const std::string& sub, std::string& s, int index);

}  // namespace krv
