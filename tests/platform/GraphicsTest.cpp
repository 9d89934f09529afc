#include "platform/Graphics.h"

#include <gtest/gtest.h>

namespace krv {
namespace {

TEST(FontTest, SizeAndHeightFollowThePixelsPerInch) {
    TFont font;
    int changes = 0;
    font.OnChange = [&](TObject*) { ++changes; };
    font.SetHeight(-13);
    EXPECT_EQ(font.Size(), 10);
    font.SetSize(9);
    EXPECT_EQ(font.Height(), -12);
    EXPECT_EQ(changes, 2);

    TFont other;
    other.SetName("宋体");
    other.SetCharset(GB2312_CHARSET);
    other.SetStyle({fsBold});
    changes = 0;
    font.Assign(&other);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(font.SameAs(other));
    font.Assign(&other);  // nothing changes, nothing fires
    EXPECT_EQ(changes, 1);
}

TEST(FontTest, MetricsComeFromTheHeight) {
    TFont font;
    font.SetHeight(-13);
    EXPECT_EQ(FontLineHeight(font), 13);
    EXPECT_EQ(FontTextWidth(font, "W"), 7);
    EXPECT_EQ(FontTextWidth(font, "日期"), 26);
    EXPECT_EQ(FontTextWidth(font, "A日"), 20);
    EXPECT_EQ(FontTextWidth(font, ""), 0);
    font.SetHeight(0);
    EXPECT_EQ(FontLineHeight(font), 13);
    EXPECT_EQ(StripAccelerators("保存(&S)"), "保存(S)");
    EXPECT_EQ(StripAccelerators("A&&B&"), "A&B");
}

TEST(ColorTest, SystemColoursConvertAndTextsRoundTrip) {
    EXPECT_LT(clBtnFace, 0);
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(212, 208, 200));
    EXPECT_EQ(ColorToRGB(clBtnHighlight), RGB(255, 255, 255));
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_EQ(ColorToString(clCaptionText), "clCaptionText");
    EXPECT_EQ(ColorToString(0xAFFFFF), "$00AFFFFF");
    for (TColor c : {clRed, clBtnFace, static_cast<TColor>(0xAFFFFF), clInactiveCaption})
        EXPECT_EQ(StringToColor(ColorToString(c)), c);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_THROW(StringToColor("reddish"), EConvertError);
}

TEST(BitmapTest, PixelsResizeAndTransparentColour) {
    TBitmap bmp(3, 2);
    bmp.Fill(clWhite);
    bmp.SetPixel(0, 1, RGB(1, 2, 3));
    EXPECT_EQ(bmp.TransparentColor(), RGB(1, 2, 3));  // bottom-left
    bmp.SetWidth(6);
    EXPECT_EQ(bmp.Pixel(2, 0), clWhite);
    EXPECT_EQ(bmp.Pixel(5, 0), clBlack);  // new pixels
    EXPECT_EQ(bmp.Pixel(6, 0), clNone);   // outside
    bmp.SetPixel(-1, 0, clRed);           // ignored
    EXPECT_EQ(GetRValue(RGB(1, 2, 3)), 1);
    EXPECT_EQ(GetBValue(RGB(1, 2, 3)), 3);

    TBitmap copy;
    copy.Assign(&bmp);
    EXPECT_TRUE(copy.SamePixels(bmp));
    copy.SetPixel(0, 0, clRed);
    EXPECT_EQ(bmp.Pixel(0, 0), clWhite);  // a deep copy
    EXPECT_EQ(TBitmap().TransparentColor(), clNone);
}

TEST(BitmapTest, CanvasFillsDrawsAndMasks) {
    TBitmap target(4, 2);
    TCanvas* canvas = target.Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(Rect(0, 0, 4, 2));
    EXPECT_EQ(target.Pixel(3, 1), ColorToRGB(clBtnFace));

    TBitmap glyph(2, 1);
    glyph.SetPixel(0, 0, clRed);
    glyph.SetPixel(1, 0, clLime);
    canvas->Draw(2, 1, glyph);
    EXPECT_EQ(target.Pixel(2, 1), clRed);
    EXPECT_EQ(target.Pixel(3, 1), clLime);

    glyph.SetTransparent(true);
    glyph.SetTransparentColor(clLime);
    canvas->FillRect(Rect(0, 0, 4, 2));
    canvas->Draw(0, 0, glyph);
    EXPECT_EQ(target.Pixel(1, 0), ColorToRGB(clBtnFace));  // transparent pixel left alone

    TBitmap mask(2, 1);
    mask.SetPixel(0, 0, clBlack);
    mask.SetPixel(1, 0, clWhite);
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->DrawMask(2, 0, mask);
    EXPECT_EQ(target.Pixel(2, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(target.Pixel(3, 0), ColorToRGB(clBtnFace));
}

TEST(CanvasTest, RecordsTextWithItsToolsAndAlignment) {
    TCanvas canvas;
    canvas.Font()->SetHeight(-12);
    canvas.Font()->SetStyle({fsBold});
    canvas.Font()->SetColor(clCaptionText);
    TRect box = Rect(0, 0, 100, 30);
    canvas.DrawText("&OK", box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ASSERT_EQ(canvas.Operations().size(), 1u);
    const TCanvasOp& op = canvas.Operations()[0];
    EXPECT_EQ(op.kind, TCanvasOp::DrawText);
    EXPECT_EQ(op.text, "OK");
    EXPECT_EQ(op.point, Point((100 - 12) / 2, (30 - 12) / 2));
    EXPECT_EQ(op.fontColor, clCaptionText);
    EXPECT_TRUE(op.fontStyle.Contains(fsBold));

    TRect measure = Rect(5, 5, 5, 5);
    canvas.DrawText("日期", measure, DT_CALCRECT);
    EXPECT_EQ(measure, Rect(5, 5, 29, 17));
    EXPECT_EQ(canvas.Operations().size(), 1u);  // measuring draws nothing

    TRect r = Rect(0, 0, 10, 10);
    InflateRect(r, -2, -3);
    EXPECT_EQ(r, Rect(2, 3, 8, 7));
}

}  // namespace
}  // namespace krv
