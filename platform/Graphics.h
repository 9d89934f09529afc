// Colours, fonts, brushes, pens, 24-bit bitmaps and a canvas that records what is drawn on it.
// Text metrics are deterministic and derived from the font's height only, so layouts can be
// checked without a display: with h = |Height| (13 when 0), a single-byte character is
// (h + 1) / 2 pixels wide, a double-byte character h pixels, and a line is h pixels high.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Classes.h"
#include "platform/TypInfo.h"

namespace krv {

// ---- geometry --------------------------------------------------------------------------------

struct TPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool operator==(const TRect&) const = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const TSize&) const = default;
};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }
void InflateRect(TRect& rect, int dx, int dy);
void OffsetRect(TRect& rect, int dx, int dy);
bool PtInRect(const TRect& rect, TPoint point);
bool IntersectRect(TRect& result, const TRect& a, const TRect& b);

// ---- colours ---------------------------------------------------------------------------------

// 0x00BBGGRR for plain colours; system colours have the top bit set and their index below.
using TColor = int32_t;

inline constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
inline constexpr TColor clScrollBar = clSystemColor | 0;
inline constexpr TColor clBackground = clSystemColor | 1;
inline constexpr TColor clActiveCaption = clSystemColor | 2;
inline constexpr TColor clInactiveCaption = clSystemColor | 3;
inline constexpr TColor clMenu = clSystemColor | 4;
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowFrame = clSystemColor | 6;
inline constexpr TColor clMenuText = clSystemColor | 7;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clCaptionText = clSystemColor | 9;
inline constexpr TColor clActiveBorder = clSystemColor | 10;
inline constexpr TColor clInactiveBorder = clSystemColor | 11;
inline constexpr TColor clAppWorkSpace = clSystemColor | 12;
inline constexpr TColor clHighlight = clSystemColor | 13;
inline constexpr TColor clHighlightText = clSystemColor | 14;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clBtnShadow = clSystemColor | 16;
inline constexpr TColor clGrayText = clSystemColor | 17;
inline constexpr TColor clBtnText = clSystemColor | 18;
inline constexpr TColor clInactiveCaptionText = clSystemColor | 19;
inline constexpr TColor clBtnHighlight = clSystemColor | 20;
inline constexpr TColor cl3DDkShadow = clSystemColor | 21;
inline constexpr TColor cl3DLight = clSystemColor | 22;
inline constexpr TColor clInfoText = clSystemColor | 23;
inline constexpr TColor clInfoBk = clSystemColor | 24;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clLtGray = 0xC0C0C0;
inline constexpr TColor clDkGray = 0x808080;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

inline constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}
inline constexpr uint8_t GetRValue(TColor c) { return static_cast<uint8_t>(c & 0xFF); }
inline constexpr uint8_t GetGValue(TColor c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
inline constexpr uint8_t GetBValue(TColor c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

// System colours become the platform's RGB values; plain colours pass through.
TColor ColorToRGB(TColor color);
// "clRed", or "$00AFFFFF" for a colour without an identifier.
std::string ColorToString(TColor color);
// An identifier, a decimal number or "$" and hex digits; raises EConvertError otherwise.
TColor StringToColor(const std::string& text);
bool ColorToIdent(TColor color, std::string& ident);
bool IdentToColor(const std::string& ident, TColor& color);
const TIdentTable& ColorIdents();
const TTypeInfo& TypeInfoColor();  // "TColor", integer with the colour identifiers

// ---- fonts -----------------------------------------------------------------------------------

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };
using TFontCharset = uint8_t;

inline constexpr TFontCharset ANSI_CHARSET = 0;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;
inline constexpr TFontCharset SYMBOL_CHARSET = 2;
inline constexpr TFontCharset GB2312_CHARSET = 134;
inline constexpr TFontCharset CHINESEBIG5_CHARSET = 136;
inline constexpr TFontCharset OEM_CHARSET = 255;

const TTypeInfo& TypeInfoFontStyle();    // "TFontStyle"
const TTypeInfo& TypeInfoFontStyles();   // "TFontStyles"
const TTypeInfo& TypeInfoFontPitch();    // "TFontPitch"
const TTypeInfo& TypeInfoFontCharset();  // "TFontCharset", integer with the charset identifiers

class TFont : public TPersistent {
    KRV_CLASS(TFont)
    // "MS Sans Serif", height -11 (8 pt), default charset, clWindowText, no style.
    TFont();

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    int Height() const { return height_; }
    void SetHeight(int height);
    // Points at PixelsPerInch: -round(Height * 72 / PixelsPerInch).
    int Size() const;
    void SetSize(int size);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset charset);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi; }

    void Assign(const TPersistent* source) override;
    bool SameAs(const TFont& other) const;

    // After every change.
    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TFontCharset charset_ = DEFAULT_CHARSET;
    TColor color_ = clWindowText;
    TFontStyles style_;
    TFontPitch pitch_ = fpDefault;
    int pixelsPerInch_ = 96;
};

// Deterministic metrics (see the top of this file). TextWidth counts "&" like any character;
// DrawText with prefix handling measures the text without its accelerator marks.
int FontLineHeight(const TFont& font);
int FontTextWidth(const TFont& font, const std::string& text);
// "&&" becomes "&", a single "&" disappears.
std::string StripAccelerators(const std::string& text);

// ---- brushes and pens ------------------------------------------------------------------------

enum TBrushStyle : uint8_t { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TBrush : public TPersistent {
    KRV_CLASS(TBrush)
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    void Assign(const TPersistent* source) override;
    TNotifyEvent OnChange;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

class TPen : public TPersistent {
    KRV_CLASS(TPen)
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    void Assign(const TPersistent* source) override;
    TNotifyEvent OnChange;

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
};

// ---- canvas ----------------------------------------------------------------------------------

// DrawText formats.
inline constexpr unsigned DT_LEFT = 0x0000;
inline constexpr unsigned DT_CENTER = 0x0001;
inline constexpr unsigned DT_RIGHT = 0x0002;
inline constexpr unsigned DT_VCENTER = 0x0004;
inline constexpr unsigned DT_BOTTOM = 0x0008;
inline constexpr unsigned DT_WORDBREAK = 0x0010;
inline constexpr unsigned DT_SINGLELINE = 0x0020;
inline constexpr unsigned DT_NOCLIP = 0x0100;
inline constexpr unsigned DT_CALCRECT = 0x0400;
inline constexpr unsigned DT_NOPREFIX = 0x0800;

class TBitmap;

// One drawing operation as the canvas recorded it, with the tools in effect.
struct TCanvasOp {
    enum Kind : uint8_t { FillRect, FrameRect, Rectangle, TextOut, DrawText, Draw, DrawMask, MoveTo, LineTo, Polygon, Ellipse, SetPixel };
    Kind kind = FillRect;
    TRect rect;                  // the area (TextOut: the text's box; Draw: the bitmap's box)
    TPoint point;                // TextOut/MoveTo/LineTo/Draw position
    std::vector<TPoint> points;  // Polygon
    std::string text;            // as drawn (DrawText: accelerator marks removed unless DT_NOPREFIX)
    unsigned format = 0;         // DrawText
    TColor brushColor = clWhite;
    TBrushStyle brushStyle = bsSolid;
    TColor penColor = clBlack;
    TColor fontColor = clBlack;
    TFontStyles fontStyle;
    std::string fontName;
    int fontHeight = 0;
};

// Draws onto its bitmap (when it has one) and records every operation in either case.
class TCanvas : public TPersistent {
    KRV_CLASS(TCanvas)
    TCanvas();
    explicit TCanvas(TBitmap* target);
    ~TCanvas() override;

    TFont* Font() const { return font_.get(); }
    TBrush* Brush() const { return brush_.get(); }
    TPen* Pen() const { return pen_.get(); }
    void SetFont(const TFont* font) { font_->Assign(font); }

    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;
    TSize TextExtent(const std::string& text) const;

    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    // Filled with the brush, framed with the pen.
    void Rectangle(const TRect& rect);
    void Rectangle(int left, int top, int right, int bottom) { Rectangle(Rect(left, top, right, bottom)); }
    void Ellipse(const TRect& rect);
    void TextOut(int x, int y, const std::string& text);
    void TextRect(const TRect& rect, int x, int y, const std::string& text);
    // One line (or lines with DT_WORDBREAK unsupported: treated as one line), aligned in rect by
    // the format. DT_CALCRECT only measures: rect gets the text's extent. Returns the text height.
    int DrawText(const std::string& text, TRect& rect, unsigned format);
    void Draw(int x, int y, const TBitmap& bitmap);
    // Brush colour wherever the mask is black; elsewhere the target stays (ROP 0xE20746 with a
    // monochrome mask).
    void DrawMask(int x, int y, const TBitmap& mask);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polygon(const std::vector<TPoint>& points);
    TPoint PenPos() const { return penPos_; }
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    const std::vector<TCanvasOp>& Operations() const { return ops_; }
    void ClearOperations() { ops_.clear(); }

private:
    TCanvasOp NewOp(TCanvasOp::Kind kind) const;
    void FillPixels(const TRect& rect, TColor color);

    TBitmap* target_ = nullptr;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TPen> pen_;
    TPoint penPos_;
    std::vector<TCanvasOp> ops_;
};

// ---- bitmaps ---------------------------------------------------------------------------------

enum TPixelFormat : uint8_t { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

// 24-bit pixels stored as TColor values (0x00BBGGRR). New pixels are black.
class TBitmap : public TPersistent {
    KRV_CLASS(TBitmap)
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Resizing keeps the pixels that stay inside.
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    void SetSize(int width, int height);
    bool Empty() const { return width_ <= 0 || height_ <= 0; }

    // clNone outside the bitmap; setting outside does nothing.
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);
    void Fill(TColor color);
    bool SamePixels(const TBitmap& other) const;

    // The bottom-left pixel unless a fixed colour is set; clNone when empty.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent) { transparent_ = transparent; }
    TPixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TPixelFormat format) { pixelFormat_ = format; }
    bool Monochrome() const { return pixelFormat_ == pf1bit; }

    TCanvas* Canvas();
    void Assign(const TPersistent* source) override;

    // After a change of size or pixels made through the bitmap's own operations.
    TNotifyEvent OnChange;

private:
    friend class TCanvas;
    void Changed();
    int width_ = 0;
    int height_ = 0;
    std::vector<TColor> pixels_;
    TColor transparentColor_ = clDefault;  // clDefault: automatic
    bool transparent_ = false;
    TPixelFormat pixelFormat_ = pf24bit;
    std::unique_ptr<TCanvas> canvas_;
};

}  // namespace krv
