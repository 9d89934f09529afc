// Run-time-library routines the module leans on: the exception hierarchy, number and text
// conversions, strings with 1-based byte positions, and process settings.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Variant.h"

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

// A failed file operation, with the run-time library's error code.
class EInOutError : public Exception {
public:
    EInOutError(std::string message, int errorCode)
        : Exception(std::move(message)), errorCode_(errorCode) {}
    std::string ClassName() const override { return "EInOutError"; }
    int ErrorCode() const { return errorCode_; }

private:
    int errorCode_;
};

// A failed operating-system call, with the system's error code.
class EWin32Error : public Exception {
public:
    EWin32Error(std::string message, unsigned errorCode)
        : Exception(std::move(message)), errorCode_(errorCode) {}
    std::string ClassName() const override { return "EWin32Error"; }
    unsigned ErrorCode() const { return errorCode_; }

private:
    unsigned errorCode_;
};

// A database engine failure: the engine reports a list of errors, each with its code.
struct TDBError {
    int errorCode = 0;
    std::string message;
};
class EDBEngineError : public Exception {
public:
    explicit EDBEngineError(std::vector<TDBError> errors)
        : Exception(errors.empty() ? std::string() : errors.front().message),
          errors_(std::move(errors)) {}
    std::string ClassName() const override { return "EDBEngineError"; }
    int ErrorCount() const { return int(errors_.size()); }
    const TDBError& Errors(int index) const { return errors_.at(size_t(index)); }

private:
    std::vector<TDBError> errors_;
};

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
// The short date format, followed by a blank and the long time format when the time of day is
// not midnight ("yyyy/mm/dd hh:nn:ss" with the default settings).
std::string DateTimeToStr(double date);
// The date in the short date format.
std::string DateToStr(double date);
// The local date and time, with milliseconds; Date() is today at midnight.
double Now();
double Date();
// Date and time by a pattern, letters in either case: yyyy yy, m mm mmm mmmm, d dd ddd dddd,
// h hh, n nn, s ss, z zzz, am/pm, ampm; "m" right after an hour means minutes; "/" and ":" are
// the process's date and time separators; text in quotes is copied; c, ddddd and tt are the
// short date, the short date and long time, and the long time formats.
std::string FormatDateTime(const std::string& pattern, double date);
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

// ---- Process settings (the user's locale; each settable, for tests too) -----------------------

char DateSeparator();
void SetDateSeparator(char separator);
char TimeSeparator();
void SetTimeSeparator(char separator);
// "yyyy/mm/dd" unless set; "/" in it stands for the date separator.
std::string ShortDateFormat();
void SetShortDateFormat(const std::string& format);
// "hh:nn:ss" unless set.
std::string LongTimeFormat();
void SetLongTimeFormat(const std::string& format);
// Back to the defaults: "/", ":", "yyyy/mm/dd", "hh:nn:ss".
void ResetFormatSettings();

// ---- Format ----------------------------------------------------------------------------------

// Formats by the run-time library's rules: %[index:][-][width][.precision]type with the types
// d (integer, precision = minimum digits), u, x (integer), s (text, precision = maximum length),
// f, e, g, n (number, "." decimal point; n with "," thousands), and %%. "*" takes a width or
// precision from the arguments. The format is parsed here, never handed to printf, so texts from
// the host or the database are safe. Too few arguments, an argument of the wrong kind or a bad
// specifier raise EConvertError; surplus arguments are ignored.
std::string Format(const std::string& format, const std::vector<Variant>& args);
std::string Format(const std::string& format, std::initializer_list<Variant> args);

// ---- Word packing (window message parameters) ------------------------------------------------

constexpr uint32_t MakeLong(uint16_t low, uint16_t high) {
    return uint32_t(low) | (uint32_t(high) << 16);
}
constexpr uint16_t LoWord(uint32_t value) { return uint16_t(value & 0xFFFF); }
constexpr uint16_t HiWord(uint32_t value) { return uint16_t(value >> 16); }
constexpr uint8_t HiByte(uint16_t value) { return uint8_t(value >> 8); }
// A point as one parameter: x in the low half, y in the high half (each kept to 16 bits).
constexpr uint32_t PointToLParam(int x, int y) { return MakeLong(uint16_t(x), uint16_t(y)); }

// ---- Paths (both "/" and "\" separate, never a trail byte; the platform writes "/") -----------

inline constexpr char PathDelim = '/';
bool IsPathDelimiter(char c);
// The part after the last separator.
std::string ExtractFileName(const std::string& path);
// The part up to and including the last separator ("" when there is none).
std::string ExtractFilePath(const std::string& path);
// The extension with its dot, from the last "." of the file name; "" when it has none.
std::string ExtractFileExt(const std::string& path);
std::string ChangeFileExt(const std::string& path, const std::string& extension);
// Appends "/" unless the path already ends with a separator (an empty path stays empty).
std::string IncludeTrailingPathDelimiter(const std::string& path);
// Every "\" written as "/" (trail bytes of double-byte characters untouched).
std::string PlatformPath(const std::string& path);
// A Windows drive ("X:") or network share ("\\server", "//server") at the start.
bool IsDriveOrShareRooted(const std::string& path);

// ---- Files and the environment ---------------------------------------------------------------

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates the folder with every missing parent; true when it exists afterwards.
bool ForceDirectories(const std::string& path);
// Appends the line and a CR LF, creating the file when missing; false on any failure.
bool AppendLineToFile(const std::string& path, const std::string& line);
bool DeleteFile(const std::string& path);
// The temporary folder (TMPDIR, else /tmp) with a trailing "/", at most 255 bytes.
std::string GetTempFolder();
// The full path of the running program and its folder (with a trailing "/").
std::string ApplicationExeName();
std::string ApplicationFolder();
// The login name of the process's user ("" when unknown).
std::string GetUserName();
// The host name of the machine ("" when unknown).
std::string GetComputerName();

}  // namespace krv
