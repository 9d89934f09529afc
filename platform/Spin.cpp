#include "platform/Spin.h"

#include <algorithm>
#include <cstdint>

namespace krv {

const TClassInfo& TSpinButton::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TSpinButton> b("TSpinButton", TWinControl::StaticClassInfo());
        return PublishWinControl(b)
            .Creatable()
            .Event("OnUpClick", &TSpinButton::OnUpClick)
            .Event("OnDownClick", &TSpinButton::OnDownClick)
            .Build();
    }();
    return info;
}

TSpinButton::TSpinButton(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 15, 20); }

const TClassInfo& TSpinEdit::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TSpinEdit> b("TSpinEdit", TCustomEdit::StaticClassInfo());
        return b.Creatable()
            .Int("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue)
            .Int("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue)
            .Int("Increment", &TSpinEdit::Increment, &TSpinEdit::SetIncrement)
            .Int("Value", &TSpinEdit::Value, &TSpinEdit::SetValue)
            .Bool("EditorEnabled", &TSpinEdit::EditorEnabled, &TSpinEdit::SetEditorEnabled)
            .Str("Text", &TSpinEdit::Text, &TSpinEdit::SetText)
            .Int("MaxLength", &TSpinEdit::MaxLength, &TSpinEdit::SetMaxLength)
            .Bool("ReadOnly", &TSpinEdit::ReadOnly, &TSpinEdit::SetReadOnly)
            .Event("OnChange", &TSpinEdit::OnChange)
            .Build();
    }();
    return info;
}

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner), button_(new TSpinButton(this)) {
    button_->SetParent(this);
    button_->OnUpClick = TNotifyEvent(this, &TSpinEdit::UpClick);
    button_->OnDownClick = TNotifyEvent(this, &TSpinEdit::DownClick);
    SetTextDirect("0");
    SetBounds(0, 0, 121, 22);
}

int TSpinEdit::Value() const {
    int value = 0;
    int64_t parsed = 0;
    if (TryStrToInt64(GetText(), parsed) && parsed >= INT32_MIN && parsed <= INT32_MAX)
        value = static_cast<int>(parsed);
    else
        value = minValue_;
    return value;
}

int TSpinEdit::CheckValue(int value) const {
    if (maxValue_ == minValue_) return value;
    return std::clamp(value, std::min(minValue_, maxValue_), std::max(minValue_, maxValue_));
}

void TSpinEdit::SetValue(int value) { SetText(IntToStr(CheckValue(value))); }

void TSpinEdit::UpClick(TObject*) {
    if (!ReadOnly()) SetValue(Value() + increment_);
}

void TSpinEdit::DownClick(TObject*) {
    if (!ReadOnly()) SetValue(Value() - increment_);
}

void TSpinEdit::KeyDown(Word& key, TShiftState shift) {
    if (key == VK_UP || key == VK_DOWN) {
        TWinControl::KeyDown(key, shift);
        if (key == VK_UP) UpClick(this);
        if (key == VK_DOWN) DownClick(this);
        return;
    }
    TCustomEdit::KeyDown(key, shift);
}

void TSpinEdit::InputChar(const std::string& ch) {
    if (!editorEnabled_) return;
    const bool valid =
        ch == "\b" || (ch.size() == 1 && ((ch[0] >= '0' && ch[0] <= '9') || ch[0] == '-' || ch[0] == '+'));
    if (valid) TCustomEdit::InputChar(ch);
}

void TSpinEdit::DoExit() {
    TCustomEdit::DoExit();
    if (CheckValue(Value()) != Value()) SetValue(Value());
}

void TSpinEdit::Resize() {
    TCustomEdit::Resize();
    if (button_) button_->SetBounds(Width() - button_->Width(), 0, button_->Width(), Height());
}

}  // namespace krv
