#include "forms/BaseGene.h"

#include <algorithm>
#include <vector>

#include "forms/OuterServices.h"
#include "platform/ComObj.h"
#include "platform/SysUtils.h"
#include "platform/TypInfo.h"
#include "runtime/CorvantisINI.h"
#include "runtime/LibStrs.h"

namespace krv {

namespace {

constexpr int kMessageArgumentCount = 10;
constexpr const char* kRevision = "870401-0.00.00";
// The object a stand-alone build asks for in place of the host's services.
constexpr const char* kStandAloneHostServices = "VantorWorkCenter.Manager";
// The application server that the job forms talk to.
constexpr const char* kAppServerName = "ZezuzuVavorarA.dmReportCounter";

std::string ErrorText(const std::exception& error) {
    if (const auto* known = dynamic_cast<const Exception*>(&error))
        return known->Message().empty() ? known->ClassName() : known->Message();
    return *error.what() ? error.what() : "Exception";
}

// Splits "T;000013;a;b" into its fields; fields past the last argument slot stay joined with
// their ";" in that slot.
std::vector<std::string> SplitIdText(const std::string& idText) {
    constexpr size_t kMaxFields = 2 + kMessageArgumentCount;
    std::vector<std::string> fields;
    size_t start = 0;
    while (fields.size() + 1 < kMaxFields) {
        const size_t semicolon = idText.find(';', start);
        if (semicolon == std::string::npos) break;
        fields.push_back(idText.substr(start, semicolon - start));
        start = semicolon + 1;
    }
    fields.push_back(idText.substr(start));
    return fields;
}

TMsgDlgType DialogKindOf(const std::string& type) {
    const std::string letter = UpperCase(type);
    if (letter == "C" || letter == "D" || letter == "W") return mtWarning;
    if (letter == "E") return mtError;
    if (letter == "I") return mtInformation;
    if (letter == "Q") return mtConfirmation;
    return mtCustom;
}

TMsgDlgButtons DefaultButtonsOf(const std::string& type) {
    const std::string letter = UpperCase(type);
    if (letter == "C" || letter == "Q" || letter == "W") return mbOKCancel;
    if (letter == "D") return mbYesNoCancel;
    return TMsgDlgButtons{mbOK};
}

// The message text with its arguments; when they do not fit, the text and the arguments as
// they came, so nothing the caller meant to say is lost.
std::string FormatMessage(const std::string& text, const std::vector<Variant>& arguments) {
    try {
        return Format(text, arguments);
    } catch (const Exception&) {
        std::string fallback = text + "\r";
        for (const Variant& argument : arguments) fallback += VarToStr(argument) + ";";
        return fallback;
    }
}

std::vector<Variant> ArgumentsOf(const Variant& arguments) {
    std::vector<Variant> list;
    if (VarIsArray(arguments))
        list = arguments.Elements();
    else if (!arguments.IsEmpty() && !arguments.IsNull())
        list.push_back(arguments);
    return list;
}

// Whether the "; "-separated log holds the text as a whole entry.
bool LogHoldsEntry(const std::string& log, const std::string& text) {
    const std::string entry = text + "; ";
    return log.compare(0, entry.size(), entry) == 0 || log.find("; " + entry) != std::string::npos;
}

// Element of a one-dimensional array that may be shorter than expected; empty when missing.
const Variant& ElementOr(const Variant& array, int index) {
    static const Variant missing;
    if (!VarIsArray(array) || array.DimCount() != 1 || index < array.LowBound() || index > array.HighBound())
        return missing;
    return array[index];
}

}  // namespace

// ---- server connection -------------------------------------------------------------------------

void TServerConnection::Open() {
    if (connected_) return;
    if (Address.empty()) throw Exception("No application server address configured");
    // The socket transport to a remote application server is not part of this build.
    throw Exception(Format("Cannot connect to the application server at %s:%d", {Address, Port}));
}

void TServerConnection::Close() { connected_ = false; }

// ---- the form ----------------------------------------------------------------------------------

const TClassInfo& TfrmBaseGene::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TfrmBaseGene>("TfrmBaseGene", TKRForm::StaticClassInfo())
                                       .Creatable()
                                       .Method("FormCreate", &TfrmBaseGene::FormCreate)
                                       .Method("FormShow", &TfrmBaseGene::FormShow)
                                       .Method("FormClose", &TfrmBaseGene::FormClose)
                                       .Method("FormDestroy", &TfrmBaseGene::FormDestroy)
                                       .Method("btnOkClick", &TfrmBaseGene::btnOkClick)
                                       .Method("btnCancelClick", &TfrmBaseGene::btnCancelClick)
                                       .Bool("WantLog", [](TfrmBaseGene* f) { return f->WantLog; })
                                       .Build();
    return info;
}

TfrmBaseGene::TfrmBaseGene(TComponent* owner) : TKRForm(owner) {
    BuildScreen();
    // The application server is the same for every job of the family.
    MainMidas.ServerName = kAppServerName;
    OnCreate = TNotifyEvent(this, &TfrmBaseGene::FormCreate);
    OnShow = TNotifyEvent(this, &TfrmBaseGene::FormShow);
    OnClose = TCloseEvent(this, &TfrmBaseGene::FormClose);
    OnDestroy = TNotifyEvent(this, &TfrmBaseGene::FormDestroy);
}

TfrmBaseGene::~TfrmBaseGene() = default;

void TfrmBaseGene::BuildScreen() {
    BeginLoading();
    SetName("frmBaseGene");
    SetBounds(0, 0, 509, 355);
    SetBorderIcons(TBorderIcons{biMaximize});

    btnOk = new TButton(this);
    btnOk->SetName("btnOk");
    btnOk->SetParent(this);
    btnOk->SetBounds(330, 320, 75, 25);
    btnOk->SetCaption("确定");
    btnOk->SetHint("确定");
    btnOk->SetTabOrder(0);
    btnOk->OnClick = TNotifyEvent(this, &TfrmBaseGene::btnOkClick);

    btnCancel = new TButton(this);
    btnCancel->SetName("btnCancel");
    btnCancel->SetParent(this);
    btnCancel->SetBounds(415, 320, 75, 25);
    btnCancel->SetCaption("取消");
    btnCancel->SetHint("取消");
    btnCancel->SetCancel(true);
    btnCancel->SetModalResult(mrCancel);
    btnCancel->SetTabOrder(1);
    btnCancel->OnClick = TNotifyEvent(this, &TfrmBaseGene::btnCancelClick);
    EndLoading();
}

void TfrmBaseGene::FormCreate(TObject* sender) {
    TKRForm::FormCreate(sender);
    Application->SetHintHidePause(500000);
    Revision = kRevision;
    CompanyId.clear();
    ProgramCode.clear();
    ProgramName.clear();
    PageChanging = false;
    ShowSubmitMessage = true;
}

void TfrmBaseGene::FormShow(TObject* sender) {
    TKRForm::FormShow(sender);
    SetCaption(CaptionName + "[" + CompanyName + "]");
    TranslateForm();
}

void TfrmBaseGene::FormClose(TObject*, TCloseAction& action) { action = caFree; }

void TfrmBaseGene::FormDestroy(TObject*) {
    SystemSettings.reset();
    LookupService.Clear();
    ValidatorService.Clear();
    CounterService.Clear();
    if (!LocalServer) MainMidas.Close();
    MainMidas.SetAppServer(Variant());
    AppServer.Clear();
    HostServices.Clear();
}

void TfrmBaseGene::btnOkClick(TObject*) {}

void TfrmBaseGene::btnCancelClick(TObject*) { Close(); }

// ---- initialization ----------------------------------------------------------------------------

bool TfrmBaseGene::Initialize(const Variant& params) {
    if (initialized_) return false;
    initialized_ = true;
    try {
        SystemSettings = std::make_unique<TStringList>();
        LookupService.Clear();
        ValidatorService.Clear();
        CounterService.Clear();
        FrameworkOptionCount = 1;
        ReportError("");
        PresetPackage = Variant::Null();
        PresetByName = true;
        PresetAccepted = false;

        // Anything but an array counts as an empty parameter array.
        const int high = VarIsArray(params) ? params.HighBound() : -1;
        HostWindow = high >= 3 ? static_cast<HWND>(params[3].AsInt64()) : 0;
        if (high >= 4) {
            HostExtra = params[4];
        } else {
            ReportMessage("E;000038");
            PostCloseRequest();
        }
        Hide();
        SetUserParams(params);
        ConnectHostServices();
        if (!ServesProgramCode()) {
            ReportMessage("E;000036");
            PostCloseRequest();
            return false;
        }
        if (!ConnectToServer()) {
            ReportMessage("E;000006");
            PostCloseRequest();
            return false;
        }
        return true;
    } catch (const std::exception& error) {
        ReportError(ErrorText(error));
        return false;
    }
}

// A job's own form serves only the program its class is named after ("TfrmZpnr42": ZPNR42); the
// framework's forms serve every program.
bool TfrmBaseGene::ServesProgramCode() const {
    const std::string className = ClassName();
    for (const char* framework : {"TfrmBaseGene", "TfrmBaseOpt", "TfrmBaseBatch"})
        if (SameText(className, framework)) return true;
    const std::string prefix = "Tfrm";
    const std::string formName = SameText(Copy(className, 1, 4), prefix) ? className.substr(prefix.size()) : className;
    return SameText(ProgramCode, formName);
}

bool TfrmBaseGene::ConnectToServer() {
    MainMidas.Close();
    if (!ConfigureServerAddress()) return false;
    ConfigureConnection(MainMidas);
    if (!MainMidas.ServerName.empty()) ConnectServer();
    return !AppServer.IsEmpty();
}

// A short array leaves the missing texts empty: the failure it causes has been reported already.
void TfrmBaseGene::SetUserParams(const Variant& params) {
    UserId = VarToStr(ElementOr(params, 0));
    CompanyId = VarToStr(ElementOr(params, 1));
    DatabaseName = VarToStr(ElementOr(params, 2));
}

void TfrmBaseGene::ConnectHostServices() {
    AttachCounterAndValidator();
    ProductNumber = THostServicesCall::ProductID(HostServices);
    InitProgramSettings();
    AttachLookupService();
}

void TfrmBaseGene::AttachCounterAndValidator() {
    if (!IsLibraryBuild()) {
        try {
            HostServices = CreateOleObject(kStandAloneHostServices);
        } catch (const std::exception&) {
            HostServices.Clear();
        }
    }
    try {
        CounterService = THostServicesCall::Com_Counter(HostServices);
        GetSystemSetting("");
        CompanyName = GetSystemSetting("KRV002");
    } catch (const std::exception&) {
        CounterService.Clear();
    }
    try {
        ValidatorService = THostServicesCall::Com_Validator(HostServices);
    } catch (const std::exception&) {
        ValidatorService.Clear();
    }
}

void TfrmBaseGene::AttachLookupService() {
    if ((ServiceFlags & 4) == 0) return;
    try {
        LookupService = THostServicesCall::Com_F2Window(HostServices);
    } catch (const std::exception&) {
        LookupService.Clear();
    }
}

void TfrmBaseGene::InitProgramSettings() {
    ProgramType = "R";
    EnvironmentCount = 9;
    ServiceFlags = 0;
    SetProgramCode(ProgramCodeFromFile());
    SetOwnOptionCount(0);
}

void TfrmBaseGene::ConfigureConnection(TServerConnection&) {}

bool TfrmBaseGene::ConfigureServerAddress() {
    // A message reported earlier in the initialization is shown again: it names the real cause.
    if (!MessageIdLog.empty()) {
        ReportMessage(MessageIdLog);
        return false;
    }
    try {
        const TCorvantisIniC settings;
        const Variant& servers = settings.ServerList;
        if (VarIsNonEmptyArray(servers)) {
            // The first configured server.
            const int row = servers.LowBound(1), column = servers.LowBound(2);
            MainMidas.Address = VarToStr(servers.At(row, column));
            MainMidas.Port = servers.At(row + 1, column).AsInteger();
        }
        return true;
    } catch (const std::exception& error) {
        ReportError(ErrorText(error));
        return false;
    }
}

bool TfrmBaseGene::ConnectServer() {
    try {
        AppServer.Clear();
        MainMidas.Close();
        LocalServer = IsLoopbackAddress(MainMidas.Address);
        if (LocalServer) {
            MainMidas.SetAppServer(CreateOleObject(MainMidas.ServerName));
            AppServer = MainMidas.AppServer();
        } else {
            MainMidas.Open();
            if (MainMidas.Connected()) AppServer = MainMidas.AppServer();
        }
        return true;
    } catch (const std::exception& error) {
        ReportError(ErrorText(error));
        return false;
    }
}

void TfrmBaseGene::PostCloseRequest() { Application->PostMessage(this, WM_CLOSE); }

// ---- program identity --------------------------------------------------------------------------

void TfrmBaseGene::SetModuleFileName(const std::string& path) {
    ModuleFileName = path;
    if (IsLibraryBuild()) return;
    // Built into a program for trials: start as a host would, with fixed parameters.
    Initialize(VarArrayOf({"DS", "DEMO", "DEMO", 0, Variant()}));
}

bool TfrmBaseGene::IsLibraryBuild() const {
    const std::string extension = ExtractFileExt(ModuleFileName);
    return SameText(extension, ".Dll") || SameText(extension, ".so");
}

std::string TfrmBaseGene::ProgramCodeFromFile() const {
    const std::string name = ExtractFileName(ModuleFileName);
    const int suffix = IsLibraryBuild() ? 1 : 2;
    const int length = static_cast<int>(name.size() - ExtractFileExt(name).size()) - suffix;
    return Copy(name, 1, std::max(length, 6));
}

void TfrmBaseGene::SetProgramCode(const std::string& code) {
    ProgramCode = UpperCase(code);
    ServerClassName = ProgramCode + "S.Class1";
    CaptionName = LookupProgramName();
}

void TfrmBaseGene::SetOwnOptionCount(int count) {
    OptionCount = OptionCount <= FrameworkOptionCount ? count + FrameworkOptionCount : count;
}

std::string TfrmBaseGene::LookupProgramName() {
    std::string name;
    try {
        Variant table("ADMMB"), queryId("01"), database(DatabaseName), keys(VarArrayOf({ProgramCode})), result;
        WantLog = false;
        if (TValidatorCall::CheckValue(ValidatorService, table, queryId, database, keys, result)) {
            // The answer is the row, or an array of rows.
            const Variant& first = ElementOr(result, 0);
            const Variant& row = VarIsArray(first) ? first : result;
            name = VarToStr(ElementOr(row, 0));
            WantLog = VarToStr(ElementOr(row, 4)) == "Y";
            if (VarIsArray(row) && row.HighBound() - row.LowBound() + 1 >= 8 && GetUICodePage() == "437")
                name = VarToStr(ElementOr(row, 7));
        }
    } catch (const std::exception&) {
        name = ProgramCode;
        WantLog = false;
    }
    ProgramName = name;
    return name;
}

void TfrmBaseGene::SetCaptionName(const std::string& name) {
    std::string shown = name;
    if (!IsLibraryBuild())
        shown += GetLangText("TfrmBaseGene", "sExeVer", "[您现在运行的是Exe版本!]", true);
    CaptionName = shown;
    SetCaption(shown + "[" + CompanyName + "]");
}

// ---- messages ----------------------------------------------------------------------------------

bool TfrmBaseGene::CancelFocused() const { return btnCancel && ActiveControl() == btnCancel; }

void TfrmBaseGene::ReportMessage(const std::string& idText) {
    if (CancelFocused()) return;
    if (idText.empty()) {
        MessageIdLog.clear();
        MessageTextLog.clear();
        return;
    }
    MessageIdLog += idText + "; ";

    const std::vector<std::string> fields = SplitIdText(idText);
    const std::string type = fields[0];
    std::string number = fields.size() > 1 ? fields[1] : "";
    std::vector<Variant> arguments(kMessageArgumentCount, Variant(std::string()));
    for (size_t i = 2; i < fields.size(); ++i) arguments[i - 2] = fields[i];

    int64_t value = 0;
    const bool shown = TryStrToInt64(number, value) && value > 0;
    // Log-only messages carry a sign (or are malformed): the lookup goes without it.
    if (!shown && !number.empty()) number.erase(0, 1);

    const std::string text = FormatMessage(GetMessageText(type, number), arguments);
    if (!LogHoldsEntry(MessageTextLog, text)) MessageTextLog += text + "; ";
    if (shown) ShowDialog(text, DialogKindOf(type), TMsgDlgButtons{mbOK});
}

void TfrmBaseGene::ReportError(const std::string& text) {
    if (CancelFocused()) return;
    const std::string trimmed = Trim(text);
    if (trimmed.empty()) {
        MessageIdLog.clear();
        MessageTextLog.clear();
        return;
    }
    MessageIdLog += "E;-1; ";
    if (!LogHoldsEntry(MessageTextLog, trimmed)) MessageTextLog += trimmed + "; ";
}

std::string TfrmBaseGene::GetMessageText(const std::string& type, const std::string& number) {
    std::string text;
    if (HostServices.IsEmpty() || HostServices.IsNull()) {
        text = Format("Can not Get Message\rType= %s, ID= %s ", {type, number});
    } else {
        try {
            text = THostServicesCall::GetMessage(HostServices, type, number);
        } catch (const std::exception& error) {
            text = Format("Can not Get Message\rType= %s, ID= %s ", {type, number});
            ReportError(ErrorText(error));
        }
    }
    return VarToStr(ToDisplay(text));
}

int TfrmBaseGene::ShowDialog(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons) {
    if (PageChanging && kind != mtError) return mrNone;
    TMessageForm* dialog = CreateMessageDialog(text, kind, buttons);
    int result = mrNone;
    try {
        dialog->SetCaption(Caption());
        if (GetUICodePage() != "437") {
            for (TComponent* component : dialog->ComponentList())
                if (auto* button = dynamic_cast<TMessageButton*>(component))
                    button->SetCaption(VarToStr(ToUIText(ChineseButtonCaption(button->Name()))));
        }
        result = dialog->ShowModal();
    } catch (...) {
        dialog->Free();
        throw;
    }
    dialog->Free();
    if (TWinControl* active = ActiveControl()) Application->PostMessage(active, WM_LBUTTONUP);
    return result;
}

int TfrmBaseGene::ShowMessageFmt(const std::string& type, const std::string& number, const Variant& arguments,
                                 TMsgDlgButtons buttons) {
    const std::string text = FormatMessage(GetMessageText(type, number), ArgumentsOf(arguments));
    return ShowDialog(text, DialogKindOf(type), buttons.Empty() ? DefaultButtonsOf(type) : buttons);
}

// ---- system settings ---------------------------------------------------------------------------

void TfrmBaseGene::LoadSystemSettings() {
    Variant company(CompanyId);
    const Variant answer = TCounterCall::GetSysInfo(CounterService, company);
    if (!VarIsArray(answer) || !SystemSettings) return;
    if (answer.DimCount() == 2) {
        for (int i = answer.LowBound(2); i <= answer.HighBound(2); ++i)
            SystemSettings->SetValues(VarToStr(answer.At(answer.LowBound(1), i)),
                                      VarToStr(answer.At(answer.LowBound(1) + 1, i)));
        return;
    }
    // Nested: [names, values].
    const Variant& names = ElementOr(answer, 0);
    const Variant& values = ElementOr(answer, 1);
    if (!VarIsArray(names)) return;
    for (int i = names.LowBound(); i <= names.HighBound(); ++i)
        SystemSettings->SetValues(VarToStr(names[i]), VarToStr(ElementOr(values, i)));
}

std::string TfrmBaseGene::GetSystemSetting(const std::string& name) {
    if (name.empty()) {
        if (!CounterService.IsEmpty()) LoadSystemSettings();
        return "";
    }
    std::string value = SystemSettings ? SystemSettings->Values(name) : "";
    if (value.empty()) {
        const std::string upper = UpperCase(name);
        const bool english = GetUICodePage() == "437";
        if (upper == "SYS007") value = english ? "Inv.Cate.1" : "商品分类方式一";
        if (upper == "SYS008") value = english ? "Inv.Cate.2" : "商品分类方式二";
        if (upper == "SYS009") value = english ? "Inv.Cate.3" : "商品分类方式三";
        if (upper == "SYS010") value = english ? "Inv.Cate.4" : "商品分类方式四";
    }
    return Converted ? VarToStr(ToDisplay(value)) : value;
}

int TfrmBaseGene::GetDateStyle() {
    const int style = StrToIntDef(GetSystemSetting("Sys001"), 1);
    DateStyle = style >= 1 && style <= 5 ? style : 1;
    return DateStyle;
}

std::string TfrmBaseGene::GetDateSeparator() {
    const std::string separator = GetSystemSetting("Sys002");
    DateSeparator = separator.empty() ? "/" : separator;
    return DateSeparator;
}

Variant TfrmBaseGene::ToDisplay(const Variant& value) const { return value; }

Variant TfrmBaseGene::ToUIText(const Variant& value) const {
    return value.IsText() ? Variant(DesignToScreen(VarToStr(value))) : value;
}

// ---- presets -----------------------------------------------------------------------------------

void TfrmBaseGene::ApplyPresetPackage(const Variant& package) {
    PresetPackage = package;
    if (!VarIsNonEmptyArray(package)) return;
    const int mode = std::max(ElementOr(package, 0).AsInteger(), 0);
    ShowSubmitMessage = mode == 0 || mode == 1;
    PresetAccepted = false;
    bool check = false;
    const Variant& named = ElementOr(package, 1);
    if (VarIsNonEmptyArray(named)) {
        PresetByName = ElementOr(named, 0).AsBoolean();
        const Variant& values = ElementOr(named, 1);
        if (VarIsNonEmptyArray(values)) {
            check = PresetByName ? ValidatePresetNames(values) : ApplyPresetValues(values);
            PresetAccepted = check && mode != 0;
        }
    }
    TranslateForm();
    if (mode > 2 && check) {
        RunPreset(mode);
    } else if (PresetAccepted) {
        btnOk->Click();
    }
}

bool TfrmBaseGene::ValidatePresetNames(const Variant& values) {
    const Variant& texts = ElementOr(values, 0);
    bool passed = VarIsNonEmptyArray(texts);
    if (passed) {
        for (const Variant& text : texts.Elements()) {
            auto* control = dynamic_cast<TControl*>(FindComponent(VarToStr(ElementOr(text, 1))));
            const bool known = control && (IsPublishedProp(control, "ItemIndex") || IsPublishedProp(control, "Checked") ||
                                           IsPublishedProp(control, "Text") || IsPublishedProp(control, "Lines"));
            passed = passed && known;
        }
    }
    ReportMessage(passed ? "" : "W;000014");
    return passed;
}

bool TfrmBaseGene::ApplyPresetValues(const Variant&) { return false; }

bool TfrmBaseGene::RunPreset(int) { return true; }

}  // namespace krv
