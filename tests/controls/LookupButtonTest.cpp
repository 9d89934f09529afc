// The bitmap button and the lookup button: pictures by number, alignment to the served control,
// the refusal of a second button for one control, and the open-window request.
#include <gtest/gtest.h>

#include "controls/F2Button.h"
#include "controls/GSpdBtn.h"
#include "platform/Forms.h"
#include "platform/UserDriver.h"
#include "tests/FormFixture.h"

namespace krv {
namespace {

struct ButtonFixture : FormFixture {
    void SetUp() override {
        FormFixture::SetUp();
        form->SetMessageHandler(WM_OPENWIN, [this](TMessage& m) {
            requests.push_back(reinterpret_cast<TWinControl*>(m.LParam));
        });
    }
    void TearDown() override {
        FormFixture::TearDown();
        SetBitmapLibraryName("VnResD5.dll");
    }
    std::vector<TWinControl*> requests;
};

using GSpeedButtonTest = ButtonFixture;

TEST_F(GSpeedButtonTest, PicturesByNumber) {
    TGSpeedButton* button = Make<TGSpeedButton>();
    EXPECT_EQ(button->GlyphIndex(), 0);
    button->SetGlyphIndex(8);
    EXPECT_FALSE(button->Glyph()->Empty());
    EXPECT_EQ(button->Caption(), "");
    EXPECT_EQ(button->NumGlyphs(), 1);
    button->SetGlyphIndex(4);
    EXPECT_EQ(button->NumGlyphs(), 2) << "the clear-list strip holds two images";

    for (int n : {BitmapLibraryMaxId() + 1, 0, -3}) {
        button->SetGlyphIndex(n);
        EXPECT_TRUE(button->Glyph()->Empty()) << n;
        EXPECT_EQ(button->Caption(), IntToStr(n));
        EXPECT_EQ(button->GlyphIndex(), n);
    }
    EXPECT_TRUE(user.Dialogs().empty());
}

TEST_F(GSpeedButtonTest, WithoutTheLibraryButtonsShowTheirNumbers) {
    SetBitmapLibraryName("NoSuchBitmapLibrary.dll");
    EXPECT_EQ(BitmapLibraryMaxId(), 0);
    TGSpeedButton* button = Make<TGSpeedButton>();
    button->SetGlyphIndex(47);
    EXPECT_TRUE(button->Glyph()->Empty());
    EXPECT_EQ(button->Caption(), "47");
    EXPECT_TRUE(user.Dialogs().empty());
}

using F2ButtonTest = ButtonFixture;

TEST_F(F2ButtonTest, AlignsSquareBesideItsControl) {
    TEdit* edit = Make<TEdit>();
    edit->SetBounds(357, 10, 43, 21);
    TF2Button* button = Make<TF2Button>();
    EXPECT_TRUE(button->Flat());
    EXPECT_EQ(button->GlyphIndex(), 8);
    button->SetF2Control(edit);
    EXPECT_EQ(button->BoundsRect(), Bounds(402, 10, 21, 21));
    button->SetGap(5);
    EXPECT_EQ(button->Left(), 405);

    // Later moves of the control are not followed; without AutoAlign nothing moves.
    edit->SetLeft(0);
    EXPECT_EQ(button->Left(), 405);
    button->SetAutoAlign(false);
    button->SetGap(2);
    EXPECT_EQ(button->Left(), 405);
}

TEST_F(F2ButtonTest, RefusesASecondButtonForTheSameControl) {
    TEdit* first = Make<TEdit>();
    TEdit* second = Make<TEdit>();
    TF2Button* a = Make<TF2Button>();
    TF2Button* b = Make<TF2Button>();
    a->SetF2Control(first);
    b->SetF2Control(second);
    b->SetF2Control(first);
    EXPECT_EQ(b->F2Control(), second);
    ASSERT_NE(user.LastDialog(), nullptr);
    EXPECT_EQ(user.LastDialog()->text, "不能同时有两个 F2Button 指到同一个 Edit.");
    a->SetF2Control(first);  // assigning its own control again is no duplicate
    EXPECT_EQ(user.Dialogs().size(), 1u);

    second->Free();
    EXPECT_EQ(b->F2Control(), nullptr);
}

TEST_F(F2ButtonTest, ClickFocusesTheControlAndRequestsItsLookup) {
    form->Show();
    TEdit* edit = Make<TEdit>();
    TEdit* other = Make<TEdit>();
    TF2Button* button = Make<TF2Button>();
    button->SetF2Control(edit);
    std::vector<std::string> order;
    button->OnClick = [&](TObject*) { order.push_back(requests.empty() ? "click" : "late click"); };
    other->SetFocus();
    EXPECT_TRUE(user.Click(button));
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(order, std::vector<std::string>{"click"});
    EXPECT_EQ(requests, std::vector<TWinControl*>{edit});

    // A disabled control: only OnClick runs.
    edit->SetEnabled(false);
    button->Click();
    EXPECT_EQ(order.size(), 2u);
    EXPECT_EQ(requests.size(), 1u);

    // A control that keeps the focus elsewhere gets no request.
    edit->SetEnabled(true);
    other->SetFocus();
    other->OnExit = [&](TObject*) { other->SetFocus(); };
    button->Click();
    EXPECT_EQ(requests.size(), 1u);
}

}  // namespace
}  // namespace krv
