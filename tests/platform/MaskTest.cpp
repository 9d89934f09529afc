#include "platform/Mask.h"

#include <gtest/gtest.h>

namespace krv {
namespace {

TEST(MaskLayout, ParsesFieldsOfTheEditMask) {
    struct Case {
        const char* mask;
        bool masked;
        bool keep;
        char blank;
        int length;
    };
    const Case cases[] = {
        {"9999/99/99;1; ", true, true, ' ', 10},
        {"9999/99/99;0; ", true, false, ' ', 10},
        {"9999/99/99", true, true, '_', 10},
        {"9999/99/99;1;", true, true, '_', 10},
        {"!>LL<ll;0;*", true, false, '*', 4},
        {"99\\;99;1;#", true, true, '#', 5},  // an escaped ";" is a literal, not the separator
        {"", false, true, '_', 0},
        {";1;_", false, true, '_', 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        MaskLayout layout(c.mask);
        EXPECT_EQ(layout.IsMasked(), c.masked);
        EXPECT_EQ(layout.KeepsLiterals(), c.keep);
        EXPECT_EQ(layout.BlankChar(), c.blank);
        EXPECT_EQ(layout.Length(), c.length);
    }
}

TEST(MaskLayout, UntouchedMaskReadsLiteralsAndBlanks) {
    struct Case {
        const char* mask;
        const char* editText;
        const char* blankText;
    };
    const Case cases[] = {
        {"9999/99/99;1; ", "    /  /  ", "    /  /  "},
        {"99-99-9999;1;_", "__-__-____", "  -  -    "},
        {"9999/99/99;0; ", "    /  /  ", ""},
        {"99:99;1; ", "  :  ", "  :  "},  // ":" and "/" show as written
        {"\\9\\_99_99;1;*", "9_** **", "9_     "},  // escaped metacharacters, "_" a literal blank
        {"年99月;1; ", "年  月", "年  月"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        MaskLayout layout(c.mask);
        EXPECT_EQ(layout.EmptyEditText(), c.editText);
        EXPECT_EQ(layout.BlankText(), c.blankText);
    }
}

TEST(MaskLayout, AssignedTextIsFittedFieldByFieldAtTheLiterals) {
    struct Case {
        const char* mask;
        const char* assigned;
        const char* text;
    };
    const Case cases[] = {
        {"9999/99/99;1; ", "2024/05/13", "2024/05/13"},
        {"999/99/99;1; ", "89/01/05", "89 /01/05"},         // short field padded
        {"99/99/9999;1; ", "1/5/2024", "1 /5 /2024"},
        {"9999/99/99;1; ", "20240513", "2024/05/13"},        // no literals: fields by width
        {"9999/99/99;1; ", "12345/1/1", "1234/1 /1 "},       // long field cut
        {"9999/99/99;1; ", "", "    /  /  "},
        {"9999/99/99;1; ", "20x4/ab/13", "20 4/  /13"},      // refused characters leave blanks
        {"9999/99;1; ", "2024/05/13", "2024/05"},           // surplus dropped
        {"(999) 999;1; ", "123 456", "(123) 456"},          // consecutive literals
        {"年99月99日;1; ", "年1月2日", "年1 月2 日"},        // double-byte literals
        {">LL<ll;1; ", "abCD", "ABcd"},
        {"cc-c;1; ", "中-x", "中-x"},                        // double-byte character in free text
        {"99-cc;1; ", "中-中", "  -中"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mask) + " <- " + c.assigned);
        MaskLayout layout(c.mask);
        EXPECT_EQ(layout.TextOf(layout.EditTextFor(c.assigned)), c.text);
    }
}

TEST(MaskLayout, WithoutLiteralsTextHoldsOnlyTheInput) {
    struct Case {
        const char* mask;
        const char* assigned;
        const char* text;
        const char* editText;
    };
    const Case cases[] = {
        {"9999/99/99;0; ", "20240513", "20240513", "2024/05/13"},
        {"9999/99/99;0;_", "2024", "2024", "2024/__/__"},
        {"9999/99/99;0;_", "20 405", "20 405", "20_4/05/__"},  // inner blank kept, tail dropped
        {"!9999;0;_", "12", "12", "__12"},                     // right-aligned
        {"9999/99/99;0; ", "", "", "    /  /  "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mask) + " <- " + c.assigned);
        MaskLayout layout(c.mask);
        const std::string editText = layout.EditTextFor(c.assigned);
        EXPECT_EQ(editText, c.editText);
        EXPECT_EQ(layout.TextOf(editText), c.text);
    }
}

TEST(MaskLayout, PlacesCharactersByPositionClass) {
    MaskLayout layout("09#LlAaCc;1;_");
    std::string edit = layout.EmptyEditText();
    auto place = [&](int slot, char c) { return layout.Place(edit, slot, &c, 1); };
    EXPECT_EQ(place(0, 'x'), 0);
    EXPECT_EQ(place(0, '7'), 1);
    EXPECT_EQ(place(1, '+'), 0);
    EXPECT_EQ(place(2, '-'), 1);
    EXPECT_EQ(place(3, '1'), 0);
    EXPECT_EQ(place(4, 'q'), 1);
    EXPECT_EQ(place(5, '5'), 1);
    EXPECT_EQ(place(6, '!'), 0);
    EXPECT_EQ(place(7, '!'), 1);
    EXPECT_EQ(place(9, 'z'), 0);  // past the end
    EXPECT_EQ(edit, "7_-_q5_!_");
    EXPECT_FALSE(layout.IsComplete(edit));  // the required letter at 3 is missing
    place(3, 'K');
    EXPECT_TRUE(layout.IsComplete(edit));
}

TEST(MaskLayout, InputNavigationSkipsLiterals) {
    MaskLayout layout("99//99;1; ");
    EXPECT_EQ(layout.NextInput(2), 4);
    EXPECT_EQ(layout.NextInput(-3), 0);
    EXPECT_EQ(layout.NextInput(6), 6);
    EXPECT_EQ(layout.PreviousInput(4), 1);
    EXPECT_EQ(layout.PreviousInput(0), -1);
    EXPECT_EQ(layout.PreviousInput(99), 5);
}

TEST(MaskLayout, InputCarriesAcrossAChangeOfMask) {
    // What was typed under one date layout survives a switch to another separator.
    MaskLayout slash("9999/99/99;1;_");
    MaskLayout dash("9999-99-99;1; ");
    const std::string typed = slash.EditTextFor("2024/5/13");
    EXPECT_EQ(slash.InputOf(typed), "20245 13");
    EXPECT_EQ(dash.TextOf(dash.EditTextFromInput(slash.InputOf(typed))), "2024-5 -13");
}

}  // namespace
}  // namespace krv

#include "platform/Forms.h"
#include "platform/UserDriver.h"

namespace krv {
namespace {

struct MaskEditTest : ::testing::Test {
    void SetUp() override {
        user.Reset();
        form = Create<TForm>(nullptr);
        form->Show();
        edit = Create<TMaskEdit>(form);
        edit->SetParent(form);
        other = Create<TEdit>(form);
        other->SetParent(form);
        edit->OnChange = [this](TObject*) { ++changes; };
    }
    void TearDown() override { form->Free(); }
    TUserDriver user;
    TForm* form = nullptr;
    TMaskEdit* edit = nullptr;
    TEdit* other = nullptr;
    int changes = 0;
};

TEST_F(MaskEditTest, TypingFillsInputPositionsAndStepsOverLiterals) {
    edit->SetEditMask("9999/99/99;1;_");
    EXPECT_EQ(edit->EditText(), "____/__/__");
    EXPECT_EQ(edit->Text(), "    /  /  ");
    user.TypeInto(edit, "2024x0513");  // "x" is refused
    EXPECT_EQ(edit->Text(), "2024/05/13");
    user.Type("\b\b");
    EXPECT_EQ(edit->EditText(), "2024/05/__");
    user.Type("2/");  // typing the literal itself steps over it
    EXPECT_EQ(edit->Text(), "2024/05/2 ");
    EXPECT_TRUE(edit->Modified());
}

TEST_F(MaskEditTest, AssignmentsAndMaskChangesReformatAndFireOnChange) {
    SetStrProp(edit, "Text", "20240513");
    SetStrProp(edit, "EditMask", "9999/99/99;1; ");  // a plain text is fitted under the new mask
    EXPECT_EQ(edit->Text(), "2024/05/13");
    EXPECT_EQ(changes, 2);
    edit->SetEditMask("9999-99-99;0; ");  // typed input keeps its positions
    EXPECT_EQ(edit->EditText(), "2024-05-13");
    EXPECT_EQ(edit->Text(), "20240513");
    edit->SetText("");
    EXPECT_EQ(edit->EditText(), "    -  -  ");
    edit->SetEditMask("");
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(changes, 5);
    EXPECT_FALSE(IsPublishedProp(edit, "Caption"));
}

TEST_F(MaskEditTest, LeavingAnIncompleteRequiredInputKeepsTheFocus) {
    edit->SetEditMask("00:00;1;_");
    int exits = 0;
    edit->OnExit = [&](TObject*) { ++exits; };
    user.TypeInto(edit, "1");
    user.Focus(other);
    EXPECT_EQ(form->ActiveControl(), edit);
    ASSERT_NE(user.LastDialog(), nullptr);
    EXPECT_EQ(exits, 0);
    user.Type("234");
    EXPECT_TRUE(user.Focus(other));
    EXPECT_EQ(exits, 1);

    edit->SetEditMask("99:99;1;_");  // optional digits: leaving half-filled is fine
    user.ClearDialogs();
    user.TypeInto(edit, "1");
    EXPECT_TRUE(user.Focus(other));
    EXPECT_EQ(user.LastDialog(), nullptr);
}

}  // namespace
}  // namespace krv
