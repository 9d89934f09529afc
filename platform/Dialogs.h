// Message dialogs: a form built from a text, a type and buttons, shown through the replaceable
// dialog driver. The headless driver records what was shown and answers a preset result.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"

namespace krv {

enum TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : uint8_t { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// The button's component name ("Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All",
// "NoToAll", "YesToAll", "Help"), its default caption and its modal result (Help: mrNone).
const char* MsgDlgButtonName(TMsgDlgBtn button);
TModalResult MsgDlgButtonResult(TMsgDlgBtn button);

// A button of a message dialog: a click ends the dialog with its modal result.
class TMessageButton : public TCustomControl {
    KRV_CLASS(TMessageButton)
    explicit TMessageButton(TComponent* owner);
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    bool Default() const { return default_; }
    void SetDefault(bool value) { default_ = value; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    void Click() override;
    bool FocusOnClick() const override { return true; }
    bool DialogKey(Word key, TShiftState shift) override;

private:
    TModalResult modalResult_ = mrNone;
    bool default_ = false;
    bool cancel_ = false;
};

// The message dialog form. Its buttons are components named after the buttons; the text is the
// caption of the label named "Message". Caption and Font can be changed before showing.
class TMessageForm : public TForm {
    KRV_CLASS(TMessageForm)
    TMessageForm(TComponent* owner, const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

    std::string MessageText() const;
    TMsgDlgType DlgType() const { return type_; }
    TMsgDlgButtons Buttons() const { return buttons_; }
    TMessageButton* Button(TMsgDlgBtn button) const;
    // The button Enter presses (OK, else Yes, else Retry) and the one Esc presses (Cancel, else
    // No, else OK); nullptr when the dialog has none of them.
    TMessageButton* DefaultButton() const;
    TMessageButton* CancelButton() const;
    // Through the dialog driver; the dialog stays (its creator frees it).
    int ShowModal() override;

private:
    TMsgDlgType type_;
    TMsgDlgButtons buttons_;
};

// The caption a dialog of that type gets by default ("Warning", "Error", "Information",
// "Confirm", or the application's title for a custom one).
std::string MsgDlgTypeCaption(TMsgDlgType type);

// The caller owns the dialog (free it after ShowModal).
TMessageForm* CreateMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
// Creates, shows modally, frees; returns the modal result.
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
void ShowMessage(const std::string& text);

// ---- dialog driver ---------------------------------------------------------------------------

struct TButtonRecord {
    std::string name;
    std::string caption;
    TModalResult result = mrNone;
};

// What a dialog or message box showed, and what it answered.
struct TDialogRecord {
    bool messageBox = false;      // Application->MessageBox rather than a message dialog
    std::string text;
    std::string caption;
    TMsgDlgType type = mtCustom;
    TMsgDlgButtons buttons;
    std::vector<TButtonRecord> buttonList;  // in display order, with their current captions
    unsigned flags = 0;           // message box flags
    std::string fontName;
    int fontHeight = 0;
    TFontCharset fontCharset = DEFAULT_CHARSET;
    TColor fontColor = clWindowText;
    int result = 0;
};

// Message box flags and answers.
inline constexpr unsigned MB_OK = 0x0000;
inline constexpr unsigned MB_OKCANCEL = 0x0001;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x0002;
inline constexpr unsigned MB_YESNOCANCEL = 0x0003;
inline constexpr unsigned MB_YESNO = 0x0004;
inline constexpr unsigned MB_RETRYCANCEL = 0x0005;
inline constexpr unsigned MB_ICONSTOP = 0x0010;
inline constexpr unsigned MB_ICONERROR = 0x0010;
inline constexpr unsigned MB_ICONQUESTION = 0x0020;
inline constexpr unsigned MB_ICONWARNING = 0x0030;
inline constexpr unsigned MB_ICONINFORMATION = 0x0040;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

class TDialogDriver {
public:
    virtual ~TDialogDriver() = default;
    // Answers a message dialog with a modal result.
    virtual int ShowDialog(TMessageForm& dialog) = 0;
    // Answers a message box with an ID... value (IDOK, IDCANCEL ...).
    virtual int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
};

// The headless default. Each dialog takes the next queued answer (a result, or an action that
// inspects the dialog and returns one); without any, a dialog answers its default button's
// result (Enter) and a message box its first button. Everything shown is recorded.
class THeadlessDialogDriver : public TDialogDriver {
public:
    int ShowDialog(TMessageForm& dialog) override;
    int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) override;

    void QueueAnswer(int result);
    void QueueAction(std::function<int(TMessageForm&)> action);
    const std::vector<TDialogRecord>& Records() const { return records_; }
    void ClearRecords() { records_.clear(); }
    // Clears the records and the queued answers.
    void Reset();

private:
    struct Answer {
        int result = 0;
        std::function<int(TMessageForm&)> action;
    };
    bool NextAnswer(Answer& answer);
    std::deque<Answer> answers_;
    std::vector<TDialogRecord> records_;
};

// nullptr restores the headless default.
void SetDialogDriver(TDialogDriver* driver);
TDialogDriver& DialogDriver();
THeadlessDialogDriver& HeadlessDialogDriver();
// The record of a dialog as it is about to be shown (for drivers of a real toolkit too).
TDialogRecord DescribeDialog(const TMessageForm& dialog);

}  // namespace krv
