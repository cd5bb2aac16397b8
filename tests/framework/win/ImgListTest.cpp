// Image list drawing read back from the pixels of a target bitmap.
#include "framework/win/ImgList.h"

#include <gtest/gtest.h>

using namespace kel;

namespace {

constexpr TColor kKey = clFuchsia;
constexpr TColor kBackground = clBlue;

TColor PixelAt(const TBitmap& bitmap, int x, int y) {
    return PixelToColor(bitmap.ScanLine(y)[x]);
}

// A bitmap of one colour with an optional rectangle of another.
void Paint(TBitmap& bitmap, TColor colour, RECT inner = {}, TColor innerColour = clBlack) {
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const bool inside =
                x >= inner.left && x < inner.right && y >= inner.top && y < inner.bottom;
            bitmap.ScanLine(y)[x] = ColorToPixel(inside ? innerColour : colour);
        }
}

} // namespace

TEST(ImageList, MaskedDrawLeavesOutExactlyTheMaskColour) {
    const TColor pixels[2][4] = {{kKey, clRed, 0xFF00FE, kKey}, {0xFE00FF, kKey, clBlack, clWhite}};
    TBitmap image(4, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) image.ScanLine(y)[x] = ColorToPixel(pixels[y][x]);
    TImageList list(4, 2);
    EXPECT_EQ(list.AddMasked(image, kKey), 0);
    EXPECT_EQ(PixelAt(image, 0, 0), kKey); // the caller's picture is not blackened

    TBitmap target(6, 4);
    Paint(target, kBackground);
    list.Draw(target.Canvas(), 1, 1, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(PixelAt(target, x + 1, y + 1),
                      pixels[y][x] == kKey ? kBackground : pixels[y][x])
                << x << "," << y;
    EXPECT_EQ(PixelAt(target, 0, 0), kBackground);
    EXPECT_EQ(PixelAt(target, 5, 3), kBackground);
}

TEST(ImageList, UnmaskedImageIsDrawnWhole) {
    TBitmap image(3, 3);
    Paint(image, kKey, RECT{1, 1, 2, 2}, clRed);
    TImageList list(3, 3);
    list.AddMasked(image, kKey);
    EXPECT_EQ(list.Add(image), 1);
    EXPECT_EQ(list.Count(), 2);
    TBitmap target(3, 3);
    Paint(target, kBackground);
    list.Draw(target.Canvas(), 0, 0, 1);
    EXPECT_EQ(PixelAt(target, 0, 0), kKey);
    EXPECT_EQ(PixelAt(target, 1, 1), clRed);
}

TEST(ImageList, DisabledDrawEmbossesTheDarkShapeInSystemColours) {
    // Fuchsia surround (masked out), white face, black 2 x 2 mark in the middle.
    TBitmap image(8, 8);
    Paint(image, kKey, RECT{1, 1, 7, 7}, clWhite);
    for (int y = 3; y < 5; ++y)
        for (int x = 3; x < 5; ++x) image.ScanLine(y)[x] = ColorToPixel(clBlack);
    TImageList list(8, 8);
    list.AddMasked(image, kKey);

    TBitmap normal(10, 10), greyed(10, 10);
    Paint(normal, kBackground);
    Paint(greyed, kBackground);
    list.Draw(normal.Canvas(), 0, 0, 0, true);
    list.Draw(greyed.Canvas(), 0, 0, 0, false);

    const TColor shadow = ColorToRGB(clBtnShadow), highlight = ColorToRGB(clBtnHighlight);
    ASSERT_NE(shadow, highlight);
    EXPECT_EQ(PixelAt(normal, 3, 3), clBlack);
    EXPECT_EQ(PixelAt(greyed, 3, 3), shadow);
    EXPECT_EQ(PixelAt(greyed, 4, 4), shadow);    // shadow is drawn over the highlight
    EXPECT_EQ(PixelAt(greyed, 5, 5), highlight); // the mark's highlight, one pixel down-right
    EXPECT_EQ(PixelAt(greyed, 5, 4), highlight);
    EXPECT_EQ(PixelAt(greyed, 2, 2), kBackground); // the light face vanishes
    EXPECT_EQ(PixelAt(greyed, 0, 0), kBackground); // the masked surround stays see-through
    EXPECT_EQ(PixelAt(greyed, 6, 6), kBackground);

    // An index that does not exist draws nothing in either form.
    list.Draw(greyed.Canvas(), 0, 0, 5, false);
    list.Draw(greyed.Canvas(), 0, 0, -1, true);
    EXPECT_EQ(PixelAt(greyed, 2, 2), kBackground);
}

TEST(ImageList, ImagesOfOtherSizesAreCutOrPadded) {
    TImageList list(4, 4);
    TBitmap large(6, 6);
    Paint(large, clRed);
    TBitmap small(2, 2);
    Paint(small, clGray);
    list.Add(large);
    list.AddMasked(small, kKey); // the padding is transparent
    TBitmap target(8, 8);
    Paint(target, kBackground);
    list.Draw(target.Canvas(), 0, 0, 0);
    EXPECT_EQ(PixelAt(target, 3, 3), clRed);
    EXPECT_EQ(PixelAt(target, 4, 4), kBackground); // only one image-size of the large picture
    Paint(target, kBackground);
    list.Draw(target.Canvas(), 0, 0, 1);
    EXPECT_EQ(PixelAt(target, 1, 1), clGray);
    EXPECT_EQ(PixelAt(target, 3, 3), kBackground);

    TBitmap empty;
    EXPECT_EQ(list.Add(empty), 2); // an empty picture adds a blank image
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_THROW(TImageList(0, 4), EInvalidGraphicOperation);
    EXPECT_THROW(TImageList(100000, 100000), EInvalidGraphicOperation);
}
