#include "libs/VnResD5/VnResD5.h"

#include "libs/VnResD5/VnResPictures.h"
#include "platform/Graphics.h"

namespace {

krv::TColor ToColor(uint32_t rgb) {
    return krv::RGB(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb));
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int GetMaxBmpID() { return vnres::kMaxPictureNumber; }

__attribute__((visibility("default"))) bool LoadBmp(krv::TBitmap* bitmap, int number) {
    if (!bitmap) return false;
    vnres::Picture picture = vnres::MakePicture(number);
    if (picture.pixels.empty()) return false;
    bitmap->SetSize(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            bitmap->SetPixel(x, y, ToColor(picture.pixels[static_cast<size_t>(y) * picture.width + x]));
    return true;
}

}
