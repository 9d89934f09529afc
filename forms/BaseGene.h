// The generic job form from which every job form of the family derives: it takes the host's
// parameters, attaches the host's services, derives the program's identity from the module's
// file name, connects to the application server, reports messages and keeps the system settings.
// Descendants extend it through the overridable operations, in the order declared below.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "forms/KRForm.h"
#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/Variant.h"

namespace krv {

// The form's link to the application server: where it is, which object it serves, and the
// server object it yields. On the local machine the object is created in this process and set
// from outside while the link stays closed.
class TServerConnection {
public:
    std::string Address;
    int Port = 0;
    std::string ServerName;

    bool Connected() const { return connected_; }
    // Raises when the server cannot be reached.
    void Open();
    void Close();
    const Variant& AppServer() const { return appServer_; }
    void SetAppServer(const Variant& server) { appServer_ = server; }

private:
    bool connected_ = false;
    Variant appServer_;
};

class TfrmBaseGene : public TKRForm {
    KRV_CLASS(TfrmBaseGene)
    explicit TfrmBaseGene(TComponent* owner);
    ~TfrmBaseGene() override;

    // ---- overridable operations -----------------------------------------------------------------
    virtual void InitProgramSettings();
    virtual void ConnectHostServices();
    // Takes the host's parameter array; false when the form cannot serve (it has then shown its
    // message and asked to be closed). A form initializes once.
    virtual bool Initialize(const Variant& params);
    // Preset values by control (base: refused).
    virtual bool ApplyPresetValues(const Variant& values);
    virtual void ConfigureConnection(TServerConnection& connection);
    // Runs a preset of mode 3 and above (base: nothing to run).
    virtual bool RunPreset(int mode);
    virtual void AttachCounterAndValidator();
    virtual void AttachLookupService();

    // ---- program identity ---------------------------------------------------------------------
    // Stores the module's path; a stand-alone build starts the form itself.
    void SetModuleFileName(const std::string& path);
    // The module is a library (".Dll", or the platform's ".so"), not a program.
    bool IsLibraryBuild() const;
    std::string ProgramCodeFromFile() const;
    void SetProgramCode(const std::string& code);
    void SetOwnOptionCount(int count);
    std::string LookupProgramName();
    void SetCaptionName(const std::string& name);
    void SetUserParams(const Variant& params);

    // ---- messages -----------------------------------------------------------------------------
    // Logs and shows a message by id text: type letter ";" six-digit number [";" argument ...].
    void ReportMessage(const std::string& idText);
    // Logs an error text without showing it.
    void ReportError(const std::string& text);
    std::string GetMessageText(const std::string& type, const std::string& number);
    int ShowDialog(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons);
    int ShowMessageFmt(const std::string& type, const std::string& number, const Variant& arguments,
                       TMsgDlgButtons buttons);

    // ---- system settings ----------------------------------------------------------------------
    // An empty name loads the settings from the counter service and answers "".
    std::string GetSystemSetting(const std::string& name);
    int GetDateStyle();
    std::string GetDateSeparator();
    Variant ToDisplay(const Variant& value) const;
    Variant ToUIText(const Variant& value) const;

    // ---- presets from the host ----------------------------------------------------------------
    // The package is [mode, [by name, [texts, values]]]. May raise on a malformed package.
    void ApplyPresetPackage(const Variant& package);
    bool ValidatePresetNames(const Variant& values);

    // ---- published handlers -------------------------------------------------------------------
    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void FormDestroy(TObject* sender);
    void btnOkClick(TObject* sender);
    void btnCancelClick(TObject* sender);

    // ---- fields -------------------------------------------------------------------------------
    Variant HostServices;
    Variant LookupService;
    Variant ValidatorService;
    Variant CounterService;
    int DateStyle = 0;
    std::string DateSeparator;
    uint8_t ServiceFlags = 0;
    std::string UserId;
    std::string CompanyId;
    std::string DatabaseName;
    std::string CompanyName;
    std::string Revision;
    std::unique_ptr<TStringList> SystemSettings;
    std::string ServerClassName;
    int EnvironmentCount = 0;
    std::string CaptionName;
    int OptionCount = 0;
    std::string ProgramCode;
    std::string ProgramName;
    std::string ProgramType;
    int FrameworkOptionCount = 0;
    Variant OptionPackage;
    std::string MessageIdLog;
    std::string MessageTextLog;
    Variant PresetPackage;
    bool PresetByName = false;
    bool PresetAccepted = false;
    HWND HostWindow = 0;
    bool PageChanging = false;
    Variant ResultText;
    int32_t ResultState = 0;
    Variant AppServer;
    Variant HostExtra;
    int ProductNumber = 0;
    bool ShowSubmitMessage = false;
    bool WantLog = false;
    std::string ModuleFileName;
    bool LocalServer = false;

    // ---- components ---------------------------------------------------------------------------
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;
    TServerConnection MainMidas;

protected:
    // Takes the server's address from the client settings; false when it cannot.
    virtual bool ConfigureServerAddress();
    // Connects to the server named by the connection; false on failure.
    virtual bool ConnectServer();
    // The control that has the focus is the Cancel button: messages are suppressed then.
    bool CancelFocused() const;
    // Posts a close request: the form closes (and frees itself) at the next message processing.
    void PostCloseRequest();

private:
    void BuildScreen();
    bool ServesProgramCode() const;
    bool ConnectToServer();
    void LoadSystemSettings();
    bool initialized_ = false;
};

}  // namespace krv
