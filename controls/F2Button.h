// The lookup button: a bitmap button bound to an input control, which asks the control's form to
// open the lookup window of that control (as the F2 key does).
#pragma once

#include <cstdint>

#include "controls/GSpdBtn.h"

namespace krv {

// The open-window request: sent to a form, LParam the control (a TWinControl*) whose lookup is
// wanted. The form handles it as F2 pressed on that control.
inline constexpr unsigned WM_OPENWIN = WM_USER + 10;

// The form that contains the control (walking its parents), else the first form up its owner
// chain; nullptr when there is none.
TCustomForm* FormOfControl(const TControl* control);
// Sends the open-window request for the control to its form at once; false when it has no form.
bool SendOpenWinRequest(TWinControl* control);

class TF2Button : public TGSpeedButton {
    KRV_CLASS(TF2Button)
    // Flat, bitmap 8, gap 2, aligned automatically.
    explicit TF2Button(TComponent* owner);

    TWinControl* F2Control() const { return f2Control_; }
    // Refused with an error box while another lookup button with the same parent serves that
    // control; the button keeps its previous control then.
    void SetF2Control(TWinControl* control);
    bool AutoAlign() const { return autoAlign_; }
    void SetAutoAlign(bool autoAlign);
    uint8_t Gap() const { return gap_; }
    void SetGap(uint8_t gap);

    // OnClick first; then, when the control is enabled, it takes the focus and, holding it,
    // gets its lookup through the open-window request.
    void Click() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool ServedBySibling(const TWinControl* control) const;
    // Square, level with the control, Gap pixels right of it.
    void AlignToControl();

    TWinControl* f2Control_ = nullptr;
    bool autoAlign_ = true;
    uint8_t gap_ = 2;
};

}  // namespace krv
