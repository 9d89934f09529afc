// Speed buttons (graphic, never focused, grouped down states) and bitmap buttons.
#pragma once

#include <algorithm>
#include <memory>

#include "platform/StdCtrls.h"

namespace krv {

enum TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
const TTypeInfo& TypeInfoButtonLayout();  // "TButtonLayout"

// The picture of a button: a strip of 1 to 4 equal images (up, disabled, down, exclusive).
class TButtonGlyph {
public:
    TButtonGlyph();
    TBitmap* Glyph() const { return glyph_.get(); }
    // Copies the picture; a strip whose width is a multiple of its height (up to four images)
    // sets the number of images.
    void SetGlyph(const TBitmap* glyph);
    int NumGlyphs() const { return numGlyphs_; }
    // Kept within 1..4.
    void SetNumGlyphs(int count) { numGlyphs_ = std::clamp(count, 1, 4); }
    // Image `index` of the strip (the up image when the strip has fewer); empty without a glyph.
    void ImageAt(int index, TBitmap& image) const;

private:
    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1;
};

// Takes no focus. With a GroupIndex it keeps a down state: a click puts it down (and the others
// of its group with the same parent up) before OnClick; with AllowAllUp a click on a down button
// puts it up. Setting Down in code fires no OnClick.
class TSpeedButton : public TGraphicControl {
    KRV_CLASS(TSpeedButton)
    // 23 x 22.
    explicit TSpeedButton(TComponent* owner);

    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int groupIndex);
    bool AllowAllUp() const { return allowAllUp_; }
    // Shared by the whole group.
    void SetAllowAllUp(bool allowAllUp);
    bool Down() const { return down_; }
    // Without a group a button is never down; a down button of a group without AllowAllUp stays
    // down until another one goes down.
    void SetDown(bool down);
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);
    TBitmap* Glyph() const { return glyph_.Glyph(); }
    void SetGlyph(const TBitmap* glyph);
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int count);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout layout);
    int Margin() const { return margin_; }
    void SetMargin(int margin) { margin_ = margin; Invalidate(); }
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing) { spacing_ = spacing; Invalidate(); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent) { transparent_ = transparent; Invalidate(); }

    void UserClick() override;

protected:
    void Paint() override;
    void EnabledChanged() override;
    void TextChanged() override;

private:
    template <class F>
    void ForGroup(F f);

    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool down_ = false;
    bool flat_ = false;
    TButtonGlyph glyph_;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    bool transparent_ = true;
};

class TBitBtn : public TButton {
    KRV_CLASS(TBitBtn)
    explicit TBitBtn(TComponent* owner);

    TBitmap* Glyph() const { return glyph_.Glyph(); }
    // `btnOk.Glyph := other.Glyph` copies the picture.
    void SetGlyph(const TBitmap* glyph);
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int count);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout layout) { layout_ = layout; Invalidate(); }
    int Margin() const { return margin_; }
    void SetMargin(int margin) { margin_ = margin; Invalidate(); }
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing) { spacing_ = spacing; Invalidate(); }

protected:
    void Paint() override;

private:
    TButtonGlyph glyph_;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
};

// Draws the button's caption with its glyph image beside it, as the layout says.
void DrawButtonFace(TCanvas& canvas, const TControl& control, const TButtonGlyph& glyph, int imageIndex,
                    TButtonLayout layout, int spacing);

}  // namespace krv
