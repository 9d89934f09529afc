// Image lists: equally sized pictures kept by index for tool bars, menus and list views.
#pragma once

#include <memory>
#include <vector>

#include "platform/Classes.h"
#include "platform/Graphics.h"

namespace krv {

class TCustomImageList : public TComponent {
    KRV_CLASS(TCustomImageList)
    // 16 x 16, empty.
    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Changing the size empties the list, as every image must have the list's size.
    void SetWidth(int width);
    void SetHeight(int height);
    int Count() const { return static_cast<int>(images_.size()); }

    // Adds the bitmap cut to the list's size (a wider strip adds one image per square of the
    // list's width); returns the index of the first image added, -1 for an empty bitmap.
    int Add(const TBitmap* image);
    void Delete(int index);
    void Clear();
    // Copies image `index` into `target`; false for an index out of range.
    bool GetBitmap(int index, TBitmap* target) const;
    // Draws image `index` at (x, y); nothing for an index out of range.
    void Draw(TCanvas* canvas, int x, int y, int index) const;

    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    int width_ = 16;
    int height_ = 16;
    std::vector<std::unique_ptr<TBitmap>> images_;
};

class TImageList : public TCustomImageList {
    KRV_CLASS(TImageList)
    explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
};

}  // namespace krv
