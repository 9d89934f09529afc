// A flat speed button whose picture is taken by number from the maker's bitmap library.
#pragma once

#include <string>

#include "platform/Buttons.h"

namespace krv {

// The bitmap library ("VnResD5.dll"), loaded on first use. Without it there are no pictures: the
// highest number counts as 0.
int BitmapLibraryMaxId();
// Loads picture `number` into `bitmap`; false when the library has none (or is missing).
bool LoadLibraryBitmap(TBitmap& bitmap, int number);
// Uses another library file from the next use on (tests point it at a missing one).
void SetBitmapLibraryName(const std::string& name);

class TGSpeedButton : public TSpeedButton {
    KRV_CLASS(TGSpeedButton)
    explicit TGSpeedButton(TComponent* owner);

    int GlyphIndex() const { return glyphIndex_; }
    // Shows picture n; without one (n below 1, above the library's highest number, or a
    // library that has none) the button shows the number as its caption. A loading error is
    // reported in an error box.
    void SetGlyphIndex(int n);
    // Kept with the form; it has no effect.
    int HintIndex() const { return hintIndex_; }
    void SetHintIndex(int index) { hintIndex_ = index; }

private:
    void LoadGlyph(int n);

    int glyphIndex_ = 0;
    int hintIndex_ = 0;
};

}  // namespace krv
