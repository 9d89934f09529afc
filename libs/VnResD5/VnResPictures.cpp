#include "libs/VnResD5/VnResPictures.h"

#include <cstdlib>

namespace vnres {
namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kDarkGrey = 0x404040;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xC00000;
constexpr uint32_t kNavy = 0x000080;
constexpr uint32_t kYellow = 0xFFFF80;

// Draws into one square image of a strip; coordinates are local to that image.
class ImagePen {
public:
    ImagePen(Picture& picture, int imageIndex) : picture_(picture), left_(imageIndex * kImageSide) {}

    void Dot(int x, int y, uint32_t colour) {
        if (x < 0 || y < 0 || x >= kImageSide || y >= picture_.height) return;
        picture_.pixels[static_cast<size_t>(y) * picture_.width + left_ + x] = colour;
    }
    void Fill(int x1, int y1, int x2, int y2, uint32_t colour) {
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x) Dot(x, y, colour);
    }
    void Frame(int x1, int y1, int x2, int y2, uint32_t colour) {
        Line(x1, y1, x2, y1, colour);
        Line(x1, y2, x2, y2, colour);
        Line(x1, y1, x1, y2, colour);
        Line(x2, y1, x2, y2, colour);
    }
    // Bresenham, both ends included.
    void Line(int x1, int y1, int x2, int y2, uint32_t colour) {
        int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
        int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1, err = dx + dy;
        for (;;) {
            Dot(x1, y1, colour);
            if (x1 == x2 && y1 == y2) return;
            int e2 = 2 * err;
            if (e2 >= dy) { err += dy; x1 += sx; }
            if (e2 <= dx) { err += dx; y1 += sy; }
        }
    }
    void Ring(int cx, int cy, int r, uint32_t colour) {
        for (int y = -r; y <= r; ++y)
            for (int x = -r; x <= r; ++x) {
                int d = x * x + y * y;
                if (d <= r * r && d > (r - 1) * (r - 1)) Dot(cx + x, cy + y, colour);
            }
    }

private:
    Picture& picture_;
    int left_;
};

Picture BlankStrip(int images) {
    Picture p;
    p.width = images * kImageSide;
    p.height = kImageSide;
    p.pixels.assign(static_cast<size_t>(p.width) * p.height, kTransparent);
    return p;
}

void DrawCross(ImagePen& pen, int x1, int y1, int x2, int y2, uint32_t colour) {
    pen.Line(x1, y1, x2, y2, colour);
    pen.Line(x1 + 1, y1, x2, y2 - 1, colour);
    pen.Line(x2, y1, x1, y2, colour);
    pen.Line(x2 - 1, y1, x1, y2 - 1, colour);
}

// A list with three lines, crossed out.
void DrawClearList(ImagePen& pen, uint32_t ink, uint32_t cross) {
    pen.Fill(2, 1, 12, 14, kWhite);
    pen.Frame(2, 1, 12, 14, ink);
    for (int y = 4; y <= 10; y += 3) pen.Line(4, y, 10, y, ink);
    DrawCross(pen, 7, 8, 14, 15, cross);
}

void DrawLookup(ImagePen& pen) {
    pen.Ring(6, 6, 5, kNavy);
    pen.Ring(6, 6, 4, kNavy);
    pen.Line(9, 10, 13, 14, kDarkGrey);
    pen.Line(10, 10, 14, 14, kDarkGrey);
    pen.Line(10, 9, 14, 13, kDarkGrey);
}

void DrawDate(ImagePen& pen) {
    pen.Fill(1, 2, 14, 14, kWhite);
    pen.Fill(1, 2, 14, 4, kRed);
    pen.Frame(1, 2, 14, 14, kBlack);
    for (int x = 4; x <= 11; x += 3) pen.Line(x, 5, x, 14, kGrey);
    for (int y = 8; y <= 11; y += 3) pen.Line(1, y, 14, y, kGrey);
}

void DrawNotify(ImagePen& pen) {
    pen.Fill(1, 3, 14, 12, kYellow);
    pen.Frame(1, 3, 14, 12, kDarkGrey);
    pen.Line(1, 3, 7, 8, kDarkGrey);
    pen.Line(14, 3, 8, 8, kDarkGrey);
}

void DrawDeleteRow(ImagePen& pen) {
    pen.Fill(1, 5, 14, 10, kWhite);
    pen.Frame(1, 5, 14, 10, kDarkGrey);
    pen.Fill(4, 7, 11, 8, kRed);
}

// Pictures without a designed look still differ by number: a framed square whose inner dots spell
// the number's bits.
void DrawNumbered(ImagePen& pen, int number) {
    uint32_t colour = 0x204060 + static_cast<uint32_t>(number) * 0x030507;
    pen.Frame(1, 1, 14, 14, colour & 0xFFFFFF);
    for (int bit = 0; bit < 8; ++bit)
        if (number & (1 << bit)) pen.Fill(3 + (bit % 4) * 3, 4 + (bit / 4) * 5, 4 + (bit % 4) * 3, 6 + (bit / 4) * 5, kBlack);
}

}  // namespace

Picture MakePicture(int number) {
    if (number < 1 || number > kMaxPictureNumber) return {};
    // The clear-list picture carries its own disabled image; the others have one image.
    Picture picture = BlankStrip(number == 4 ? 2 : 1);
    ImagePen pen(picture, 0);
    switch (number) {
    case 4: {
        DrawClearList(pen, kBlack, kRed);
        ImagePen disabled(picture, 1);
        DrawClearList(disabled, kGrey, kGrey);
        break;
    }
    case 8: DrawLookup(pen); break;
    case 9: DrawDate(pen); break;
    case 39: DrawNotify(pen); break;
    case 47: DrawDeleteRow(pen); break;
    default: DrawNumbered(pen, number); break;
    }
    return picture;
}

}  // namespace vnres
