// Labels attached to controls, edits that carry their label and lookup button, and the spin
// edit's sign filter.
#include <gtest/gtest.h>

#include "controls/DBLabel.h"
#include "controls/F2Button.h"
#include "controls/KrSpin.h"
#include "controls/KrvEdit.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/UserDriver.h"
#include "tests/FormFixture.h"

namespace krv {
namespace {

struct LabelledFixture : FormFixture {
    void SetUp() override {
        FormFixture::SetUp();
        form->SetBounds(0, 0, 600, 400);
    }
};

using DBLabelTest = LabelledFixture;

TEST_F(DBLabelTest, TakesItsPlaceBesideTheControl) {
    TEdit* edit = Make<TEdit>();
    edit->SetBounds(100, 10, 80, 21);
    TDBLabel* label = Make<TDBLabel>();
    EXPECT_EQ(label->Caption(), "挂靠标签");
    label->SetAutoSize(false);
    label->SetBounds(0, 0, 40, 13);
    struct Case { TPos pos; int gap; TRect expected; };
    const Case cases[] = {
        {psLeft, 4, Bounds(56, 14, 40, 13)},   // centred: 10 + 21 div 2 - 13 div 2
        {psRight, 4, Bounds(184, 14, 40, 13)},
        {psTop, 4, Bounds(100, 0, 40, 13)},    // 10 - 13 - 4 is negative: 0
        {psBottom, 3, Bounds(100, 34, 40, 13)},
    };
    label->SetFocusControl(edit);
    for (const Case& c : cases) {
        label->SetGap(static_cast<uint8_t>(c.gap));
        label->SetPos(c.pos);
        EXPECT_EQ(label->BoundsRect(), c.expected) << int(c.pos);
    }
    // Equal heights: level with the control; a label wider than the room left stops at 0.
    label->SetPos(psLeft);
    label->SetBounds(0, 0, 150, 21);
    label->SetGap(4);
    EXPECT_EQ(label->BoundsRect(), Bounds(0, 10, 150, 21));
}

TEST_F(DBLabelTest, RefusesASecondLabelForOneControl) {
    TEdit* edit = Make<TEdit>();
    TEdit* other = Make<TEdit>();
    TDBLabel* first = Make<TDBLabel>();
    TDBLabel* second = Make<TDBLabel>();
    first->SetFocusControl(edit);
    second->SetFocusControl(other);
    second->SetFocusControl(edit);
    EXPECT_EQ(second->FocusControl(), other);
    ASSERT_NE(user.LastDialog(), nullptr);
    EXPECT_EQ(user.LastDialog()->text, "不能同时有两个 DBLabel 指到同一个 Control.");
    edit->Free();
    EXPECT_EQ(first->FocusControl(), nullptr);
}

using KrEditTest = LabelledFixture;

TEST_F(DBLabelTest, CaptionIsTheDisplayLabelOfTheBoundField) {
    TDataSet* assets = Create<TDataSet>(form);
    assets->AddField("MB001", "资产编号");
    TDataSource* source = Create<TDataSource>(form);
    TKrDBEdit* edit = Make<TKrDBEdit>();
    edit->SetDataSource(source);
    edit->SetDataField("mb001");

    TDBLabel* unbound = Make<TDBLabel>();
    unbound->SetFocusControl(edit);  // no data set behind the source yet
    EXPECT_EQ(unbound->Caption(), "挂靠标签");
    unbound->SetFocusControl(nullptr);

    source->SetDataSet(assets);
    TDBLabel* label = Make<TDBLabel>();
    label->SetFocusControl(edit);
    EXPECT_EQ(label->Caption(), "资产编号");

    // Without automatic captions, and for a field the data set lacks, the caption stays.
    TDBLabel* manual = Make<TDBLabel>();
    manual->SetAutoCaption(false);
    TKrDBEdit* other = Make<TKrDBEdit>();
    other->SetDataSource(source);
    other->SetDataField("MB999");
    manual->SetFocusControl(other);
    EXPECT_EQ(manual->Caption(), "挂靠标签");
    manual->SetAutoCaption(true);
    EXPECT_EQ(manual->Caption(), "挂靠标签");

    // The edit forgets a freed data source instead of keeping a dangling binding.
    source->Free();
    EXPECT_EQ(edit->DataSource(), nullptr);
    label->SetFocusControl(nullptr);
    label->SetFocusControl(edit);
    EXPECT_EQ(label->Caption(), "资产编号");
}

TEST_F(KrEditTest, KeepsItsLabelBesideItInEveryPosition) {
    TKrEdit* edit = Make<TKrEdit>();
    ASSERT_NE(edit->EditLabel(), nullptr);
    EXPECT_EQ(edit->EditLabel()->Name(), "EditLabel");
    EXPECT_EQ(edit->EditLabel()->FocusControl(), edit);
    EXPECT_EQ(edit->EditLabel()->Parent(), form);
    edit->SetCaption("折旧年月");
    EXPECT_EQ(GetStrProp(edit, "Caption"), "折旧年月");
    EXPECT_EQ(edit->Text(), "");
    const int w = edit->EditLabel()->Width(), h = edit->EditLabel()->Height();
    edit->SetBounds(200, 50, 100, 21);
    struct Case { TLabelPosition position; TPoint expected; };
    const Case cases[] = {
        {lpLeft, {200 - w - 4, 50 + (21 - h) / 2}},
        {lpRight, {304, 50 + (21 - h) / 2}},
        {lpAbove, {200, 50 - h - 4}},
        {lpBelow, {200, 75}},
    };
    for (const Case& c : cases) {
        edit->SetLabelPosition(c.position);
        EXPECT_EQ((TPoint{edit->EditLabel()->Left(), edit->EditLabel()->Top()}), c.expected) << int(c.position);
    }
    edit->SetLabelSpacing(-3);
    EXPECT_EQ(edit->LabelSpacing(), 4);
    edit->SetLeft(10);
    EXPECT_EQ(edit->EditLabel()->Left(), 10) << "moves with the edit";
}

TEST_F(KrEditTest, LabelFollowsParentVisibilityAndStateAndMayBeFreedElsewhere) {
    TPanel* panel = Make<TPanel>();
    TKrEdit* edit = Make<TKrEdit>();
    edit->SetParent(panel);
    EXPECT_EQ(edit->EditLabel()->Parent(), panel);
    edit->SetVisible(false);
    EXPECT_FALSE(edit->EditLabel()->Visible());
    edit->SetEnabled(false);
    EXPECT_FALSE(edit->EditLabel()->Enabled());
    edit->EditLabel()->Free();
    EXPECT_EQ(edit->EditLabel(), nullptr);
    edit->SetBounds(1, 2, 3, 4);
    edit->SetCaption("x");
    EXPECT_EQ(edit->Caption(), "");
}

TEST_F(KrEditTest, LookupEditButtonPlacementAndClick) {
    std::vector<TWinControl*> requests;
    form->SetMessageHandler(WM_OPENWIN, [&](TMessage& m) { requests.push_back(reinterpret_cast<TWinControl*>(m.LParam)); });
    TKrBtnDBEdit* edit = Make<TKrBtnDBEdit>();
    TGSpeedButton* button = edit->F2Button();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Name(), "F2Button");
    EXPECT_EQ(button->GlyphIndex(), 8);
    EXPECT_TRUE(button->Flat());
    EXPECT_EQ(button->Parent(), form);
    edit->SetBounds(10, 20, 80, 21);
    EXPECT_EQ(button->BoundsRect(), Bounds(92, 20, 21, 21));
    edit->SetButtonHint("资产编号开窗");
    EXPECT_EQ(button->Hint(), "资产编号开窗");

    button->Click();
    EXPECT_EQ(requests, std::vector<TWinControl*>{edit});
    int dialogs = 0;
    edit->OnDialog = [&](TObject* sender) { EXPECT_EQ(sender, edit); ++dialogs; };
    button->Click();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(requests.size(), 1u);

    button->Free();
    EXPECT_EQ(edit->F2Button(), nullptr);
    edit->SetBounds(0, 0, 10, 10);
}

using KrSpinEditTest = LabelledFixture;

TEST_F(KrSpinEditTest, SignsOnlyInFirstPlaceAndNoChangeForBlankText) {
    form->Show();
    TKrSpinEdit* spin = Make<TKrSpinEdit>();
    std::vector<std::string> changes;
    spin->OnChange = [&](TObject*) { changes.push_back(spin->Text()); };
    spin->SetMaxValue(999);
    spin->SetMinValue(-999);
    user.TypeInto(spin, "12+");
    EXPECT_EQ(spin->Text(), "12");
    user.Type("3");
    EXPECT_EQ(spin->Text(), "123") << "the caret stays at the end";
    EXPECT_EQ(changes, (std::vector<std::string>{"1", "12", "12", "123"}));

    changes.clear();
    spin->SetText("-5");
    spin->SetText("1+2-3");
    EXPECT_EQ(spin->Text(), "123");
    spin->SetText("");
    EXPECT_EQ(changes, (std::vector<std::string>{"-5", "123"}));
}

TEST(WithoutMisplacedSigns, KeepsALeadingSign) {
    const std::pair<const char*, const char*> table[] = {
        {"", ""}, {"-", "-"}, {"+12", "+12"}, {"12+", "12"}, {"1+23", "123"}, {"--5", "-5"}, {"5-+", "5"}};
    for (auto [in, out] : table) EXPECT_EQ(WithoutMisplacedSigns(in), out) << in;
}

}  // namespace
}  // namespace krv
