// The selection panel: the control through which a job form collects one condition, either a
// range (begin and end texts), a list of discrete rows, or both with a check box that lets the
// user choose. The value rules (exit ordering, value strings) are free functions so that they
// hold without any on-screen control.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Variant.h"

namespace krv {

enum TSelectStyle : uint8_t { sp_Range, sp_Discrete, sp_UserChoice };
enum TValueType : uint8_t { vt_String, vt_Number, vt_Date, vt_Time, vt_Float, vt_OtherMask };
enum TDateType : uint8_t { dt_NoneCare, dt_YYYYMMDD, dt_MMDDYYYY, dt_DDMMYYYY, dt_YYMMDD, dt_YYYMMDD };
enum TCheckDuplicate : uint8_t { cd_None, cd_CheckCase, cd_CaseInsensitive };

// Separators of the value strings.
inline constexpr char kCellSep = '\x01';
inline constexpr char kSaveFieldSep = '\x03';
inline constexpr char kRowEnd = '\x04';      // after each row; also the range marker
inline constexpr char kListMarker = '\x05';

const char* SelectStyleName(TSelectStyle style);

// ---- value strings ---------------------------------------------------------------------------

// One row: the caption, then the sub-items.
using SelectRow = std::vector<std::string>;
using SelectRows = std::vector<SelectRow>;

// Caption, each sub-item after character 1, then character 4; rows in order.
std::string RowsToText(const SelectRows& rows);
// The non-empty pieces between characters 4, each split at character 1 into cells. A last row
// without its closing character 4 still counts.
SelectRows RowsFromText(const std::string& text);

// What a panel holds, as far as the saved and the server value carry it.
struct SelectCondition {
    TSelectStyle style = sp_Range;
    bool userChoice = true;
    std::string beginText;
    std::string endText;
    SelectRows rows;
    // Range mode: style range, or user choice with the range chosen.
    bool IsRangeMode() const { return style == sp_Range || (style == sp_UserChoice && userChoice); }
};

// Fields separated by character 3: the style's name, then what that style keeps.
std::string FormatSaveValue(const SelectCondition& condition);
// Range mode: [#4, begin, end]; list mode: [#5, [cells of row 1], ..., [cells of row n]].
Variant FormatServerValue(const SelectCondition& condition);

// ---- exit ordering ---------------------------------------------------------------------------

// The panel's settings that decide how begin and end are put in order when the focus leaves it.
struct RangeRules {
    TValueType valueType = vt_String;
    TDateType dateType = dt_NoneCare;
    std::string dateSign = "/";
    std::string editMask;
    std::string blankText;
    bool autoChangeDateSite = true;
    bool useDiscard = false;
    std::string discard;
};

struct RangeTexts {
    std::string begin;
    std::string end;
    bool operator==(const RangeTexts&) const = default;
};

// Whether the exit trims both texts: unless the mask keeps blanks (it begins with "!").
bool TrimsRangeTexts(const std::string& editMask);
// Both texts as they stand after the exit: trimmed (see TrimsRangeTexts), decimal texts
// normalised, and exchanged when begin orders after end. A side that is empty or shows only the
// mask's blank text is not filled in: nothing is exchanged then.
RangeTexts OrderRangeTexts(const RangeRules& rules, RangeTexts texts);
// A day count that grows with the date (0 for no or an impossible date) of a text whose fields
// stand in DateType's order, separated by DateSign; year-month texts imply the first day.
int64_t DateNumber(const std::string& text, TDateType dateType, const std::string& dateSign,
                   const std::string& blankText);

// ---- rows ------------------------------------------------------------------------------------

// Row order of a sort by column SortColumn (0 = caption): case-insensitive, DBCS-safe; equal texts
// fall back to the next key (column 0 then 1, 1 then 0, k then 0 then 1). Negative, 0 or positive.
int CompareRows(const SelectRow& a, const SelectRow& b, int sortColumn, bool ascending);
// The form of a caption under which duplicates compare equal (exact bytes, or upper-cased).
std::string DuplicateKey(const std::string& caption, TCheckDuplicate rule);

}  // namespace krv
