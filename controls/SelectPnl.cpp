#include "controls/SelectPnl.h"

#include "platform/SysUtils.h"

namespace krv {

const char* SelectStyleName(TSelectStyle style) {
    switch (style) {
    case sp_Range: return "sp_Range";
    case sp_Discrete: return "sp_Discrete";
    case sp_UserChoice: return "sp_UserChoice";
    }
    return "";
}

namespace {

// One pass over the text; cutting field by field with a positional search would rescan it for
// every row.
std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;) {
        size_t at = text.find(separator, start);
        if (at == std::string::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}

// An optional sign and decimal digits, nothing around them; false on overflow too.
bool ReadWholeNumber(const std::string& text, int64_t& value) {
    return Trim(text).size() == text.size() && TryStrToInt64(text, value);
}

int64_t WholeNumberOrZero(const std::string& text) {
    int64_t value = 0;
    return ReadWholeNumber(text, value) ? value : 0;
}

bool IsDigitRun(const std::string& text) {
    if (text.empty()) return false;
    for (unsigned char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

double DecimalValueOrZero(const std::string& text) {
    double value = 0;
    return TryStrToFloat(Trim(text), value) ? value : 0;
}

// "whole part.digits"; a side without a point, or a readable number whose rewriting would change
// its value (a sign before a zero whole part, an exponent), stays as typed.
std::string NormalisedDecimal(const std::string& text) {
    int point = Pos(".", text);
    if (point == 0) return text;
    std::string before = Trim(Copy(text, 1, point - 1));
    std::string after = Trim(Copy(text, point + 1, static_cast<int>(text.size())));
    std::string rewritten =
        IntToStr(WholeNumberOrZero(before)) + "." + (IsDigitRun(after) ? after : std::string("0"));
    double original = 0;
    if (TryStrToFloat(Trim(text), original) && original != DecimalValueOrZero(rewritten))
        return text;
    return rewritten;
}

bool IsFilledIn(const std::string& text, const std::string& trimmedBlank) {
    std::string trimmed = Trim(text);
    return !trimmed.empty() && trimmed != trimmedBlank;
}

bool DiscardAllows(const RangeRules& rules, const RangeTexts& texts) {
    return !rules.useDiscard ||
           (Trim(texts.begin) != rules.discard && Trim(texts.end) != rules.discard);
}

bool BeginOrdersAfterEnd(const RangeRules& rules, RangeTexts& texts) {
    switch (rules.valueType) {
    case vt_String:
    case vt_Time:
        return DiscardAllows(rules, texts) && texts.begin > texts.end;
    case vt_Number:
        return WholeNumberOrZero(texts.begin) > WholeNumberOrZero(texts.end);
    case vt_Date:
        if (!rules.autoChangeDateSite || !DiscardAllows(rules, texts)) return false;
        if (rules.dateType == dt_NoneCare) return texts.begin > texts.end;
        return DateNumber(texts.begin, rules.dateType, rules.dateSign, rules.blankText) >
               DateNumber(texts.end, rules.dateType, rules.dateSign, rules.blankText);
    case vt_Float:
        texts.begin = NormalisedDecimal(texts.begin);
        texts.end = NormalisedDecimal(texts.end);
        return DecimalValueOrZero(texts.begin) > DecimalValueOrZero(texts.end);
    case vt_OtherMask:
        return false;
    }
    return false;
}

int CountOccurrences(const std::string& text, const std::string& sign) {
    int count = 0;
    for (size_t at = text.find(sign); at != std::string::npos; at = text.find(sign, at + sign.size()))
        ++count;
    return count;
}

// A year-month text gets the first day in the position its field order puts the day.
std::string WithImpliedDay(const std::string& text, TDateType dateType, const std::string& sign) {
    switch (dateType) {
    case dt_MMDDYYYY: return Copy(text, 1, 2) + sign + "01" + Copy(text, 3, 5);
    case dt_DDMMYYYY: return "01" + sign + text;
    default: return text + sign + "01";
    }
}

const std::string& CellOrEmpty(const SelectRow& row, size_t column) {
    static const std::string empty;
    return column < row.size() ? row[column] : empty;
}

}  // namespace

// ---- value strings ---------------------------------------------------------------------------

std::string RowsToText(const SelectRows& rows) {
    std::string text;
    for (const SelectRow& row : rows) {
        for (size_t cell = 0; cell < row.size(); ++cell) {
            if (cell > 0) text += kCellSep;
            text += row[cell];
        }
        text += kRowEnd;
    }
    return text;
}

SelectRows RowsFromText(const std::string& text) {
    SelectRows rows;
    for (const std::string& piece : SplitAt(text, kRowEnd))
        if (!piece.empty()) rows.push_back(SplitAt(piece, kCellSep));
    return rows;
}

std::string FormatSaveValue(const SelectCondition& condition) {
    std::string value = SelectStyleName(condition.style);
    value += kSaveFieldSep;
    switch (condition.style) {
    case sp_Range:
        return value + condition.beginText + kSaveFieldSep + condition.endText;
    case sp_Discrete:
        return value + RowsToText(condition.rows);
    case sp_UserChoice:
        if (condition.userChoice)
            return value + "True" + kSaveFieldSep + condition.beginText + kSaveFieldSep +
                   condition.endText;
        return value + "False" + kSaveFieldSep + RowsToText(condition.rows);
    }
    return value;
}

Variant FormatServerValue(const SelectCondition& condition) {
    if (condition.IsRangeMode())
        return VarArrayOf({std::string(1, kRowEnd), condition.beginText, condition.endText});
    std::vector<Variant> elements;
    elements.reserve(condition.rows.size() + 1);
    elements.emplace_back(std::string(1, kListMarker));
    for (const SelectRow& row : condition.rows)
        elements.push_back(VarArrayOf(std::vector<Variant>(row.begin(), row.end())));
    return VarArrayOf(std::move(elements));
}

// ---- exit ordering ---------------------------------------------------------------------------

bool TrimsRangeTexts(const std::string& editMask) {
    return editMask.empty() || editMask[0] != '!';
}

RangeTexts OrderRangeTexts(const RangeRules& rules, RangeTexts texts) {
    if (TrimsRangeTexts(rules.editMask)) {
        texts.begin = Trim(texts.begin);
        texts.end = Trim(texts.end);
    }
    const std::string blank = Trim(rules.blankText);
    if (!IsFilledIn(texts.begin, blank) || !IsFilledIn(texts.end, blank)) return texts;
    if (BeginOrdersAfterEnd(rules, texts)) std::swap(texts.begin, texts.end);
    return texts;
}

int64_t DateNumber(const std::string& text, TDateType dateType, const std::string& dateSign,
                   const std::string& blankText) {
    std::string date = Trim(text);
    if (date.empty() || date == Trim(blankText) || dateSign.empty()) return 0;
    switch (CountOccurrences(date, dateSign)) {
    case 1: date = WithImpliedDay(date, dateType, dateSign); break;
    case 2: break;
    default: return 0;
    }
    int64_t fields[3];
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        size_t at = i < 2 ? date.find(dateSign, start) : date.size();
        if (at == std::string::npos || !ReadWholeNumber(Trim(date.substr(start, at - start)), fields[i]))
            return 0;
        start = at + dateSign.size();
    }
    int64_t year, month, day;
    switch (dateType) {
    case dt_MMDDYYYY: year = fields[2]; month = fields[0]; day = fields[1]; break;
    case dt_DDMMYYYY: year = fields[2]; month = fields[1]; day = fields[0]; break;
    case dt_YYMMDD:
    case dt_YYYMMDD: year = fields[0] + 1911; month = fields[1]; day = fields[2]; break;
    default: year = fields[0]; month = fields[1]; day = fields[2]; break;
    }
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return 0;
    double serial = 0;
    if (!TryEncodeDate(int(year), int(month), int(day), serial)) return 0;
    // Day 1 is 0001-01-01, so that every real date counts above "no date".
    return static_cast<int64_t>(serial) + 693594;
}

// ---- rows ------------------------------------------------------------------------------------

int CompareRows(const SelectRow& a, const SelectRow& b, int sortColumn, bool ascending) {
    int key = sortColumn;
    int result = 0;
    for (;;) {
        size_t column = static_cast<size_t>(key < 0 ? 0 : key);
        std::string left = AnsiUpperCase(CellOrEmpty(a, column));
        std::string right = AnsiUpperCase(CellOrEmpty(b, column));
        result = left.compare(right);
        result = result < 0 ? -1 : result > 0 ? 1 : 0;
        if (result != 0) break;
        if (key == 0 && sortColumn != 1) key = 1;
        else if (sortColumn > 0 && key == sortColumn) key = 0;
        else break;
    }
    return ascending ? result : -result;
}

std::string DuplicateKey(const std::string& caption, TCheckDuplicate rule) {
    return rule == cd_CaseInsensitive ? AnsiUpperCase(caption) : caption;
}

}  // namespace krv
