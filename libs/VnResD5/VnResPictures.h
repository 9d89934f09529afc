// The pictures the bitmap library serves: each a horizontal strip of square images, drawn in code
// so that no binary resource has to travel with the sources.
#pragma once

#include <cstdint>
#include <vector>

namespace vnres {

// 0x00RRGGBB per pixel, row by row from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// Highest picture number; every number from 1 to it has a picture.
constexpr int kMaxPictureNumber = 60;
// Side of one square image of a strip.
constexpr int kImageSide = 16;
// Background of every picture; the bottom-left pixel, which buttons take as transparent.
constexpr uint32_t kTransparent = 0xFF00FF;

// The picture of a number from 1 to kMaxPictureNumber; an empty picture for any other number.
Picture MakePicture(int number);

}  // namespace vnres
