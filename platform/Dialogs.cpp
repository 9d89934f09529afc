#include "platform/Dialogs.h"

#include <algorithm>

namespace krv {

namespace {

struct ButtonInfo {
    const char* name;
    const char* caption;
    TModalResult result;
};

const ButtonInfo kButtons[] = {
    {"Yes", "&Yes", mrYes},           {"No", "&No", mrNo},
    {"OK", "OK", mrOk},               {"Cancel", "Cancel", mrCancel},
    {"Abort", "&Abort", mrAbort},     {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore},  {"All", "&All", mrAll},
    {"NoToAll", "N&o to All", mrNoToAll}, {"YesToAll", "Yes to &All", mrYesToAll},
    {"Help", "&Help", mrNone},
};

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 8;
constexpr int kMargin = 16;

// The dialog's text: a label without a window.
class TMessageLabel : public TGraphicControl {
    KRV_CLASS(TMessageLabel)
    explicit TMessageLabel(TComponent* owner) : TGraphicControl(owner) {}
};

}  // namespace

const TClassInfo& TMessageLabel::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TMessageLabel>("TMessageLabel", TGraphicControl::StaticClassInfo())
                                       .Str("Caption", &TMessageLabel::Caption, &TMessageLabel::SetCaption)
                                       .Object("Font", &TMessageLabel::Font, &TMessageLabel::SetFont)
                                       .Build();
    return info;
}

const char* MsgDlgButtonName(TMsgDlgBtn button) { return kButtons[button].name; }

TModalResult MsgDlgButtonResult(TMsgDlgBtn button) { return kButtons[button].result; }

std::string MsgDlgTypeCaption(TMsgDlgType type) {
    switch (type) {
    case mtWarning:
        return "Warning";
    case mtError:
        return "Error";
    case mtInformation:
        return "Information";
    case mtConfirmation:
        return "Confirm";
    default:
        return Application->Title();
    }
}

// ---- TMessageButton --------------------------------------------------------------------------

const TClassInfo& TMessageButton::StaticClassInfo() {
    using B = TMessageButton;
    static const TClassInfo info = TClassBuilder<B>("TMessageButton", TCustomControl::StaticClassInfo())
                                       .Creatable()
                                       .Str("Caption", &B::Caption, &B::SetCaption)
                                       .Int("ModalResult", &B::ModalResult, &B::SetModalResult)
                                       .Bool("Default", &B::Default, &B::SetDefault)
                                       .Bool("Cancel", &B::Cancel, &B::SetCancel)
                                       .Bool("Enabled", &B::Enabled, &B::SetEnabled)
                                       .Bool("Visible", &B::Visible, &B::SetVisible)
                                       .Int("TabOrder", &B::TabOrder, &B::SetTabOrder)
                                       .Event("OnClick", &B::OnClick)
                                       .Build();
    return info;
}

TMessageButton::TMessageButton(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }

void TMessageButton::Click() {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TCustomControl::Click();
}

bool TMessageButton::DialogKey(Word key, TShiftState shift) {
    if (!shift.Empty() || !CanFocus()) return false;
    bool enter = key == VK_RETURN && (Focused() || default_);
    bool escape = key == VK_ESCAPE && cancel_;
    if (!enter && !escape) return false;
    Click();
    return true;
}

// ---- TMessageForm ----------------------------------------------------------------------------

const TClassInfo& TMessageForm::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TMessageForm>("TMessageForm", TForm::StaticClassInfo()).Build();
    return info;
}

TMessageForm::TMessageForm(TComponent* owner, const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons)
    : TForm(owner), type_(type), buttons_(buttons) {
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetCaption(MsgDlgTypeCaption(type));

    auto* label = new TMessageLabel(this);
    label->SetName("Message");
    label->SetParent(this);
    label->SetCaption(text);
    int textWidth = FontTextWidth(*Font(), text);
    label->SetBounds(kMargin, kMargin, textWidth, FontLineHeight(*Font()));

    int count = 0;
    for (int b = mbYes; b <= mbHelp; ++b)
        if (buttons.Contains(static_cast<TMsgDlgBtn>(b))) ++count;
    int buttonsWidth = count * kButtonWidth + std::max(count - 1, 0) * kButtonGap;
    int clientWidth = std::max(textWidth, buttonsWidth) + 2 * kMargin;
    int buttonTop = label->Bottom() + kMargin;
    SetClientWidth(clientWidth);
    SetClientHeight(buttonTop + kButtonHeight + kMargin);

    int x = (clientWidth - buttonsWidth) / 2;
    for (int b = mbYes; b <= mbHelp; ++b) {
        auto btn = static_cast<TMsgDlgBtn>(b);
        if (!buttons.Contains(btn)) continue;
        auto* button = new TMessageButton(this);
        button->SetName(kButtons[b].name);
        button->SetParent(this);
        button->SetCaption(kButtons[b].caption);
        button->SetModalResult(kButtons[b].result);
        button->SetBounds(x, buttonTop, kButtonWidth, kButtonHeight);
        x += kButtonWidth + kButtonGap;
    }
    if (TMessageButton* def = DefaultButton()) {
        def->SetDefault(true);
        SetActiveControl(def);
    }
    if (TMessageButton* cancel = CancelButton()) cancel->SetCancel(true);
}

std::string TMessageForm::MessageText() const {
    auto* label = dynamic_cast<TControl*>(FindComponent("Message"));
    return label ? label->Caption() : std::string();
}

TMessageButton* TMessageForm::Button(TMsgDlgBtn button) const {
    return dynamic_cast<TMessageButton*>(FindComponent(kButtons[button].name));
}

TMessageButton* TMessageForm::DefaultButton() const {
    for (TMsgDlgBtn b : {mbOK, mbYes, mbRetry})
        if (buttons_.Contains(b)) return Button(b);
    return nullptr;
}

TMessageButton* TMessageForm::CancelButton() const {
    for (TMsgDlgBtn b : {mbCancel, mbNo, mbOK})
        if (buttons_.Contains(b)) return Button(b);
    return nullptr;
}

int TMessageForm::ShowModal() {
    TFormHandlerScope scope(this);
    int result = DialogDriver().ShowDialog(*this);
    SetModalResult(result);
    return result;
}

TMessageForm* CreateMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    return Create<TMessageForm>(nullptr, text, type, buttons);
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int) {
    std::unique_ptr<TMessageForm, void (*)(TMessageForm*)> dialog(CreateMessageDialog(text, type, buttons),
                                                                  [](TMessageForm* f) { f->Free(); });
    return dialog->ShowModal();
}

void ShowMessage(const std::string& text) { MessageDlg(text, mtCustom, {mbOK}); }

// ---- drivers ---------------------------------------------------------------------------------

TDialogRecord DescribeDialog(const TMessageForm& dialog) {
    TDialogRecord record;
    record.text = dialog.MessageText();
    record.caption = dialog.Caption();
    record.type = dialog.DlgType();
    record.buttons = dialog.Buttons();
    for (TComponent* c : dialog.ComponentList())
        if (auto* button = dynamic_cast<TMessageButton*>(c))
            record.buttonList.push_back({button->Name(), button->Caption(), button->ModalResult()});
    record.fontName = dialog.Font()->Name();
    record.fontHeight = dialog.Font()->Height();
    record.fontCharset = dialog.Font()->Charset();
    record.fontColor = dialog.Font()->Color();
    return record;
}

bool THeadlessDialogDriver::NextAnswer(Answer& answer) {
    if (answers_.empty()) return false;
    answer = std::move(answers_.front());
    answers_.pop_front();
    return true;
}

int THeadlessDialogDriver::ShowDialog(TMessageForm& dialog) {
    TDialogRecord record = DescribeDialog(dialog);
    size_t index = records_.size();
    records_.push_back(record);
    Answer answer;
    int result = mrNone;
    if (NextAnswer(answer))
        result = answer.action ? answer.action(dialog) : answer.result;
    else if (TMessageButton* def = dialog.DefaultButton())
        result = def->ModalResult();
    records_[index].result = result;
    return result;
}

static TMsgDlgType MessageBoxType(unsigned flags) {
    switch (flags & 0xF0) {
    case MB_ICONSTOP:
        return mtError;
    case MB_ICONQUESTION:
        return mtConfirmation;
    case MB_ICONWARNING:
        return mtWarning;
    case MB_ICONINFORMATION:
        return mtInformation;
    default:
        return mtCustom;
    }
}

static TMsgDlgButtons MessageBoxButtons(unsigned flags) {
    switch (flags & 0x0F) {
    case MB_OKCANCEL:
        return {mbOK, mbCancel};
    case MB_ABORTRETRYIGNORE:
        return {mbAbort, mbRetry, mbIgnore};
    case MB_YESNOCANCEL:
        return {mbYes, mbNo, mbCancel};
    case MB_YESNO:
        return {mbYes, mbNo};
    case MB_RETRYCANCEL:
        return {mbRetry, mbCancel};
    default:
        return {mbOK};
    }
}

int THeadlessDialogDriver::ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    TDialogRecord record;
    record.messageBox = true;
    record.text = text;
    record.caption = caption;
    record.flags = flags;
    record.type = MessageBoxType(flags);
    record.buttons = MessageBoxButtons(flags);
    for (int b = mbYes; b <= mbHelp; ++b)
        if (record.buttons.Contains(static_cast<TMsgDlgBtn>(b)))
            record.buttonList.push_back({kButtons[b].name, kButtons[b].caption, kButtons[b].result});
    Answer answer;
    // The first button answers when nothing is queued (an action has no dialog form to act on).
    record.result = NextAnswer(answer) && !answer.action ? answer.result : record.buttonList.front().result;
    records_.push_back(record);
    return record.result;
}

void THeadlessDialogDriver::QueueAnswer(int result) { answers_.push_back({result, nullptr}); }

void THeadlessDialogDriver::QueueAction(std::function<int(TMessageForm&)> action) {
    answers_.push_back({0, std::move(action)});
}

void THeadlessDialogDriver::Reset() {
    answers_.clear();
    records_.clear();
}

static TDialogDriver* installedDialogDriver = nullptr;

THeadlessDialogDriver& HeadlessDialogDriver() {
    static THeadlessDialogDriver driver;
    return driver;
}

void SetDialogDriver(TDialogDriver* driver) { installedDialogDriver = driver; }

TDialogDriver& DialogDriver() { return installedDialogDriver ? *installedDialogDriver : HeadlessDialogDriver(); }

}  // namespace krv
