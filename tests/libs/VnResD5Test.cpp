// The bitmap library as its users load it: by name, with its two exports.
#include <gtest/gtest.h>

#include "libs/VnResD5/VnResD5.h"
#include "platform/DynLib.h"
#include "platform/Graphics.h"

namespace krv {
namespace {

class VnResD5Test : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library_.Load("VnResD5.dll")) << library_.Error();
        maxId_ = library_.FindAs<GetMaxBmpIDProc>("GetMaxBmpID");
        loadBmp_ = library_.FindAs<LoadBmpProc>("LoadBmp");
        ASSERT_TRUE(maxId_ && loadBmp_);
    }
    TDynLib library_;
    GetMaxBmpIDProc* maxId_ = nullptr;
    LoadBmpProc* loadBmp_ = nullptr;
};

TEST_F(VnResD5Test, EveryNumberUpToTheHighestIsASquareStrip) {
    const int maxId = maxId_();
    ASSERT_GE(maxId, 47);
    for (int number = 1; number <= maxId; ++number) {
        TBitmap bitmap;
        ASSERT_TRUE(loadBmp_(&bitmap, number)) << number;
        ASSERT_GT(bitmap.Height(), 0) << number;
        EXPECT_EQ(bitmap.Width() % bitmap.Height(), 0) << number;
        // The bottom-left pixel is the background, which buttons take as transparent.
        EXPECT_EQ(bitmap.TransparentColor(), bitmap.Pixel(0, 0)) << number;
    }
}

TEST_F(VnResD5Test, ThePicturesTheModuleUsesDifferAndClearListHasTwoImages) {
    TBitmap lookup, date, notify, deleteRow, clearList;
    ASSERT_TRUE(loadBmp_(&lookup, 8) && loadBmp_(&date, 9) && loadBmp_(&notify, 39) &&
                loadBmp_(&deleteRow, 47) && loadBmp_(&clearList, 4));
    EXPECT_EQ(lookup.Width(), lookup.Height());
    EXPECT_EQ(clearList.Width(), 2 * clearList.Height());
    EXPECT_FALSE(lookup.SamePixels(date));
    EXPECT_FALSE(date.SamePixels(notify));
    EXPECT_FALSE(notify.SamePixels(deleteRow));
}

TEST_F(VnResD5Test, UnknownNumbersAndNoBitmapAreRefused) {
    TBitmap bitmap(3, 3);
    for (int number : {0, -1, maxId_() + 1, 100000}) {
        EXPECT_FALSE(loadBmp_(&bitmap, number)) << number;
        EXPECT_EQ(bitmap.Width(), 3) << "left untouched";
    }
    EXPECT_FALSE(loadBmp_(nullptr, 8));
}

}  // namespace
}  // namespace krv
