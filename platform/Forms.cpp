#include "platform/Forms.h"

#include <algorithm>

#include "platform/Dialogs.h"

namespace krv {

// ---- enumerations ----------------------------------------------------------------------------

const TTypeInfo& TypeInfoWindowState() {
    static const TTypeInfo t = MakeEnumType("TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"});
    return t;
}
const TTypeInfo& TypeInfoPosition() {
    static const TTypeInfo t = MakeEnumType(
        "TPosition", {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter"});
    return t;
}
const TTypeInfo& TypeInfoBorderIcon() {
    static const TTypeInfo t = MakeEnumType("TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"});
    return t;
}
const TTypeInfo& TypeInfoBorderIcons() {
    static const TTypeInfo t = MakeSetType("TBorderIcons", TypeInfoBorderIcon());
    return t;
}
const TTypeInfo& TypeInfoFormBorderStyle() {
    static const TTypeInfo t = MakeEnumType(
        "TFormBorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"});
    return t;
}

// ---- the process's application and screen ----------------------------------------------------

static TApplication theApplication(nullptr);
static TScreen theScreen(nullptr);
TApplication* const Application = &theApplication;
TScreen* const Screen = &theScreen;

// ---- helpers ---------------------------------------------------------------------------------

TCustomForm* GetParentForm(const TControl* control) {
    if (!control) return nullptr;
    const TControl* top = control;
    while (top->Parent()) top = top->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(top));
}

TCustomForm& ValidParentForm(const TControl* control) {
    TCustomForm* form = GetParentForm(control);
    if (!form) throw EInvalidOperation("Control '" + (control ? control->Name() : std::string()) + "' has no parent window");
    return *form;
}

TFormHandlerScope::TFormHandlerScope(const TControl* control) {
    if (TCustomForm* form = GetParentForm(control)) {
        formSerial_ = form->serial_;
        Application->EnterHandler(formSerial_);
    }
}

TFormHandlerScope::~TFormHandlerScope() {
    if (formSerial_) Application->LeaveHandler(formSerial_);
}

// ---- TCustomForm -----------------------------------------------------------------------------

const TClassInfo& TCustomForm::StaticClassInfo() {
    using F = TCustomForm;
    static const TClassInfo info =
        TClassBuilder<F>("TCustomForm", TCustomControl::StaticClassInfo())
            .Str("Caption", &F::Caption, &F::SetCaption)
            .Int("ClientWidth", &F::ClientWidth, &F::SetClientWidth)
            .Int("ClientHeight", &F::ClientHeight, &F::SetClientHeight)
            .Int("Color", &F::Color, &F::SetColor, TypeInfoColor())
            .Object("Font", &F::Font, &F::SetFont)
            .Bool("ParentFont", &F::ParentFont, &F::SetParentFont)
            .Bool("Enabled", &F::Enabled, &F::SetEnabled)
            .Bool("Visible", &F::Visible, &F::SetVisible)
            .Bool("ShowHint", &F::ShowHint, &F::SetShowHint)
            .Bool("KeyPreview", &F::KeyPreview, &F::SetKeyPreview)
            .Enum("Position", TypeInfoPosition(), &F::Position, &F::SetPosition)
            .Enum("WindowState", TypeInfoWindowState(), &F::WindowState, &F::SetWindowState)
            .Enum("BorderStyle", TypeInfoFormBorderStyle(), &F::BorderStyle, &F::SetBorderStyle)
            .Set("BorderIcons", TypeInfoBorderIcons(), &F::BorderIcons, &F::SetBorderIcons)
            .Bool("Scaled", &F::Scaled, &F::SetScaled)
            .Int("PixelsPerInch", &F::PixelsPerInch, &F::SetPixelsPerInch)
            .Event("OnCreate", &F::OnCreate)
            .Event("OnShow", &F::OnShow)
            .Event("OnHide", &F::OnHide)
            .Event("OnDestroy", &F::OnDestroy)
            .Event("OnActivate", &F::OnActivate)
            .Event("OnDeactivate", &F::OnDeactivate)
            .Event("OnPaint", &F::OnPaint)
            .Event("OnClose", &F::OnClose)
            .Event("OnCloseQuery", &F::OnCloseQuery, "TCloseQueryEvent")
            .Event("OnResize", &F::OnResize)
            .Event("OnClick", &F::OnClick)
            .Event("OnDblClick", &F::OnDblClick)
            .Event("OnKeyDown", &F::OnKeyDown)
            .Event("OnKeyPress", &F::OnKeyPress)
            .Event("OnKeyUp", &F::OnKeyUp)
            .Event("OnMouseDown", &F::OnMouseDown)
            .Event("OnMouseUp", &F::OnMouseUp)
            .Event("OnMouseMove", &F::OnMouseMove)
            .Build();
    return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TCustomControl(owner) {
    InitVisible(false);
    SetParentFont(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
    serial_ = Application->RegisterForm(this);
    Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    activeControl_ = nullptr;
    focusedControl_ = nullptr;
    if (Application->MainForm() == this) Application->SetMainForm(nullptr);
    Screen->RemoveForm(this);
    Application->UnregisterForm(serial_);
}

void TCustomForm::FireFormEvent(const TNotifyEvent& event) {
    TFormHandlerScope scope(this);
    try {
        event(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TCustomForm::AfterConstruction() {
    TCustomControl::AfterConstruction();
    DoCreate();
}

void TCustomForm::BeforeDestruction() {
    if (IsDestroying()) return;
    TCustomControl::BeforeDestruction();
    DoDestroy();
}

void TCustomForm::DoCreate() { FireFormEvent(OnCreate); }
void TCustomForm::DoDestroy() { FireFormEvent(OnDestroy); }
void TCustomForm::DoShow() { FireFormEvent(OnShow); }
void TCustomForm::DoHide() { FireFormEvent(OnHide); }

void TCustomForm::DoClose(TCloseAction& action) {
    TFormHandlerScope scope(this);
    try {
        OnClose(this, action);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TCustomForm::Show() {
    SetVisible(true);
    BringToFront();
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::BringToFront() {
    if (Visible()) Screen->SetActiveForm(this);
}

void TCustomForm::VisibleChanged() {
    TCustomControl::VisibleChanged();
    if (IsDestroying()) return;
    if (Visible()) {
        DoShow();
        if (!Visible()) return;  // OnShow hid it again
        Screen->SetActiveForm(this);
        FocusOnShow();
    } else {
        DoHide();
        Screen->FormHidden(this);
    }
}

void TCustomForm::FocusOnShow() {
    if (!Active()) return;
    TWinControl* target = activeControl_ && activeControl_->CanFocus() ? activeControl_ : nullptr;
    if (!target) target = FindNextControl(nullptr, true, true, false);
    if (target) SetFocusedControl(target);
}

void TCustomForm::Activate() { FireFormEvent(OnActivate); }
void TCustomForm::Deactivate() { FireFormEvent(OnDeactivate); }

bool TCustomForm::Active() const { return Visible() && Screen->ActiveCustomForm() == this; }

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    TFormHandlerScope scope(this);
    try {
        OnCloseQuery(this, canClose);
    } catch (...) {
        Application->HandleException(this);
        return false;
    }
    return canClose;
}

void TCustomForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application->MainForm() == this) Application->Terminate();
    switch (action) {
    case caHide:
        Hide();
        break;
    case caMinimize:
        SetWindowState(wsMinimized);
        break;
    case caFree:
        Release();
        break;
    default:
        break;
    }
}

void TCustomForm::Release() { Application->PostMessage(Handle(), CM_RELEASE); }

void TCustomForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone)
        modalResult_ = mrNone;
    else if (action == caFree)
        Release();
}

int TCustomForm::ShowModal() {
    if (modal_ || Visible() || !Enabled()) throw EInvalidOperation("Cannot make a visible window modal");
    TFormHandlerScope scope(this);
    modal_ = true;
    modalResult_ = mrNone;
    try {
        Show();
        ModalDriver().Run(*this);
        Application->ProcessMessages();
        if (modalResult_ != mrNone) CloseModal();
        if (modalResult_ == mrNone) {
            // The driver left it open: close it as the window's close box does.
            modalResult_ = mrCancel;
            CloseModal();
            if (modalResult_ == mrNone) modalResult_ = mrCancel;
        }
    } catch (...) {
        modal_ = false;
        Hide();
        throw;
    }
    modal_ = false;
    Hide();
    return modalResult_;
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_) return;
    if (control && (control == this || GetParentForm(control) != this || (!IsLoading() && !control->CanFocus())))
        return;
    activeControl_ = control;
    if (!IsLoading() && control && Active()) SetFocusedControl(control);
}

void TCustomForm::FocusControl(TWinControl* control) {
    if (!control || GetParentForm(control) != this) return;
    if (!Visible()) {
        SetActiveControl(control);
        return;
    }
    if (!Active()) {
        activeControl_ = control;
        Screen->SetActiveForm(this);
    }
    SetFocusedControl(control);
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
    if (!control || IsDestroying() || GetParentForm(control) != this) return false;
    int count = ++focusCount_;
    activeControl_ = control != this ? control : nullptr;
    if (std::find(focusing_.begin(), focusing_.end(), control) != focusing_.end()) return false;
    focusing_.push_back(control);
    struct Pop {
        std::vector<const TWinControl*>& list;
        ~Pop() { list.pop_back(); }
    } popFocusing{focusing_};
    TFormHandlerScope scope(this);
    try {
        if (!focusedControl_) focusedControl_ = this;
        // Leave outward up to the container shared with the target.
        while (!focusedControl_->ContainsControl(control)) {
            TWinControl* leaving = focusedControl_;
            // A control whose exit is already running (a nested change) is not exited twice.
            if (std::find(exiting_.begin(), exiting_.end(), leaving) == exiting_.end()) {
                exiting_.push_back(leaving);
                struct PopExit {
                    std::vector<const TWinControl*>& list;
                    ~PopExit() { list.pop_back(); }
                } popExit{exiting_};
                leaving->DoExit();
                if (focusCount_ != count) return false;
            }
            focusedControl_ = leaving->Parent() ? leaving->Parent() : this;
        }
        // Enter inward down to the target.
        while (focusedControl_ != control) {
            TWinControl* next = control;
            while (next->Parent() != focusedControl_) next = next->Parent();
            focusedControl_ = next;
            next->DoEnter();
            if (focusCount_ != count) return false;
        }
    } catch (...) {
        // As the window procedure does: the error box, and the change stops where it was.
        Application->HandleException(control);
        return false;
    }
    control->NotifyPeer(TPeerChange::Focus);
    try {
        Screen->OnActiveControlChange(Screen);
    } catch (...) {
        Application->HandleException(Screen);
    }
    return true;
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
    if (!control) return;
    if (removing && focusedControl_ && control->ContainsControl(focusedControl_)) {
        TWinControl* parent = control->Parent();
        focusedControl_ = parent && parent != control ? parent : this;
    }
    if (activeControl_ && control->ContainsControl(activeControl_)) {
        activeControl_ = nullptr;
        // The focus falls back to the form, and the controls being left are told.
        if (!removing && Active() && !IsDestroying()) SetFocusedControl(this);
    }
}

bool TCustomForm::CanFocus() const { return Visible() && Enabled(); }

void TCustomForm::SetFocus() {
    if (CanFocus()) Screen->SetActiveForm(this);
}

static bool IsDialogKeyCode(Word key) {
    return key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || (key >= VK_LEFT && key <= VK_DOWN);
}

static unsigned WantedFor(Word key) {
    if (key == VK_TAB) return dlgcWantTab;
    if (key >= VK_LEFT && key <= VK_DOWN) return dlgcWantArrows;
    return dlgcWantAllKeys;
}

void TCustomForm::DispatchKey(Word key, TShiftState shift, const std::string& ch) {
    TFormHandlerScope scope(this);
    TWinControl* target = activeControl_ ? activeControl_ : this;
    HWND targetHandle = target->Handle();
    // A handler may free the target; the handle tells whether it is still there.
    auto targetAlive = [&] { return FindControl(targetHandle) == target; };
    bool preview = keyPreview_ && target != this;

    Word down = key;
    if (preview) TWinControl::KeyDown(down, shift);
    if (down == 0 || !targetAlive()) return;
    if (IsDialogKeyCode(down) && !(target->DialogCode() & (WantedFor(down) | dlgcWantAllKeys)) && DialogKey(down, shift))
        return;
    if (!targetAlive()) return;
    target->KeyDown(down, shift);
    if (down == 0 || !targetAlive()) return;

    if (!ch.empty()) {
        std::string typed = ch;
        bool dropped = false;
        for (char& byte : typed) {
            if (preview) TWinControl::KeyPress(byte);
            if (byte != 0 && targetAlive() && target != this) target->KeyPress(byte);
            if (byte == 0 || !targetAlive()) {
                dropped = true;
                break;
            }
        }
        if (!dropped) target->InputChar(typed);
    }
    if (!targetAlive()) return;
    Word up = key;
    if (preview) TWinControl::KeyUp(up, shift);
    if (up != 0 && targetAlive() && target != this) target->KeyUp(up, shift);
}

bool TCustomForm::DialogKey(Word key, TShiftState shift) {
    if (shift.Contains(ssAlt)) return TCustomControl::DialogKey(key, shift);
    if (key == VK_TAB && !shift.Contains(ssCtrl)) {
        SelectNext(activeControl_, !shift.Contains(ssShift), true);
        return true;
    }
    if (key >= VK_LEFT && key <= VK_DOWN) {
        if (activeControl_ && activeControl_->Parent())
            activeControl_->Parent()->SelectNext(activeControl_, key == VK_RIGHT || key == VK_DOWN, false);
        return true;
    }
    return TCustomControl::DialogKey(key, shift);
}

void TCustomForm::SetWindowState(TWindowState state) {
    if (state == windowState_) return;
    windowState_ = state;
    NotifyPeer(TPeerChange::State);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    Realign();
}

// Border and caption sizes of the classic desktop.
static int BorderWidth(TFormBorderStyle style) {
    switch (style) {
    case bsNone:
        return 0;
    case bsSizeable:
    case bsSizeToolWin:
        return 4;
    default:
        return 3;
    }
}

static int CaptionHeight(TFormBorderStyle style) {
    switch (style) {
    case bsNone:
        return 0;
    case bsToolWindow:
    case bsSizeToolWin:
        return 16;
    default:
        return 19;
    }
}

TRect TCustomForm::GetClientRect() const {
    int border = BorderWidth(borderStyle_);
    int width = std::max(Width() - 2 * border, 0);
    int height = std::max(Height() - 2 * border - CaptionHeight(borderStyle_), 0);
    return Rect(0, 0, width, height);
}

TPoint TCustomForm::ClientAreaOffset() const {
    int border = BorderWidth(borderStyle_);
    return {border, border + CaptionHeight(borderStyle_)};
}

void TCustomForm::DefaultHandler(TMessage& message) {
    switch (message.Msg) {
    case WM_CLOSE:
        Close();
        break;
    case CM_RELEASE:
        Application->RequestRelease(this);
        break;
    default:
        TCustomControl::DefaultHandler(message);
        break;
    }
}

void TCustomForm::Paint() { FireFormEvent(OnPaint); }

const TClassInfo& TForm::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TForm>("TForm", TCustomForm::StaticClassInfo()).Creatable().Build();
    return info;
}

// ---- modal driver ----------------------------------------------------------------------------

static TModalDriver* installedModalDriver = nullptr;

THeadlessModalDriver& HeadlessModalDriver() {
    static THeadlessModalDriver driver;
    return driver;
}

void SetModalDriver(TModalDriver* driver) { installedModalDriver = driver; }

TModalDriver& ModalDriver() { return installedModalDriver ? *installedModalDriver : HeadlessModalDriver(); }

void THeadlessModalDriver::Run(TCustomForm& form) {
    TModalRecord record{form.ClassName(), form.Name(), form.Caption(), mrNone};
    size_t index = records_.size();
    records_.push_back(record);
    if (!actions_.empty()) {
        auto action = std::move(actions_.front());
        actions_.pop_front();
        action(form);
    } else if (!results_.empty()) {
        form.SetModalResult(results_.front());
        results_.pop_front();
    } else {
        form.SetModalResult(defaultResult_);
    }
    records_[index].result = form.ModalResult();
}

void THeadlessModalDriver::QueueAction(std::function<void(TCustomForm&)> action) { actions_.push_back(std::move(action)); }

void THeadlessModalDriver::QueueResult(TModalResult result) { results_.push_back(result); }

void THeadlessModalDriver::Reset() {
    actions_.clear();
    results_.clear();
    records_.clear();
    defaultResult_ = mrCancel;
}

// ---- TApplication ----------------------------------------------------------------------------

const TClassInfo& TApplication::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TApplication>("TApplication", TComponent::StaticClassInfo())
                                       .Str("Title", &TApplication::Title, &TApplication::SetTitle)
                                       .Bool("ShowHint", &TApplication::ShowHint, &TApplication::SetShowHint)
                                       .Int("HintPause", &TApplication::HintPause, &TApplication::SetHintPause)
                                       .Int("HintHidePause", &TApplication::HintHidePause, &TApplication::SetHintHidePause)
                                       .Build();
    return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

TApplication::~TApplication() = default;

bool TApplication::PostMessage(HWND window, unsigned msg, intptr_t wParam, intptr_t lParam) {
    if (!IsWindow(window)) return false;
    queue_.push_back({window, TMessage{msg, wParam, lParam, 0}});
    return true;
}

bool TApplication::PostMessage(TWinControl* control, unsigned msg, intptr_t wParam, intptr_t lParam) {
    return control && PostMessage(control->Handle(), msg, wParam, lParam);
}

intptr_t TApplication::SendMessage(HWND window, unsigned msg, intptr_t wParam, intptr_t lParam) {
    TMessage message{msg, wParam, lParam, 0};
    Deliver(window, message);
    return message.Result;
}

intptr_t TApplication::SendMessage(TWinControl* control, unsigned msg, intptr_t wParam, intptr_t lParam) {
    return control ? SendMessage(control->Handle(), msg, wParam, lParam) : 0;
}

void TApplication::Deliver(HWND window, TMessage& message) {
    TWinControl* control = FindControl(window);
    if (!control) return;
    Dispatch(control, [&] { control->WndProc(message); });
}

void TApplication::ProcessMessages() {
    while (HandleMessage()) {
    }
}

bool TApplication::HandleMessage() {
    if (queue_.empty()) {
        ReleasePendingForms();
        return false;
    }
    QueuedMessage queued = queue_.front();
    queue_.pop_front();
    Deliver(queued.window, queued.message);
    ReleasePendingForms();
    return true;
}

void TApplication::ClearMessages() {
    queue_.clear();
    pendingReleases_.clear();
}

void TApplication::Dispatch(const TControl* target, const std::function<void()>& handler) {
    TFormHandlerScope scope(target);
    try {
        handler();
    } catch (...) {
        HandleException(const_cast<TControl*>(target));
    }
}

void TApplication::HandleException(TObject* sender) {
    // Whatever happens here must not escape: this is the last stop for errors.
    try {
        try {
            throw;
        } catch (const Exception& error) {
            if (OnException)
                OnException(sender, error);
            else
                ShowException(error);
        } catch (const std::exception& error) {
            Exception wrapped(error.what());
            if (OnException)
                OnException(sender, wrapped);
            else
                ShowException(wrapped);
        } catch (...) {
            Exception wrapped("Unknown exception");
            if (OnException)
                OnException(sender, wrapped);
            else
                ShowException(wrapped);
        }
    } catch (...) {
    }
}

void TApplication::ShowException(const Exception& error) {
    std::string text = error.Message();
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    MessageBox(text, title_, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    return DialogDriver().ShowMessageBox(text, caption, flags);
}

uint64_t TApplication::RegisterForm(TCustomForm* form) {
    uint64_t serial = nextSerial_++;
    forms_[serial] = {form, 0};
    return serial;
}

void TApplication::UnregisterForm(uint64_t serial) { forms_.erase(serial); }

TCustomForm* TApplication::FormBySerial(uint64_t serial) const {
    auto it = forms_.find(serial);
    return it == forms_.end() ? nullptr : it->second.form;
}

void TApplication::EnterHandler(uint64_t serial) {
    auto it = forms_.find(serial);
    if (it != forms_.end()) ++it->second.busy;
}

void TApplication::LeaveHandler(uint64_t serial) {
    auto it = forms_.find(serial);
    if (it != forms_.end() && it->second.busy > 0) --it->second.busy;
}

bool TApplication::FormBusy(uint64_t serial) const {
    auto it = forms_.find(serial);
    return it != forms_.end() && it->second.busy > 0;
}

void TApplication::RequestRelease(TCustomForm* form) {
    if (std::find(pendingReleases_.begin(), pendingReleases_.end(), form->serial_) == pendingReleases_.end())
        pendingReleases_.push_back(form->serial_);
}

void TApplication::ReleasePendingForms() {
    for (size_t i = 0; i < pendingReleases_.size();) {
        uint64_t serial = pendingReleases_[i];
        TCustomForm* form = FormBySerial(serial);
        if (form && FormBusy(serial)) {
            ++i;
            continue;
        }
        pendingReleases_.erase(pendingReleases_.begin() + static_cast<std::ptrdiff_t>(i));
        if (!form || form->IsDestroying()) continue;
        try {
            form->Free();
        } catch (...) {
            HandleException(nullptr);
        }
        i = 0;  // freeing may have released or queued others
    }
}

// ---- TScreen ---------------------------------------------------------------------------------

const TClassInfo& TScreen::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TScreen>("TScreen", TComponent::StaticClassInfo())
                                       .Int("Cursor", &TScreen::Cursor, &TScreen::SetCursor, TypeInfoCursor())
                                       .Build();
    return info;
}

TScreen::TScreen(TComponent* owner)
    : TComponent(owner), fonts_(std::make_unique<TStringList>()), iconFont_(std::make_unique<TFont>()),
      hintFont_(std::make_unique<TFont>()), menuFont_(std::make_unique<TFont>()) {
    fonts_->AddStrings({"Arial", "MS Sans Serif", "SimSun", "Tahoma", "Times New Roman", "宋体", "新细明体"});
    fonts_->SetSorted(true);
    for (TFont* font : {iconFont_.get(), hintFont_.get(), menuFont_.get()}) {
        font->SetName("Tahoma");
        font->SetHeight(-11);
    }
    hintFont_->SetColor(clInfoText);
}

TScreen::~TScreen() = default;

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return forms_[index];
}

TWinControl* TScreen::ActiveControl() const { return activeForm_ ? activeForm_->ActiveControl() : nullptr; }

void TScreen::AddForm(TCustomForm* form) { forms_.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    activation_.erase(std::remove(activation_.begin(), activation_.end(), form), activation_.end());
    if (activeForm_ == form) {
        activeForm_ = nullptr;
        if (!activation_.empty()) activeForm_ = activation_.back();
    }
}

void TScreen::SetActiveForm(TCustomForm* form) {
    activation_.erase(std::remove(activation_.begin(), activation_.end(), form), activation_.end());
    activation_.push_back(form);
    if (activeForm_ == form) return;
    TCustomForm* old = activeForm_;
    activeForm_ = form;
    if (old) old->Deactivate();
    form->Activate();
    try {
        OnActiveFormChange(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TScreen::FormHidden(TCustomForm* form) {
    activation_.erase(std::remove(activation_.begin(), activation_.end(), form), activation_.end());
    if (activeForm_ != form) return;
    activeForm_ = nullptr;
    form->Deactivate();
    // Back to the form that was active before, without moving its focus.
    if (!activation_.empty()) SetActiveForm(activation_.back());
}

}  // namespace krv
