// A label that attaches itself to a control and takes its place beside it.
#pragma once

#include <cstdint>

#include "platform/DB.h"
#include "platform/StdCtrls.h"

namespace krv {

enum TPos : uint8_t { psTop, psLeft, psRight, psBottom };
const TTypeInfo& TypeInfoPos();  // "TPos"

class TDBLabel : public TLabel {
    KRV_CLASS(TDBLabel)
    // Caption "挂靠标签", left of its control with a gap of 4, aligned and captioned automatically.
    explicit TDBLabel(TComponent* owner);

    // Refused with an error box while another such label with the same parent is attached to
    // that control; the label keeps its previous control then.
    void SetFocusControl(TWinControl* control) override;
    bool AutoAlign() const { return autoAlign_; }
    void SetAutoAlign(bool autoAlign);
    bool AutoCaption() const { return autoCaption_; }
    void SetAutoCaption(bool autoCaption);
    uint8_t Gap() const { return gap_; }
    void SetGap(uint8_t gap);
    TPos Pos() const { return pos_; }
    void SetPos(TPos pos);

private:
    bool AttachedBySibling(const TWinControl* control) const;
    void RefreshFromControl();
    void TakeFieldCaption(TWinControl& control);
    void PlaceBeside(const TWinControl& control);

    bool autoAlign_ = true;
    bool autoCaption_ = true;
    uint8_t gap_ = 4;
    TPos pos_ = psLeft;
};

}  // namespace krv
