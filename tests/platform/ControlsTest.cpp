#include "platform/Controls.h"

#include <gtest/gtest.h>

#include "GuiTestKit.h"
#include "platform/Forms.h"

namespace krv {
namespace {

using namespace testkit;

// A form with two boxes, two edits in each, and a button outside them:
//   form: boxA(edA1, edA2), boxB(edB1, edB2), btn
class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        user.Reset();
        form = Create<TKitForm>(nullptr);
        boxA = Make<TKitBox>(form, form, "boxA");
        edA1 = Make<TKitEdit>(form, boxA, "edA1");
        edA2 = Make<TKitEdit>(form, boxA, "edA2");
        boxB = Make<TKitBox>(form, form, "boxB");
        edB1 = Make<TKitEdit>(form, boxB, "edB1");
        edB2 = Make<TKitEdit>(form, boxB, "edB2");
        btn = Make<TKitButton>(form, form, "btn");
        for (TWinControl* c : {static_cast<TWinControl*>(boxA), static_cast<TWinControl*>(edA1),
                               static_cast<TWinControl*>(edA2), static_cast<TWinControl*>(boxB),
                               static_cast<TWinControl*>(edB1), static_cast<TWinControl*>(edB2),
                               static_cast<TWinControl*>(btn)})
            log.Watch(c);
    }
    void TearDown() override {
        if (form) form->Free();
        Application->ClearMessages();
    }

    TUserDriver user;
    FocusLog log;
    TKitForm* form = nullptr;
    TKitBox* boxA = nullptr;
    TKitBox* boxB = nullptr;
    TKitEdit* edA1 = nullptr;
    TKitEdit* edA2 = nullptr;
    TKitEdit* edB1 = nullptr;
    TKitEdit* edB2 = nullptr;
    TKitButton* btn = nullptr;
};

TEST_F(ControlsTest, FocusChangeExitsOutwardThenEntersInward) {
    form->Show();
    EXPECT_TRUE(edA1->Focused());  // the first control in tab order
    EXPECT_EQ(log.events, (std::vector<std::string>{"enter boxA", "enter edA1"}));

    log.events.clear();
    edA2->SetFocus();  // same container: no container events
    EXPECT_EQ(log.events, (std::vector<std::string>{"exit edA1", "enter edA2"}));

    log.events.clear();
    edB2->SetFocus();
    EXPECT_EQ(log.events, (std::vector<std::string>{"exit edA2", "exit boxA", "enter boxB", "enter edB2"}));

    log.events.clear();
    btn->SetFocus();
    EXPECT_EQ(log.events, (std::vector<std::string>{"exit edB2", "exit boxB", "enter btn"}));
    EXPECT_EQ(form->FocusedControl(), btn);
}

TEST_F(ControlsTest, ActiveControlNamesTheTargetWhileExitRuns) {
    form->Show();
    TWinControl* seenDuringExit = nullptr;
    edA1->OnExit = [&](TObject*) { seenDuringExit = form->ActiveControl(); };
    btn->SetFocus();
    EXPECT_EQ(seenDuringExit, btn);
}

TEST_F(ControlsTest, ExitHandlerThatRefocusesCancelsTheRestOfTheChange) {
    form->Show();
    edA1->OnExit = [&](TObject*) {
        log.events.push_back("exit edA1");
        edA1->SetFocus();
    };
    edB1->SetFocus();
    EXPECT_EQ(log.events, (std::vector<std::string>{"enter boxA", "enter edA1", "exit edA1"}));
    EXPECT_TRUE(edA1->Focused());
    EXPECT_FALSE(edB1->Focused());
}

TEST_F(ControlsTest, ExitHandlerMovingTheFocusElsewhereDoesNotExitTwice) {
    form->Show();
    edA1->OnExit = [&](TObject*) {
        log.events.push_back("exit edA1");
        btn->SetFocus();
    };
    edB1->SetFocus();
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"enter boxA", "enter edA1", "exit edA1", "exit boxA", "enter btn"}));
    EXPECT_TRUE(btn->Focused());
}

TEST_F(ControlsTest, CanFocusNeedsVisibleAndEnabledParentsAndSetFocusOtherwiseDoesNothing) {
    form->Show();
    edB1->SetFocus();
    boxA->SetEnabled(false);
    EXPECT_FALSE(edA1->CanFocus());
    edA1->SetFocus();
    EXPECT_TRUE(edB1->Focused());
    boxA->SetEnabled(true);
    edA2->SetVisible(false);
    EXPECT_FALSE(edA2->CanFocus());
    EXPECT_TRUE(edA1->CanFocus());

    // Not on a form at all.
    auto* loose = Create<TKitEdit>(nullptr);
    EXPECT_FALSE(loose->CanFocus());
    loose->SetFocus();
    loose->Free();
}

TEST_F(ControlsTest, HiddenFormOnlyRecordsTheActiveControlUntilShown) {
    edB2->SetFocus();
    EXPECT_EQ(form->ActiveControl(), edB2);
    EXPECT_TRUE(log.events.empty());
    EXPECT_FALSE(edB2->Focused());
    form->Show();
    EXPECT_EQ(log.events, (std::vector<std::string>{"enter boxB", "enter edB2"}));
}

TEST_F(ControlsTest, HidingOrFreeingTheFocusedControlLeavesNoDanglingFocus) {
    form->Show();
    edA2->SetFocus();
    log.events.clear();
    boxA->SetVisible(false);
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_EQ(log.events, (std::vector<std::string>{"exit edA2", "exit boxA"}));

    boxA->SetVisible(true);
    edA2->SetFocus();
    edA2->Free();
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_EQ(form->FocusedControl(), boxA);
    edA1->SetFocus();  // the walk starts from a live control
    EXPECT_TRUE(edA1->Focused());
}

TEST_F(ControlsTest, TabOrderIsDenseAndRenumbersSiblings) {
    EXPECT_EQ(boxA->TabOrder(), 0);
    EXPECT_EQ(btn->TabOrder(), 2);
    btn->SetTabOrder(0);
    EXPECT_EQ(btn->TabOrder(), 0);
    EXPECT_EQ(boxA->TabOrder(), 1);
    EXPECT_EQ(boxB->TabOrder(), 2);
    boxA->SetTabOrder(99);
    EXPECT_EQ(boxA->TabOrder(), 2);
    EXPECT_EQ(boxB->TabOrder(), 1);
    btn->SetParent(nullptr);
    EXPECT_EQ(btn->TabOrder(), -1);
    EXPECT_EQ(boxB->TabOrder(), 0);
    btn->SetParent(form);
}

TEST(TabOrderLoadingTest, StoredOrdersApplyWhenLoadingEnds) {
    auto* form = Create<TKitForm>(nullptr);
    form->BeginLoading();
    auto* a = Make<TKitEdit>(form, form, "a");
    auto* b = Make<TKitEdit>(form, form, "b");
    auto* c = Make<TKitEdit>(form, form, "c");
    a->SetTabOrder(2);
    b->SetTabOrder(0);
    c->SetTabOrder(1);
    form->EndLoading();
    EXPECT_EQ(form->TabList(), (std::vector<TWinControl*>{b, c, a}));
    EXPECT_EQ(a->TabOrder(), 2);
    form->Free();
}

TEST_F(ControlsTest, TabWalksTheTabOrderAcrossContainersAndWraps) {
    edA2->SetTabStop(false);
    edB1->SetEnabled(false);
    form->Show();
    std::vector<std::string> visited;
    for (int i = 0; i < 4; ++i) {
        visited.push_back(form->ActiveControl()->Name());
        user.PressKey(VK_TAB);
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"edA1", "edB2", "btn", "edA1"}));
    EXPECT_EQ(form->ActiveControl(), edB2);
    user.PressKey(VK_TAB, {ssShift});
    user.PressKey(VK_TAB, {ssShift});
    EXPECT_EQ(form->ActiveControl(), btn);  // backwards, wrapping

    std::vector<TWinControl*> list;
    form->GetTabOrderList(list);
    EXPECT_EQ(list, (std::vector<TWinControl*>{boxA, edA1, edA2, boxB, edB1, edB2, btn}));
}

TEST_F(ControlsTest, AlignPlacesChildrenInTheClientArea) {
    auto* panel = Make<TKitBox>(form, form, "panel");
    panel->SetBounds(0, 0, 200, 100);
    auto* top = Make<TKitBox>(form, panel, "top");
    auto* bottom = Make<TKitBox>(form, panel, "bottom");
    auto* left = Make<TKitBox>(form, panel, "left");
    auto* client = Make<TKitBox>(form, panel, "client");
    top->SetHeight(10);
    bottom->SetHeight(20);
    left->SetWidth(30);
    top->SetAlign(alTop);
    bottom->SetAlign(alBottom);
    left->SetAlign(alLeft);
    client->SetAlign(alClient);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 200, 10));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 80, 200, 100));
    EXPECT_EQ(left->BoundsRect(), Rect(0, 10, 30, 80));
    EXPECT_EQ(client->BoundsRect(), Rect(30, 10, 200, 80));
    panel->SetHeight(20);  // too small: extents are clamped at 0
    EXPECT_EQ(client->Height(), 0);
    EXPECT_EQ(client->Width(), 170);
}

TEST_F(ControlsTest, BoundsAreClampedAndConstrained) {
    btn->SetBounds(5, 6, -10, -1);
    EXPECT_EQ(btn->BoundsRect(), Rect(5, 6, 5, 6));
    form->Constraints()->MinWidth = 400;
    form->SetWidth(100);
    EXPECT_EQ(form->Width(), 400);
    TPoint screen = edA1->ClientToScreen(Point(1, 1));
    EXPECT_EQ(edA1->ScreenToClient(screen), Point(1, 1));
    EXPECT_EQ(edA1->ClientToParent(Point(1, 1), form), Point(1, 1));
}

TEST_F(ControlsTest, ParentFontFollowsUntilTheControlSetsItsOwn) {
    form->Font()->SetName("宋体");
    form->Font()->SetHeight(-13);
    EXPECT_EQ(edA1->Font()->Name(), "宋体");
    EXPECT_TRUE(edA1->ParentFont());
    edA1->Font()->SetHeight(-20);
    EXPECT_FALSE(edA1->ParentFont());
    form->Font()->SetName("Tahoma");
    EXPECT_EQ(edA1->Font()->Name(), "宋体");
    EXPECT_EQ(edA2->Font()->Name(), "Tahoma");
    edA1->SetParentFont(true);
    EXPECT_EQ(edA1->Font()->Height(), -13);
}

TEST_F(ControlsTest, HandlesResolveOnlyLiveControls) {
    HWND handle = edA1->Handle();
    EXPECT_NE(handle, 0);
    EXPECT_EQ(FindControl(handle), edA1);
    EXPECT_EQ(edA1->Handle(), handle);
    edA1->Free();
    EXPECT_EQ(FindControl(handle), nullptr);
    EXPECT_FALSE(IsWindow(0));
}

struct RecordingPeer : TControlPeer {
    std::vector<TPeerChange>* changes;
    explicit RecordingPeer(std::vector<TPeerChange>* c) : changes(c) {}
    void Changed(TControl&, TPeerChange change) override { changes->push_back(change); }
};

TEST_F(ControlsTest, PeerIsToldOfVisibleChanges) {
    std::vector<TPeerChange> changes;
    edA1->SetPeer(std::make_unique<RecordingPeer>(&changes));
    edA1->SetText("x");
    edA1->SetEnabled(false);
    edA1->SetBounds(1, 2, 3, 4);
    edA1->SetColor(clRed);
    edA1->Font()->SetHeight(-20);
    EXPECT_EQ(changes, (std::vector<TPeerChange>{TPeerChange::Text, TPeerChange::Enabled, TPeerChange::Bounds,
                                                 TPeerChange::Color, TPeerChange::Font}));
    edA1->SetPeer(nullptr);
}

TEST_F(ControlsTest, GraphicControlsPaintOnTheirCanvasAfresh) {
    struct TPainted : TGraphicControl {
        explicit TPainted(TComponent* o) : TGraphicControl(o) {}
        void Paint() override { Canvas()->TextOut(0, 0, Caption()); }
    };
    auto* painted = new TPainted(form);
    painted->SetCaption("A");
    painted->Repaint();
    painted->Repaint();
    ASSERT_EQ(painted->Canvas()->Operations().size(), 1u);
    EXPECT_EQ(painted->Canvas()->Operations()[0].text, "A");
}

}  // namespace
}  // namespace krv
