// Forms, the application object with its posted-message queue, and the screen.
//
// Life cycle: Create<TMyForm>(owner) builds the form (its constructor) and fires OnCreate;
// Free() fires OnDestroy and frees it. Close() runs OnClose(var Action); with caFree the form is
// released at a later message processing, never while one of its handlers is running.
// ShowModal goes through the replaceable modal driver: the headless default records the show
// and answers a preset result; a test can act inside the modal form instead.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/SysUtils.h"

namespace krv {

enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };
enum TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };
enum TPosition : uint8_t { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter };
enum TBorderIcon : uint8_t { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

const TTypeInfo& TypeInfoWindowState();
const TTypeInfo& TypeInfoPosition();
const TTypeInfo& TypeInfoBorderIcon();
const TTypeInfo& TypeInfoBorderIcons();
const TTypeInfo& TypeInfoFormBorderStyle();

using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;
template <> inline constexpr const char* kEventTypeName<TCloseEvent> = "TCloseEvent";

class TCustomForm : public TCustomControl {
    KRV_CLASS(TCustomForm)
    // Hidden, 300 x 200 at (0, 0), sizeable border with all border icons, colour clBtnFace,
    // the default font, 96 pixels per inch.
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    void AfterConstruction() override;   // fires OnCreate
    void BeforeDestruction() override;   // fires OnDestroy

    // Showing. Making the form visible fires OnShow and then gives the focus to ActiveControl
    // (or the first control in tab order); hiding fires OnHide.
    void Show();
    void Hide();
    void BringToFront();
    // Runs OnCloseQuery and OnClose; the action decides: caHide hides, caMinimize minimises,
    // caFree releases (at a later message processing), caNone keeps the form. Inside ShowModal
    // it only sets ModalResult to mrCancel, which ends the modal show.
    void Close();
    bool CloseQuery();
    // Frees the form at a later message processing, once none of its handlers is running.
    void Release();
    // Shows the form modally through the modal driver and returns its modal result.
    virtual int ShowModal();
    bool IsModal() const { return modal_; }

    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }

    // Focus. ActiveControl names the control that has (or gets) the focus: while the exit and
    // enter events of a focus change run it already names the control being entered.
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    // The control whose enter events have run last (the focus as the events see it).
    TWinControl* FocusedControl() const { return focusedControl_; }
    // Moves the focus: exit events from the control being left outward (up to the common
    // container), then enter events inward. A handler that moves the focus elsewhere cancels
    // the rest. Returns false when the change did not complete.
    bool SetFocusedControl(TWinControl* control);
    void FocusControl(TWinControl* control);
    // The control (or a container of it) is going away or can no longer hold the focus.
    void DefocusControl(TWinControl* control, bool removing);
    bool CanFocus() const override;
    void SetFocus() override;
    bool Active() const;

    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool keyPreview) { keyPreview_ = keyPreview; }
    // Key input for the focused control, as the keyboard delivers it: key preview (the form's
    // OnKeyDown first; Key := 0 consumes), the dialog keys (Tab, arrows, Enter, Esc), the control's
    // own OnKeyDown, then the character through OnKeyPress (the form's first with key preview)
    // into the control, then the key-up events.
    void DispatchKey(Word key, TShiftState shift, const std::string& ch);
    // The form's dialog-key handling: Tab and arrows move the focus, the rest is offered to
    // the controls (a focused or default button takes Enter, a Cancel button Esc).
    bool DialogKey(Word key, TShiftState shift) override;

    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons) { borderIcons_ = icons; }
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    bool Scaled() const { return scaled_; }
    void SetScaled(bool scaled) { scaled_ = scaled; }
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi; }

    // The client area inside the border and caption.
    TRect GetClientRect() const override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    void VisibleChanged() override;
    void DefaultHandler(TMessage& message) override;
    void Paint() override;
    TPoint ClientAreaOffset() const override;

private:
    friend class TApplication;
    friend class TScreen;
    friend class TFormHandlerScope;
    void Activate();
    void Deactivate();
    void CloseModal();
    void FocusOnShow();
    void FireFormEvent(const TNotifyEvent& event);

    uint64_t serial_ = 0;
    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    std::vector<const TWinControl*> exiting_;   // exit events running, innermost last
    std::vector<const TWinControl*> focusing_;  // focus changes running, innermost last
    int focusCount_ = 0;
    bool keyPreview_ = false;
    bool modal_ = false;
    TModalResult modalResult_ = mrNone;
    TWindowState windowState_ = wsNormal;
    TPosition position_ = poDesigned;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TFormBorderStyle borderStyle_ = bsSizeable;
    bool scaled_ = true;
    int pixelsPerInch_ = 96;
};

class TForm : public TCustomForm {
    KRV_CLASS(TForm)
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// The form that contains the control (walking the parents); nullptr when none.
TCustomForm* GetParentForm(const TControl* control);
// Raises EInvalidOperation "Control '%s' has no parent window" when there is none.
TCustomForm& ValidParentForm(const TControl* control);

// Marks the form of a control as running one of its handlers, so that a release waits.
class TFormHandlerScope {
public:
    explicit TFormHandlerScope(const TControl* control);
    ~TFormHandlerScope();
    TFormHandlerScope(const TFormHandlerScope&) = delete;
    TFormHandlerScope& operator=(const TFormHandlerScope&) = delete;

private:
    uint64_t formSerial_ = 0;
};

// ---- modal driver ----------------------------------------------------------------------------

// Runs a modal show. Run is called once the form is visible; it acts as the user would and
// normally ends with a ModalResult. When it leaves ModalResult at mrNone the form is closed as
// with the window's close box (result mrCancel, OnClose asked); a form that refuses even that
// ends with mrCancel all the same, so a headless modal show always returns.
class TModalDriver {
public:
    virtual ~TModalDriver() = default;
    virtual void Run(TCustomForm& form) = 0;
};

struct TModalRecord {
    std::string className;
    std::string name;
    std::string caption;
    TModalResult result = mrNone;
};

// The headless default: the next queued action acts inside the form; without one the next
// preset result (or the default result, mrCancel) is the answer. Every show is recorded.
class THeadlessModalDriver : public TModalDriver {
public:
    void Run(TCustomForm& form) override;
    void QueueAction(std::function<void(TCustomForm&)> action);
    void QueueResult(TModalResult result);
    void SetDefaultResult(TModalResult result) { defaultResult_ = result; }
    const std::vector<TModalRecord>& Records() const { return records_; }
    void Reset();

private:
    friend class TCustomForm;
    std::deque<std::function<void(TCustomForm&)>> actions_;
    std::deque<TModalResult> results_;
    TModalResult defaultResult_ = mrCancel;
    std::vector<TModalRecord> records_;
};

// nullptr restores the headless default.
void SetModalDriver(TModalDriver* driver);
TModalDriver& ModalDriver();
THeadlessModalDriver& HeadlessModalDriver();

// ---- application -----------------------------------------------------------------------------

using TExceptionEvent = TEvent<TObject*, const Exception&>;

class TApplication : public TComponent {
    KRV_CLASS(TApplication)
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    // Posted messages are handled in order by the next message processing. A handle that is
    // no (longer a) window drops the message; posting to 0 fails.
    bool PostMessage(HWND window, unsigned msg, intptr_t wParam = 0, intptr_t lParam = 0);
    bool PostMessage(TWinControl* control, unsigned msg, intptr_t wParam = 0, intptr_t lParam = 0);
    // Handled at once; an exception escaping the handler is shown (HandleException) and the
    // result is 0.
    intptr_t SendMessage(HWND window, unsigned msg, intptr_t wParam = 0, intptr_t lParam = 0);
    intptr_t SendMessage(TWinControl* control, unsigned msg, intptr_t wParam = 0, intptr_t lParam = 0);
    // Handles every queued message (also those posted meanwhile), then the pending releases of
    // forms none of whose handlers is running.
    void ProcessMessages();
    // One queued message (or the pending releases when the queue is empty); false when idle.
    bool HandleMessage();
    size_t PendingMessageCount() const { return queue_.size(); }
    // Drops every queued message and pending release (tests start from a clean queue).
    void ClearMessages();

    // Runs a handler the way the application dispatches events: the target's form counts as
    // busy meanwhile, and an exception escaping it is shown in an error box and goes no further.
    void Dispatch(const TControl* target, const std::function<void()>& handler);
    // Inside a catch block: OnException when assigned, else ShowException.
    void HandleException(TObject* sender);
    // The error box: the message (with a full stop added when it ends in none) as an error
    // message box with an OK button, through the dialog driver.
    void ShowException(const Exception& error);
    // A plain message box through the dialog driver; returns IDOK-style answers (1 OK, 2 Cancel,
    // 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No).
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    TCustomForm* MainForm() const { return mainForm_; }
    void SetMainForm(TCustomForm* form) { mainForm_ = form; }
    bool Terminated() const { return terminated_; }
    void Terminate() { terminated_ = true; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool showHint) { showHint_ = showHint; }
    int HintPause() const { return hintPause_; }
    void SetHintPause(int pause) { hintPause_ = pause; }
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int pause) { hintHidePause_ = pause; }
    TColor HintColor() const { return hintColor_; }
    void SetHintColor(TColor color) { hintColor_ = color; }
    HWND Handle() const { return 0; }
    void BringToFront() {}

    TExceptionEvent OnException;

private:
    friend class TCustomForm;
    friend class TFormHandlerScope;
    struct QueuedMessage {
        HWND window;
        TMessage message;
    };
    void Deliver(HWND window, TMessage& message);
    void ReleasePendingForms();
    void RequestRelease(TCustomForm* form);
    uint64_t RegisterForm(TCustomForm* form);
    void UnregisterForm(uint64_t serial);
    TCustomForm* FormBySerial(uint64_t serial) const;
    void EnterHandler(uint64_t serial);
    void LeaveHandler(uint64_t serial);
    bool FormBusy(uint64_t serial) const;

    std::deque<QueuedMessage> queue_;
    std::vector<uint64_t> pendingReleases_;
    struct FormEntry {
        TCustomForm* form;
        int busy;
    };
    std::map<uint64_t, FormEntry> forms_;
    uint64_t nextSerial_ = 1;
    std::string title_;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool showHint_ = true;
    int hintPause_ = 500;
    int hintHidePause_ = 2500;
    TColor hintColor_ = clInfoBk;
};

// ---- screen ----------------------------------------------------------------------------------

class TScreen : public TComponent {
    KRV_CLASS(TScreen)
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }
    // The installed font names.
    TStrings* Fonts() const { return fonts_.get(); }
    TFont* IconFont() const { return iconFont_.get(); }
    TFont* HintFont() const { return hintFont_.get(); }
    TFont* MenuFont() const { return menuFont_.get(); }
    int Width() const { return 1024; }
    int Height() const { return 768; }
    int PixelsPerInch() const { return 96; }

    // Live forms in creation order.
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const;
    // The form that has the focus (the last one shown or activated that is still visible).
    TCustomForm* ActiveCustomForm() const { return activeForm_; }
    TCustomForm* ActiveForm() const { return activeForm_; }
    // The active form's active control.
    TWinControl* ActiveControl() const;

    // After every completed focus change.
    TNotifyEvent OnActiveControlChange;
    TNotifyEvent OnActiveFormChange;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetActiveForm(TCustomForm* form);
    void FormHidden(TCustomForm* form);

    TCursor cursor_ = crDefault;
    std::unique_ptr<TStringList> fonts_;
    std::unique_ptr<TFont> iconFont_;
    std::unique_ptr<TFont> hintFont_;
    std::unique_ptr<TFont> menuFont_;
    std::vector<TCustomForm*> forms_;
    std::vector<TCustomForm*> activation_;  // visible forms, most recently activated last
    TCustomForm* activeForm_ = nullptr;
};

// The process's one application object and screen (in the platform library).
extern TApplication* const Application;
extern TScreen* const Screen;

}  // namespace krv
