// The panel's value rules on their own: exit ordering of every value type, the date numbers,
// the value strings and the row order.
#include <gtest/gtest.h>

#include <random>

#include "controls/SelectPnl.h"

namespace krv {
namespace {

struct OrderCase {
    const char* name;
    RangeRules rules;
    RangeTexts typed;
    RangeTexts expected;
};

// Test listings show the case by its name rather than as raw bytes.
void PrintTo(const OrderCase& c, std::ostream* out) { *out << c.name; }

RangeRules Rules(TValueType type, TDateType dateType = dt_NoneCare) {
    RangeRules rules;
    rules.valueType = type;
    rules.dateType = dateType;
    return rules;
}

RangeRules WithDiscard(RangeRules rules, const char* discard) {
    rules.useDiscard = true;
    rules.discard = discard;
    return rules;
}

RangeRules WithMask(RangeRules rules, const char* mask, const char* blank) {
    rules.editMask = mask;
    rules.blankText = blank;
    return rules;
}

RangeRules WithoutDateSite(RangeRules rules) {
    rules.autoChangeDateSite = false;
    return rules;
}

class OrderRangeTextsTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(OrderRangeTextsTest, PutsBeginAndEndInOrder) {
    const OrderCase& c = GetParam();
    EXPECT_EQ(OrderRangeTexts(c.rules, c.typed), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    EveryValueType, OrderRangeTextsTest,
    ::testing::Values(
        OrderCase{"string exchanged", Rules(vt_String), {"B", "A"}, {"A", "B"}},
        OrderCase{"string in order", Rules(vt_String), {"A", "B"}, {"A", "B"}},
        OrderCase{"string trimmed", Rules(vt_String), {" B\t", " A "}, {"A", "B"}},
        OrderCase{"string byte order, high bytes last", Rules(vt_String), {"\xB0\xA1", "Z"}, {"Z", "\xB0\xA1"}},
        OrderCase{"end empty: nothing exchanged", Rules(vt_String), {"B", ""}, {"B", ""}},
        OrderCase{"begin blank", Rules(vt_Number), {"  ", "3"}, {"", "3"}},
        OrderCase{"string discard keeps order", WithDiscard(Rules(vt_String), "ZZ"), {"ZZ", "A"}, {"ZZ", "A"}},
        OrderCase{"time exchanged", Rules(vt_Time), {"12:00", "08:30"}, {"08:30", "12:00"}},
        OrderCase{"number compares numerically", Rules(vt_Number), {"20", "3"}, {"3", "20"}},
        OrderCase{"number in order", Rules(vt_Number), {"3", "20"}, {"3", "20"}},
        OrderCase{"non-number counts as 0", Rules(vt_Number), {"5", "abc"}, {"abc", "5"}},
        OrderCase{"negative number", Rules(vt_Number), {"-1", "-7"}, {"-7", "-1"}},
        OrderCase{"date none-care is textual", Rules(vt_Date), {"2004/05/01", "2003/12/31"}, {"2003/12/31", "2004/05/01"}},
        OrderCase{"date ROC two-digit year", Rules(vt_Date, dt_YYMMDD), {"93/05/01", "92/12/31"}, {"92/12/31", "93/05/01"}},
        OrderCase{"date ROC beats text order", Rules(vt_Date, dt_YYYMMDD), {"100/01/01", "99/12/31"}, {"99/12/31", "100/01/01"}},
        OrderCase{"date year-month", Rules(vt_Date, dt_YYYYMMDD), {"2004/05", "2004/03"}, {"2004/03", "2004/05"}},
        OrderCase{"date impossible begin stays first", Rules(vt_Date, dt_YYYYMMDD), {"2004/02/30", "2004/03/01"}, {"2004/02/30", "2004/03/01"}},
        OrderCase{"date impossible end goes first", Rules(vt_Date, dt_YYYYMMDD), {"2004/03/01", "2004/02/30"}, {"2004/02/30", "2004/03/01"}},
        OrderCase{"date month first", Rules(vt_Date, dt_MMDDYYYY), {"01/15/2005", "12/31/2004"}, {"12/31/2004", "01/15/2005"}},
        OrderCase{"date day first", Rules(vt_Date, dt_DDMMYYYY), {"01/02/2005", "31/12/2004"}, {"31/12/2004", "01/02/2005"}},
        OrderCase{"date discard", WithDiscard(Rules(vt_Date, dt_YYYYMMDD), "2099/12/31"), {"2099/12/31", "2004/01/01"}, {"2099/12/31", "2004/01/01"}},
        OrderCase{"date without site change", WithoutDateSite(Rules(vt_Date, dt_YYYYMMDD)), {"2005/01/01", "2004/01/01"}, {"2005/01/01", "2004/01/01"}},
        OrderCase{"date mask blank side untouched", WithMask(Rules(vt_Date, dt_YYYYMMDD), "!9999/99/99;1; ", "    /  /  "), {"2005/01/01", "    /  /  "}, {"2005/01/01", "    /  /  "}},
        OrderCase{"float normalised and exchanged", Rules(vt_Float), {"12. 50", "3.5"}, {"3.5", "12.50"}},
        OrderCase{"float by full value", Rules(vt_Float), {"1.5", "1.25"}, {"1.25", "1.5"}},
        OrderCase{"float missing fraction", Rules(vt_Float), {"7.", "2.x"}, {"2.0", "7.0"}},
        OrderCase{"float keeps its sign", Rules(vt_Float), {"0.5", "-0.5"}, {"-0.5", "0.5"}},
        OrderCase{"float without point", Rules(vt_Float), {"12", "3.0"}, {"3.0", "12"}},
        OrderCase{"other mask never ordered", Rules(vt_OtherMask), {"B", "A"}, {"B", "A"}},
        OrderCase{"mask with ! keeps blanks", WithMask(Rules(vt_String), "!>aaa;1; ", "   "), {"B  ", "A  "}, {"A  ", "B  "}},
        OrderCase{"mask without ! trims", WithMask(Rules(vt_String), ">aaa;1; ", "   "), {"B  ", " A "}, {"A", "B"}}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(DateNumber, GrowsWithTheDateAndIsZeroForNoDate) {
    const std::string sign = "/";
    EXPECT_LT(DateNumber("2003/12/31", dt_YYYYMMDD, sign, ""), DateNumber("2004/01/01", dt_YYYYMMDD, sign, ""));
    EXPECT_EQ(DateNumber("2004/05", dt_YYYYMMDD, sign, ""), DateNumber("2004/05/01", dt_YYYYMMDD, sign, ""));
    EXPECT_EQ(DateNumber("93/05/01", dt_YYMMDD, sign, ""), DateNumber("2004/05/01", dt_YYYYMMDD, sign, ""));
    EXPECT_EQ(DateNumber("05/2004", dt_MMDDYYYY, sign, ""), DateNumber("2004/05/01", dt_YYYYMMDD, sign, ""));
    EXPECT_EQ(DateNumber("05/2004", dt_DDMMYYYY, sign, ""), DateNumber("2004/05/01", dt_YYYYMMDD, sign, ""));
    EXPECT_EQ(DateNumber("2004-05-01", dt_YYYYMMDD, "-", ""), DateNumber("2004/05/01", dt_YYYYMMDD, sign, ""));
    EXPECT_GT(DateNumber("0001/01/01", dt_YYYYMMDD, sign, ""), 0);
    for (const char* none : {"", "   ", "2004", "2004/01/01/01", "2004/xx/01", "2004/13/01", "2004/02/30",
                             "    /  /  ", "10000/01/01"})
        EXPECT_EQ(DateNumber(none, dt_YYYYMMDD, sign, "    /  /  "), 0) << none;
    EXPECT_EQ(DateNumber("2004/05/01", dt_YYYYMMDD, "", ""), 0);
}

TEST(RowsText, LayoutAndParsing) {
    SelectRows rows{{"A01", "Office"}, {"A02", "Plant"}, {"A03"}};
    const std::string text = RowsToText(rows);
    EXPECT_EQ(text, "A01\x01Office\x04" "A02\x01Plant\x04" "A03\x04");
    EXPECT_EQ(RowsFromText(text), rows);
    EXPECT_EQ(RowsToText({}), "");
    EXPECT_TRUE(RowsFromText("").empty());
    // A last row without its closing separator still counts; empty pieces are skipped.
    EXPECT_EQ(RowsFromText("A\x04\x04" "B\x01" "b"), (SelectRows{{"A"}, {"B", "b"}}));
    EXPECT_EQ(RowsFromText("A\x01\x04"), (SelectRows{{"A", ""}}));
}

TEST(RowsText, RandomRowsSurviveTheRoundTrip) {
    std::mt19937 random(42);
    const std::string alphabet = "ab Z09-\xB0\xA1\x02\x7F";
    auto cell = [&] {
        std::string s(random() % 6, ' ');
        for (char& c : s) c = alphabet[random() % alphabet.size()];
        return s;
    };
    for (int trial = 0; trial < 200; ++trial) {
        SelectRows rows(random() % 5);
        const size_t cells = 1 + random() % 4;
        for (SelectRow& row : rows) {
            do row.assign(1, cell()); while (row[0].empty() && cells == 1);
            for (size_t i = 1; i < cells; ++i) row.push_back(cell());
        }
        EXPECT_EQ(RowsFromText(RowsToText(rows)), rows) << "trial " << trial;
    }
}

TEST(SaveValue, EveryStyleHasItsFields) {
    SelectCondition range{sp_Range, true, "A", "B", {}};
    EXPECT_EQ(FormatSaveValue(range), "sp_Range\x03" "A\x03" "B");
    SelectCondition list{sp_Discrete, true, "x", "y", {{"A01", "Office"}}};
    EXPECT_EQ(FormatSaveValue(list), "sp_Discrete\x03" "A01\x01Office\x04");
    SelectCondition choiceRange{sp_UserChoice, true, " 1", "2 ", {{"r"}}};
    EXPECT_EQ(FormatSaveValue(choiceRange), "sp_UserChoice\x03True\x03 1\x03" "2 ");
    SelectCondition choiceList{sp_UserChoice, false, "1", "2", {{"r"}}};
    EXPECT_EQ(FormatSaveValue(choiceList), "sp_UserChoice\x03" "False\x03r\x04");
}

TEST(ServerValue, RangeAndListShapes) {
    Variant range = FormatServerValue({sp_UserChoice, true, "A", "B", {{"r"}}});
    ASSERT_EQ(VarArrayHighBound(range, 1), 2);
    EXPECT_EQ(range, VarArrayOf({"\x04", "A", "B"}));

    Variant list = FormatServerValue({sp_Discrete, true, "A", "B", {{"A01", "Office"}, {"A02", ""}}});
    EXPECT_EQ(list, VarArrayOf({"\x05", VarArrayOf({"A01", "Office"}), VarArrayOf({"A02", ""})}));
    EXPECT_EQ(FormatServerValue({sp_UserChoice, false, "", "", {}}), VarArrayOf({"\x05"}));
}

TEST(CompareRows, KeysFollowTheSortColumn) {
    const SelectRow a{"a", "2", "x"}, b{"A", "1", "x"}, c{"b", "1"};
    // Caption first, case-insensitive, then column 1.
    EXPECT_GT(CompareRows(a, b, 0, true), 0);
    EXPECT_LT(CompareRows(b, c, 0, true), 0);
    EXPECT_GT(CompareRows(b, c, 0, false), 0);
    // Column 1 first, then the caption.
    EXPECT_LT(CompareRows(b, c, 1, true), 0);
    EXPECT_GT(CompareRows(a, c, 1, true), 0);
    // Column 2 (missing counts as empty), then caption, then column 1.
    EXPECT_GT(CompareRows(b, c, 2, true), 0);
    EXPECT_GT(CompareRows(a, b, 2, true), 0);
    EXPECT_EQ(CompareRows(a, a, 2, true), 0);
    // Case folding leaves double-byte characters alone: the trail byte 0x61 is no letter here.
    EXPECT_NE(CompareRows({"\x81\x61"}, {"\x81\x41"}, 0, true), 0);
}

TEST(DuplicateKey, FollowsTheRule) {
    EXPECT_EQ(DuplicateKey("ab", cd_CaseInsensitive), DuplicateKey("AB", cd_CaseInsensitive));
    EXPECT_NE(DuplicateKey("ab", cd_CheckCase), DuplicateKey("AB", cd_CheckCase));
}

}  // namespace
}  // namespace krv
