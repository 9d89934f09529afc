#include "platform/Buttons.h"

namespace krv {

const TTypeInfo& TypeInfoButtonLayout() {
    static const TTypeInfo type =
        MakeEnumType("TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});
    return type;
}

// ---- TButtonGlyph ----------------------------------------------------------------------------

TButtonGlyph::TButtonGlyph() : glyph_(std::make_unique<TBitmap>()) {}

void TButtonGlyph::SetGlyph(const TBitmap* glyph) {
    if (glyph)
        glyph_->Assign(glyph);
    else
        glyph_->SetSize(0, 0);
    if (glyph_->Empty()) return;
    const int width = glyph_->Width();
    const int height = glyph_->Height();
    if (width % height == 0 && width / height <= 4) SetNumGlyphs(width / height);
}

void TButtonGlyph::ImageAt(int index, TBitmap& image) const {
    if (glyph_->Empty()) {
        image.SetSize(0, 0);
        return;
    }
    const int width = glyph_->Width() / numGlyphs_;
    if (index < 0 || index >= numGlyphs_) index = 0;
    image.SetSize(width, glyph_->Height());
    for (int y = 0; y < glyph_->Height(); ++y)
        for (int x = 0; x < width; ++x)
            image.SetPixel(x, y, glyph_->Pixel(index * width + x, y));
}

void DrawButtonFace(TCanvas& canvas, const TControl& control, const TButtonGlyph& glyph, int imageIndex,
                    TButtonLayout layout, int spacing) {
    const TRect client = control.ClientRect();
    TBitmap image;
    glyph.ImageAt(imageIndex, image);
    canvas.SetFont(control.Font());
    const std::string caption = control.Caption();
    const int textWidth = FontTextWidth(*control.Font(), StripAccelerators(caption));
    const int textHeight = FontLineHeight(*control.Font());
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    const int gap = image.Empty() || caption.empty() ? 0 : spacing;
    const int total = horizontal ? image.Width() + gap + textWidth : image.Height() + gap + textHeight;
    int start = ((horizontal ? client.Width() : client.Height()) - total) / 2;
    TPoint imageAt;
    TPoint textAt;
    const bool glyphFirst = layout == blGlyphLeft || layout == blGlyphTop;
    const int imageExtent = horizontal ? image.Width() : image.Height();
    const int textExtent = horizontal ? textWidth : textHeight;
    const int imagePos = glyphFirst ? start : start + textExtent + gap;
    const int textPos = glyphFirst ? start + imageExtent + gap : start;
    if (horizontal) {
        imageAt = Point(imagePos, (client.Height() - image.Height()) / 2);
        textAt = Point(textPos, (client.Height() - textHeight) / 2);
    } else {
        imageAt = Point((client.Width() - image.Width()) / 2, imagePos);
        textAt = Point((client.Width() - textWidth) / 2, textPos);
    }
    if (!image.Empty()) canvas.Draw(imageAt.X, imageAt.Y, image);
    if (!caption.empty()) {
        TRect r = Bounds(textAt.X, textAt.Y, textWidth, textHeight);
        canvas.Brush()->SetStyle(bsClear);
        canvas.DrawText(caption, r, DT_SINGLELINE | DT_NOCLIP);
        canvas.Brush()->SetStyle(bsSolid);
    }
}

// ---- TSpeedButton ----------------------------------------------------------------------------

const TClassInfo& TSpeedButton::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TSpeedButton> b("TSpeedButton", TGraphicControl::StaticClassInfo());
        return PublishCaption(PublishControl(b))
            .Creatable()
            .Int("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex)
            .Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp)
            .Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown)
            .Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat)
            .Object("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph)
            .Int("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs)
            .Enum("Layout", TypeInfoButtonLayout(), &TSpeedButton::Layout, &TSpeedButton::SetLayout)
            .Int("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin)
            .Int("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing)
            .Bool("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent)
            .Build();
    }();
    return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 23, 22); }

template <class F>
void TSpeedButton::ForGroup(F f) {
    if (groupIndex_ == 0 || !Parent()) return;
    for (TControl* control : std::vector<TControl*>(Parent()->ControlList()))
        if (auto* other = dynamic_cast<TSpeedButton*>(control);
            other && other != this && other->groupIndex_ == groupIndex_)
            f(*other);
}

void TSpeedButton::SetGroupIndex(int groupIndex) {
    groupIndex_ = groupIndex;
    if (groupIndex_ == 0) SetDown(false);
}

void TSpeedButton::SetAllowAllUp(bool allowAllUp) {
    allowAllUp_ = allowAllUp;
    ForGroup([&](TSpeedButton& other) { other.allowAllUp_ = allowAllUp; });
}

void TSpeedButton::SetDown(bool down) {
    if (groupIndex_ == 0) down = false;
    if (down == down_) return;
    if (down_ && !allowAllUp_) return;
    down_ = down;
    Invalidate();
    NotifyPeer(TPeerChange::Checked);
    if (down)
        ForGroup([](TSpeedButton& other) {
            if (!other.down_) return;
            other.down_ = false;
            other.Invalidate();
            other.NotifyPeer(TPeerChange::Checked);
        });
}

void TSpeedButton::SetFlat(bool flat) {
    flat_ = flat;
    Invalidate();
}

void TSpeedButton::SetGlyph(const TBitmap* glyph) {
    glyph_.SetGlyph(glyph);
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int count) {
    glyph_.SetNumGlyphs(count);
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout layout) {
    layout_ = layout;
    Invalidate();
}

void TSpeedButton::UserClick() {
    if (groupIndex_ != 0) SetDown(!down_);
    Click();
}

void TSpeedButton::EnabledChanged() {
    TGraphicControl::EnabledChanged();
    Invalidate();
}

void TSpeedButton::TextChanged() {
    TGraphicControl::TextChanged();
    Invalidate();
}

void TSpeedButton::Paint() {
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    if (!transparent_ || !flat_) {
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(client);
    }
    if (!flat_ || down_) {
        canvas->Pen()->SetColor(down_ ? clBtnShadow : clBtnHighlight);
        canvas->FrameRect(client);
    }
    const int image = !EnabledInParents() ? 1 : down_ ? 3 : 0;
    DrawButtonFace(*canvas, *this, glyph_, image, layout_, spacing_);
}

// ---- TBitBtn ---------------------------------------------------------------------------------

const TClassInfo& TBitBtn::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TBitBtn> b("TBitBtn", TButton::StaticClassInfo());
        return b.Creatable()
            .Object("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph)
            .Int("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs)
            .Enum("Layout", TypeInfoButtonLayout(), &TBitBtn::Layout, &TBitBtn::SetLayout)
            .Int("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin)
            .Int("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing)
            .Build();
    }();
    return info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::SetGlyph(const TBitmap* glyph) {
    glyph_.SetGlyph(glyph);
    Invalidate();
}

void TBitBtn::SetNumGlyphs(int count) {
    glyph_.SetNumGlyphs(count);
    Invalidate();
}

void TBitBtn::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->Rectangle(ClientRect());
    DrawButtonFace(*canvas, *this, glyph_, EnabledInParents() ? 0 : 1, layout_, spacing_);
}

}  // namespace krv
