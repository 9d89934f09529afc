// A radio button that paints its caption itself, in its own font and on its own colour, which
// the system's button drawing does not honour.
#pragma once

#include "platform/StdCtrls.h"

namespace krv {

// Width left free for the round indicator at a font size in points.
int RadioIndicatorWidth(int fontSizePoints);

class TKrRadioButton : public TButtonControl {
    KRV_CLASS(TKrRadioButton)
    // 113 by 17, caption right of the indicator, unchecked.
    explicit TKrRadioButton(TComponent* owner);

    bool GetChecked() const override { return checked_; }
    // Checking unchecks the other buttons of this class under the same parent and fires OnClick
    // (unless clicks are disabled); the checked button is the tab stop.
    void SetChecked(bool checked) override;
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

    void UserClick() override { SetChecked(true); }
    // Alt and the caption's accelerator letter focus the button.
    bool DialogKey(Word key, TShiftState shift) override;

protected:
    void Paint() override;

private:
    bool checked_ = false;
    TAlignment alignment_ = taRightJustify;
};

}  // namespace krv
