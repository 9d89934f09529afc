#include "platform/Graphics.h"

#include <algorithm>
#include <cmath>

namespace krv {

// ---- geometry --------------------------------------------------------------------------------

void InflateRect(TRect& rect, int dx, int dy) {
    rect.Left -= dx;
    rect.Top -= dy;
    rect.Right += dx;
    rect.Bottom += dy;
}

void OffsetRect(TRect& rect, int dx, int dy) {
    rect.Left += dx;
    rect.Right += dx;
    rect.Top += dy;
    rect.Bottom += dy;
}

bool PtInRect(const TRect& rect, TPoint p) {
    return p.X >= rect.Left && p.X < rect.Right && p.Y >= rect.Top && p.Y < rect.Bottom;
}

bool IntersectRect(TRect& result, const TRect& a, const TRect& b) {
    result = {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    if (result.IsEmpty()) {
        result = {};
        return false;
    }
    return true;
}

// ---- colours ---------------------------------------------------------------------------------

// The classic desktop scheme, by system colour index.
static const TColor kSystemColors[] = {
    RGB(212, 208, 200), RGB(58, 110, 165), RGB(10, 36, 106),  RGB(128, 128, 128), RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(0, 0, 0),      RGB(0, 0, 0),      RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),  RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),      RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),   RGB(212, 208, 200), RGB(0, 0, 0),      RGB(255, 255, 225),
};

TColor ColorToRGB(TColor color) {
    if (color >= 0) return color;
    unsigned index = static_cast<unsigned>(color) & 0xFF;
    if (index < std::size(kSystemColors)) return kSystemColors[index];
    return clBlack;
}

const TIdentTable& ColorIdents() {
    static const TIdentTable table = {
        {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
        {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
        {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
        {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
        {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"}, {clActiveCaption, "clActiveCaption"},
        {clInactiveCaption, "clInactiveCaption"}, {clMenu, "clMenu"}, {clWindow, "clWindow"},
        {clWindowFrame, "clWindowFrame"}, {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"},
        {clCaptionText, "clCaptionText"}, {clActiveBorder, "clActiveBorder"},
        {clInactiveBorder, "clInactiveBorder"}, {clAppWorkSpace, "clAppWorkSpace"},
        {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"},
        {clBtnShadow, "clBtnShadow"}, {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
        {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
        {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
        {clInfoBk, "clInfoBk"}, {clNone, "clNone"}, {clDefault, "clDefault"},
    };
    return table;
}

const TTypeInfo& TypeInfoColor() {
    static const TTypeInfo t = MakeIntegerType("TColor", ColorIdents());
    return t;
}

bool ColorToIdent(TColor color, std::string& ident) { return IntToIdent(color, ident, ColorIdents()); }

bool IdentToColor(const std::string& ident, TColor& color) {
    int value = 0;
    if (!IdentToInt(ident, value, ColorIdents())) return false;
    color = value;
    return true;
}

std::string ColorToString(TColor color) {
    std::string ident;
    if (ColorToIdent(color, ident)) return ident;
    static const char* digits = "0123456789ABCDEF";
    std::string hex = "$";
    for (int shift = 28; shift >= 0; shift -= 4) hex += digits[(static_cast<uint32_t>(color) >> shift) & 0xF];
    return hex;
}

TColor StringToColor(const std::string& text) {
    TColor color = 0;
    if (IdentToColor(Trim(text), color)) return color;
    std::string t = Trim(text);
    if (t.size() > 1 && t[0] == '$' && t.size() <= 9) {
        uint32_t v = 0;
        for (size_t i = 1; i < t.size(); ++i) {
            char c = t[i];
            int d = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
            if (d < 0) throw EConvertError("'" + text + "' is not a valid integer value");
            v = v * 16 + static_cast<uint32_t>(d);
        }
        return static_cast<TColor>(v);
    }
    return static_cast<TColor>(StrToInt(t));
}

// ---- fonts -----------------------------------------------------------------------------------

const TTypeInfo& TypeInfoFontStyle() {
    static const TTypeInfo t = MakeEnumType("TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
    return t;
}
const TTypeInfo& TypeInfoFontStyles() {
    static const TTypeInfo t = MakeSetType("TFontStyles", TypeInfoFontStyle());
    return t;
}
const TTypeInfo& TypeInfoFontPitch() {
    static const TTypeInfo t = MakeEnumType("TFontPitch", {"fpDefault", "fpVariable", "fpFixed"});
    return t;
}
const TTypeInfo& TypeInfoFontCharset() {
    static const TTypeInfo t = MakeIntegerType(
        "TFontCharset", {{ANSI_CHARSET, "ANSI_CHARSET"}, {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
                         {SYMBOL_CHARSET, "SYMBOL_CHARSET"}, {GB2312_CHARSET, "GB2312_CHARSET"},
                         {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"}, {OEM_CHARSET, "OEM_CHARSET"}});
    return t;
}

const TClassInfo& TFont::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TFont>("TFont", TPersistent::StaticClassInfo())
                                       .Int("Charset", &TFont::Charset, &TFont::SetCharset, TypeInfoFontCharset())
                                       .Int("Color", &TFont::Color, &TFont::SetColor, TypeInfoColor())
                                       .Int("Height", &TFont::Height, &TFont::SetHeight)
                                       .Str("Name", &TFont::Name, &TFont::SetName)
                                       .Enum("Pitch", TypeInfoFontPitch(), &TFont::Pitch, &TFont::SetPitch)
                                       .Int("Size", &TFont::Size, &TFont::SetSize)
                                       .Set("Style", TypeInfoFontStyles(), &TFont::Style, &TFont::SetStyle)
                                       .Build();
    return info;
}

TFont::TFont() = default;

// The library's MulDiv: rounded half away from zero.
static int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    double exact = static_cast<double>(number) * numerator / denominator;
    return static_cast<int>(std::lround(exact));
}

void TFont::SetName(const std::string& name) {
    if (name == name_) return;
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Changed();
}

int TFont::Size() const { return -MulDiv(height_, 72, pixelsPerInch_); }

void TFont::SetSize(int size) { SetHeight(-MulDiv(size, pixelsPerInch_, 72)); }

void TFont::SetCharset(TFontCharset charset) {
    if (charset == charset_) return;
    charset_ = charset;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
    if (pitch == pitch_) return;
    pitch_ = pitch;
    Changed();
}

bool TFont::SameAs(const TFont& o) const {
    return name_ == o.name_ && height_ == o.height_ && charset_ == o.charset_ && color_ == o.color_ &&
           style_ == o.style_ && pitch_ == o.pitch_;
}

void TFont::Assign(const TPersistent* source) {
    if (auto* font = dynamic_cast<const TFont*>(source)) {
        if (font == this || SameAs(*font)) return;
        name_ = font->name_;
        height_ = font->height_;
        charset_ = font->charset_;
        color_ = font->color_;
        style_ = font->style_;
        pitch_ = font->pitch_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TFont::Changed() { OnChange(this); }

static int PixelHeight(const TFont& font) {
    int h = std::abs(font.Height());
    return h == 0 ? 13 : h;
}

int FontLineHeight(const TFont& font) { return PixelHeight(font); }

int FontTextWidth(const TFont& font, const std::string& text) {
    int h = PixelHeight(font);
    int width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            width += h;
            ++i;
        } else {
            width += (h + 1) / 2;
        }
    }
    return width;
}

std::string StripAccelerators(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(c) && i + 1 < text.size()) {
            out += text[i];
            out += text[++i];
            continue;
        }
        if (c == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') out += text[++i];
            continue;
        }
        out += text[i];
    }
    return out;
}

// ---- brushes and pens ------------------------------------------------------------------------

static const TTypeInfo& TypeInfoBrushStyle() {
    static const TTypeInfo t = MakeEnumType("TBrushStyle", {"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                                            "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"});
    return t;
}

static const TTypeInfo& TypeInfoPenStyle() {
    static const TTypeInfo t = MakeEnumType(
        "TPenStyle", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"});
    return t;
}

const TClassInfo& TBrush::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TBrush>("TBrush", TPersistent::StaticClassInfo())
                                       .Int("Color", &TBrush::Color, &TBrush::SetColor, TypeInfoColor())
                                       .Enum("Style", TypeInfoBrushStyle(), &TBrush::Style, &TBrush::SetStyle)
                                       .Build();
    return info;
}

void TBrush::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    // A colour makes a clear brush solid again, as the library does.
    if (style_ == bsClear) style_ = bsSolid;
    OnChange(this);
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == style_) return;
    style_ = style;
    OnChange(this);
}

void TBrush::Assign(const TPersistent* source) {
    if (auto* brush = dynamic_cast<const TBrush*>(source)) {
        color_ = brush->color_;
        style_ = brush->style_;
        OnChange(this);
        return;
    }
    TPersistent::Assign(source);
}

const TClassInfo& TPen::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TPen>("TPen", TPersistent::StaticClassInfo())
                                       .Int("Color", &TPen::Color, &TPen::SetColor, TypeInfoColor())
                                       .Enum("Style", TypeInfoPenStyle(), &TPen::Style, &TPen::SetStyle)
                                       .Int("Width", &TPen::Width, &TPen::SetWidth)
                                       .Build();
    return info;
}

void TPen::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    OnChange(this);
}

void TPen::SetWidth(int width) {
    if (width == width_) return;
    width_ = width;
    OnChange(this);
}

void TPen::SetStyle(TPenStyle style) {
    if (style == style_) return;
    style_ = style;
    OnChange(this);
}

void TPen::Assign(const TPersistent* source) {
    if (auto* pen = dynamic_cast<const TPen*>(source)) {
        color_ = pen->color_;
        width_ = pen->width_;
        style_ = pen->style_;
        OnChange(this);
        return;
    }
    TPersistent::Assign(source);
}

// ---- canvas ----------------------------------------------------------------------------------

const TClassInfo& TCanvas::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCanvas>("TCanvas", TPersistent::StaticClassInfo()).Build();
    return info;
}

TCanvas::TCanvas() : TCanvas(nullptr) {}

TCanvas::TCanvas(TBitmap* target)
    : target_(target), font_(std::make_unique<TFont>()), brush_(std::make_unique<TBrush>()), pen_(std::make_unique<TPen>()) {
    font_->SetColor(clBlack);
}

TCanvas::~TCanvas() = default;

int TCanvas::TextWidth(const std::string& text) const { return FontTextWidth(*font_, text); }

int TCanvas::TextHeight(const std::string&) const { return FontLineHeight(*font_); }

TSize TCanvas::TextExtent(const std::string& text) const { return {TextWidth(text), TextHeight(text)}; }

TCanvasOp TCanvas::NewOp(TCanvasOp::Kind kind) const {
    TCanvasOp op;
    op.kind = kind;
    op.brushColor = brush_->Color();
    op.brushStyle = brush_->Style();
    op.penColor = pen_->Color();
    op.fontColor = font_->Color();
    op.fontStyle = font_->Style();
    op.fontName = font_->Name();
    op.fontHeight = font_->Height();
    return op;
}

void TCanvas::FillPixels(const TRect& rect, TColor color) {
    if (!target_) return;
    TColor rgb = ColorToRGB(color);
    for (int y = std::max(rect.Top, 0); y < std::min(rect.Bottom, target_->height_); ++y)
        for (int x = std::max(rect.Left, 0); x < std::min(rect.Right, target_->width_); ++x)
            target_->pixels_[static_cast<size_t>(y) * target_->width_ + x] = rgb;
}

void TCanvas::FillRect(const TRect& rect) {
    TCanvasOp op = NewOp(TCanvasOp::FillRect);
    op.rect = rect;
    ops_.push_back(std::move(op));
    if (brush_->Style() != bsClear) FillPixels(rect, brush_->Color());
    if (target_) target_->Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
    TCanvasOp op = NewOp(TCanvasOp::FrameRect);
    op.rect = rect;
    ops_.push_back(std::move(op));
    if (!target_) return;
    TColor c = brush_->Color();
    FillPixels({rect.Left, rect.Top, rect.Right, rect.Top + 1}, c);
    FillPixels({rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom}, c);
    FillPixels({rect.Left, rect.Top, rect.Left + 1, rect.Bottom}, c);
    FillPixels({rect.Right - 1, rect.Top, rect.Right, rect.Bottom}, c);
    target_->Changed();
}

void TCanvas::Rectangle(const TRect& rect) {
    TCanvasOp op = NewOp(TCanvasOp::Rectangle);
    op.rect = rect;
    ops_.push_back(std::move(op));
    if (!target_) return;
    if (brush_->Style() != bsClear) FillPixels(rect, brush_->Color());
    if (pen_->Style() != psClear) {
        TColor c = pen_->Color();
        FillPixels({rect.Left, rect.Top, rect.Right, rect.Top + 1}, c);
        FillPixels({rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom}, c);
        FillPixels({rect.Left, rect.Top, rect.Left + 1, rect.Bottom}, c);
        FillPixels({rect.Right - 1, rect.Top, rect.Right, rect.Bottom}, c);
    }
    target_->Changed();
}

void TCanvas::Ellipse(const TRect& rect) {
    TCanvasOp op = NewOp(TCanvasOp::Ellipse);
    op.rect = rect;
    ops_.push_back(std::move(op));
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    TCanvasOp op = NewOp(TCanvasOp::TextOut);
    op.point = {x, y};
    op.rect = Bounds(x, y, TextWidth(text), TextHeight(text));
    op.text = text;
    ops_.push_back(std::move(op));
    penPos_ = {x + TextWidth(text), y};
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const std::string& text) {
    TCanvasOp op = NewOp(TCanvasOp::TextOut);
    op.point = {x, y};
    op.rect = rect;
    op.text = text;
    ops_.push_back(std::move(op));
}

int TCanvas::DrawText(const std::string& text, TRect& rect, unsigned format) {
    std::string shown = (format & DT_NOPREFIX) ? text : StripAccelerators(text);
    int width = TextWidth(shown);
    int height = TextHeight(shown);
    if (format & DT_CALCRECT) {
        rect.Right = rect.Left + width;
        rect.Bottom = rect.Top + height;
        return height;
    }
    int x = rect.Left;
    if (format & DT_CENTER)
        x = rect.Left + (rect.Width() - width) / 2;
    else if (format & DT_RIGHT)
        x = rect.Right - width;
    int y = rect.Top;
    if ((format & DT_VCENTER) && (format & DT_SINGLELINE))
        y = rect.Top + (rect.Height() - height) / 2;
    else if ((format & DT_BOTTOM) && (format & DT_SINGLELINE))
        y = rect.Bottom - height;
    TCanvasOp op = NewOp(TCanvasOp::DrawText);
    op.rect = rect;
    op.point = {x, y};
    op.text = shown;
    op.format = format;
    ops_.push_back(std::move(op));
    return height;
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    TCanvasOp op = NewOp(TCanvasOp::Draw);
    op.point = {x, y};
    op.rect = Bounds(x, y, bitmap.Width(), bitmap.Height());
    ops_.push_back(std::move(op));
    if (!target_ || bitmap.Empty()) return;
    TColor transparent = bitmap.Transparent() ? bitmap.TransparentColor() : clNone;
    for (int sy = 0; sy < bitmap.Height(); ++sy)
        for (int sx = 0; sx < bitmap.Width(); ++sx) {
            TColor c = bitmap.Pixel(sx, sy);
            if (c != transparent) target_->SetPixel(x + sx, y + sy, c);
        }
    target_->Changed();
}

void TCanvas::DrawMask(int x, int y, const TBitmap& mask) {
    TCanvasOp op = NewOp(TCanvasOp::DrawMask);
    op.point = {x, y};
    op.rect = Bounds(x, y, mask.Width(), mask.Height());
    ops_.push_back(std::move(op));
    if (!target_) return;
    TColor brush = ColorToRGB(brush_->Color());
    for (int sy = 0; sy < mask.Height(); ++sy)
        for (int sx = 0; sx < mask.Width(); ++sx)
            if (mask.Pixel(sx, sy) == clBlack) target_->SetPixel(x + sx, y + sy, brush);
    target_->Changed();
}

void TCanvas::MoveTo(int x, int y) {
    TCanvasOp op = NewOp(TCanvasOp::MoveTo);
    op.point = {x, y};
    ops_.push_back(std::move(op));
    penPos_ = {x, y};
}

void TCanvas::LineTo(int x, int y) {
    TCanvasOp op = NewOp(TCanvasOp::LineTo);
    op.rect = Rect(penPos_.X, penPos_.Y, x, y);
    op.point = {x, y};
    ops_.push_back(std::move(op));
    if (target_) {
        // Straight steps from the pen position, leaving out the end point as the system does.
        int dx = std::abs(x - penPos_.X), dy = -std::abs(y - penPos_.Y);
        int sx = penPos_.X < x ? 1 : -1, sy = penPos_.Y < y ? 1 : -1;
        int err = dx + dy, cx = penPos_.X, cy = penPos_.Y;
        while (cx != x || cy != y) {
            target_->SetPixel(cx, cy, ColorToRGB(pen_->Color()));
            int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                cx += sx;
            }
            if (e2 <= dx) {
                err += dx;
                cy += sy;
            }
        }
        target_->Changed();
    }
    penPos_ = {x, y};
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
    TCanvasOp op = NewOp(TCanvasOp::Polygon);
    op.points = points;
    ops_.push_back(std::move(op));
}

TColor TCanvas::Pixel(int x, int y) const { return target_ ? target_->Pixel(x, y) : clNone; }

void TCanvas::SetPixel(int x, int y, TColor color) {
    TCanvasOp op = NewOp(TCanvasOp::SetPixel);
    op.point = {x, y};
    op.brushColor = color;
    ops_.push_back(std::move(op));
    if (target_) target_->SetPixel(x, y, color);
}

// ---- bitmaps ---------------------------------------------------------------------------------

const TClassInfo& TBitmap::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TBitmap>("TBitmap", TPersistent::StaticClassInfo())
                                       .Int("Width", &TBitmap::Width, &TBitmap::SetWidth)
                                       .Int("Height", &TBitmap::Height, &TBitmap::SetHeight)
                                       .Bool("Transparent", &TBitmap::Transparent, &TBitmap::SetTransparent)
                                       .Build();
    return info;
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    std::vector<TColor> pixels(static_cast<size_t>(width) * height, clBlack);
    for (int y = 0; y < std::min(height, height_); ++y)
        for (int x = 0; x < std::min(width, width_); ++x)
            pixels[static_cast<size_t>(y) * width + x] = pixels_[static_cast<size_t>(y) * width_ + x];
    pixels_ = std::move(pixels);
    width_ = width;
    height_ = height;
    Changed();
}

TColor TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<size_t>(y) * width_ + x] = ColorToRGB(color);
}

void TBitmap::Fill(TColor color) {
    std::fill(pixels_.begin(), pixels_.end(), ColorToRGB(color));
    Changed();
}

bool TBitmap::SamePixels(const TBitmap& other) const {
    return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
}

TColor TBitmap::TransparentColor() const {
    if (transparentColor_ != clDefault) return transparentColor_;
    if (Empty()) return clNone;
    return Pixel(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color) { transparentColor_ = color; }

TCanvas* TBitmap::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TCanvas>(this);
    return canvas_.get();
}

void TBitmap::Assign(const TPersistent* source) {
    if (auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        if (bitmap == this) return;
        width_ = bitmap->width_;
        height_ = bitmap->height_;
        pixels_ = bitmap->pixels_;
        transparentColor_ = bitmap->transparentColor_;
        transparent_ = bitmap->transparent_;
        pixelFormat_ = bitmap->pixelFormat_;
        Changed();
        return;
    }
    if (!source) {
        SetSize(0, 0);
        return;
    }
    TPersistent::Assign(source);
}

void TBitmap::Changed() { OnChange(this); }

}  // namespace krv
