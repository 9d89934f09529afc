// Common utilities of the module: splitting and replacing text, the ERP's date styles (including
// the Republic-of-China year count), date arithmetic for scheduled and periodic jobs, the alert
// log writer, code-page conversion of texts and variant arrays, and the Chinese captions of the
// message-dialog buttons.
//
// Texts are narrow bytes of the data's code page with 1-based byte positions. A date value is a
// day count since 1899-12-30 and 0 means "no date". Date texts are "yyyymmdd" or "yyyymm".
// None of these functions keeps state; none raises: bad input gives 0, empty text or the input.
#pragma once

#include <cstdint>
#include <string>

#include "platform/SysUtils.h"
#include "platform/Variant.h"

namespace krv {

// Field separator of packed records and dynamic-date entries.
inline constexpr char kFieldSep = '\x03';

// ---- text ------------------------------------------------------------------------------------

// The Index-th field (1-based) of S split at Separator; "" when that field is empty or missing.
std::string GetDelimitedItem(const std::string& s, const std::string& separator, int index);
// Number of fields: 0 for an empty S, else the occurrences of Separator (overlapping) plus one.
int CountDelimitedItems(const std::string& s, const std::string& separator);
// The text before the first Separator; S keeps what follows it (or becomes empty).
std::string CutFirstItem(std::string& s, const std::string& separator);
// Replaces every Old by New. Nothing changes when Old and New differ only in case.
std::string ReplaceAllOf(const std::string& s, const std::string& oldText,
                         const std::string& newText, bool trimResult);
// S as a decimal number ("." always), or Default when it is none.
double StrToFloatDefault(const std::string& s, double defaultValue);
bool IsLoopbackAddress(const std::string& s);
// The user's temporary folder with a trailing separator.
std::string GetLongTempPath();

// ---- dates -----------------------------------------------------------------------------------

// Styles: 1 y-m-d, 2 m-d-y, 3 d-m-y, 4 ROC year (2 digits)-m-d, 5 ROC year (3 digits)-m-d.
// Only the first character of Separator is used. A date of 0 or a style outside 1..5 gives "".
std::string FormatDateStyle(int style, const std::string& separator, double date);
std::string FormatYearMonthStyle(int style, const std::string& separator, double date);
// The inverse of FormatDateStyle; a day past the month's end rolls into the next month. 0 when
// S is blank or not a date in the style.
double ParseDateStyle(const std::string& s, int style, const std::string& separator);
// "yyyymmdd" as a date value, 0 when it is none.
double YmdToDate(const std::string& s);
// Empty text, or eight digits forming a date from 17530101 to 99991231.
bool IsValidYmd(const std::string& s);
int DaysInMonthOf(int year, int month);
// Value (a "yyyymmdd" text or a date value) moved by Amount days ("D"), months ("M") or years
// ("Y"); a day past the month's end is pulled back to its last day. "" for bad input.
std::string AddToYmd(const Variant& value, const std::string& unit, int amount);
// The first run date on or after StartYmd of a cycle definition [kind, details] of the options
// form; "" for the hourly kind and bad input.
std::string GetCycleStartDate(const std::string& startYmd, const Variant& cycle);
// BaseYmd moved by Weeks weeks, then to the Sunday (Edge "1") or Saturday (other) of that week.
std::string WeekEdgeDate(const std::string& baseYmd, int weeks, const std::string& edge);
// One rule of a dynamic date: a "yyyymm" base moves by N months; a "yyyymmdd" base moves by N
// months (Unit not "0") then per Mode ("0" add D days, "1" first, "2" last day of the month), or
// by N weeks (Unit "0") then per Mode ("0" add D days, "1" Sunday, "2" Saturday of that week).
// N, D and Mode are integer texts; "" when they are not.
std::string ShiftDateByRule(const std::string& baseDate, const std::string& n,
                            const std::string& unit, const std::string& d,
                            const std::string& mode);
// Args[1] (the job's argument array) with every dynamic date of the records in Args[3] moved to
// the run date; an empty text when a record is damaged.
Variant ResolveDynamicDates(const Variant& args, const std::string& runYmd);

// ---- variants and code pages -----------------------------------------------------------------

// By value, so that a result taken from temporaries never dangles.
inline Variant VarIIf(bool condition, const Variant& a, const Variant& b) {
    return condition ? a : b;
}
inline bool VarIsBlank(const Variant& v) { return v.IsEmpty() || v.IsNull(); }
// An unsupported code page falls back to the system code page.
std::string WideToAnsiCP(const std::u16string& w, int codePage);
std::u16string AnsiToWideCP(const std::string& s, int codePage);
// Every wide text of V (walking nested one-dimensional arrays and the cells of a two-dimensional
// one) narrowed to CodePage; a scalar text of either width likewise.
Variant VarToAnsiCP(const Variant& v, int codePage);
// Every text of V made wide from CodePage (wide ones are narrowed with the system code page first).
Variant VarToWideCP(const Variant& v, int codePage);
// Prefix #3 Arr[0] #3 Arr[1] #3 ... Arr[n] #3 with n = Arr[0].
std::u16string PackVarArray(const std::u16string& prefix, const Variant& arr);

// ---- logging and environment -----------------------------------------------------------------

// The installation folder of the client shell, else of the server shell, as stored; else "".
std::string GetCorvantisHomePath();
// Appends "[time] Message" to Log/Alert_<Name>_<date>[.log] below the installation folder.
// Period "M" names the file by month, "Y" by year, anything else by day. False on any failure.
bool WriteAlertLog(const std::string& name, const std::string& message,
                   const std::string& period);

// ---- dialogs ---------------------------------------------------------------------------------

// "Yes" -> "是(&Y)" ... ; any other name is returned unchanged.
std::string ChineseButtonCaption(const std::string& buttonName);

}  // namespace krv
