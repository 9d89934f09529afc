#include "platform/Forms.h"

#include <gtest/gtest.h>

#include "GuiTestKit.h"
#include "platform/Dialogs.h"

namespace krv {
namespace {

using namespace testkit;

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        user.Reset();
        form = Create<TKitForm>(nullptr);
        form->SetCaption("Job");
        edit = Make<TKitEdit>(form, form, "edit");
        ok = Make<TKitButton>(form, form, "ok");
        cancel = Make<TKitButton>(form, form, "cancel");
        cancel->isCancel = true;
        cancel->modalResult = mrCancel;
    }
    void TearDown() override {
        if (alive) form->Free();
        user.Reset();
    }
    // The form frees itself on close.
    void FreeOnClose() {
        form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
        form->OnDestroy = [this](TObject*) { alive = false; };
    }

    TUserDriver user;
    TKitForm* form = nullptr;
    TKitEdit* edit = nullptr;
    TKitButton* ok = nullptr;
    TKitButton* cancel = nullptr;
    bool alive = true;
};

TEST(FormLifeTest, CreateShowHideDestroyEventsInOrder) {
    std::vector<std::string> events;
    struct TLifeForm : TForm {
        std::vector<std::string>& events;
        TLifeForm(TComponent* owner, std::vector<std::string>& e) : TForm(owner), events(e) {
            OnCreate = [this](TObject*) { events.push_back("create"); };
            OnShow = [this](TObject*) { events.push_back("show"); };
            OnHide = [this](TObject*) { events.push_back("hide"); };
            // The derived form is still whole while OnDestroy runs.
            OnDestroy = [this](TObject*) { events.push_back("destroy " + Caption()); };
        }
    };
    auto* form = Create<TLifeForm>(nullptr, events);
    form->SetCaption("F");
    form->Show();
    form->Hide();
    form->Free();
    EXPECT_EQ(events, (std::vector<std::string>{"create", "show", "hide", "destroy F"}));
}

TEST_F(FormsTest, CloseWithFreeReleasesAtTheNextMessageProcessing) {
    FreeOnClose();
    form->Show();
    form->Close();
    EXPECT_TRUE(alive);
    user.ProcessMessages();
    EXPECT_FALSE(alive);
}

TEST_F(FormsTest, PostedCloseRequestClosesAndMessagesToAFreedFormAreDropped) {
    FreeOnClose();
    form->Show();
    HWND handle = form->Handle();
    EXPECT_TRUE(Application->PostMessage(handle, WM_CLOSE));
    user.ProcessMessages();
    EXPECT_FALSE(alive);
    EXPECT_FALSE(Application->PostMessage(handle, WM_USER + 10));
    EXPECT_EQ(Application->SendMessage(handle, WM_USER + 10), 0);
}

TEST_F(FormsTest, ReleaseWaitsWhileAHandlerOfTheFormRuns) {
    FreeOnClose();
    form->Show();
    bool aliveAfterPump = false;
    ok->OnClick = [&](TObject*) {
        form->Close();
        Application->ProcessMessages();  // inside the handler: the form must survive
        aliveAfterPump = alive;
        form->SetCaption("still here");
    };
    user.Click(ok);
    EXPECT_TRUE(aliveAfterPump);
    EXPECT_TRUE(alive);
    user.ProcessMessages();
    EXPECT_FALSE(alive);
}

TEST_F(FormsTest, MessagesByNumberAndTheirResults) {
    form->SetMessageHandler(WM_USER + 10, [](TMessage& m) { m.Result = m.LParam * 2; });
    EXPECT_EQ(Application->SendMessage(form, WM_USER + 10, 0, 21), 42);
    intptr_t seen = 0;
    form->SetMessageHandler(WM_USER + 11, [&](TMessage& m) { seen = m.LParam; });
    Application->PostMessage(form, WM_USER + 11, 0, 7);
    EXPECT_EQ(seen, 0);
    user.ProcessMessages();
    EXPECT_EQ(seen, 7);
}

TEST_F(FormsTest, ModalShowReturnsTheResultTheUserGave) {
    ok->modalResult = mrOk;
    user.OnNextModal([&](TCustomForm& shown) {
        EXPECT_EQ(&shown, form);
        EXPECT_TRUE(form->Visible());
        user.Click(ok);
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_FALSE(form->Visible());

    user.AnswerNextModal(mrYes);
    EXPECT_EQ(form->ShowModal(), mrYes);
    EXPECT_EQ(form->ShowModal(), mrCancel);  // the default answer
    ASSERT_EQ(user.ModalShows().size(), 3u);
    EXPECT_EQ(user.ModalShows()[0].caption, "Job");
    EXPECT_EQ(user.ModalShows()[0].result, mrOk);
}

TEST_F(FormsTest, CloseInsideModalEndsWithCancelAndReleasesAfterTheLoop) {
    FreeOnClose();
    bool aliveWhenModalReturned = false;
    user.OnNextModal([&](TCustomForm&) { form->Close(); });
    int result = form->ShowModal();
    aliveWhenModalReturned = alive;
    EXPECT_EQ(result, mrCancel);
    EXPECT_TRUE(aliveWhenModalReturned);
    user.ProcessMessages();
    EXPECT_FALSE(alive);
}

TEST_F(FormsTest, ModalShowLeftOpenByTheDriverStillReturns) {
    bool refuse = true;
    form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = !refuse; };
    user.OnNextModal([](TCustomForm&) {});
    EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST_F(FormsTest, KeyPreviewSeesKeysFirstAndCanConsumeThem) {
    form->SetKeyPreview(true);
    form->Show();
    std::vector<std::string> order;
    form->OnKeyDown = [&](TObject*, Word& key, TShiftState) {
        order.push_back("form down");
        if (key == VK_F2) key = 0;
    };
    edit->OnKeyDown = [&](TObject*, Word&, TShiftState) { order.push_back("edit down"); };
    form->OnKeyPress = [&](TObject*, char& key) {
        order.push_back("form press");
        if (key == 'x') key = 0;
    };
    edit->OnKeyPress = [&](TObject*, char&) { order.push_back("edit press"); };

    user.PressKey(VK_F2);
    EXPECT_EQ(order, (std::vector<std::string>{"form down"}));
    order.clear();
    user.Type("ax");
    EXPECT_EQ(order, (std::vector<std::string>{"form down", "edit down", "form press", "edit press", "form down",
                                               "edit down", "form press"}));
    EXPECT_EQ(edit->Text(), "a");
    user.Type("日\b");
    // The character arrives whole (two bytes); this simple edit's backspace takes one byte.
    EXPECT_EQ(edit->Text(), "a" + std::string("日").substr(0, 1));
}

TEST_F(FormsTest, EnterClicksAFocusedButtonWithoutKeyPressAndEscReachesCancel) {
    form->Show();
    int okClicks = 0;
    int pressed = 0;
    ok->OnClick = [&](TObject*) { ++okClicks; };
    ok->OnKeyPress = [&](TObject*, char&) { ++pressed; };
    ASSERT_TRUE(user.Focus(ok));
    user.PressKey(VK_RETURN);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(pressed, 0);

    int cancelClicks = 0;
    cancel->OnClick = [&](TObject*) { ++cancelClicks; };
    user.Focus(edit);
    user.PressKey(VK_ESCAPE);
    EXPECT_EQ(cancelClicks, 1);
    form->SetKeyPreview(true);
    form->OnKeyDown = [](TObject*, Word& key, TShiftState) { key = 0; };
    user.PressKey(VK_ESCAPE);
    EXPECT_EQ(cancelClicks, 1);  // consumed by the preview
}

TEST_F(FormsTest, MultiLineEditKeepsEnter) {
    edit->wantReturns = true;
    form->Show();
    user.Focus(edit);
    user.Type("a\rb");
    EXPECT_EQ(edit->Text(), "a\rb");
}

TEST_F(FormsTest, ClickFocusesFirstAndIsLostWhenTheExitCheckKeepsTheFocus) {
    form->Show();
    user.Focus(edit);
    int clicks = 0;
    ok->OnClick = [&](TObject*) { ++clicks; };
    edit->OnExit = [&](TObject*) { edit->SetFocus(); };
    EXPECT_FALSE(user.Click(ok));
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(edit->Focused());

    edit->OnExit = nullptr;
    EXPECT_TRUE(user.Click(ok));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(ok->Focused());

    ok->SetEnabled(false);
    EXPECT_FALSE(user.Click(ok));  // a person cannot click a disabled button...
    ok->Click();                   // ...code can
    EXPECT_EQ(clicks, 2);

    auto* speed = Make<TKitSpeedButton>(form, form, "speed");
    int speedClicks = 0;
    speed->OnClick = [&](TObject*) { ++speedClicks; };
    user.Focus(edit);
    EXPECT_TRUE(user.Click(speed));
    EXPECT_EQ(speedClicks, 1);
    EXPECT_TRUE(edit->Focused());  // graphic controls take no focus
}

TEST_F(FormsTest, AnExceptionEscapingAHandlerEndsInAnErrorBox) {
    form->Show();
    ok->OnClick = [](TObject*) { throw EConvertError("'x' is not a valid integer value"); };
    EXPECT_NO_THROW(user.Click(ok));
    const TDialogRecord* box = user.LastDialog();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->messageBox);
    EXPECT_EQ(box->type, mtError);
    EXPECT_EQ(box->text, "'x' is not a valid integer value.");

    edit->OnEnter = [](TObject*) { throw Exception("bad enter!"); };
    user.Focus(edit);
    EXPECT_EQ(user.LastDialog()->text, "bad enter!");  // no full stop after "!"
    EXPECT_EQ(user.Dialogs().size(), 2u);

    form->SetMessageHandler(WM_USER, [](TMessage&) { throw std::runtime_error("posted"); });
    Application->PostMessage(form, WM_USER);
    EXPECT_NO_THROW(user.ProcessMessages());
    EXPECT_EQ(user.LastDialog()->text, "posted.");
}

TEST_F(FormsTest, PostedMouseUpOnlyClearsAPendingPress) {
    form->Show();
    int ups = 0;
    ok->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++ups; };
    Application->PostMessage(ok, WM_LBUTTONUP);
    user.ProcessMessages();
    EXPECT_EQ(ups, 0);
    user.MouseDown(ok);
    EXPECT_TRUE(ok->MousePressed());
    Application->PostMessage(ok, WM_LBUTTONUP);
    user.ProcessMessages();
    EXPECT_EQ(ups, 1);
    EXPECT_FALSE(ok->MousePressed());
}

TEST_F(FormsTest, ScreenTracksTheActiveFormAndReportsFocusChanges) {
    int changes = 0;
    Screen->OnActiveControlChange = [&](TObject*) { ++changes; };
    form->Show();
    EXPECT_EQ(Screen->ActiveCustomForm(), form);
    EXPECT_EQ(Screen->ActiveControl(), edit);
    user.Focus(ok);
    EXPECT_EQ(changes, 2);
    Screen->OnActiveControlChange = nullptr;

    auto* second = Create<TKitForm>(nullptr);
    second->Show();
    EXPECT_EQ(Screen->ActiveCustomForm(), second);
    EXPECT_FALSE(ok->Focused());
    second->Free();
    EXPECT_EQ(Screen->ActiveCustomForm(), form);
    EXPECT_TRUE(ok->Focused());
}

TEST_F(FormsTest, WindowStateHandleAndClientArea) {
    form->SetWindowState(wsMinimized);
    EXPECT_EQ(GetOrdProp(form, "WindowState"), wsMinimized);
    form->SetClientWidth(400);
    form->SetClientHeight(300);
    EXPECT_EQ(form->ClientWidth(), 400);
    EXPECT_EQ(form->ClientHeight(), 300);
    EXPECT_GT(form->Width(), 400);
    EXPECT_EQ(GetParentForm(edit), form);
    EXPECT_EQ(FindControl(form->Handle()), form);
    EXPECT_TRUE(CallPublishedMethod(form, "FormClick", ok));
    EXPECT_EQ(form->clickedBy, ok);
}

}  // namespace
}  // namespace krv
