// Small controls for the GUI library's tests: an edit that takes typed text, a container, a
// push button with modal result/default/cancel, and a form that logs its events.
#pragma once

#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/TypInfo.h"
#include "platform/UserDriver.h"

namespace krv::testkit {

class TKitEdit : public TWinControl {
    KRV_CLASS(TKitEdit)
    explicit TKitEdit(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }
    bool FocusOnClick() const override { return true; }
    unsigned DialogCode() const override { return dlgcWantArrows | dlgcWantChars | (wantReturns ? dlgcWantAllKeys : 0); }
    void InputChar(const std::string& ch) override {
        if (ch == "\b") {
            if (!GetText().empty()) SetText(GetText().substr(0, GetText().size() - 1));
            return;
        }
        SetText(GetText() + ch);
    }
    bool wantReturns = false;
    TNotifyEvent OnChange;

protected:
    void TextChanged() override { OnChange(this); }
};

class TKitBox : public TWinControl {
    KRV_CLASS(TKitBox)
    explicit TKitBox(TComponent* owner) : TWinControl(owner) {}
};

class TKitButton : public TWinControl {
    KRV_CLASS(TKitButton)
    explicit TKitButton(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }
    bool FocusOnClick() const override { return true; }
    void Click() override {
        if (TCustomForm* form = GetParentForm(this); form && modalResult) form->SetModalResult(modalResult);
        TWinControl::Click();
    }
    bool DialogKey(Word key, TShiftState) override {
        if ((key == VK_RETURN && (Focused() || isDefault)) || (key == VK_ESCAPE && isCancel)) {
            if (!CanFocus()) return false;
            Click();
            return true;
        }
        return false;
    }
    TModalResult modalResult = mrNone;
    bool isDefault = false;
    bool isCancel = false;
};

// A graphic control: never takes the focus.
class TKitSpeedButton : public TGraphicControl {
    KRV_CLASS(TKitSpeedButton)
    explicit TKitSpeedButton(TComponent* owner) : TGraphicControl(owner) {}
};

class TKitForm : public TForm {
    KRV_CLASS(TKitForm)
    explicit TKitForm(TComponent* owner) : TForm(owner) {}
    void FormClick(TObject* sender) { clickedBy = sender; }
    TObject* clickedBy = nullptr;
};

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const std::string& name) {
    T* control = Create<T>(owner);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(0, 0, 80, 20);
    return control;
}

// Records "enter X" / "exit X" for the controls it is attached to.
struct FocusLog {
    std::vector<std::string> events;
    void Watch(TWinControl* control) {
        control->OnEnter = [this, control](TObject*) { events.push_back("enter " + control->Name()); };
        control->OnExit = [this, control](TObject*) { events.push_back("exit " + control->Name()); };
    }
};

}  // namespace krv::testkit
