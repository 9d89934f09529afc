// The selection panel as a control: defaults, styles and sizes, layouts, the user choice, exit
// validation driven by focus changes, its buttons, rows, value strings and hints.
#include <gtest/gtest.h>

#include "controls/SelectPnl.h"
#include "platform/Forms.h"
#include "platform/UserDriver.h"

namespace krv {
namespace {

struct PanelFixture : ::testing::Test {
    void SetUp() override {
        user.Reset();
        form = Create<TForm>(nullptr);
        form->SetBounds(0, 0, 800, 600);
        panel = Create<TSelectPanel>(form);
        panel->SetName("sp02");
        panel->SetParent(form);
        outside = Create<TEdit>(form);
        outside->SetParent(form);
        outside->SetTop(300);
        form->SetMessageHandler(WM_OPENWIN, [this](TMessage& m) {
            requests.push_back(reinterpret_cast<TWinControl*>(m.LParam));
        });
        form->Show();
    }
    void TearDown() override { form->Free(); }
    void AddRows(std::initializer_list<SelectRow> rows) {
        for (const SelectRow& row : rows) ASSERT_TRUE(panel->AddRow(row));
    }
    SelectRows Rows() const { return panel->ListBox()->Rows(); }

    TUserDriver user;
    TForm* form = nullptr;
    TSelectPanel* panel = nullptr;
    TEdit* outside = nullptr;
    std::vector<TWinControl*> requests;
};

using SelectPanelTest = PanelFixture;

TEST_F(SelectPanelTest, PublishedPropertiesStartWithTheirCreationValues) {
    const std::pair<const char*, Variant> defaults[] = {
        {"AutoChangeDateSite", true}, {"ColumnsAutoSize", true},  {"CanOpenWin", true},
        {"CheckDuplicate", "cd_None"}, {"DateType", "dt_NoneCare"}, {"DateSign", "/"},
        {"Discard", ""},              {"EditMask", ""},          {"GlyphIndex", 8},
        {"HintWord", "区间选择"},     {"HideSelection", false},  {"OtherHeight", 105},
        {"OtherWidth", 200},          {"ShowColumnHeader", false}, {"SortListBox", false},
        {"Style", "sp_Range"},        {"UseDiscard", false},     {"UserChoice", true},
        {"UseVertical", false},       {"ValueType", "vt_String"}, {"Width", 353},
        {"Height", 45}};
    for (const auto& [name, value] : defaults) EXPECT_EQ(GetPropValue(panel, name), value) << name;
    auto* begin = static_cast<TStrings*>(GetObjectProp(panel, "BeginWords"));
    auto* final = static_cast<TStrings*>(GetObjectProp(panel, "FinalWords"));
    EXPECT_EQ(begin->ToVector(), (std::vector<std::string>{"起", "起"}));
    EXPECT_EQ(final->ToVector(), (std::vector<std::string>{"止", "止"}));
    EXPECT_EQ(panel->ChildHints()->Count(), 9);
    EXPECT_EQ(panel->edBegin()->Hint(), "区间选择-起始信息");
    EXPECT_EQ(panel->btnClearRows()->Hint(), "多选-删除己选信息");
    EXPECT_EQ(panel->BlankText(), "");
    EXPECT_EQ(panel->Columns()->Count(), 0);
    EXPECT_TRUE(panel->chkUserChoice()->Checked()) << "the check box mirrors UserChoice";
    EXPECT_EQ(panel->btnDeleteRow()->GlyphIndex(), 47);
    EXPECT_EQ(panel->btnClearRows()->GlyphIndex(), 4);
    EXPECT_EQ(panel->btnList()->GlyphIndex(), 8);
    EXPECT_TRUE(panel->ListBox()->MultiSelect());
    EXPECT_EQ(panel->ListBox()->Cursor(), crHandPoint);
}

TEST_F(SelectPanelTest, StyleChangesExchangeTheSizeUnlessVertical) {
    panel->SetStyle(sp_Discrete);
    EXPECT_EQ(panel->BoundsRect().Width(), 200);
    EXPECT_EQ(panel->Height(), 105);
    EXPECT_EQ(panel->OtherWidth(), 353);
    EXPECT_EQ(panel->OtherHeight(), 45);
    EXPECT_TRUE(panel->pnlList()->Visible());
    EXPECT_FALSE(panel->pnlRange()->Visible());
    panel->SetStyle(sp_UserChoice);
    EXPECT_EQ(panel->Width(), 200) << "no exchange between the two tall layouts";
    panel->SetStyle(sp_Range);
    EXPECT_EQ(panel->Width(), 353);
    EXPECT_EQ(panel->Height(), 45);

    panel->SetUseVertical(true);
    EXPECT_EQ(panel->Width(), 200) << "the orientation change exchanges the size";
    panel->SetStyle(sp_Discrete);
    panel->SetStyle(sp_Range);
    EXPECT_EQ(panel->Width(), 200);
    EXPECT_EQ(panel->Height(), 105);
    panel->SetStyle(sp_Discrete);
    panel->SetUseVertical(false);
    EXPECT_TRUE(panel->UseVertical()) << "orientation changes only in the range style";
}

TEST_F(SelectPanelTest, StyleChangingMayRefuseOrRedirect) {
    std::vector<std::string> seen;
    panel->OnStyleChanging = [&](TObject*, TSelectStyle now, TSelectStyle& next, bool& accept) {
        seen.push_back(std::string("changing ") + SelectStyleName(now) + ">" + SelectStyleName(next));
        if (next == sp_Discrete) accept = false;
        if (next == sp_UserChoice) next = sp_Discrete;
    };
    panel->OnStyleChange = [&](TObject*, TSelectStyle old, TSelectStyle next) {
        seen.push_back(std::string("change ") + SelectStyleName(old) + ">" + SelectStyleName(next) + " reads " +
                       SelectStyleName(panel->Style()));
    };
    const TRect rangeEdit = panel->edBegin()->BoundsRect();
    panel->SetStyle(sp_Discrete);
    EXPECT_EQ(panel->Style(), sp_Range);
    EXPECT_EQ(panel->Width(), 353);
    EXPECT_EQ(panel->edBegin()->BoundsRect(), rangeEdit);
    EXPECT_TRUE(panel->pnlRange()->Visible());
    panel->SetStyle(sp_UserChoice);
    EXPECT_EQ(panel->Style(), sp_Discrete);
    EXPECT_EQ(seen, (std::vector<std::string>{"changing sp_Range>sp_Discrete", "changing sp_Range>sp_UserChoice",
                                              "change sp_Range>sp_Discrete reads sp_Range"}));
}

TEST_F(SelectPanelTest, HorizontalRangeLayout) {
    // Font 11 pixels: "起" and "止" are 11 wide; the caption row is 11 high.
    EXPECT_EQ(panel->pnlRange()->BoundsRect(), Bounds(2, 14, 348, 28));
    EXPECT_EQ(panel->lblBegin()->BoundsRect(), Bounds(2, 2, 11, 11));
    EXPECT_EQ(panel->edBegin()->BoundsRect(), Bounds(14, 2, 134, 24));
    EXPECT_EQ(panel->btnBegin()->BoundsRect(), Bounds(150, 2, 23, 23));
    EXPECT_EQ(panel->lblFinal()->Left(), 175);
    EXPECT_EQ(panel->edFinal()->BoundsRect(), Bounds(188, 2, 134, 24));
    EXPECT_EQ(panel->btnFinal()->Left(), 324);

    panel->SetCanOpenWin(false);
    EXPECT_FALSE(panel->btnBegin()->Visible());
    EXPECT_FALSE(panel->btnList()->Visible());
    EXPECT_EQ(panel->edBegin()->Width(), 159);
    EXPECT_EQ(panel->lblFinal()->Left(), panel->edBegin()->Right() + 4);
    EXPECT_EQ(panel->edFinal()->BoundsRect(), Bounds(190, 2, 159, 24));
}

TEST_F(SelectPanelTest, WordsPickTheirEntryByLayout) {
    TStringList words;
    words.AddStrings({"从", "自"});
    panel->SetBeginWords(&words);
    EXPECT_EQ(panel->lblBegin()->Caption(), "从");
    panel->SetUseVertical(true);
    EXPECT_EQ(panel->lblBegin()->Caption(), "自");
    panel->FinalWords()->Clear();
    panel->FinalWords()->Add("至");
    panel->Relayout();
    EXPECT_EQ(panel->lblFinal()->Caption(), "至") << "a single entry serves both layouts";
}

TEST_F(SelectPanelTest, UserChoiceLayoutAndToggle) {
    panel->SetStyle(sp_UserChoice);
    int typeClicks = 0;
    panel->OnTypeClick = [&](TObject* sender) { EXPECT_EQ(sender, panel); ++typeClicks; };
    EXPECT_TRUE(panel->chkUserChoice()->Visible());
    EXPECT_EQ(panel->chkUserChoice()->BoundsRect(), Bounds(16, 12, 11 * 4 + 24, 13));
    EXPECT_TRUE(panel->pnlRange()->Visible());

    EXPECT_TRUE(user.Click(panel->chkUserChoice()));
    EXPECT_FALSE(panel->UserChoice());
    EXPECT_FALSE(panel->IsRangeMode());
    EXPECT_EQ(typeClicks, 1);
    EXPECT_TRUE(panel->pnlList()->Visible());
    EXPECT_FALSE(panel->pnlRange()->Visible());
    const TRect below = Bounds(2, 25, 196, 78);
    EXPECT_EQ(panel->pnlList()->BoundsRect(), below);
    EXPECT_EQ(panel->ListBox()->BoundsRect(), Bounds(0, 0, 196 - 23 - 3, 78));
    EXPECT_EQ(panel->btnList()->BoundsRect(), Bounds(172, 0, 23, 23));
    EXPECT_EQ(panel->btnDeleteRow()->Top(), 23);
    EXPECT_EQ(panel->btnClearRows()->Top(), 46);

    panel->SetUserChoice(true);
    EXPECT_EQ(typeClicks, 2);
    EXPECT_TRUE(panel->chkUserChoice()->Checked());
    EXPECT_EQ(panel->pnlRange()->BoundsRect(), below);
    EXPECT_EQ(panel->edFinal()->Left(), panel->edBegin()->Left()) << "stacked";
    EXPECT_GT(panel->edFinal()->Top(), panel->edBegin()->Top());
    panel->SetUserChoice(true);
    EXPECT_EQ(typeClicks, 3) << "writing the same choice still reports it";

    panel->SetStyle(sp_Range);
    panel->SetUserChoice(false);
    EXPECT_TRUE(panel->UserChoice()) << "the choice is kept outside its style";
    EXPECT_EQ(typeClicks, 3);
}

TEST_F(SelectPanelTest, ExitValidationRunsOnceWhenTheFocusLeavesThePanel) {
    int exits = 0;
    panel->OnExit = [&](TObject* sender) { EXPECT_EQ(sender, panel); ++exits; };
    user.TypeInto(panel->edBegin(), "B ");
    user.TypeInto(panel->edFinal(), "A");
    EXPECT_EQ(exits, 0);
    EXPECT_EQ(panel->BeginText(), "B ") << "moving inside the panel validates nothing";
    user.PressKey(VK_TAB);
    EXPECT_TRUE(outside->Focused());
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(panel->BeginText(), "A");
    EXPECT_EQ(panel->EndText(), "B");

    // Numbers compare as numbers; a side left empty stops the ordering.
    panel->SetValueType(vt_Number);
    user.TypeInto(panel->edBegin(), "20");
    user.TypeInto(panel->edFinal(), "3");
    user.Focus(outside);
    EXPECT_EQ(panel->BeginText(), "3");
    EXPECT_EQ(panel->EndText(), "20");
    panel->SetEndText("");
    panel->SetBeginText("9");
    user.Focus(panel->edBegin());
    user.Focus(outside);
    EXPECT_EQ(panel->BeginText(), "9");
    EXPECT_EQ(exits, 3);
}

TEST_F(SelectPanelTest, DatesOrderByTheirFieldsUnderTheMask) {
    panel->SetValueType(vt_Date);
    panel->SetDateType(dt_YYMMDD);
    panel->SetEditMask("!99/99/99;1; ");
    EXPECT_EQ(panel->BlankText(), "  /  /  ");
    panel->SetBeginText("93/05/01");
    panel->SetEndText("92/12/31");
    panel->OrderRange();
    EXPECT_EQ(panel->BeginText(), "92/12/31");
    EXPECT_EQ(panel->EndText(), "93/05/01");
    panel->SetEndText("");
    panel->OrderRange();
    EXPECT_EQ(panel->EndText(), "  /  /  ") << "a blank side is never exchanged";
    EXPECT_EQ(panel->BeginText(), "92/12/31");
}

TEST_F(SelectPanelTest, EditMaskKeepsTheBeginTextWithoutAChange) {
    int changes = 0;
    panel->edBegin()->OnChange = [&](TObject*) { ++changes; };
    panel->SetBeginText("20040501");
    changes = 0;
    panel->SetEditMask("9999/99/99;1; ");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(panel->BlankText(), "    /  /  ");
    EXPECT_EQ(panel->edFinal()->EditMask(), "9999/99/99;1; ");
    EXPECT_EQ(panel->edBegin()->EditMask(), "9999/99/99;1; ");
    EXPECT_NE(panel->BeginText(), panel->BlankText());
}

TEST_F(SelectPanelTest, LookupButtonsFocusTheirTargetAndAskTheForm) {
    std::vector<std::pair<TObject*, TObject*>> opened;
    panel->OnOpenWinClick = [&](TObject* parent, TObject* target) { opened.push_back({parent, target}); };
    user.Focus(outside);
    EXPECT_TRUE(user.Click(panel->btnFinal()));
    EXPECT_TRUE(panel->edFinal()->Focused());
    EXPECT_EQ(requests, std::vector<TWinControl*>{panel->edFinal()});
    panel->SetStyle(sp_Discrete);
    panel->btnList()->Click();
    EXPECT_TRUE(panel->ListBox()->Focused());
    EXPECT_EQ(requests.back(), panel->ListBox());
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], (std::pair<TObject*, TObject*>{panel, panel->ListBox()}));
}

TEST_F(SelectPanelTest, DeleteAndClearButtons) {
    panel->SetStyle(sp_Discrete);
    AddRows({{"A"}, {"B"}, {"C"}, {"D"}, {"E"}});
    TOruListView* list = panel->ListBox();
    std::vector<std::pair<int, bool>> selections;
    panel->OnItemSelect = [&](TObject* sender, TListItem* item, int index, bool selected) {
        EXPECT_EQ(sender, panel);
        EXPECT_EQ(item->Index(), index);
        selections.push_back({index, selected});
    };
    user.Focus(list);
    list->UserSelect(list->Items()->Item(1));
    list->UserSelect(list->Items()->Item(2), {ssCtrl});
    list->UserSelect(list->Items()->Item(3), {ssCtrl});
    bool refuse = true;
    panel->OnDeleteClick = [&](TObject*, bool& accept) { accept = !refuse; };
    EXPECT_EQ(selections, (std::vector<std::pair<int, bool>>{{1, true}, {2, true}, {3, true}}));
    panel->btnDeleteRow()->Click();
    EXPECT_EQ(list->Items()->Count(), 5);
    refuse = false;
    panel->btnDeleteRow()->Click();
    EXPECT_EQ(Rows(), (SelectRows{{"A"}, {"E"}})) << "adjacent selected rows all go";

    int cleared = 0;
    panel->OnClearClick = [&](TObject*) { ++cleared; };
    user.Focus(outside);
    panel->btnClearRows()->Click();
    EXPECT_EQ(list->Items()->Count(), 0);
    EXPECT_TRUE(list->Focused());
    EXPECT_EQ(cleared, 1);
}

TEST_F(SelectPanelTest, ListPressIsIgnoredWhenTheFocusStaysElsewhere) {
    panel->SetStyle(sp_Discrete);
    AddRows({{"A"}, {"B"}});
    user.Focus(outside);
    outside->OnExit = [&](TObject*) { outside->SetFocus(); };
    int presses = 0;
    panel->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++presses; };
    panel->ListBox()->MouseDown(mbLeft, {}, 3, 3);
    panel->ListBox()->UserSelect(panel->ListBox()->Items()->Item(0));
    EXPECT_EQ(presses, 0);
    EXPECT_EQ(panel->ListBox()->SelCount(), 0);
    outside->OnExit.Clear();
    panel->ListBox()->MouseDown(mbLeft, {}, 3, 3);
    EXPECT_EQ(presses, 1);
}

TEST_F(SelectPanelTest, AddRowAddsColumnsPadsRowsAndSizesColumns) {
    EXPECT_FALSE(panel->AddRow({}));
    AddRows({{"A01"}});
    EXPECT_EQ(panel->Columns()->Count(), 1);
    AddRows({{"A02", "Office", "x"}});
    ASSERT_EQ(panel->Columns()->Count(), 3);
    EXPECT_EQ(panel->Columns()->Items(1)->Caption(), "Data2");
    EXPECT_EQ(panel->Columns()->Items(2)->Caption(), "Data3");
    EXPECT_EQ(Rows(), (SelectRows{{"A01", "", ""}, {"A02", "Office", "x"}}));
    AddRows({{"A03"}});
    EXPECT_EQ(Rows().back(), (SelectRow{"A03", "", ""}));
    // "W" is 6 pixels in the 11-pixel font; the longest texts are 5 ("Data1") and 6 ("Office").
    EXPECT_EQ(panel->Columns()->Items(0)->Width(), 6 * 5);
    EXPECT_EQ(panel->Columns()->Items(1)->Width(), 6 * 6);
    EXPECT_EQ(panel->ColumnCaptions()->ToVector(), (std::vector<std::string>{"Data1", "Data2", "Data3"}));

    TStringList captions;
    captions.AddStrings({"编号", "名称"});
    panel->SetColumnCaptions(&captions);
    EXPECT_EQ(panel->Columns()->Count(), 2);
    EXPECT_EQ(panel->Columns()->Items(1)->Caption(), "名称");
}

TEST_F(SelectPanelTest, DuplicatesAndSorting) {
    panel->SetStyle(sp_Discrete);
    AddRows({{"b"}, {"a"}});
    panel->SetCheckDuplicate(cd_CaseInsensitive);
    EXPECT_TRUE(panel->SortListBox());
    EXPECT_EQ(Rows(), (SelectRows{{"a"}, {"b"}})) << "turning sorting on sorts the rows";
    AddRows({{"AB"}, {"ab"}, {"B"}, {"c"}});
    EXPECT_EQ(Rows(), (SelectRows{{"a"}, {"AB"}, {"b"}, {"c"}}));
    panel->SetCheckDuplicate(cd_None);
    EXPECT_TRUE(panel->SortListBox()) << "sorting stays on";
    AddRows({{"a"}});
    EXPECT_EQ(Rows().size(), 5u);

    panel->ClearRows();
    panel->SetSortListBox(false);
    AddRows({{"2", "y"}, {"1", "y"}, {"3", "x"}});
    TOruListView* list = panel->ListBox();
    list->UserClickColumn(1);
    EXPECT_EQ(Rows(), (SelectRows{{"3", "x"}, {"1", "y"}, {"2", "y"}}));
    list->UserClickColumn(1);
    EXPECT_EQ(Rows(), (SelectRows{{"2", "y"}, {"1", "y"}, {"3", "x"}}));
    list->UserClickColumn(0);
    EXPECT_EQ(Rows(), (SelectRows{{"1", "y"}, {"2", "y"}, {"3", "x"}}));
    EXPECT_TRUE(list->SortAscending());
}

SelectCondition Filled(TSelectStyle style, bool userChoice) {
    return {style, userChoice, "A01 ", " A09", {{"A01", "Office"}, {"A02", "Plant"}}};
}

void Apply(TSelectPanel& panel, const SelectCondition& c) {
    panel.SetStyle(c.style);
    panel.SetUserChoice(c.userChoice);
    panel.SetBeginText(c.beginText);
    panel.SetEndText(c.endText);
    for (const SelectRow& row : c.rows) panel.AddRow(row);
}

TEST_F(SelectPanelTest, SavedValuesOfEveryStyleRestoreTheSameCondition) {
    const SelectCondition conditions[] = {Filled(sp_Range, true), Filled(sp_Discrete, true),
                                          Filled(sp_UserChoice, true), Filled(sp_UserChoice, false)};
    for (const SelectCondition& c : conditions) {
        TSelectPanel* source = Create<TSelectPanel>(form);
        source->SetParent(form);
        Apply(*source, c);
        TSelectPanel* target = Create<TSelectPanel>(form);
        target->SetParent(form);
        target->SetStyle(c.style);
        target->SetUserChoice(!c.userChoice);
        target->RestoreSaveValue(source->SaveValue());
        const SelectCondition restored = target->Condition();
        EXPECT_EQ(restored.userChoice, c.userChoice) << source->SaveValue();
        if (c.IsRangeMode()) {
            EXPECT_EQ(restored.beginText, c.beginText);
            EXPECT_EQ(restored.endText, c.endText);
        } else {
            EXPECT_EQ(restored.rows, c.rows);
        }
        EXPECT_EQ(target->ServerValue(), source->ServerValue());
        source->Free();
        target->Free();
    }
}

TEST_F(SelectPanelTest, BadSavedValuesLeaveThePanelAlone) {
    panel->SetStyle(sp_UserChoice);
    panel->SetBeginText("keep");
    AddRows({{"R"}});
    for (const char* bad : {"", "sp_Other\x03x\x03y", "sp_UserChoice\x03maybe\x03x", "sp_UserChoice"}) {
        panel->RestoreSaveValue(bad);
        EXPECT_EQ(panel->BeginText(), "keep") << bad;
        EXPECT_EQ(Rows(), (SelectRows{{"R"}})) << bad;
        EXPECT_TRUE(panel->UserChoice());
    }
    panel->RestoreSaveValue("sp_Range");
    EXPECT_EQ(panel->BeginText(), "") << "missing fields are empty";
    panel->RestoreSaveValue("sp_UserChoice\x03" "false\x03" "X\x01x\x04Y");
    EXPECT_FALSE(panel->UserChoice());
    EXPECT_EQ(Rows(), (SelectRows{{"X", "x"}, {"Y", ""}})) << "a last row without its separator counts";
    EXPECT_EQ(panel->Style(), sp_UserChoice);
}

TEST_F(SelectPanelTest, ListRestoredOnARangePanelKeepsTheChoice) {
    panel->RestoreSaveValue("sp_UserChoice\x03" "False\x03" "A\x04" "B\x04");
    EXPECT_TRUE(panel->UserChoice());
    EXPECT_EQ(Rows(), (SelectRows{{"A"}, {"B"}})) << "replaced although not shown";
    EXPECT_EQ(panel->ServerValue(), VarArrayOf({"\x04", "", ""}));
    panel->RestoreSaveValue("sp_Discrete\x03" "C\x01" "c\x04");
    EXPECT_EQ(Rows(), (SelectRows{{"C", "c"}}));
}

TEST_F(SelectPanelTest, HintsGlyphsAndEnabling) {
    TStringList hints;
    hints.AddStrings({"h0", "[F2]资产类别信息查询", "资产类别信息查询", "h3", "h4"});
    panel->SetChildHints(&hints);
    EXPECT_EQ(panel->chkUserChoice()->Hint(), "h0");
    EXPECT_EQ(panel->edBegin()->Hint(), "[F2]资产类别信息查询");
    EXPECT_EQ(panel->btnFinal()->Hint(), "h4");
    EXPECT_EQ(panel->ListBox()->Hint(), "多选-己选择的信息") << "no entry: the hint stays";
    panel->ChildHints()->Add("list");
    EXPECT_EQ(panel->ListBox()->Hint(), "list");

    const int beyond = BitmapLibraryMaxId() + 1;
    panel->SetGlyphIndex(beyond);
    for (TF2Button* button : {panel->btnBegin(), panel->btnFinal(), panel->btnList()}) {
        EXPECT_TRUE(button->Glyph()->Empty());
        EXPECT_EQ(button->Caption(), IntToStr(beyond));
    }
    EXPECT_FALSE(panel->btnDeleteRow()->Glyph()->Empty());

    panel->SetHintWord("自定");
    EXPECT_EQ(panel->chkUserChoice()->Caption(), "自定");
    EXPECT_EQ(panel->chkUserChoice()->Width(), 22 + 24);

    panel->SetEnabled(false);
    EXPECT_FALSE(panel->edBegin()->Enabled());
    EXPECT_FALSE(panel->ListBox()->Enabled());
    EXPECT_FALSE(panel->pnlRange()->Enabled());
    panel->SetEnabled(true);
    EXPECT_TRUE(panel->btnClearRows()->Enabled());
}

TEST_F(SelectPanelTest, FocusGoesToTheListInListModeAndKeysAreForwarded) {
    panel->SetStyle(sp_Discrete);
    panel->SetFocus();
    EXPECT_TRUE(panel->ListBox()->Focused());
    std::vector<TObject*> senders;
    panel->OnKeyPress = [&](TObject* sender, char&) { senders.push_back(sender); };
    panel->OnClick = [&](TObject* sender) { senders.push_back(sender); };
    user.Type("x");
    panel->SetStyle(sp_Range);
    user.TypeInto(panel->edFinal(), "y");
    panel->lblBegin()->Click();
    EXPECT_EQ(senders, (std::vector<TObject*>{panel->ListBox(), panel->edFinal(), panel}));
}

}  // namespace
}  // namespace krv
