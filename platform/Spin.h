// Spin edits: an integer edit with up and down buttons, kept within a range when it is left.
#pragma once

#include "platform/StdCtrls.h"

namespace krv {

// The up/down button pair inside a spin edit.
class TSpinButton : public TWinControl {
    KRV_CLASS(TSpinButton)
    explicit TSpinButton(TComponent* owner);
    // A person clicks the upper or the lower half.
    void UserClickUp() { OnUpClick(this); }
    void UserClickDown() { OnDownClick(this); }
    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;
};

class TSpinEdit : public TCustomEdit {
    KRV_CLASS(TSpinEdit)
    // Range 0..0 (no limit), increment 1, text "0".
    explicit TSpinEdit(TComponent* owner);

    int MinValue() const { return minValue_; }
    void SetMinValue(int value) { minValue_ = value; }
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value) { maxValue_ = value; }
    int Increment() const { return increment_; }
    void SetIncrement(int increment) { increment_ = increment; }
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool enabled) { editorEnabled_ = enabled; }
    // The text as a number; a text that is no number gives MinValue.
    int Value() const;
    // Writes the value kept within the range (fires OnChange when the text changes).
    void SetValue(int value);
    // Within MinValue..MaxValue; any value when the two are equal.
    int CheckValue(int value) const;
    TSpinButton* Button() const { return button_; }

    // Up and Down step the value.
    void KeyDown(Word& key, TShiftState shift) override;
    // Digits, signs and editing keys only; nothing when the editor is disabled.
    void InputChar(const std::string& ch) override;
    // Leaving puts a value outside the range back inside.
    void DoExit() override;

protected:
    void Resize() override;

private:
    void UpClick(TObject*);
    void DownClick(TObject*);

    int minValue_ = 0;
    int maxValue_ = 0;
    int increment_ = 1;
    bool editorEnabled_ = true;
    TSpinButton* button_;
};

}  // namespace krv
