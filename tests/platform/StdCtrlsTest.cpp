// The standard controls driven by code and as a person drives them.
#include "platform/StdCtrls.h"

#include <gtest/gtest.h>

#include "platform/Forms.h"
#include "platform/UserDriver.h"
#include "tests/FormFixture.h"

namespace krv {
namespace {

using StdCtrlsTest = ShownFormFixture;

TEST_F(StdCtrlsTest, EditTextFiresOnChangeOnlyWhenItChanges) {
    TEdit* edit = Make<TEdit>();
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText("abc");
    edit->SetText("abc");
    SetStrProp(edit, "Text", "xyz");  // by name: the same setter
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(edit->Modified()) << "code changes are not a person's edits";
    EXPECT_FALSE(IsPublishedProp(edit, "Caption"));
    EXPECT_FALSE(IsPublishedProp(edit, "EditMask"));
    EXPECT_TRUE(IsPublishedProp(edit, "ImeName"));
}

TEST_F(StdCtrlsTest, TypingRespectsMaxLengthInBytesWithoutSplittingCharacters) {
    TEdit* edit = Make<TEdit>();
    edit->SetMaxLength(4);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    user.TypeInto(edit, "ab中");
    EXPECT_EQ(edit->Text(), "ab中");
    user.Type("c");  // full
    EXPECT_EQ(edit->Text(), "ab中");
    user.Type("\b");  // removes the whole double-byte character
    EXPECT_EQ(edit->Text(), "ab");
    user.Type("c中");  // three bytes in, two would not fit
    EXPECT_EQ(edit->Text(), "abc");
    EXPECT_EQ(changes, 5);
    EXPECT_TRUE(edit->Modified());
    edit->SetText("longer than four");  // code assignments are not cut
    EXPECT_EQ(edit->Text(), "longer than four");
}

TEST_F(StdCtrlsTest, EnteringSelectsAllSoTypingReplacesTheText) {
    TEdit* other = Make<TEdit>();
    TEdit* edit = Make<TEdit>();
    edit->SetText("old");
    user.Focus(other);
    edit->OnKeyPress = [](TObject*, char& key) {
        if (key == 'x') key = 0;  // a key filter
    };
    user.TypeInto(edit, "nxew");
    EXPECT_EQ(edit->Text(), "new");
}

TEST_F(StdCtrlsTest, MemoLinesCaretAndReturns) {
    TMemo* memo = Make<TMemo>();
    memo->SetText("one\r\ntwo\nthree");
    ASSERT_EQ(memo->Lines()->Count(), 3);
    EXPECT_EQ(memo->Lines()->Strings(2), "three");
    EXPECT_EQ(memo->Text(), "one\r\ntwo\r\nthree");
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    memo->Lines()->Add("four");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(memo->Text(), "one\r\ntwo\r\nthree\r\nfour");

    memo->SetText("");
    user.Focus(memo);
    user.Type("a\rb");
    EXPECT_EQ(memo->Text(), "a\r\nb");
    EXPECT_EQ(memo->CaretPos(), Point(1, 1));
    user.Type("\b\b");  // joins the lines again
    EXPECT_EQ(memo->Text(), "a");
    EXPECT_EQ(memo->CaretPos(), Point(1, 0));

    memo->SetWantReturns(false);
    user.Type("\r");
    EXPECT_EQ(memo->Lines()->Count(), 1);
    EXPECT_FALSE(IsPublishedProp(memo, "Text"));
    EXPECT_TRUE(IsPublishedProp(memo, "Lines"));
}

TEST_F(StdCtrlsTest, AutoSizedLabelFollowsItsCaptionAndFont) {
    TLabel* label = Make<TLabel>();
    label->Font()->SetHeight(-12);  // 6 pixels per single-byte character, 12 per line
    label->SetCaption("");
    EXPECT_EQ(label->Height(), 12) << "an empty caption still takes a line";
    label->SetCaption("&Name");
    EXPECT_EQ(label->Width(), 24) << "the accelerator mark is not drawn";
    label->SetCaption("ab\r\n中文字");
    EXPECT_EQ(label->Width(), 36);
    EXPECT_EQ(label->Height(), 24);
    label->SetAutoSize(false);
    label->SetCaption("x");
    EXPECT_EQ(label->Width(), 36);

    TLabel* right = Make<TLabel>();
    right->Font()->SetHeight(-12);
    right->SetAlignment(taRightJustify);
    right->SetCaption("abcd");
    const int edge = right->Right();
    right->SetCaption("ab");
    EXPECT_EQ(right->Right(), edge) << "a right-aligned label keeps its right edge";
}

TEST_F(StdCtrlsTest, LabelForgetsAFreedFocusControl) {
    TLabel* label = Make<TLabel>();
    TEdit* edit = Make<TEdit>();
    label->SetFocusControl(edit);
    EXPECT_EQ(GetObjectProp(label, "FocusControl"), edit);
    edit->Free();
    EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(StdCtrlsTest, CheckBoxFiresOnClickWhenItsStateChanges) {
    TCheckBox* box = Make<TCheckBox>();
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetChecked(true);
    box->SetChecked(true);
    SetOrdProp(box, "Checked", 0);
    EXPECT_EQ(clicks, 2);
    user.Click(box);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 3);
    box->SetAllowGrayed(true);
    user.Click(box);
    EXPECT_EQ(box->State(), cbUnchecked);
    user.Click(box);
    EXPECT_EQ(box->State(), cbGrayed);
    box->SetClicksDisabled(true);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 5);
}

TEST_F(StdCtrlsTest, RadioButtonsAreExclusiveAmongTheirSiblings) {
    TGroupBox* group = Make<TGroupBox>();
    TRadioButton* a = Make<TRadioButton>(group);
    TRadioButton* b = Make<TRadioButton>(group);
    TRadioButton* elsewhere = Make<TRadioButton>();
    std::vector<TObject*> clicked;
    for (TRadioButton* r : {a, b, elsewhere}) r->OnClick = [&](TObject* s) { clicked.push_back(s); };
    elsewhere->SetChecked(true);
    a->SetChecked(true);
    user.Click(b);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(elsewhere->Checked()) << "another parent is another group";
    EXPECT_EQ(clicked, (std::vector<TObject*>{elsewhere, a, b})) << "unchecking fires nothing";
    user.Click(b);
    EXPECT_EQ(clicked.size(), 3u) << "clicking the checked button changes nothing";
    EXPECT_TRUE(b->TabStop());
    EXPECT_FALSE(a->TabStop());
}

TEST_F(StdCtrlsTest, ComboBoxItemIndexAndSelection) {
    TComboBox* combo = Make<TComboBox>();
    combo->Items()->AddStrings({"one", "two", "three"});
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Text(), "two");
    combo->SetItemIndex(7);
    EXPECT_EQ(combo->ItemIndex(), -1) << "out of range selects nothing, without error";
    EXPECT_EQ(combo->Text(), "");
    SetOrdProp(combo, "ItemIndex", 2);
    EXPECT_EQ(changes, 0) << "code selection fires no OnChange";

    combo->SetStyle(csDropDownList);
    user.Focus(combo);
    combo->UserSelect(0);
    EXPECT_EQ(combo->Text(), "one");
    user.PressKey(VK_DOWN);
    EXPECT_EQ(combo->ItemIndex(), 1);
    user.Type("t");  // the next item beginning with "t"
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(changes, 3);
    combo->SetText("ONE");
    EXPECT_EQ(combo->ItemIndex(), 0);
    combo->Items()->Clear();
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(changes, 3);
}

TEST_F(StdCtrlsTest, ComboBoxItemIndexSetWhileLoadingIsCheckedWhenLoadingEnds) {
    form->BeginLoading();
    TComboBox* combo = Make<TComboBox>();
    combo->SetItemIndex(1);  // before its items, as a builder may set it
    combo->Items()->AddStrings({"a", "b"});
    TComboBox* beyond = Make<TComboBox>();
    beyond->SetItemIndex(5);
    form->EndLoading();
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "b");
    EXPECT_EQ(beyond->ItemIndex(), -1);
}

TEST_F(StdCtrlsTest, EditStyleComboTakesTypedText) {
    TComboBox* combo = Make<TComboBox>();
    combo->Items()->AddStrings({"ab", "abc"});
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    user.TypeInto(combo, "ab");
    EXPECT_EQ(combo->Text(), "ab");
    EXPECT_EQ(combo->ItemIndex(), 0);
    user.Type("x");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(changes, 3);
}

TEST_F(StdCtrlsTest, ButtonsClickAndGiveTheirModalResult) {
    TButton* ok = Make<TButton>();
    TButton* cancel = Make<TButton>();
    TEdit* edit = Make<TEdit>();
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    std::vector<TObject*> clicked;
    ok->OnClick = cancel->OnClick = [&](TObject* s) { clicked.push_back(s); };

    user.Focus(edit);
    user.PressKey(VK_RETURN);  // the default button takes Enter
    EXPECT_EQ(form->ModalResult(), mrOk);
    user.PressKey(VK_ESCAPE);
    user.Focus(cancel);
    user.PressKey(VK_RETURN);  // a focused button takes Enter before the default one
    EXPECT_EQ(clicked, (std::vector<TObject*>{ok, cancel, cancel}));

    ok->SetEnabled(false);
    ok->Click();  // code clicks run even on a disabled button
    EXPECT_EQ(clicked.back(), ok);
    EXPECT_EQ(GetOrdProp(ok, "ModalResult"), mrOk);
}

TEST_F(StdCtrlsTest, ListBoxSelection) {
    TListBox* list = Make<TListBox>();
    list->Items()->AddStrings({"a", "b", "c"});
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    list->UserSelect(1);
    EXPECT_TRUE(list->Selected(1));
    EXPECT_EQ(list->SelCount(), -1);
    list->SetMultiSelect(true);
    list->SetSelected(2, true);
    EXPECT_EQ(list->SelCount(), 2);
    list->UserSelect(0);
    EXPECT_EQ(list->SelCount(), 1);
    EXPECT_EQ(clicks, 2);
    list->Items()->Delete(2);
    EXPECT_FALSE(list->Selected(2));
}

TEST_F(StdCtrlsTest, GroupBoxChildrenShareTheAreaBelowTheCaption) {
    TGroupBox* group = Make<TGroupBox>();
    group->Font()->SetHeight(-12);
    group->SetBounds(0, 0, 200, 100);
    EXPECT_EQ(group->CaptionHeight(), 12);
    TEdit* child = Make<TEdit>(group);
    child->SetAlign(alClient);
    EXPECT_EQ(child->BoundsRect(), Rect(2, 14, 198, 98));
}

}  // namespace
}  // namespace krv
