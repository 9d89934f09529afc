#include "controls/F2Button.h"

#include "platform/Dialogs.h"
#include "platform/Forms.h"

namespace krv {

TCustomForm* FormOfControl(const TControl* control) {
    if (!control) return nullptr;
    if (TCustomForm* form = control->ParentForm()) return form;
    for (TComponent* owner = control->Owner(); owner; owner = owner->Owner())
        if (auto* form = dynamic_cast<TCustomForm*>(owner)) return form;
    return nullptr;
}

bool SendOpenWinRequest(TWinControl* control) {
    TCustomForm* form = FormOfControl(control);
    if (!form) return false;
    Application->SendMessage(form, WM_OPENWIN, 0, reinterpret_cast<intptr_t>(control));
    return true;
}

const TClassInfo& TF2Button::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TF2Button>("TF2Button", TGSpeedButton::StaticClassInfo())
                                       .Creatable()
                                       .Object("F2Control", &TF2Button::F2Control, &TF2Button::SetF2Control)
                                       .Bool("AutoAlign", &TF2Button::AutoAlign, &TF2Button::SetAutoAlign)
                                       .Int("Gap", &TF2Button::Gap, &TF2Button::SetGap)
                                       .Build();
    return info;
}

TF2Button::TF2Button(TComponent* owner) : TGSpeedButton(owner) {
    SetFlat(true);
    SetGlyphIndex(8);
}

void TF2Button::SetF2Control(TWinControl* control) {
    if (control && control != f2Control_ && ServedBySibling(control)) {
        MessageDlg("不能同时有两个 F2Button 指到同一个 Edit.", mtError, {mbOK});
        return;
    }
    if (f2Control_ && f2Control_ != control) f2Control_->RemoveFreeNotification(this);
    f2Control_ = control;
    if (control) control->FreeNotification(this);
    AlignToControl();
}

void TF2Button::SetAutoAlign(bool autoAlign) {
    autoAlign_ = autoAlign;
    AlignToControl();
}

void TF2Button::SetGap(uint8_t gap) {
    gap_ = gap;
    AlignToControl();
}

bool TF2Button::ServedBySibling(const TWinControl* control) const {
    if (!Parent()) return false;
    for (TControl* sibling : Parent()->ControlList())
        if (auto* button = dynamic_cast<TF2Button*>(sibling); button && button != this && button->f2Control_ == control)
            return true;
    return false;
}

void TF2Button::AlignToControl() {
    if (!f2Control_ || !autoAlign_) return;
    const int side = f2Control_->Height();
    SetBounds(f2Control_->Right() + gap_, f2Control_->Top(), side, side);
}

void TF2Button::Click() {
    TGSpeedButton::Click();
    TWinControl* control = f2Control_;
    if (!control || !control->Enabled()) return;
    if (control->CanFocus()) control->SetFocus();
    if (control->Focused()) SendOpenWinRequest(control);
}

void TF2Button::Notification(TComponent* component, TOperation operation) {
    TGSpeedButton::Notification(component, operation);
    if (operation == opRemove && component == f2Control_) f2Control_ = nullptr;
}

}  // namespace krv
