// Panels, splitters, bevels and images.
#pragma once

#include <memory>

#include "platform/StdCtrls.h"

namespace krv {

enum TPanelBevel : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
enum TBevelShape : uint8_t { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle : uint8_t { bsLowered, bsRaised };

const TTypeInfo& TypeInfoPanelBevel();  // "TPanelBevel"
const TTypeInfo& TypeInfoBevelShape();  // "TBevelShape"
const TTypeInfo& TypeInfoBevelStyle();  // "TBevelStyle"

// A container with bevels and a centred caption. It can take the focus itself (SetFocus works
// on it), although a click does not give it the focus.
class TCustomPanel : public TCustomControl {
    KRV_CLASS(TCustomPanel)
    // 185 x 41, raised outer bevel of width 1, caption centred.
    explicit TCustomPanel(TComponent* owner);

    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel bevel);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel bevel);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

protected:
    // Aligned children keep clear of the border and the bevels.
    void AdjustClientRect(TRect& rect) const override;
    void Paint() override;
    void TextChanged() override;

private:
    void FrameChanged();

    TPanelBevel bevelInner_ = bvNone;
    TPanelBevel bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
    KRV_CLASS(TPanel)
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

// A bar that resizes the control aligned next to it; headless it only holds its settings.
class TSplitter : public TGraphicControl {
    KRV_CLASS(TSplitter)
    // Aligned left, 3 wide.
    explicit TSplitter(TComponent* owner);
    int MinSize() const { return minSize_; }
    void SetMinSize(int size) { minSize_ = std::max(1, size); }
    bool Beveled() const { return beveled_; }
    void SetBeveled(bool beveled) { beveled_ = beveled; }
    TNotifyEvent OnMoved;

private:
    int minSize_ = 30;
    bool beveled_ = false;
};

class TBevel : public TGraphicControl {
    KRV_CLASS(TBevel)
    explicit TBevel(TComponent* owner);
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape shape);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle style);

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

// Shows a bitmap.
class TImage : public TGraphicControl {
    KRV_CLASS(TImage)
    explicit TImage(TComponent* owner);
    ~TImage() override;
    TBitmap* Picture() const { return picture_.get(); }
    void SetPicture(const TBitmap* picture) { picture_->Assign(picture); }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch) { stretch_ = stretch; Invalidate(); }
    bool Center() const { return center_; }
    void SetCenter(bool center) { center_ = center; Invalidate(); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent) { transparent_ = transparent; Invalidate(); }

protected:
    void Paint() override;

private:
    std::unique_ptr<TBitmap> picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
};

}  // namespace krv
