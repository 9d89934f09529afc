#include "platform/ImgList.h"

#include "platform/TypInfo.h"

namespace krv {

const TClassInfo& TCustomImageList::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomImageList>("TCustomImageList", TComponent::StaticClassInfo())
            .Int("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth)
            .Int("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight)
            .Event("OnChange", &TCustomImageList::OnChange)
            .Build();
    return info;
}

const TClassInfo& TImageList::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TImageList>("TImageList", TCustomImageList::StaticClassInfo()).Creatable().Build();
    return info;
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::SetWidth(int width) {
    if (width == width_ || width <= 0) return;
    width_ = width;
    images_.clear();
    Changed();
}

void TCustomImageList::SetHeight(int height) {
    if (height == height_ || height <= 0) return;
    height_ = height;
    images_.clear();
    Changed();
}

int TCustomImageList::Add(const TBitmap* image) {
    if (!image || image->Empty()) return -1;
    const int first = Count();
    const int pieces = std::max(1, image->Width() / width_);
    for (int piece = 0; piece < pieces; ++piece) {
        auto cut = std::make_unique<TBitmap>(width_, height_);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const TColor pixel = image->Pixel(piece * width_ + x, y);
                cut->SetPixel(x, y, pixel == clNone ? clBlack : pixel);
            }
        images_.push_back(std::move(cut));
    }
    Changed();
    return first;
}

void TCustomImageList::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    images_.erase(images_.begin() + index);
    Changed();
}

void TCustomImageList::Clear() {
    if (images_.empty()) return;
    images_.clear();
    Changed();
}

bool TCustomImageList::GetBitmap(int index, TBitmap* target) const {
    if (!target || index < 0 || index >= Count()) return false;
    target->Assign(images_[index].get());
    return true;
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index) const {
    if (canvas && index >= 0 && index < Count()) canvas->Draw(x, y, *images_[index]);
}

void TCustomImageList::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TCustomImageList*>(source);
    if (!other) {
        TComponent::Assign(source);
        return;
    }
    width_ = other->width_;
    height_ = other->height_;
    images_.clear();
    for (const auto& image : other->images_) {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(image.get());
        images_.push_back(std::move(copy));
    }
    Changed();
}

void TCustomImageList::Changed() { OnChange(this); }

}  // namespace krv
