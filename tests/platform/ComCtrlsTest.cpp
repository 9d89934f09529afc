// List view, page control, tool bar and grid driven by code and as a person drives them.
#include "platform/ComCtrls.h"

#include <gtest/gtest.h>

#include "platform/Forms.h"
#include "platform/Grids.h"
#include "platform/UserDriver.h"
#include "tests/FormFixture.h"

namespace krv {
namespace {

struct ComCtrlsTest : ShownFormFixture {
    void SetUp() override {
        HeadlessPopupDriver().Reset();
        ShownFormFixture::SetUp();
    }
};

std::vector<std::string> Captions(const TListView& view) {
    std::vector<std::string> captions;
    for (int i = 0; i < view.Items()->Count(); ++i) captions.push_back(view.Items()->Item(i)->Caption());
    return captions;
}

TEST_F(ComCtrlsTest, ListViewSortedByTextStaysSortedAfterEdits) {
    TListView* view = Make<TListView>();
    view->SetSortType(stText);
    view->Items()->BeginUpdate();
    for (const char* name : {"pear", "Apple", "fig"}) view->Items()->Add()->SetCaption(name);
    view->Items()->EndUpdate();
    EXPECT_EQ(Captions(*view), (std::vector<std::string>{"Apple", "fig", "pear"}));
    EXPECT_TRUE(view->UserEditCaption(view->Items()->Item(0), "zebra"));
    EXPECT_EQ(Captions(*view), (std::vector<std::string>{"fig", "pear", "zebra"}));

    view->CustomSort([](TListItem* a, TListItem* b, intptr_t) { return CompareText(b->Caption(), a->Caption()); });
    EXPECT_EQ(Captions(*view), (std::vector<std::string>{"zebra", "pear", "fig"}));
}

TEST_F(ComCtrlsTest, ListViewInPlaceEdit) {
    TListView* view = Make<TListView>();
    TListItem* item = view->Items()->Add();
    item->SetCaption("old");
    view->OnEdited = [](TObject*, TListItem*, std::string& s) { s = "[" + s + "]"; };
    EXPECT_TRUE(item->EditCaption("new"));
    EXPECT_EQ(item->Caption(), "[new]") << "the handler may replace the text";

    view->OnEdited = [](TObject*, TListItem*, std::string&) { throw Exception("refused"); };
    EXPECT_FALSE(item->EditCaption("other"));
    EXPECT_EQ(item->Caption(), "[new]") << "an exception leaves the caption";
    ASSERT_NE(user.LastDialog(), nullptr);
    EXPECT_EQ(user.LastDialog()->text, "refused.");

    view->SetReadOnly(true);
    EXPECT_FALSE(item->EditCaption("x"));
}

TEST_F(ComCtrlsTest, ListViewSelectionColumnsAndEvents) {
    TListView* view = Make<TListView>();
    view->Font()->SetHeight(-12);
    TListColumn* name = view->Columns()->Add();
    name->SetCaption("Name");
    name->SetWidth(-2);
    EXPECT_EQ(name->Width(), 24 + 12) << "fitted to the header";
    TListItem* a = view->Items()->Add();
    TListItem* b = view->Items()->Add();
    a->SubItems()->Add("sub");
    std::vector<std::pair<TListItem*, bool>> selections;
    view->OnSelectItem = [&](TObject*, TListItem* item, bool selected) { selections.push_back({item, selected}); };
    EXPECT_EQ(view->Selected(), nullptr);
    view->UserSelect(a);
    view->UserSelect(b);
    EXPECT_EQ(view->Selected(), b);
    EXPECT_EQ(selections, (std::vector<std::pair<TListItem*, bool>>{{a, true}, {a, false}, {b, true}}));

    TListColumn* clicked = nullptr;
    view->OnColumnClick = [&](TObject*, TListColumn* column) { clicked = column; };
    view->UserClickColumn(0);
    EXPECT_EQ(clicked, name);
    clicked = nullptr;
    view->SetColumnClick(false);
    view->UserClickColumn(0);
    EXPECT_EQ(clicked, nullptr);

    std::vector<TListItem*> deleted;
    view->OnDeletion = [&](TObject*, TListItem* item) { deleted.push_back(item); };
    view->Items()->Clear();
    EXPECT_EQ(deleted.size(), 2u);
    EXPECT_EQ(view->Selected(), nullptr);
    EXPECT_THROW(view->Items()->Item(0), EListError);
}

struct PageFixture : ComCtrlsTest {
    void SetUp() override {
        ComCtrlsTest::SetUp();
        pages = Make<TPageControl>();
        for (int i = 0; i < 3; ++i) {
            TTabSheet* sheet = Create<TTabSheet>(form);
            sheet->SetPageControl(pages);
            sheet->SetCaption("page" + IntToStr(i));
            sheet->OnShow = [this, i](TObject*) { events.push_back("show" + IntToStr(i)); };
            edits.push_back(Make<TEdit>(sheet));
        }
        pages->OnChanging = [this](TObject*, bool& allow) {
            events.push_back("changing");
            allow = allowChange;
        };
        pages->OnChange = [this](TObject*) { events.push_back("change"); };
        pages->SetActivePage(pages->Pages(0));
        events.clear();
    }
    TPageControl* pages = nullptr;
    std::vector<TEdit*> edits;
    std::vector<std::string> events;
    bool allowChange = true;
};

TEST_F(PageFixture, CodeChangesFireOnlyOnShowUserChangesAskFirst) {
    pages->SetActivePageIndex(1);
    EXPECT_EQ(events, (std::vector<std::string>{"show1"}));
    EXPECT_TRUE(pages->Pages(1)->Visible());
    EXPECT_FALSE(pages->Pages(0)->Visible());
    events.clear();
    pages->UserSelectTab(2);
    EXPECT_EQ(events, (std::vector<std::string>{"changing", "show2", "change"}));
    events.clear();
    allowChange = false;
    pages->UserSelectTab(0);
    EXPECT_EQ(pages->ActivePageIndex(), 2) << "a refused change keeps the page";
    EXPECT_EQ(events, (std::vector<std::string>{"changing"}));
}

TEST_F(PageFixture, NextPageSkipsHiddenTabsAndWraps) {
    pages->Pages(1)->SetTabVisible(false);
    EXPECT_EQ(pages->Pages(1)->TabIndex(), -1);
    EXPECT_EQ(pages->Pages(2)->TabIndex(), 1);
    EXPECT_EQ(pages->PageForTab(1), pages->Pages(2));
    pages->SelectNextPage(true);
    EXPECT_EQ(pages->ActivePageIndex(), 2);
    pages->SelectNextPage(true);
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    pages->SelectNextPage(false);
    EXPECT_EQ(pages->ActivePageIndex(), 2);
    EXPECT_EQ(events, (std::vector<std::string>{"changing", "show2", "change", "changing", "show0", "change",
                                                 "changing", "show2", "change"}));
}

TEST_F(PageFixture, FocusFollowsThePageAndAnExitCheckCanKeepIt) {
    user.Focus(edits[0]);
    user.PressKey(VK_TAB, {ssCtrl});
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_EQ(form->ActiveControl(), edits[1]);

    edits[1]->OnExit = [this](TObject*) { edits[1]->SetFocus(); };  // a failing exit check
    pages->SetActivePageIndex(2);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_EQ(form->ActiveControl(), edits[1]);
}

TEST_F(PageFixture, OwnerDrawnTabsHaveAFixedSizeAndMapPastHiddenTabs) {
    pages->SetOwnerDraw(true);
    pages->SetTabWidth(60);
    pages->SetTabHeight(20);
    pages->Pages(0)->SetTabVisible(false);
    std::vector<std::pair<int, TRect>> drawn;
    pages->OnDrawTab = [&](TPageControl*, int tab, const TRect& rect, bool) { drawn.push_back({tab, rect}); };
    pages->Repaint();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[1].second, Rect(60, 0, 120, 20));
    EXPECT_EQ(pages->PageForTab(0), pages->Pages(1));
}

TEST_F(ComCtrlsTest, FreeingAPageOrThePageControlIsSafe) {
    TPageControl* pages = Make<TPageControl>();
    TTabSheet* a = Create<TTabSheet>(form);
    TTabSheet* b = Create<TTabSheet>(form);
    a->SetPageControl(pages);
    b->SetPageControl(pages);
    pages->SetActivePage(a);
    a->Free();
    EXPECT_EQ(pages->PageCount(), 1);
    EXPECT_EQ(pages->ActivePage(), b);
    pages->Free();  // frees b too
    EXPECT_EQ(form->FindComponent(""), nullptr);
}

TEST_F(ComCtrlsTest, ToolButtonsTakeNoFocusAndShowTheirDropDownMenu) {
    TEdit* edit = Make<TEdit>();
    TToolBar* bar = Make<TToolBar>();
    bar->SetButtonWidth(25);
    bar->SetButtonHeight(24);
    TToolButton* save = Make<TToolButton>(bar);
    TToolButton* view = Make<TToolButton>(bar);
    EXPECT_EQ(view->BoundsRect(), Rect(25, 0, 50, 24));

    TPopupMenu* menu = Create<TPopupMenu>(form);
    menu->SetName("mnList");
    std::vector<TMenuItem*> items;
    for (const char* name : {"N7", "N8"}) {
        TMenuItem* item = Create<TMenuItem>(form);
        item->SetName(name);
        item->SetCaption(name);
        item->SetRadioItem(true);
        menu->Items()->Add(item);
        items.push_back(item);
    }
    items[0]->SetChecked(true);
    int chosen = 0;
    items[1]->OnClick = [&](TObject*) {
        ++chosen;
        items[1]->SetChecked(true);
    };
    view->SetStyle(tbsDropDown);
    view->SetDropdownMenu(menu);

    int clicks = 0;
    save->OnClick = [&](TObject*) { ++clicks; };
    user.Focus(edit);
    user.Click(save);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form->ActiveControl(), edit);

    HeadlessPopupDriver().QueueChoice("N8");
    view->UserDropDown();
    ASSERT_EQ(HeadlessPopupDriver().Records().size(), 1u);
    EXPECT_EQ(HeadlessPopupDriver().Records()[0].menuName, "mnList");
    EXPECT_EQ(chosen, 1);
    EXPECT_TRUE(items[1]->Checked());
    EXPECT_FALSE(items[0]->Checked()) << "radio items of one group are exclusive";
    menu->Free();
    EXPECT_EQ(view->DropdownMenu(), nullptr);
}

TEST_F(ComCtrlsTest, TreeNodesInOverallOrder) {
    TTreeView* tree = Make<TTreeView>();
    TTreeNode* a = tree->Items()->Add(nullptr, "a");
    TTreeNode* b = tree->Items()->Add(a, "b");
    tree->Items()->AddChild(a, "a1");
    tree->Items()->AddChild(tree->Items()->AddChild(b, "b1"), "b11");
    std::vector<std::string> texts;
    for (int i = 0; i < tree->Items()->Count(); ++i) texts.push_back(tree->Items()->Item(i)->Text());
    EXPECT_EQ(texts, (std::vector<std::string>{"a", "a1", "b", "b1", "b11"}));
    tree->SetSelected(tree->Items()->Item(4));
    b->Delete();
    EXPECT_EQ(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Items()->Count(), 2);
}

TEST_F(ComCtrlsTest, StatusPanelsArePublishedByTypeName) {
    TStatusBar* bar = Make<TStatusBar>();
    bar->Panels()->Add()->SetText("ready");
    const TPropInfo* prop = GetPropInfo(bar, "Panels");
    ASSERT_NE(prop, nullptr);
    EXPECT_EQ(prop->TypeName(), "TStatusPanels");
    auto* panels = dynamic_cast<TStatusPanels*>(GetObjectProp(bar, "Panels"));
    ASSERT_NE(panels, nullptr);
    EXPECT_EQ(panels->Items(0)->Text(), "ready");
}

TEST_F(ComCtrlsTest, GridEnterAdvancesAndAddsARowAfterTheLast) {
    TStringGrid* grid = Make<TStringGrid>();
    grid->SetColCount(3);
    grid->SetRowCount(2);
    grid->SetFixedCols(0);
    grid->SetOptions(grid->Options() | TGridOptions{goEditing});
    grid->SetCells(2, 1, "x");
    EXPECT_EQ(grid->Cells(9, 9), "");
    grid->FocusCell(1, 1);
    grid->AdvanceCell();
    EXPECT_EQ(grid->Col(), 2);
    grid->AdvanceCell();
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->Col(), 0);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Cells(2, 1), "x");

    user.Focus(grid);
    user.Type("ab中\b");
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_TRUE(grid->EditorFocused());
    EXPECT_EQ(grid->Cells(0, 2), "ab");
    user.PressKey(VK_UP);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_FALSE(grid->EditorMode());

    grid->OnSelectCell = [](TObject*, int, int row, bool& canSelect) { canSelect = row != 2; };
    EXPECT_FALSE(grid->FocusCell(0, 2));
    grid->DeleteRow(1);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->Cells(0, 1), "ab");
}

}  // namespace
}  // namespace krv
