// The generic job form's own rules: program identity from the module file, message reporting
// through the host's texts, and the system-setting defaults.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/BaseGene.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/Dispatch.h"
#include "platform/Forms.h"
#include "platform/Registry.h"

namespace krv {
namespace {

class BaseGeneTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->ClearMessages();
        HeadlessDialogDriver().Reset();
        form_ = Create<TfrmBaseGene>(nullptr);
        form_->SetModuleFileName("/opt/krv/ZPNR42C.so");
        auto host = std::make_shared<DispatchObject>();
        host->RegisterMethod("GetMessage", [this](std::vector<Variant>& args) {
            lookups_.push_back(VarToStr(args.at(0)) + VarToStr(args.at(1)));
            return Variant(messageText_);
        });
        form_->HostServices = Variant(DispatchPtr(host));
    }
    void TearDown() override {
        form_->Free();
        Application->ClearMessages();
    }
    const std::vector<TDialogRecord>& Shown() const { return HeadlessDialogDriver().Records(); }

    TfrmBaseGene* form_ = nullptr;
    std::string messageText_ = "Server said: %s";
    std::vector<std::string> lookups_;
};

TEST_F(BaseGeneTest, ProgramIdentityComesFromTheModuleFileName) {
    struct Case {
        const char* path;
        const char* code;
    };
    const Case cases[] = {
        {"/opt/krv/ABCD12C.dll", "ABCD12"},
        {"C:\\KRV\\abcd12c.DLL", "ABCD12"},
        {"/opt/krv/ZPNR42C.so", "ZPNR42"},
        // At least six characters are taken, even when they reach into the extension.
        {"/opt/krv/ABC.dll", "ABC.DL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        form_->SetModuleFileName(c.path);
        EXPECT_TRUE(form_->IsLibraryBuild());
        form_->SetProgramCode(form_->ProgramCodeFromFile());
        EXPECT_EQ(form_->ProgramCode, c.code);
        EXPECT_EQ(form_->ServerClassName, std::string(c.code) + "S.Class1");
    }
}

TEST_F(BaseGeneTest, ShownMessageFormatsItsArgumentsAndLogsItsId) {
    form_->SetCaption("Job[Co]");
    form_->ReportMessage("E;000013;disk full");
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].text, "Server said: disk full");
    EXPECT_EQ(Shown()[0].type, mtError);
    EXPECT_EQ(Shown()[0].caption, "Job[Co]");
    ASSERT_EQ(Shown()[0].buttonList.size(), 1u);
    EXPECT_EQ(Shown()[0].buttonList[0].caption, "确定");
    EXPECT_EQ(lookups_, (std::vector<std::string>{"E000013"}));
    EXPECT_EQ(form_->MessageIdLog, "E;000013;disk full; ");
    EXPECT_EQ(form_->MessageTextLog, "Server said: disk full; ");

    form_->ReportMessage("");
    EXPECT_EQ(form_->MessageIdLog, "");
    EXPECT_EQ(form_->MessageTextLog, "");
}

TEST_F(BaseGeneTest, NegativeOrMalformedNumberIsOnlyLogged) {
    form_->ReportMessage("I;-000004");
    form_->ReportMessage("W;abc");
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(lookups_, (std::vector<std::string>{"I000004", "Wbc"}));
    EXPECT_EQ(form_->MessageIdLog, "I;-000004; W;abc; ");
    EXPECT_EQ(form_->MessageTextLog, "Server said: ; ") << "the same text is logged once";
}

TEST_F(BaseGeneTest, TextThatDoesNotFitItsArgumentsKeepsTextAndArguments) {
    messageText_ = "count %d";
    form_->ReportMessage("E;000020;abc");
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].text, "count %d\rabc;;;;;;;;;;");
}

TEST_F(BaseGeneTest, WithoutHostServicesTheMessageSaysSo) {
    form_->HostServices.Clear();
    form_->ReportMessage("E;000013");
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].text, "Can not Get Message\rType= E, ID= 000013 ");
}

TEST_F(BaseGeneTest, ErrorTextIsStoredOnceWhileEveryReportIsCounted) {
    form_->ReportError("  boom  ");
    form_->ReportError("boom");
    EXPECT_EQ(form_->MessageIdLog, "E;-1; E;-1; ");
    EXPECT_EQ(form_->MessageTextLog, "boom; ");
    EXPECT_TRUE(Shown().empty());
}

TEST_F(BaseGeneTest, NothingIsReportedWhileTheCancelButtonHasTheFocus) {
    form_->SetActiveControl(form_->btnCancel);
    form_->ReportMessage("E;000013;x");
    form_->ReportError("boom");
    form_->ReportMessage("");
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(form_->MessageIdLog, "");
    EXPECT_EQ(form_->MessageTextLog, "");
}

TEST_F(BaseGeneTest, MessageBoxKindAndButtonsFollowTheType) {
    struct Case {
        const char* type;
        TMsgDlgType kind;
        TMsgDlgButtons buttons;
    };
    const Case cases[] = {
        {"C", mtWarning, mbOKCancel},         {"D", mtWarning, mbYesNoCancel}, {"E", mtError, {mbOK}},
        {"I", mtInformation, {mbOK}},         {"Q", mtConfirmation, mbOKCancel}, {"W", mtWarning, mbOKCancel},
        {"X", mtCustom, {mbOK}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        HeadlessDialogDriver().Reset();
        form_->ShowMessageFmt(c.type, "000001", VarArrayOf({"a"}), {});
        ASSERT_EQ(Shown().size(), 1u);
        EXPECT_EQ(Shown()[0].type, c.kind);
        EXPECT_EQ(Shown()[0].buttons, c.buttons);
        EXPECT_EQ(Shown()[0].text, "Server said: a");
    }
    HeadlessDialogDriver().Reset();
    form_->ShowMessageFmt("E", "000001", Variant(), TMsgDlgButtons{mbYes, mbNo});
    EXPECT_EQ(Shown()[0].buttons, (TMsgDlgButtons{mbYes, mbNo})) << "given buttons replace the defaults";
}

// A job's own form named after another program refuses to serve this module.
class TfrmAbcd99 : public TfrmBaseGene {
    KRV_CLASS(TfrmAbcd99)
    using TfrmBaseGene::TfrmBaseGene;
};

const TClassInfo& TfrmAbcd99::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TfrmAbcd99>("TfrmAbcd99", TfrmBaseGene::StaticClassInfo()).Build();
    return info;
}

TEST_F(BaseGeneTest, JobFormForAnotherProgramFailsToInitialize) {
    TfrmAbcd99* form = Create<TfrmAbcd99>(nullptr);
    form->SetModuleFileName("/opt/krv/ZPNR42C.so");
    form->HostServices = form_->HostServices;
    EXPECT_FALSE(form->Initialize(VarArrayOf({"DS", "DEMO", "DB", 0, 0})));
    EXPECT_EQ(lookups_, (std::vector<std::string>{"E000036"}));
    EXPECT_EQ(Application->PendingMessageCount(), 1u) << "a close request";
    form->Free();

    const std::string registry = RegistryFilePath();
    SetRegistryFilePath("/nonexistent/registry.reg");  // no settings, so no server either
    EXPECT_FALSE(form_->Initialize(VarArrayOf({"DS", "DEMO", "DB", 0, 0})));
    SetRegistryFilePath(registry);
    EXPECT_EQ(lookups_.back(), "E000006") << "the framework's own form serves every program";
}

TEST_F(BaseGeneTest, EmptyInventoryCategorySettingsHaveDefaultCaptions) {
    EXPECT_EQ(form_->GetSystemSetting("SYS008"), "商品分类方式二");
    EXPECT_EQ(form_->GetSystemSetting("sys010"), "商品分类方式四");
    EXPECT_EQ(form_->GetSystemSetting("KRV002"), "");
    SetSystemCodePage(437);
    EXPECT_EQ(form_->GetSystemSetting("SYS008"), "Inv.Cate.2");
    SetSystemCodePage(936);
}

}  // namespace
}  // namespace krv
