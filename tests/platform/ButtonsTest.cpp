// Speed and bitmap buttons, panels, spin edits and tab sets.
#include "platform/Buttons.h"

#include <gtest/gtest.h>

#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/Spin.h"
#include "platform/Tabs.h"
#include "platform/UserDriver.h"
#include "tests/FormFixture.h"

namespace krv {
namespace {

using ButtonsTest = ShownFormFixture;

TEST_F(ButtonsTest, GroupedSpeedButtonsToggleBeforeOnClickAndTakeNoFocus) {
    TEdit* edit = Make<TEdit>();
    TSpeedButton* a = Make<TSpeedButton>();
    TSpeedButton* b = Make<TSpeedButton>();
    for (TSpeedButton* s : {a, b}) s->SetGroupIndex(1);
    a->SetAllowAllUp(true);
    EXPECT_TRUE(b->AllowAllUp()) << "shared by the group";
    std::vector<bool> downInClick;
    a->OnClick = [&](TObject*) { downInClick.push_back(a->Down()); };
    user.Focus(edit);
    user.Click(a);
    user.Click(a);
    EXPECT_EQ(downInClick, (std::vector<bool>{true, false}));
    EXPECT_EQ(form->ActiveControl(), edit);

    b->SetDown(true);
    a->SetDown(true);
    EXPECT_FALSE(b->Down()) << "one button of a group is down";
    EXPECT_EQ(downInClick.size(), 2u) << "setting Down fires no OnClick";

    TSpeedButton* single = Make<TSpeedButton>();
    single->SetDown(true);
    EXPECT_FALSE(single->Down()) << "without a group a button is never down";
}

TEST_F(ButtonsTest, GlyphsAreCopiedAndCountTheirImages) {
    TBitBtn* source = Make<TBitBtn>();
    TBitBtn* target = Make<TBitBtn>();
    TBitmap strip(32, 16);
    strip.SetPixel(20, 3, clRed);
    SetObjectProp(source, "Glyph", &strip);
    EXPECT_EQ(source->NumGlyphs(), 2);
    target->SetGlyph(source->Glyph());
    EXPECT_TRUE(target->Glyph()->SamePixels(strip));
    EXPECT_NE(target->Glyph(), source->Glyph());
    EXPECT_EQ(target->NumGlyphs(), 2);
    target->SetNumGlyphs(9);
    EXPECT_EQ(target->NumGlyphs(), 4);
    TBitmap odd(30, 16);
    target->SetGlyph(&odd);
    EXPECT_EQ(target->NumGlyphs(), 4) << "a strip that is no multiple keeps the count";

    target->SetModalResult(mrCancel);
    target->SetCancel(true);
    user.PressKey(VK_ESCAPE);
    EXPECT_EQ(form->ModalResult(), mrCancel);
}

TEST_F(ButtonsTest, PanelTakesTheFocusAndKeepsChildrenInsideItsBevels) {
    TEdit* edit = Make<TEdit>();
    TPanel* panel = Make<TPanel>();
    panel->SetBounds(0, 0, 100, 50);
    panel->SetBevelInner(bvLowered);
    panel->SetBevelWidth(2);
    TEdit* child = Make<TEdit>(panel);
    child->SetAlign(alClient);
    EXPECT_EQ(child->BoundsRect(), Rect(4, 4, 96, 46));
    user.Focus(edit);
    panel->SetFocus();
    EXPECT_EQ(form->ActiveControl(), panel);
    EXPECT_EQ(GetEnumProp(panel, "BevelOuter"), "bvRaised");
}

TEST_F(ButtonsTest, SpinEditValueRangeAndSteps) {
    TEdit* other = Make<TEdit>();
    TSpinEdit* spin = Make<TSpinEdit>();
    spin->SetMinValue(-5);
    spin->SetMaxValue(10);
    int changes = 0;
    spin->OnChange = [&](TObject*) { ++changes; };
    struct Case {
        const char* text;
        int value;
    };
    for (const Case& c : {Case{"7", 7}, Case{"abc", -5}, Case{"", -5}, Case{"99", 99}}) {
        spin->SetText(c.text);
        EXPECT_EQ(spin->Value(), c.value) << c.text;
    }
    spin->SetValue(42);
    EXPECT_EQ(spin->Text(), "10");
    user.Focus(spin);
    user.PressKey(VK_DOWN);
    EXPECT_EQ(spin->Value(), 9);
    spin->Button()->UserClickUp();
    EXPECT_EQ(spin->Value(), 10);
    user.PressKey(VK_END);
    user.Type("\b\b-9x9");
    EXPECT_EQ(spin->Text(), "-99");
    user.Focus(other);  // leaving clamps
    EXPECT_EQ(spin->Text(), "-5");
    EXPECT_EQ(changes, 13);
}

TEST_F(ButtonsTest, TabSetSelection) {
    TTabSet* tabs = Make<TTabSet>();
    tabs->Tabs()->AddStrings({"a", "b"});
    tabs->SetTabIndex(5);
    EXPECT_EQ(tabs->TabIndex(), -1);
    bool allow = false;
    tabs->OnChange = [&](TObject*, int, bool& ok) { ok = allow; };
    tabs->UserSelectTab(1);
    EXPECT_EQ(tabs->TabIndex(), -1);
    allow = true;
    tabs->UserSelectTab(1);
    EXPECT_EQ(GetOrdProp(tabs, "TabIndex"), 1);
    tabs->Tabs()->Delete(1);
    EXPECT_EQ(tabs->TabIndex(), 0);
}

}  // namespace
}  // namespace krv
