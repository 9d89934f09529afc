// The bitmap library's exports, for the code that loads it by name ("VnResD5.dll").
#pragma once

namespace krv {
class TBitmap;
}

extern "C" {
// The highest picture number the library holds.
using GetMaxBmpIDProc = int();
// Loads picture Number into Bitmap (a horizontal strip of square images); false when there is
// no such picture or no bitmap.
using LoadBmpProc = bool(krv::TBitmap* bitmap, int number);
}
