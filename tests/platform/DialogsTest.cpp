#include "platform/Dialogs.h"

#include <gtest/gtest.h>

#include "platform/UserDriver.h"

namespace krv {
namespace {

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override { user.Reset(); }
    void TearDown() override { user.Reset(); }
    TUserDriver user;
};

TEST_F(DialogsTest, RecordsWhatWasShownAndAnswersTheDefaultButton) {
    EXPECT_EQ(MessageDlg("保存吗?", mtConfirmation, mbYesNoCancel), mrYes);
    EXPECT_EQ(MessageDlg("Done", mtInformation, {mbOK}), mrOk);
    EXPECT_EQ(MessageDlg("Retry?", mtError, {mbAbort, mbRetry}), mrRetry);
    EXPECT_EQ(MessageDlg("Just help", mtCustom, {mbHelp}), mrNone);
    const TDialogRecord& first = user.Dialogs().at(0);
    EXPECT_EQ(first.text, "保存吗?");
    EXPECT_EQ(first.type, mtConfirmation);
    EXPECT_EQ(first.caption, "Confirm");
    EXPECT_EQ(first.buttons, mbYesNoCancel);
    ASSERT_EQ(first.buttonList.size(), 3u);
    EXPECT_EQ(first.buttonList[0].name, "Yes");
    EXPECT_EQ(first.buttonList[2].result, mrCancel);
}

TEST_F(DialogsTest, QueuedAnswersAndActionsInOrder) {
    user.AnswerDialogs({mrNo, mrCancel});
    user.OnNextDialog([](TMessageForm& dialog) {
        EXPECT_EQ(dialog.MessageText(), "third");
        return dialog.Button(mbIgnore)->ModalResult();
    });
    EXPECT_EQ(MessageDlg("first", mtWarning, mbYesNoCancel), mrNo);
    EXPECT_EQ(MessageDlg("second", mtWarning, mbYesNoCancel), mrCancel);
    EXPECT_EQ(MessageDlg("third", mtWarning, mbAbortRetryIgnore), mrIgnore);
    EXPECT_EQ(user.LastDialog()->result, mrIgnore);
    EXPECT_EQ(MessageDlg("fourth", mtWarning, mbOKCancel), mrOk);
}

TEST_F(DialogsTest, CallersReplaceCaptionTitleAndFontBeforeShowing) {
    TMessageForm* dialog = CreateMessageDialog("确定删除?", mtConfirmation, {mbYes, mbNo});
    auto* yes = dynamic_cast<TControl*>(dialog->FindComponent("Yes"));
    ASSERT_NE(yes, nullptr);
    SetStrProp(yes, "Caption", "是(&Y)");
    dialog->SetCaption("自动摊提折旧作业");
    dialog->Font()->SetName("宋体");
    dialog->Font()->SetCharset(GB2312_CHARSET);
    EXPECT_EQ(dialog->ShowModal(), mrYes);
    dialog->Free();
    const TDialogRecord* shown = user.LastDialog();
    EXPECT_EQ(shown->caption, "自动摊提折旧作业");
    EXPECT_EQ(shown->buttonList[0].caption, "是(&Y)");
    EXPECT_EQ(shown->fontName, "宋体");
    EXPECT_EQ(shown->fontCharset, GB2312_CHARSET);
}

TEST_F(DialogsTest, MessageBoxesGoThroughTheSameDriver) {
    EXPECT_EQ(Application->MessageBox("pause", "Debug", MB_OK), IDOK);
    user.AnswerNextDialog(IDRETRY);
    EXPECT_EQ(Application->MessageBox("copy failed", "Error", MB_ABORTRETRYIGNORE | MB_ICONSTOP), IDRETRY);
    EXPECT_EQ(Application->MessageBox("again", "Error", MB_ABORTRETRYIGNORE), IDABORT);
    const TDialogRecord* box = &user.Dialogs().at(1);
    EXPECT_TRUE(box->messageBox);
    EXPECT_EQ(box->type, mtError);
    EXPECT_EQ(box->caption, "Error");
    EXPECT_EQ(box->buttons, mbAbortRetryIgnore);
}

struct AnsweringDriver : TDialogDriver {
    int ShowDialog(TMessageForm&) override { return mrNoToAll; }
    int ShowMessageBox(const std::string&, const std::string&, unsigned) override { return IDNO; }
};

TEST_F(DialogsTest, TheDriverCanBeReplaced) {
    AnsweringDriver driver;
    SetDialogDriver(&driver);
    EXPECT_EQ(MessageDlg("x", mtWarning, {mbYes, mbNoToAll}), mrNoToAll);
    EXPECT_EQ(Application->MessageBox("x", "y", MB_YESNO), IDNO);
    SetDialogDriver(nullptr);
    EXPECT_TRUE(user.Dialogs().empty());
}

}  // namespace
}  // namespace krv
