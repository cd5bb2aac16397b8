// The window region of a skin bitmap: the direct construction must give exactly the region of
// the plain per-pixel one, on ordinary skins and on the awkward rows.
#include "skin/controls/KELSkinFormRegion.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "skin/controls/KELSkinForm.h"

#include "tests/skin/controls/SkinTestSupport.h"

using namespace kel;
using namespace kel::test;

namespace {

// Both constructions on the same bitmap; they must be equal point sets.
void ExpectSameRegion(TBitmap& bitmap, TColor key = clFuchsia) {
    const TRegionHandle plain = CreateSkinRegionPerPixel(bitmap, key);
    const TRegionHandle fast = CreateSkinRegion(bitmap, key);
    EXPECT_TRUE(EqualRgn(plain.get(), fast.get()))
        << bitmap.Width() << " x " << bitmap.Height() << " bitmap, key " << std::hex << key;
}

} // namespace

TEST(SkinRegion, SkinWithAFuchsiaMarginCoversExactlyTheOtherPixels) {
    TBitmap skin;
    FillBitmap(skin, 444, 217, clFuchsia);
    for (int y = 10; y < 207; ++y)
        for (int x = 12; x < 432; ++x) skin.ScanLine(y)[x] = ColorToPixel(0x204080 + x);
    ExpectSameRegion(skin);
    const TRegionHandle fast = CreateSkinRegion(skin, clFuchsia);
    RECT box;
    EXPECT_EQ(GetRgnBox(fast.get(), &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 12);
    EXPECT_EQ(box.top, 10);
    EXPECT_EQ(box.right, 432);
    EXPECT_EQ(box.bottom, 207);
}

TEST(SkinRegion, EdgeRowsOfTheRunRule) {
    TBitmap b;
    DrawPattern(b, {"....#", // last pixel of the row belongs to the region
                    "#####", // no key pixel: one rectangle over the whole row
                    "..#..", // single pixel between key pixels
                    ".....", // nothing
                    "#.#.#"});
    ExpectSameRegion(b);
    const TRegionHandle fast = CreateSkinRegion(b, clFuchsia);
    EXPECT_TRUE(PtInRegion(fast.get(), 4, 0));
    EXPECT_FALSE(PtInRegion(fast.get(), 3, 0));
    for (int x = 0; x < 5; ++x) EXPECT_TRUE(PtInRegion(fast.get(), x, 1));
    EXPECT_TRUE(PtInRegion(fast.get(), 2, 2));
    EXPECT_FALSE(PtInRegion(fast.get(), 1, 2));
    EXPECT_FALSE(PtInRegion(fast.get(), 3, 2));
    for (int x = 0; x < 5; ++x) EXPECT_FALSE(PtInRegion(fast.get(), x, 3));
}

TEST(SkinRegion, SinglePixelGivesOneByOneRectangle) {
    TBitmap b;
    DrawPattern(b, {"...", ".#.", "..."});
    ExpectSameRegion(b);
    const std::vector<RECT> rects = RegionRects(CreateSkinRegion(b, clFuchsia).get());
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].left, 1);
    EXPECT_EQ(rects[0].top, 1);
    EXPECT_EQ(rects[0].right, 2);
    EXPECT_EQ(rects[0].bottom, 2);
}

TEST(SkinRegion, GlyphOfOnlyTheKeyColourGivesAnEmptyRegion) {
    TBitmap b;
    FillBitmap(b, 40, 30, clFuchsia);
    ExpectSameRegion(b);
    RECT box;
    EXPECT_EQ(GetRgnBox(CreateSkinRegion(b, clFuchsia).get(), &box), NULLREGION);
    TBitmap empty;
    EXPECT_EQ(GetRgnBox(CreateSkinRegion(empty, clFuchsia).get(), &box), NULLREGION);
}

TEST(SkinRegion, OnlyTheExactKeyColourIsCut) {
    TBitmap b;
    DrawPattern(b, {"....", "....", "...."});
    b.ScanLine(0)[1] = ColorToPixel(0xFE00FF); // one step away from fuchsia in each channel
    b.ScanLine(1)[2] = ColorToPixel(0xFF00FE);
    b.ScanLine(2)[0] = ColorToPixel(0xFF01FF);
    b.ScanLine(2)[3] = 0xFF000000 | ColorToPixel(clFuchsia); // the DIB's unused high byte set
    ExpectSameRegion(b);
    const TRegionHandle fast = CreateSkinRegion(b, clFuchsia);
    EXPECT_TRUE(PtInRegion(fast.get(), 1, 0));
    EXPECT_TRUE(PtInRegion(fast.get(), 2, 1));
    EXPECT_TRUE(PtInRegion(fast.get(), 0, 2));
    EXPECT_FALSE(PtInRegion(fast.get(), 3, 2));
}

TEST(SkinRegion, OtherKeysAndAKeyNoPixelCanHave) {
    TBitmap b;
    DrawPattern(b, {"#..#", ".##.", "#..#"});
    ExpectSameRegion(b, 0x803010);  // the dark blue becomes the key
    ExpectSameRegion(b, clBtnFace); // a system colour: no pixel is read as one
    RECT box;
    EXPECT_EQ(GetRgnBox(CreateSkinRegion(b, clBtnFace).get(), &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 4);
    EXPECT_EQ(box.bottom, 3);
}

TEST(SkinRegion, RoundedSkinWithHoles) {
    TBitmap skin;
    FillBitmap(skin, 300, 160, clFuchsia);
    const int radius = 24;
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 300; ++x) {
            const int cx = std::clamp(x, radius, 299 - radius),
                      cy = std::clamp(y, radius, 159 - radius);
            const bool corner = (x - cx) * (x - cx) + (y - cy) * (y - cy) > radius * radius;
            const bool hole = (x - 80) * (x - 80) + (y - 70) * (y - 70) < 400 ||
                              (x > 200 && x < 230 && y > 40 && y < 120);
            if (!corner && !hole) skin.ScanLine(y)[x] = ColorToPixel(0x405060 + y);
        }
    ExpectSameRegion(skin);
}

// A bitmap that keeps its memory has rows wider than the picture: only the picture is read.
TEST(SkinRegion, RowsWiderThanThePictureAreReadOnlyAsFarAsItGoes) {
    TBitmap skin;
    skin.SetKeepsMemory(true);
    FillBitmap(skin, 200, 40, clRed);
    skin.SetSize(120, 30); // the DIB stays 200 wide and holds red beyond the picture
    FillBitmap(skin, 120, 30, clFuchsia);
    for (int y = 5; y < 25; ++y)
        for (int x = 10 + y; x < 110; ++x) skin.ScanLine(y)[x] = ColorToPixel(0x800000);
    ExpectSameRegion(skin);
    TBitmap exact;
    exact.Assign(skin);
    EXPECT_TRUE(EqualRgn(CreateSkinRegion(skin, clFuchsia).get(),
                         CreateSkinRegion(exact, clFuchsia).get()));
    EXPECT_TRUE(EqualRgn(CreateWindowSkinRegion(skin, clFuchsia).get(),
                         CreateWindowSkinRegion(exact, clFuchsia).get()));
}

TEST(SkinRegion, NoisyPicturesWithThousandsOfRuns) {
    // Far more rectangles than go into one creation call, many rows with more runs than that.
    std::mt19937 random(7);
    TBitmap noise;
    noise.SetSize(301, 97);
    for (int y = 0; y < noise.Height(); ++y)
        for (int x = 0; x < noise.Width(); ++x)
            noise.ScanLine(y)[x] = random() % 3 ? ColorToPixel(clFuchsia) : 0x00123456;
    ExpectSameRegion(noise);
    TBitmap stripes; // identical rows, one band of many rectangles
    stripes.SetSize(400, 50);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 400; ++x)
            stripes.ScanLine(y)[x] = x % 3 ? 0x00123456 : ColorToPixel(clFuchsia);
    ExpectSameRegion(stripes);
}

TEST(SkinRegion, WindowReceivesTheRegion) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    TBitmap b;
    DrawPattern(b, {"..#", "###"});
    BitmapToWindowRegion(window, b, clFuchsia);
    const TRegionHandle given = WindowRegion(window);
    ASSERT_TRUE(given);
    EXPECT_TRUE(EqualRgn(given.get(), CreateSkinRegion(b, clFuchsia).get()));
    DestroyWindow(window);
}

// --- Outlines beyond what the window system takes.

namespace {

// A checkerboard of fuchsia and another colour: each row alternates, so no two rows share runs and
// the exact outline has width * height / 2 rectangles.
void DrawCheckerboard(TBitmap& bitmap, int width, int height) {
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.ScanLine(y)[x] = (x + y) % 2 ? ColorToPixel(clFuchsia) : 0x00204060;
}

// Every pixel that is not of the key colour lies in the region.
void ExpectCoversEveryVisiblePixel(const TBitmap& bitmap, HRGN region) {
    int missing = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if ((bitmap.ScanLine(y)[x] & 0xFFFFFF) != ColorToPixel(clFuchsia) &&
                !PtInRegion(region, x, y))
                ++missing;
    EXPECT_EQ(missing, 0);
}

} // namespace

TEST(WindowSkinRegion, OrdinaryOutlinesStayExact) {
    TBitmap skin;
    FillBitmap(skin, 300, 160, clFuchsia);
    for (int y = 0; y < 160; ++y)
        for (int x = y % 40; x < 300 - y % 37; ++x) skin.ScanLine(y)[x] = 0x00102030;
    int cell = 0;
    const TRegionHandle region = CreateWindowSkinRegion(skin, clFuchsia, &cell);
    EXPECT_EQ(cell, 1);
    EXPECT_TRUE(EqualRgn(region.get(), CreateSkinRegion(skin, clFuchsia).get()));
    // Just under the limit: stripes of kMaxWindowRegionRects rectangles in one band.
    TBitmap stripes;
    const int width = static_cast<int>(2 * kMaxWindowRegionRects);
    stripes.SetSize(width, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < width; ++x)
            stripes.ScanLine(y)[x] = x % 2 ? ColorToPixel(clFuchsia) : 0x00123456;
    const TRegionHandle exact = CreateWindowSkinRegion(stripes, clFuchsia, &cell);
    EXPECT_EQ(cell, 1);
    EXPECT_EQ(RegionRectCount(exact.get()), kMaxWindowRegionRects);
}

TEST(WindowSkinRegion, HostileOutlinesFallBackToACoarserGridThatFits) {
    // 300 x 300: 45,000 rectangles, more than an X request holds; 2 x 2 cells all touch a visible
    // pixel. A noisy 1000 x 1000 picture needs a coarser grid still.
    TBitmap checkerboard;
    DrawCheckerboard(checkerboard, 300, 300);
    ASSERT_GT(RegionRectCount(CreateSkinRegion(checkerboard, clFuchsia).get()), 32765u);
    int cell = 0;
    const TRegionHandle board = CreateWindowSkinRegion(checkerboard, clFuchsia, &cell);
    EXPECT_EQ(cell, 2);
    EXPECT_LE(RegionRectCount(board.get()), kMaxWindowRegionRects);
    ExpectCoversEveryVisiblePixel(checkerboard, board.get());

    std::mt19937 random(11);
    TBitmap noise;
    noise.SetSize(1000, 1000);
    for (int y = 0; y < 1000; ++y)
        for (int x = 0; x < 1000; ++x)
            noise.ScanLine(y)[x] = random() % 16 ? ColorToPixel(clFuchsia) : 0x00654321;
    const auto start = std::chrono::steady_clock::now();
    const TRegionHandle coarse = CreateWindowSkinRegion(noise, clFuchsia, &cell);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_GT(cell, 2);
    EXPECT_LE(RegionRectCount(coarse.get()), kMaxWindowRegionRects);
    ExpectCoversEveryVisiblePixel(noise, coarse.get());
    RECT box;
    GetRgnBox(coarse.get(), &box);
    EXPECT_LE(box.right, 1000) << "the grid is cut at the picture's edge";
    EXPECT_LE(box.bottom, 1000);
}

TEST(WindowSkinRegion, AShownSkinFormWithAHostileOutlineKeepsTheProgramAlive) {
    // On a real window under Wine: before the fallback, this outline ended the process with an X
    // error (BadLength) when the window received it.
    TForm form(nullptr);
    auto* skin = new TkelSkinForm(&form);
    skin->SetParent(&form);
    DrawCheckerboard(skin->Glyph(), 300, 300);
    skin->SetTransparentColor(clFuchsia);
    form.Show();
    const auto until = GetTickCount() + 1500;
    MSG message;
    while (GetTickCount() < until) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
    const TRegionHandle given = WindowRegion(form.Handle());
    ASSERT_TRUE(given);
    EXPECT_LE(RegionRectCount(given.get()), kMaxWindowRegionRects);
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_EQ(form.ClientWidth(), 300);
    ExpectCoversEveryVisiblePixel(skin->Glyph(), given.get());
    // Painting the whole window goes through the window system with its region too.
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    form.Hide();
}
