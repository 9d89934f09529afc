// krvhost: the reference host. It loads the job module by path, obtains its controller, installs
// its services and a notification callback, creates and shows the job form with a default
// parameter array, processes messages, frees the form and prints each notification and the
// results. It frees the controller only after the form's last notification has returned.
//
//   krvhost [--modal] [--module PATH] [user company database]
//
// When the registry file in use (KRV_REGISTRY_FILE, else the default path) does not exist, the
// host prepares a throw-away installation folder: settings that name the local machine as the application server
// (created in this process) and the job's server module in the server modules' folder.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "host/HostServices.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/DynLib.h"
#include "platform/Forms.h"
#include "platform/Registry.h"
#include "platform/SysUtils.h"
#include "plugin/DLLBaseCtrller.h"
#include "server/AppServer.h"

namespace krv {
namespace {

namespace fs = std::filesystem;

struct Options {
    bool modal = false;
    std::string modulePath;
    std::string user = "DS", company = "DEMO", database = "DEMO";
};

// GB text of the module, shown on a UTF-8 console.
std::string Console(const std::string& text) { return AnsiToUtf8(text); }

std::string HostFolder() {
    std::error_code ignored;
    return fs::read_symlink("/proc/self/exe", ignored).parent_path().string() + "/";
}

bool ParseOptions(int argc, char** argv, Options& options) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--modal") {
            options.modal = true;
        } else if (arg == "--module" && i + 1 < argc) {
            options.modulePath = argv[++i];
        } else if (arg.rfind("--", 0) == 0) {
            std::cerr << "unknown option " << arg << "\n"
                      << "usage: krvhost [--modal] [--module PATH] [user company database]\n";
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() > 0) options.user = Utf8ToAnsi(positional[0]);
    if (positional.size() > 1) options.company = Utf8ToAnsi(positional[1]);
    if (positional.size() > 2) options.database = Utf8ToAnsi(positional[2]);
    if (options.modulePath.empty()) options.modulePath = HostFolder() + "ZPNR42C.so";
    return true;
}

// A throw-away installation for a machine without settings; removed when the host ends.
class TDefaultInstallation {
public:
    TDefaultInstallation() {
        if (fs::exists(RegistryFilePath())) return;
        std::string pattern = (fs::temp_directory_path() / "krvhost-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return;
        folder_ = pattern;
        const std::string home = folder_.string() + "/";
        std::ofstream(folder_ / "registry.reg") << "REGEDIT4\r\n\r\n"
                                                << "[HKEY_LOCAL_MACHINE\\Software\\KRV\\Corvantis]\r\n"
                                                << "\"ClientPath\"=\"" << home << "\"\r\n"
                                                << "\"ServerPath\"=\"" << home << "\"\r\n"
                                                << "\"ProfileType\"=\"0\"\r\n";
        std::ofstream(folder_ / "CorvantisC.ini") << "[Server Information]\r\nComputerName=127.0.0.1\r\n";
        std::ofstream(folder_ / "CorvantisS.ini") << "[Server Information]\r\nComputerName=127.0.0.1\r\n";
        std::error_code ignored;
        fs::create_directories(folder_ / "S_PKG", ignored);
        fs::create_symlink(HostFolder() + "ZPNR42S.so", folder_ / "S_PKG" / "ZPNR42S.so", ignored);
        SetRegistryFilePath((folder_ / "registry.reg").string());
        std::cout << "installation folder: " << home << "\n";
    }
    ~TDefaultInstallation() {
        if (folder_.empty()) return;
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

private:
    fs::path folder_;
};

// Dialogs answer as the headless driver does (the default button) and are printed, so a person
// at the console sees what the form said.
class TConsoleDialogDriver : public TDialogDriver {
public:
    int ShowDialog(TMessageForm& dialog) override {
        const int result = HeadlessDialogDriver().ShowDialog(dialog);
        Print();
        return result;
    }
    int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) override {
        const int result = HeadlessDialogDriver().ShowMessageBox(text, caption, flags);
        Print();
        return result;
    }

private:
    static void Print() {
        const TDialogRecord& shown = HeadlessDialogDriver().Records().back();
        std::string text = Console(shown.text);
        for (char& c : text)
            if (c == '\r') c = '\n';
        std::cout << "dialog [" << Console(shown.caption) << "]: " << text << " -> " << shown.result << "\n";
    }
};

const char* NotificationName(int32_t code) {
    switch (code) {
        case DLLNotifyFormCreated: return "form created";
        case DLLNotifyFormShown: return "form shown";
        case DLLNotifyFormHidden: return "form hidden";
        case DLLNotifyFormDestroyed: return "form destroyed";
        case DLLNotifyReserved: return "reserved";
        default: return "unknown";
    }
}

void PrintResults(const TDLLBaseController& controller) {
    std::cout << "ResultCode: " << controller.ResultCode << "\n"
              << "ResultValue: "
              << (controller.ResultValue.IsEmpty() ? std::string("(unassigned)")
                                                   : Console(VarToStr(controller.ResultValue)))
              << "\n";
}

void PrintJob(TDLLBaseController& controller) {
    std::u16string revision;
    controller.GetRevision(revision);
    std::cout << "revision: " << WideToUtf8(revision) << "\n";
    Variant info;
    if (controller.GetJobInfo(info) != DLLStatusOk) return;
    std::cout << "job: user " << Console(VarToStr(info[0])) << ", company " << Console(VarToStr(info[1]))
              << ", program " << Console(VarToStr(info[2])) << " " << Console(VarToStr(info[3])) << "\n";
}

void ProcessMessages() { Application->ProcessMessages(); }

// Shows the form as the shell does, lets it run and frees it.
void RunForm(TDLLBaseController& controller, const Options& options) {
    if (options.modal) {
        Variant result;
        controller.ShowFormModal(result);
        std::cout << "modal result: " << VarToStr(result) << "\n";
    } else {
        controller.SetFormVisible(1);
        std::cout << "form visible: " << (controller.IsFormVisible() == DLLTrue ? "yes" : "no") << "\n";
        ProcessMessages();
    }
    if (!controller.FormIsNil()) PrintJob(controller);
    controller.FreeForm();
}

int RunHost(const Options& options) {
    HMODULE module = LoadLibrary(options.modulePath);
    if (!module) {
        std::cerr << "cannot load " << options.modulePath << ": " << LastLibraryError() << "\n";
        return 1;
    }
    // The module stays loaded until the process ends: the platform may still hold its objects.
    auto getController = reinterpret_cast<TGetControllerFunc>(GetProcAddress(module, "GetController"));
    if (!getController) {
        std::cerr << options.modulePath << " has no export GetController\n";
        return 1;
    }
    std::unique_ptr<TDLLBaseController> controller(getController());
    controller->HostServices = Variant(DispatchPtr(std::make_shared<THostServices>()));
    bool destroyed = false;
    controller->OnNotify = [&destroyed](int32_t code, TDLLBaseController* sender) {
        std::cout << "notification " << code << " (" << NotificationName(code) << ")\n";
        if (code != DLLNotifyFormDestroyed) return;
        PrintResults(*sender);
        destroyed = true;  // the controller is freed after this callback has returned
    };

    Variant params = VarArrayOf({options.user, options.company, options.database, 0, ""});
    const int32_t status = controller->CreateForm(params);
    std::cout << "CreateForm: " << status << "\n";
    ProcessMessages();  // a failed initialization has posted its close request
    if (!controller->FormIsNil()) RunForm(*controller, options);
    ProcessMessages();
    if (!destroyed) std::cout << "the form was never destroyed\n";
    PrintResults(*controller);
    controller.reset();
    return 0;
}

}  // namespace
}  // namespace krv

int main(int argc, char** argv) {
    krv::Options options;
    if (!krv::ParseOptions(argc, argv, options)) return 2;
    krv::TDefaultInstallation installation;
    krv::RegisterAppServer();
    krv::TConsoleDialogDriver dialogs;
    krv::SetDialogDriver(&dialogs);
    int exitCode = 1;
    try {
        exitCode = krv::RunHost(options);
    } catch (const krv::Exception& e) {
        std::cerr << "error: " << krv::Console(e.Message()) << "\n";
    } catch (const std::exception& e) {
        std::cerr << "error: " << e.what() << "\n";
    }
    krv::SetDialogDriver(nullptr);
    return exitCode;
}
