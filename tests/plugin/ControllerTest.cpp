// The controller as a host drives it: the real ZPNR42C.so is loaded with dlopen and reached only
// through its export and the controller's operation table.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/ComObj.h"
#include "platform/Dialogs.h"
#include "platform/Dispatch.h"
#include "platform/Forms.h"
#include "platform/Registry.h"
#include "plugin/DLLBaseCtrller.h"

namespace krv {
namespace {

namespace fs = std::filesystem;

constexpr const char* kAppServerName = "ZezuzuVavorarA.dmReportCounter";

// The library stays loaded for the whole process, as a host keeps it while forms may exist.
class PluginLibrary {
public:
    static PluginLibrary& Instance() {
        static PluginLibrary library;
        return library;
    }
    TDLLBaseController* NewController() const { return getController_(); }
    // A module-wide variable of the library, by its linker name.
    void** Variable(const char* symbol) const { return static_cast<void**>(dlsym(handle_, symbol)); }

private:
    PluginLibrary() {
        const char* folder = std::getenv("KRV_BIN_DIR");
        const std::string path = std::string(folder ? folder : ".") + "/ZPNR42C.so";
        handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle_) throw std::runtime_error(dlerror());
        getController_ = reinterpret_cast<TGetControllerFunc>(dlsym(handle_, "GetController"));
        if (!getController_) throw std::runtime_error("ZPNR42C.so has no GetController");
    }
    void* handle_ = nullptr;
    TGetControllerFunc getController_ = nullptr;
};

// The host's services: message texts that name their id, a product number, and a counter service
// that answers the company's name.
DispatchPtr MakeHostServices() {
    auto counter = std::make_shared<DispatchObject>();
    counter->RegisterMethod("GetSysInfo", [](std::vector<Variant>&) {
        Variant settings = VarArrayCreate(0, 1, 0, 0);
        settings.At(0, 0) = "KRV002";
        settings.At(1, 0) = "演示公司";
        return settings;
    });
    auto host = std::make_shared<DispatchObject>();
    host->RegisterMethod("GetMessage", [](std::vector<Variant>& args) {
        return Variant("Message " + VarToStr(args.at(0)) + VarToStr(args.at(1)));
    });
    host->RegisterMethod("ProductID", [](std::vector<Variant>&) { return Variant(7); });
    host->RegisterMethod("Com_Counter", [counter](std::vector<Variant>&) { return Variant(DispatchPtr(counter)); });
    return host;
}

// An installation whose client settings name this machine as the application server.
class LocalInstallation {
public:
    LocalInstallation() {
        std::string pattern = (fs::temp_directory_path() / "plugin-test-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        std::ofstream(folder_ / "registry.reg") << "REGEDIT4\r\n\r\n"
                                                << "[HKEY_LOCAL_MACHINE\\Software\\KRV\\Corvantis]\r\n"
                                                << "\"ClientPath\"=\"" << folder_.string() << "/\"\r\n";
        std::ofstream(folder_ / "CorvantisC.ini") << "[Server Information]\r\nComputerName=127.0.0.1\r\n";
        SetRegistryFilePath((folder_ / "registry.reg").string());
    }
    ~LocalInstallation() {
        SetRegistryFilePath((folder_ / "none.reg").string());
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

private:
    fs::path folder_;
};

Variant HostParams() { return VarArrayOf({"DS", "DEMO", "DEMODB", 0, "extra"}); }

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->ClearMessages();
        HeadlessDialogDriver().Reset();
        HeadlessModalDriver().Reset();
        RegisterComObjectFactory(kAppServerName, [] { return std::make_shared<DispatchObject>(); });
        controller_ = PluginLibrary::Instance().NewController();
        controller_->HostServices = Variant(MakeHostServices());
        controller_->OnNotify = [this](int32_t code, TDLLBaseController* sender) {
            EXPECT_EQ(sender, controller_);
            notifications_.push_back(code);
            log_.push_back(std::to_string(code));
        };
    }
    void TearDown() override {
        delete controller_;
        Application->ProcessMessages();
        UnregisterComObjectFactory(kAppServerName);
    }

    TCustomForm* Form() { return dynamic_cast<TCustomForm*>(FindControl(controller_->GetFormHandle())); }
    std::vector<std::string> DialogTexts() const {
        std::vector<std::string> texts;
        for (const TDialogRecord& shown : HeadlessDialogDriver().Records()) texts.push_back(shown.text);
        return texts;
    }

    LocalInstallation installation_;
    TDLLBaseController* controller_ = nullptr;
    std::vector<int32_t> notifications_;
    std::vector<std::string> log_;
};

TEST(PluginExport, GetControllerRaisesWithoutControllerClassAndGivesFreshControllersWithIt) {
    PluginLibrary& library = PluginLibrary::Instance();
    void** controllerClass = library.Variable("_ZN3krv18DLLControllerClassE");
    ASSERT_NE(controllerClass, nullptr);
    void* registered = *controllerClass;
    ASSERT_NE(registered, nullptr) << "the library registers its controller class when loaded";

    *controllerClass = nullptr;
    try {
        delete library.NewController();
        ADD_FAILURE() << "GetController did not raise";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "KRV DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible");
    }
    *controllerClass = registered;

    std::unique_ptr<TDLLBaseController> first(library.NewController()), second(library.NewController());
    EXPECT_NE(first.get(), second.get());
    EXPECT_TRUE(first->FormIsNil());
}

TEST_F(ControllerTest, WithoutFormEveryOperationAnswersItsDefault) {
    EXPECT_TRUE(controller_->FormIsNil());
    EXPECT_EQ(controller_->GetFormHandle(), 0);
    EXPECT_EQ(controller_->IsFormVisible(), DLLFalse);
    Variant modal;
    controller_->ShowFormModal(modal);
    EXPECT_EQ(modal, Variant(mrCancel));
    Variant info("untouched");
    EXPECT_EQ(controller_->GetJobInfo(info), DLLStatusFailed);
    EXPECT_EQ(info, Variant("untouched"));
    std::u16string revision = u"untouched";
    controller_->GetRevision(revision);
    EXPECT_EQ(revision, u"untouched");
    EXPECT_EQ(controller_->SetPresetValues(VarArrayOf({false, VarArrayOf({0})})), DLLStatusFailed);
    EXPECT_EQ(controller_->SendCommand(5, VarArrayOf({0})), DLLStatusFailed);
    controller_->SetFormVisible(-1);
    controller_->FreeForm();
    controller_->Reserved();
    EXPECT_TRUE(notifications_.empty());
    controller_->NotifyReserved();
    EXPECT_EQ(notifications_, (std::vector<int32_t>{DLLNotifyReserved}));
}

TEST_F(ControllerTest, CreateFormWithoutFormClassRaisesAndCreatesNothing) {
    void** formClass = PluginLibrary::Instance().Variable("_ZN3krv17frmBaseBatchClassE");
    ASSERT_NE(formClass, nullptr);
    void* registered = *formClass;
    ASSERT_NE(registered, nullptr);
    *formClass = nullptr;
    try {
        controller_->CreateForm(HostParams());
        ADD_FAILURE() << "CreateForm did not raise";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "KRV DLL Internal Error :\rNot Assign \"frmBaseBatchClass\" varible");
    }
    *formClass = registered;
    EXPECT_TRUE(controller_->FormIsNil());
    EXPECT_TRUE(notifications_.empty());
}

TEST_F(ControllerTest, FormLifeCycleReachesTheHostInOrder) {
    controller_->ResultCode = 99;
    controller_->ResultValue = "stale";
    ASSERT_EQ(controller_->CreateForm(HostParams()), DLLStatusOk);
    EXPECT_EQ(notifications_, (std::vector<int32_t>{DLLNotifyFormCreated}));
    EXPECT_TRUE(DialogTexts().empty());
    EXPECT_EQ(controller_->IsFormVisible(), DLLFalse);

    Variant info;
    ASSERT_EQ(controller_->GetJobInfo(info), DLLStatusOk);
    EXPECT_EQ(info, VarArrayOf({"DS", "DEMO", "ZPNR42", "ZPNR42"}));
    std::u16string revision;
    controller_->GetRevision(revision);
    EXPECT_EQ(revision, u"870401-0.00.00");

    controller_->SetFormVisible(-1);
    EXPECT_EQ(controller_->IsFormVisible(), DLLTrue);
    EXPECT_NE(controller_->GetFormHandle(), 0);
    controller_->SetFormVisible(0);
    EXPECT_EQ(controller_->IsFormVisible(), DLLFalse);
    EXPECT_FALSE(controller_->FormIsNil()) << "hiding does not free";

    controller_->FreeForm();
    controller_->FreeForm();
    Application->ProcessMessages();
    EXPECT_EQ(notifications_, (std::vector<int32_t>{DLLNotifyFormCreated, DLLNotifyFormShown, DLLNotifyFormHidden,
                                                    DLLNotifyFormDestroyed}));
    EXPECT_TRUE(controller_->FormIsNil());
    EXPECT_EQ(controller_->ResultCode, 0);
    EXPECT_TRUE(controller_->ResultValue.IsEmpty());
}

// Without element 4 the form says so, the address step repeats it and then reports that no
// server could be reached; the form closes itself.
TEST_F(ControllerTest, ShortOrMissingParameterArrayFailsAndTheFormClosesItself) {
    const Variant cases[] = {VarArrayOf({"DS", "DEMO", "DEMODB", 0}), VarArrayOf({"DS"}), VarArrayOf({}), Variant(42)};
    for (const Variant& params : cases) {
        SCOPED_TRACE(params.IsArray() ? "elements: " + std::to_string(params.ElementCount()) : "no array");
        notifications_.clear();
        HeadlessDialogDriver().Reset();
        controller_->ResultCode = 99;
        EXPECT_EQ(controller_->CreateForm(params), DLLStatusFailed);
        const std::vector<std::string> expected{"Message E000038", "Message E000038", "Message E000006"};
        EXPECT_EQ(DialogTexts(), expected);
        for (const TDialogRecord& shown : HeadlessDialogDriver().Records()) EXPECT_EQ(shown.type, mtError);
        EXPECT_FALSE(controller_->FormIsNil()) << "the form goes at the next message processing";

        Application->ProcessMessages();
        EXPECT_TRUE(controller_->FormIsNil());
        EXPECT_EQ(notifications_, (std::vector<int32_t>{DLLNotifyFormCreated, DLLNotifyFormDestroyed}));
        EXPECT_EQ(controller_->ResultCode, 0);
    }
}

TEST_F(ControllerTest, WithoutReachableServerCreateFormFailsWithConnectionMessage) {
    SetRegistryFilePath("/nonexistent/registry.reg");
    EXPECT_EQ(controller_->CreateForm(HostParams()), DLLStatusFailed);
    EXPECT_EQ(DialogTexts(), (std::vector<std::string>{"Message E000006"}));
    Application->ProcessMessages();
    EXPECT_TRUE(controller_->FormIsNil());
}

TEST_F(ControllerTest, SecondCreateFormOnLiveFormFailsSilentlyAndKeepsFirstParameters) {
    ASSERT_EQ(controller_->CreateForm(HostParams()), DLLStatusOk);
    EXPECT_EQ(controller_->CreateForm(VarArrayOf({"OTHER", "CO2", "DB2", 0, 0})), DLLStatusFailed);
    EXPECT_TRUE(DialogTexts().empty());
    Variant info;
    controller_->GetJobInfo(info);
    EXPECT_EQ(info[0], Variant("DS"));
    EXPECT_EQ(info[1], Variant("DEMO"));
    EXPECT_EQ(notifications_, (std::vector<int32_t>{DLLNotifyFormCreated}));
    Application->ProcessMessages();
    EXPECT_FALSE(controller_->FormIsNil());
}

TEST_F(ControllerTest, PresetCommandHandsOverExactlyAsSetPresetValues) {
    ASSERT_EQ(controller_->CreateForm(HostParams()), DLLStatusOk);
    struct Case {
        const char* name;
        Variant package;
        int32_t status;
    };
    const Case cases[] = {
        {"mode only", VarArrayOf({0}), DLLStatusOk},
        {"empty package is ignored", Variant::Null(), DLLStatusOk},
        {"mode that is no number raises inside the form", VarArrayOf({"x"}), DLLStatusFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(controller_->SetPresetValues(VarArrayOf({false, c.package})), c.status);
        EXPECT_EQ(controller_->SendCommand(5, c.package), c.status);
    }

    // Names of controls the form does not have: the form warns once per handed-over package.
    const Variant unknownNames = VarArrayOf({1, VarArrayOf({true, VarArrayOf({VarArrayOf({VarArrayOf({"cap", "edNone"})}),
                                                                               VarArrayOf({"v"})})})});
    EXPECT_EQ(controller_->SendCommand(4, unknownNames), DLLStatusFailed);
    EXPECT_TRUE(DialogTexts().empty()) << "an unknown command changes nothing";
    EXPECT_EQ(controller_->SendCommand(5, unknownNames), DLLStatusOk);
    EXPECT_EQ(DialogTexts(), (std::vector<std::string>{"Message W000014"}));
}

TEST_F(ControllerTest, SetPresetValuesRefusesWhatIsNoPresetArray) {
    ASSERT_EQ(controller_->CreateForm(HostParams()), DLLStatusOk);
    for (const Variant& values : {Variant::Null(), Variant(), Variant(42), VarArrayOf({false}), VarArrayCreate(0, 1, 0, 1)})
        EXPECT_EQ(controller_->SetPresetValues(values), DLLStatusFailed) << values.TypeName();
}

// Handlers the form had before the controller hooked it still run, each before its notification.
TEST_F(ControllerTest, FormsOwnHandlersRunBeforeTheNotification) {
    std::string captionAtShow;
    controller_->OnNotify = [&](int32_t code, TDLLBaseController*) {
        log_.push_back(std::to_string(code));
        if (code == DLLNotifyFormShown) captionAtShow = Form()->Caption();
        if (code != DLLNotifyFormCreated) return;
        TCustomForm* form = Form();
        ASSERT_NE(form, nullptr);
        const TNotifyEvent show = form->OnShow, hide = form->OnHide, destroy = form->OnDestroy;
        form->OnShow = [&, show](TObject* sender) { show(sender); log_.push_back("own show"); };
        form->OnHide = [&, hide](TObject* sender) { hide(sender); log_.push_back("own hide"); };
        form->OnDestroy = [&, destroy](TObject* sender) { destroy(sender); log_.push_back("own destroy"); };
    };
    ASSERT_EQ(controller_->CreateForm(HostParams()), DLLStatusOk);
    controller_->SetFormVisible(-1);
    controller_->SetFormVisible(0);
    controller_->FreeForm();
    EXPECT_EQ(log_, (std::vector<std::string>{"256", "own show", "272", "own hide", "288", "own destroy", "304"}));
    EXPECT_EQ(captionAtShow, "ZPNR42[演示公司]") << "the form's own show handler ran before 272";
}

TEST_F(ControllerTest, DestroyingTheControllerFreesTheLiveFormAndReportsFirst) {
    ASSERT_EQ(controller_->CreateForm(HostParams()), DLLStatusOk);
    bool formForgotten = false;
    controller_->OnNotify = [&](int32_t code, TDLLBaseController* sender) {
        if (code == DLLNotifyFormDestroyed) formForgotten = sender->FormIsNil();
        notifications_.push_back(code);
    };
    delete controller_;
    controller_ = nullptr;
    EXPECT_EQ(notifications_, (std::vector<int32_t>{DLLNotifyFormCreated, DLLNotifyFormDestroyed}));
    EXPECT_TRUE(formForgotten);
}

// A host may free the controller from inside its 304 callback.
TEST_F(ControllerTest, HostMayFreeTheControllerInItsDestroyNotification) {
    ASSERT_EQ(controller_->CreateForm(HostParams()), DLLStatusOk);
    controller_->SetFormVisible(-1);
    controller_->OnNotify = [&](int32_t code, TDLLBaseController* sender) {
        notifications_.push_back(code);
        if (code == DLLNotifyFormDestroyed) {
            delete sender;
            controller_ = nullptr;
        }
    };
    Form()->Close();
    Application->ProcessMessages();
    EXPECT_EQ(notifications_.back(), DLLNotifyFormDestroyed);
    EXPECT_EQ(controller_, nullptr);
}

// The form's own code is still running below a notification, so freeing from the callback lets
// the form go at the next message processing.
TEST_F(ControllerTest, HostMayFreeTheFormFromANotification) {
    for (const int32_t trigger : {DLLNotifyFormCreated, DLLNotifyFormShown, DLLNotifyFormHidden}) {
        SCOPED_TRACE(trigger);
        notifications_.clear();
        controller_->OnNotify = [&](int32_t code, TDLLBaseController* sender) {
            notifications_.push_back(code);
            if (code == trigger) {
                sender->FreeForm();
                sender->FreeForm();
            }
        };
        controller_->CreateForm(HostParams());
        controller_->SetFormVisible(-1);
        controller_->SetFormVisible(0);
        Application->ProcessMessages();
        EXPECT_TRUE(controller_->FormIsNil());
        EXPECT_EQ(notifications_.back(), DLLNotifyFormDestroyed);
        EXPECT_EQ(std::count(notifications_.begin(), notifications_.end(), DLLNotifyFormDestroyed), 1);
    }
}

TEST_F(ControllerTest, HostMayFreeTheControllerFromANotification) {
    delete controller_;
    for (const int32_t trigger : {DLLNotifyFormCreated, DLLNotifyFormShown}) {
        SCOPED_TRACE(trigger);
        notifications_.clear();
        controller_ = PluginLibrary::Instance().NewController();
        controller_->OnNotify = [&](int32_t code, TDLLBaseController* sender) {
            notifications_.push_back(code);
            if (code == trigger) {
                delete sender;
                controller_ = nullptr;
            }
        };
        TDLLBaseController* controller = controller_;
        const int32_t status = controller->CreateForm(HostParams());
        if (controller_) {
            EXPECT_EQ(status, DLLStatusOk);
            controller_->SetFormVisible(-1);
        } else {
            EXPECT_EQ(status, DLLStatusFailed);
        }
        EXPECT_EQ(controller_, nullptr);
        Application->ProcessMessages();
        EXPECT_EQ(notifications_.back(), trigger) << "nothing reaches a freed controller";
        EXPECT_EQ(Screen->FormCount(), 0) << "the form went with it";
    }
}

TEST_F(ControllerTest, ShowingRestoresAMinimizedFormAndBringsItToTheFront) {
    ASSERT_EQ(controller_->CreateForm(HostParams()), DLLStatusOk);
    controller_->SetFormVisible(-1);
    Form()->SetWindowState(wsMinimized);
    controller_->SetFormVisible(-1);
    EXPECT_EQ(Form()->WindowState(), wsNormal);
    EXPECT_EQ(Screen->ActiveForm(), Form());

    Form()->SetWindowState(wsMinimized);
    controller_->SetFormVisible(0);
    EXPECT_EQ(Form()->WindowState(), wsMinimized) << "hiding only hides";
}

TEST_F(ControllerTest, ModalShowAnswersTheModalResultAndCancelClosesTheForm) {
    ASSERT_EQ(controller_->CreateForm(HostParams()), DLLStatusOk);
    HeadlessModalDriver().QueueResult(mrOk);
    Variant result;
    controller_->ShowFormModal(result);
    EXPECT_EQ(result, Variant(mrOk));

    HeadlessModalDriver().QueueAction([](TCustomForm& form) {
        dynamic_cast<TControl*>(form.FindComponent("btnCancel"))->Click();
    });
    controller_->ShowFormModal(result);
    EXPECT_EQ(result, Variant(mrCancel));
    Application->ProcessMessages();
    EXPECT_TRUE(controller_->FormIsNil()) << "a job form frees itself when it closes";
    EXPECT_EQ(notifications_.back(), DLLNotifyFormDestroyed);
}

}  // namespace
}  // namespace krv
