// The module's radio button and radio group: caption painting, exclusive checking, the
// arrangement of a group's buttons and the ranges of its settings.
#include <gtest/gtest.h>

#include "controls/KrRadioButton.h"
#include "controls/KrRadioGroup.h"
#include "platform/Forms.h"
#include "tests/FormFixture.h"

namespace krv {
namespace {

using RadioFixture = FormFixture;

// The last operation of that kind (and text): what the button drew over the system's drawing.
const TCanvasOp* FindOp(const TCanvas& canvas, TCanvasOp::Kind kind, const std::string& text = {}) {
    const TCanvasOp* found = nullptr;
    for (const TCanvasOp& op : canvas.Operations())
        if (op.kind == kind && (text.empty() || op.text == text)) found = &op;
    return found;
}

using KrRadioButtonTest = RadioFixture;

TEST_F(KrRadioButtonTest, PaintsItsCaptionInItsOwnFontAndColour) {
    TKrRadioButton* button = Make<TKrRadioButton>();
    EXPECT_EQ(button->Width(), 113);
    EXPECT_EQ(button->Height(), 17);
    button->SetCaption("直接处理");
    button->Font()->SetColor(clRed);
    button->Font()->SetStyle({fsBold});
    button->SetColor(clYellow);
    button->Repaint();

    const TCanvasOp* text = FindOp(*button->Canvas(), TCanvasOp::DrawText, "直接处理");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->fontColor, clRed);
    EXPECT_TRUE(text->fontStyle.Contains(fsBold));
    EXPECT_EQ(text->format & (DT_SINGLELINE | DT_VCENTER | DT_NOCLIP), DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    // The default font is 8 points: the caption starts after a 17-pixel indicator.
    EXPECT_EQ(text->rect.Left, 17);

    const TCanvasOp* background = nullptr;
    for (const TCanvasOp& op : button->Canvas()->Operations())
        if (op.kind == TCanvasOp::Rectangle && op.brushColor == clYellow) background = &op;
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->penColor, clYellow);
    EXPECT_EQ(background->rect, Rect(13, -4, 117, 21));
}

TEST_F(KrRadioButtonTest, CaptionOnTheLeftLeavesTheIndicatorAtTheRight) {
    TKrRadioButton* button = Make<TKrRadioButton>();
    button->SetCaption("A");
    button->SetAlignment(taLeftJustify);
    button->Repaint();
    const TCanvasOp* text = FindOp(*button->Canvas(), TCanvasOp::DrawText, "A");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->rect.Left, 0);
    EXPECT_EQ(text->rect.Right, 113 - 17);
}

TEST(RadioIndicatorWidth, FollowsTheFontSize) {
    const std::pair<int, int> table[] = {{1, 17},  {8, 17},  {9, 19},  {15, 19}, {16, 20}, {17, 20},
                                         {18, 21}, {23, 21}, {24, 23}, {29, 23}, {30, 25}, {35, 25},
                                         {36, 27}, {41, 27}, {42, 29}, {43, 29}, {44, 31}, {60, 31},
                                         {61, 39}, {80, 39}, {81, 44}, {0, 44}};
    for (auto [size, width] : table) EXPECT_EQ(RadioIndicatorWidth(size), width) << size;
}

TEST_F(KrRadioButtonTest, CheckingOneUnchecksItsSiblingsAndClicksOnce) {
    TKrRadioButton* buttons[3] = {Make<TKrRadioButton>(), Make<TKrRadioButton>(), Make<TKrRadioButton>()};
    std::vector<TObject*> clicks;
    for (TKrRadioButton* b : buttons) b->OnClick = [&](TObject* sender) { clicks.push_back(sender); };
    buttons[0]->SetChecked(true);
    buttons[2]->SetChecked(true);
    EXPECT_FALSE(buttons[0]->Checked());
    EXPECT_FALSE(buttons[1]->Checked());
    EXPECT_TRUE(buttons[2]->Checked());
    EXPECT_TRUE(buttons[2]->TabStop());
    EXPECT_FALSE(buttons[0]->TabStop());
    EXPECT_EQ(clicks, (std::vector<TObject*>{buttons[0], buttons[2]}));

    buttons[2]->SetClicksDisabled(true);
    buttons[2]->SetChecked(false);
    buttons[2]->SetChecked(true);
    EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(KrRadioButtonTest, AltAndTheAcceleratorFocusWithoutChecking) {
    form->Show();
    TEdit* edit = Make<TEdit>();
    TKrRadioButton* button = Make<TKrRadioButton>();
    button->SetCaption("后台处理(&B)");
    edit->SetFocus();
    EXPECT_FALSE(button->DialogKey('B', {}));
    EXPECT_TRUE(button->DialogKey('B', {ssAlt}));
    EXPECT_TRUE(button->Focused());
    EXPECT_FALSE(button->Checked());
}

using KrRadioGroupTest = RadioFixture;

TEST_F(KrRadioGroupTest, ArrangesButtonsInColumns) {
    TKrRadioGroup* group = Make<TKrRadioGroup>();
    group->SetBounds(0, 0, 185, 105);
    group->SetColumns(2);
    group->Items()->AddStrings({"a", "b", "c", "d", "e"});
    ASSERT_EQ(group->ButtonCount(), 5);
    // Three rows: (185 - 10) div 2 = 87 wide, (105 - 11 - 5) div 3 = 29 high, top margin 13.
    const TRect expected[] = {Bounds(8, 13, 87, 29),  Bounds(8, 42, 87, 29), Bounds(8, 71, 87, 29),
                              Bounds(95, 13, 87, 29), Bounds(95, 42, 87, 29)};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(group->Buttons(i)->BoundsRect(), expected[i]) << i;
        EXPECT_TRUE(group->Buttons(i)->Visible());
        EXPECT_EQ(group->Buttons(i)->Caption(), group->Items()->Strings(i));
    }
    group->SetBounds(0, 0, 10, 10);
    EXPECT_EQ(group->Buttons(0)->Width(), 0) << "negative extents are clamped";
}

TEST_F(KrRadioGroupTest, SettingsStayInRange) {
    TKrRadioGroup* group = Make<TKrRadioGroup>();
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_EQ(group->Columns(), 1);
    group->SetColumns(0);
    EXPECT_EQ(group->Columns(), 1);
    group->SetColumns(20);
    EXPECT_EQ(group->Columns(), 16);
    group->Items()->AddStrings({"当月最后一天", "当天"});
    group->SetItemIndex(7);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_TRUE(group->Buttons(1)->Checked());
    group->SetItemIndex(-5);
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_FALSE(group->Buttons(1)->Checked());
    group->SetItemIndex(1);
    group->Items()->Delete(1);
    EXPECT_EQ(group->ItemIndex(), 0) << "beyond the last item after an edit";
    EXPECT_TRUE(group->Buttons(0)->Checked());
}

TEST_F(KrRadioGroupTest, ItemIndexGivenBeforeItemsWhileLoading) {
    form->BeginLoading();
    TKrRadioGroup* group = Make<TKrRadioGroup>();
    group->SetItemIndex(1);
    group->Items()->AddStrings({"a", "b"});
    EXPECT_EQ(group->ItemIndex(), 1);
    form->EndLoading();
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_TRUE(group->Buttons(1)->Checked());
    EXPECT_TRUE(group->Buttons(1)->Visible());
}

TEST_F(KrRadioGroupTest, ButtonClicksAndKeysReachTheGroup) {
    form->Show();
    TKrRadioGroup* group = Make<TKrRadioGroup>();
    group->Items()->AddStrings({"a", "b", "c"});
    int clicks = 0, keys = 0;
    group->OnClick = [&](TObject* sender) { EXPECT_EQ(sender, group); ++clicks; };
    group->OnKeyPress = [&](TObject*, char&) { ++keys; };
    group->Buttons(2)->UserClick();
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
    group->SetItemIndex(0);
    EXPECT_TRUE(group->Buttons(0)->Checked());
    EXPECT_FALSE(group->Buttons(2)->Checked());
    char key = 'x';
    group->Buttons(0)->KeyPress(key);
    EXPECT_EQ(keys, 1);

    group->SetEnabled(false);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(group->Buttons(i)->Enabled());
    group->Items()->Clear();
    EXPECT_EQ(group->ButtonCount(), 0);
    EXPECT_EQ(group->ItemIndex(), -1);
}

}  // namespace
}  // namespace krv
