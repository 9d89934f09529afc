#include "platform/ExtCtrls.h"

#include <algorithm>

namespace krv {

const TTypeInfo& TypeInfoPanelBevel() {
    static const TTypeInfo type = MakeEnumType("TPanelBevel", {"bvNone", "bvLowered", "bvRaised", "bvSpace"});
    return type;
}
const TTypeInfo& TypeInfoBevelShape() {
    static const TTypeInfo type = MakeEnumType(
        "TBevelShape",
        {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"});
    return type;
}
const TTypeInfo& TypeInfoBevelStyle() {
    static const TTypeInfo type = MakeEnumType("TBevelStyle", {"bsLowered", "bsRaised"});
    return type;
}

// ---- TCustomPanel ----------------------------------------------------------------------------

const TClassInfo& TCustomPanel::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomPanel>("TCustomPanel", TCustomControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TPanel::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TPanel> b("TPanel", TCustomPanel::StaticClassInfo());
        return PublishCaption(PublishWinControl(b))
            .Creatable()
            .Enum("BevelInner", TypeInfoPanelBevel(), &TPanel::BevelInner, &TPanel::SetBevelInner)
            .Enum("BevelOuter", TypeInfoPanelBevel(), &TPanel::BevelOuter, &TPanel::SetBevelOuter)
            .Int("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth)
            .Int("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth)
            .Enum("Alignment", TypeInfoAlignment(), &TPanel::Alignment, &TPanel::SetAlignment)
            .Build();
    }();
    return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::SetBevelInner(TPanelBevel bevel) {
    bevelInner_ = bevel;
    FrameChanged();
}

void TCustomPanel::SetBevelOuter(TPanelBevel bevel) {
    bevelOuter_ = bevel;
    FrameChanged();
}

void TCustomPanel::SetBevelWidth(int width) {
    bevelWidth_ = std::max(1, width);
    FrameChanged();
}

void TCustomPanel::SetBorderWidth(int width) {
    borderWidth_ = std::max(0, width);
    FrameChanged();
}

void TCustomPanel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Invalidate();
}

void TCustomPanel::FrameChanged() {
    Realign();
    Invalidate();
}

void TCustomPanel::TextChanged() {
    TCustomControl::TextChanged();
    Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& rect) const {
    TCustomControl::AdjustClientRect(rect);
    const int bevels = (bevelOuter_ != bvNone ? bevelWidth_ : 0) + (bevelInner_ != bvNone ? bevelWidth_ : 0);
    InflateRect(rect, -(borderWidth_ + bevels), -(borderWidth_ + bevels));
}

void TCustomPanel::Paint() {
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(r);
    for (TPanelBevel bevel : {bevelOuter_, bevelInner_}) {
        if (bevel == bvNone) continue;
        canvas->Pen()->SetColor(bevel == bvLowered ? clBtnShadow : clBtnHighlight);
        canvas->FrameRect(r);
        InflateRect(r, -bevelWidth_, -bevelWidth_);
    }
    canvas->SetFont(Font());
    const unsigned format = DT_SINGLELINE | DT_VCENTER |
                            (alignment_ == taCenter         ? DT_CENTER
                             : alignment_ == taRightJustify ? DT_RIGHT
                                                            : DT_LEFT);
    canvas->DrawText(GetText(), r, format);
}

// ---- TSplitter, TBevel, TImage ---------------------------------------------------------------

const TClassInfo& TSplitter::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TSplitter> b("TSplitter", TGraphicControl::StaticClassInfo());
        return PublishControl(b)
            .Creatable()
            .Int("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize)
            .Bool("Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled)
            .Event("OnMoved", &TSplitter::OnMoved)
            .Build();
    }();
    return info;
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    SetAlign(alLeft);
    SetWidth(3);
    SetCursor(crHSplit);
}

const TClassInfo& TBevel::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TBevel> b("TBevel", TGraphicControl::StaticClassInfo());
        return PublishControl(b)
            .Creatable()
            .Enum("Shape", TypeInfoBevelShape(), &TBevel::Shape, &TBevel::SetShape)
            .Enum("Style", TypeInfoBevelStyle(), &TBevel::Style, &TBevel::SetStyle)
            .Build();
    }();
    return info;
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape shape) {
    shape_ = shape;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle style) {
    style_ = style;
    Invalidate();
}

void TBevel::Paint() {
    if (shape_ == bsSpacer) return;
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(style_ == bsLowered ? clBtnShadow : clBtnHighlight);
    const TRect r = ClientRect();
    switch (shape_) {
        case bsBox:
        case bsFrame:
            canvas->FrameRect(r);
            break;
        case bsTopLine:
            canvas->MoveTo(0, 0);
            canvas->LineTo(r.Right, 0);
            break;
        case bsBottomLine:
            canvas->MoveTo(0, r.Bottom - 1);
            canvas->LineTo(r.Right, r.Bottom - 1);
            break;
        case bsLeftLine:
            canvas->MoveTo(0, 0);
            canvas->LineTo(0, r.Bottom);
            break;
        case bsRightLine:
            canvas->MoveTo(r.Right - 1, 0);
            canvas->LineTo(r.Right - 1, r.Bottom);
            break;
        case bsSpacer:
            break;
    }
}

const TClassInfo& TImage::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TImage> b("TImage", TGraphicControl::StaticClassInfo());
        return PublishControl(b)
            .Creatable()
            .Object("Picture", &TImage::Picture, &TImage::SetPicture)
            .Bool("Stretch", &TImage::Stretch, &TImage::SetStretch)
            .Bool("Center", &TImage::Center, &TImage::SetCenter)
            .Bool("Transparent", &TImage::Transparent, &TImage::SetTransparent)
            .Build();
    }();
    return info;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TBitmap>()) {
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() = default;

void TImage::Paint() {
    if (picture_->Empty()) return;
    const TRect r = ClientRect();
    const int x = center_ ? (r.Width() - picture_->Width()) / 2 : 0;
    const int y = center_ ? (r.Height() - picture_->Height()) / 2 : 0;
    Canvas()->Draw(x, y, *picture_);
}

}  // namespace krv
