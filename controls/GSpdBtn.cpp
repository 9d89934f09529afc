#include "controls/GSpdBtn.h"

#include <algorithm>

#include "libs/VnResD5/VnResD5.h"
#include "platform/Dialogs.h"
#include "platform/DynLib.h"

namespace krv {

namespace {

class BitmapLibrary {
public:
    static BitmapLibrary& Instance() {
        static BitmapLibrary library;
        return library;
    }
    void SetName(const std::string& name) {
        name_ = name;
        library_.Unload();
        tried_ = false;
    }
    int MaxId() {
        Bind();
        return maxId_ ? maxId_() : 0;
    }
    bool Load(TBitmap& bitmap, int number) {
        Bind();
        return load_ && load_(&bitmap, number);
    }

private:
    void Bind() {
        if (tried_) return;
        tried_ = true;
        maxId_ = nullptr;
        load_ = nullptr;
        if (!library_.Load(name_)) return;
        maxId_ = library_.FindAs<GetMaxBmpIDProc>("GetMaxBmpID");
        load_ = library_.FindAs<LoadBmpProc>("LoadBmp");
    }

    std::string name_ = "VnResD5.dll";
    TDynLib library_;
    bool tried_ = false;
    GetMaxBmpIDProc* maxId_ = nullptr;
    LoadBmpProc* load_ = nullptr;
};

}  // namespace

int BitmapLibraryMaxId() { return BitmapLibrary::Instance().MaxId(); }

bool LoadLibraryBitmap(TBitmap& bitmap, int number) { return BitmapLibrary::Instance().Load(bitmap, number); }

void SetBitmapLibraryName(const std::string& name) { BitmapLibrary::Instance().SetName(name); }

const TClassInfo& TGSpeedButton::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TGSpeedButton>("TGSpeedButton", TSpeedButton::StaticClassInfo())
                                       .Creatable()
                                       .Int("GlyphIndex", &TGSpeedButton::GlyphIndex, &TGSpeedButton::SetGlyphIndex)
                                       .Int("HintIndex", &TGSpeedButton::HintIndex, &TGSpeedButton::SetHintIndex)
                                       .Build();
    return info;
}

TGSpeedButton::TGSpeedButton(TComponent* owner) : TSpeedButton(owner) {}

void TGSpeedButton::SetGlyphIndex(int n) {
    if (n == glyphIndex_) return;
    glyphIndex_ = n;
    SetCaption(IntToStr(n));
    try {
        LoadGlyph(n);
    } catch (...) {
        MessageDlg("读取 BMP 发生错误", mtError, {mbOK});
    }
}

void TGSpeedButton::LoadGlyph(int n) {
    TBitmap picture;
    if (n < 1 || n > BitmapLibraryMaxId() || !LoadLibraryBitmap(picture, n) || picture.Height() <= 0) {
        SetGlyph(nullptr);
        return;
    }
    SetGlyph(&picture);
    SetCaption("");
    SetNumGlyphs(std::clamp(picture.Width() / picture.Height(), 1, 4));
}

}  // namespace krv
