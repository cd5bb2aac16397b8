// GDI graphics of the framework on real device contexts: pixels are read back after drawing.
#include "framework/win/Graphics.h"
#include "framework/win/ImgList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>

using namespace kel;

namespace {

constexpr TColor kKey = clFuchsia;

// A file in the temporary folder that is removed when the test ends.
class TempFile {
public:
    explicit TempFile(const std::string& name) {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        path_ =
            std::string(folder) + "kelgfx_" + std::to_string(GetCurrentProcessId()) + "_" + name;
    }
    ~TempFile() { DeleteFileA(path_.c_str()); }
    const std::string& Path() const { return path_; }
    void Write(const std::vector<uint8_t>& bytes) const {
        std::ofstream out(path_, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

private:
    std::string path_;
};

void Fill(TBitmap& bitmap, TColor color) {
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) bitmap.ScanLine(y)[x] = ColorToPixel(color);
}

TColor At(const TBitmap& bitmap, int x, int y) {
    return PixelToColor(bitmap.ScanLine(y)[x]);
}

template <class E, class F> std::string MessageOf(F&& action) {
    try {
        action();
    } catch (const E& e) {
        return e.what();
    }
    return "<no exception>";
}

// 16 x 16 32-bit icon file: red square with a transparent 4-pixel border.
std::vector<uint8_t> RedIconFile() {
    const int size = 16;
    std::vector<uint8_t> file;
    auto put16 = [&file](unsigned v) { file.push_back(v & 0xFF), file.push_back((v >> 8) & 0xFF); };
    auto put32 = [&](unsigned v) { put16(v & 0xFFFF), put16(v >> 16); };
    const unsigned imageBytes = 40 + size * size * 4 + size * 4; // header, pixels, AND mask
    put16(0), put16(1), put16(1);                                // icon directory with one image
    file.push_back(size), file.push_back(size), file.push_back(0), file.push_back(0);
    put16(1), put16(32), put32(imageBytes), put32(6 + 16);
    put32(40), put32(size), put32(size * 2), put16(1), put16(32);
    for (int i = 0; i < 6; ++i) put32(0);
    for (int y = 0; y < size; ++y) // bottom-up colour pixels, alpha 255 inside the square
        for (int x = 0; x < size; ++x) {
            const bool inside = x >= 4 && x < 12 && y >= 4 && y < 12;
            put32(inside ? 0xFFFF0000u : 0u);
        }
    for (int y = 0; y < size; ++y) // AND mask rows padded to 32 bits, 1 = transparent
        put32(y >= 4 && y < 12 ? 0x00000FF0u : 0x0000FFFFu);
    return file;
}

// Wine counts no GDI objects per process (GetGuiResources gives 0), so the free room in the
// handle table is measured instead: brushes are created until GDI refuses, then all deleted.
long FreeGdiHandles() {
    std::vector<HBRUSH> brushes;
    while (HBRUSH brush = CreateSolidBrush(0)) {
        brushes.push_back(brush);
        if (brushes.size() >= 1000000) break; // no table is that large; never loop forever
    }
    for (HBRUSH brush : brushes) DeleteObject(brush);
    return static_cast<long>(brushes.size());
}

} // namespace

TEST(GraphicsColour, SystemColoursResolveAndPixelsSwapChannels) {
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clBtnShadow), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(ColorToRGB(0x00123456u), 0x00123456u);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(ColorToPixel(0x00332211u), 0x00112233u);
    EXPECT_EQ(PixelToColor(ColorToPixel(0x00ABCDEFu)), 0x00ABCDEFu);
}

TEST(GraphicsSysError, TextHasNoTrailingFullStopOrBreak) {
    const std::string text = SysErrorMessage(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '.');
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
    EXPECT_NE(text.back(), ' ');
}

TEST(GraphicsBitmap, PixelsWrittenByGdiAndByScanLineAgree) {
    TBitmap bitmap(8, 6);
    bitmap.ScanLine(2)[3] = 0x00102030; // RR=10 GG=20 BB=30
    EXPECT_EQ(bitmap.Canvas().Pixel(3, 2), TColor(0x00302010));

    bitmap.Canvas().SetPixel(5, 4, clRed);
    EXPECT_EQ(bitmap.ScanLine(4)[5], 0x00FF0000u);

    bitmap.Canvas().Brush().SetColor(clBlue);
    bitmap.Canvas().FillRect(RECT{0, 0, 2, 2});
    EXPECT_EQ(At(bitmap, 1, 1), clBlue);  // GDI output is visible through ScanLine at once
    EXPECT_EQ(At(bitmap, 2, 2), clWhite); // a new bitmap is a white sheet
    EXPECT_EQ(bitmap.Canvas().Pixel(8, 0), clNone);
}

TEST(GraphicsBitmap, ResizeKeepsTopLeftContentAndCanvasFollows) {
    TBitmap bitmap(4, 3);
    Fill(bitmap, clRed);
    bitmap.ScanLine(0)[0] = ColorToPixel(clBlue);
    HDC dc = bitmap.Canvas().Handle();

    bitmap.SetSize(6, 5);
    EXPECT_EQ(At(bitmap, 0, 0), clBlue);
    EXPECT_EQ(At(bitmap, 3, 2), clRed);
    EXPECT_EQ(At(bitmap, 4, 0), clWhite);
    EXPECT_EQ(At(bitmap, 0, 4), clWhite);
    EXPECT_EQ(bitmap.Canvas().Handle(), dc);
    EXPECT_EQ(bitmap.Canvas().Pixel(3, 2), clRed); // the DC draws on the new section
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap.Handle());

    bitmap.SetWidth(1);
    EXPECT_EQ(bitmap.Width(), 1);
    EXPECT_EQ(At(bitmap, 0, 0), clBlue);
    bitmap.SetHeight(0);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Handle(), nullptr);
    EXPECT_EQ(bitmap.TransparentColor(), clNone);
    bitmap.SetSize(2, 2);
    EXPECT_EQ(bitmap.Canvas().Pixel(1, 1), clWhite);
}

// A bitmap that keeps its memory shows, at every size, what a bitmap without does; it keeps its
// DIB while the size stays within it, and what a resize uncovers never shows older pixels.
TEST(GraphicsBitmap, AKeptDibGrowsAndShrinksLikeANewOne) {
    TBitmap kept, fresh;
    kept.SetKeepsMemory(true);
    auto same = [&](const char* step) {
        ASSERT_EQ(kept.Width(), fresh.Width()) << step;
        ASSERT_EQ(kept.Height(), fresh.Height()) << step;
        for (int y = 0; y < fresh.Height(); ++y)
            for (int x = 0; x < fresh.Width(); ++x)
                ASSERT_EQ(kept.ScanLine(y)[x], fresh.ScanLine(y)[x])
                    << step << " " << x << "," << y;
        TBitmap drawnKept(fresh.Width() + 2, fresh.Height() + 2),
            drawnFresh(fresh.Width() + 2, fresh.Height() + 2);
        drawnKept.Canvas().Draw(1, 1, kept);
        drawnFresh.Canvas().Draw(1, 1, fresh);
        for (int y = 0; y < drawnFresh.Height(); ++y)
            ASSERT_EQ(std::memcmp(drawnKept.ScanLine(y), drawnFresh.ScanLine(y),
                                  drawnFresh.Width() * sizeof(uint32_t)),
                      0)
                << step << " drawn, row " << y;
    };
    auto both = [&](auto change) {
        change(kept);
        change(fresh);
    };
    both([](TBitmap& b) {
        b.SetSize(40, 10);
        b.Canvas().Brush().SetColor(clRed);
        b.Canvas().FillRect(RECT{0, 0, 40, 10});
        b.Canvas().SetPixel(39, 9, clBlue);
    });
    same("painted");
    both([](TBitmap& b) { b.SetSize(44, 11); });
    same("grown a little");
    const HBITMAP dib = kept.Handle();
    both([](TBitmap& b) { b.SetSize(30, 8); });
    same("shrunk");
    EXPECT_EQ(kept.Handle(), dib) << "a smaller size fits the DIB it has";
    both([](TBitmap& b) {
        b.Canvas().Brush().SetColor(TColor(0x00FF00));
        b.SetSize(45, 12); // what was red and blue before the shrink is uncovered again
    });
    same("grown back");
    EXPECT_EQ(kept.Handle(), dib);
    both([](TBitmap& b) { b.SetSize(400, 12); });
    same("grown past the DIB");
    EXPECT_NE(kept.Handle(), dib);
    both([](TBitmap& b) { b.SetSize(3, 2); });
    same("shrunk far");
    TBitmap copy;
    copy.Assign(kept);
    EXPECT_EQ(copy.ScanLine(1)[2], fresh.ScanLine(1)[2]);
}

TEST(GraphicsBitmap, HostileSizesAndRowsAreRefused) {
    TBitmap bitmap(2, 2);
    EXPECT_THROW(bitmap.ScanLine(2), EInvalidGraphicOperation);
    EXPECT_THROW(bitmap.ScanLine(-1), EInvalidGraphicOperation);
    EXPECT_THROW(bitmap.SetSize(100000, 100000), EOutOfResources);
    EXPECT_EQ(bitmap.Width(), 2); // the failed resize left the picture alone
    bitmap.SetSize(-4, 3);
    EXPECT_TRUE(bitmap.Empty());
    TPixelImage lying{4, 4, std::vector<uint32_t>(3)};
    EXPECT_THROW(bitmap.Assign(lying), EInvalidGraphic);
}

TEST(GraphicsBitmap, AssignCopiesPixelsAndTransparency) {
    TBitmap source(3, 2);
    Fill(source, clGray);
    source.SetTransparent(true);
    source.SetTransparentColor(clRed);
    TBitmap copy;
    copy.Assign(source);
    source.ScanLine(0)[0] = 0;
    EXPECT_EQ(copy.Width(), 3);
    EXPECT_EQ(At(copy, 0, 0), clGray);
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(copy.TransparentColor(), clRed);

    TBitmap automatic(2, 2);
    Fill(automatic, clWhite);
    automatic.ScanLine(1)[0] = ColorToPixel(clBlue);
    EXPECT_EQ(automatic.TransparentColor(), clBlue); // bottom-left pixel by default
}

TEST(GraphicsBitmap, FileErrorsCarryTheExactMessages) {
    TempFile missing("missing.bmp");
    EXPECT_EQ(MessageOf<EFOpenError>([&] { TBitmap().LoadFromFile(missing.Path()); }),
              "Cannot open file \"" + missing.Path() + "\". " +
                  SysErrorMessage(ERROR_FILE_NOT_FOUND));

    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    EXPECT_THROW(TBitmap().LoadFromFile(folder), EFOpenError); // a folder is not readable

    TempFile junk("junk.bmp");
    junk.Write({'B', 'M', 1, 2, 3});
    TBitmap bitmap(2, 2);
    Fill(bitmap, clRed);
    EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { bitmap.LoadFromFile(junk.Path()); }),
              "Bitmap image is not valid");
    EXPECT_EQ(At(bitmap, 1, 1), clRed); // unchanged by the failed load

    TempFile empty("empty.bmp");
    empty.Write({});
    EXPECT_THROW(bitmap.LoadFromFile(empty.Path()), EInvalidGraphic);
}

TEST(GraphicsBitmap, LoadsFileWrittenByTheEncoder) {
    TPixelImage image{3, 2, {0x00FF0000, 0x0000FF00, 0x000000FF, 0, 0x00FFFFFF, 0x00123456}};
    TempFile file("pixels.bmp");
    file.Write(EncodeBmp24(image));
    TBitmap bitmap;
    bitmap.LoadFromFile(file.Path());
    ASSERT_EQ(bitmap.Width(), 3);
    ASSERT_EQ(bitmap.Height(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(bitmap.ScanLine(y)[x], image.At(x, y)) << x << "," << y;
    EXPECT_EQ(bitmap.Canvas().Pixel(0, 0), clRed); // pixel 0x00FF0000 is red
}

TEST(GraphicsBitmap, ResourceLoadingByName) {
    TBitmap bitmap;
    EXPECT_EQ(MessageOf<EResNotFound>(
                  [&] { bitmap.LoadFromResourceName(GetModuleHandleA(nullptr), ""); }),
              "Resource  not found");
    EXPECT_EQ(MessageOf<EResNotFound>(
                  [&] { bitmap.LoadFromResourceName(GetModuleHandleA(nullptr), "DEEPBLUE_NOPE"); }),
              "Resource DEEPBLUE_NOPE not found");
    // The system's window-frame bitmaps are BITMAP resources of user32 ("#32754" is the close box).
    bitmap.LoadFromResourceName(GetModuleHandleA("user32.dll"), "#32754");
    EXPECT_GT(bitmap.Width(), 0);
    EXPECT_GT(bitmap.Height(), 0);
}

TEST(GraphicsDraw, TransparentDrawLeavesOutExactlyTheKeyColour) {
    TBitmap picture(4, 2);
    const TColor row0[] = {kKey, clRed, 0xFF00FE, kKey};
    const TColor row1[] = {0xFE00FF, kKey, clBlack, clWhite};
    for (int x = 0; x < 4; ++x) {
        picture.ScanLine(0)[x] = ColorToPixel(row0[x]);
        picture.ScanLine(1)[x] = ColorToPixel(row1[x]);
    }
    TBitmap target(6, 4);
    Fill(target, clBlue);
    picture.SetTransparent(true);
    picture.SetTransparentColor(kKey);
    target.Canvas().Draw(1, 1, picture);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(At(target, 1 + x, 1), row0[x] == kKey ? clBlue : row0[x]) << x;
        EXPECT_EQ(At(target, 1 + x, 2), row1[x] == kKey ? clBlue : row1[x]) << x;
    }
    EXPECT_EQ(At(target, 0, 0), clBlue);

    picture.SetTransparent(false);
    target.Canvas().Draw(1, 1, picture);
    EXPECT_EQ(At(target, 1, 1), kKey); // opaque drawing copies every pixel
}

TEST(GraphicsDraw, TransparentDrawIsTheSameIntoBitmapsAndThroughClippedDcs) {
    // Into a bitmap's canvas the keyed pixels are copied directly; a canvas with a clip region
    // goes through the window system. Both must give the same pixels, at every placement,
    // partly outside the target too.
    TBitmap picture(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            picture.ScanLine(y)[x] = (x + y) % 3 == 0 ? ColorToPixel(kKey) : 0x102030u * (x + 1);
    picture.SetTransparent(true);
    picture.SetTransparentColor(kKey);
    for (const POINT at : {POINT{1, 1}, POINT{-2, -1}, POINT{4, 3}, POINT{-6, 0}}) {
        TBitmap direct(7, 5), clipped(7, 5);
        Fill(direct, clBlue);
        Fill(clipped, clBlue);
        direct.Canvas().Draw(at.x, at.y, picture);
        HDC dc = clipped.Canvas().Handle();
        HRGN whole = CreateRectRgn(0, 0, 7, 5);
        SelectClipRgn(dc, whole);
        clipped.Canvas().Draw(at.x, at.y, picture);
        SelectClipRgn(dc, nullptr);
        DeleteObject(whole);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                EXPECT_EQ(direct.ScanLine(y)[x], clipped.ScanLine(y)[x])
                    << at.x << "," << at.y << ": " << x << "," << y;
    }
    // A bitmap drawn onto itself goes through the window system as well.
    picture.Canvas().Draw(0, 0, picture);
    EXPECT_EQ(picture.ScanLine(0)[1], 0x102030u * 2);
}

TEST(GraphicsDraw, DrawWithKeyIgnoresTheBitmapsOwnSettings) {
    TBitmap picture(2, 2);
    picture.ScanLine(0)[0] = ColorToPixel(clRed);
    picture.ScanLine(0)[1] = ColorToPixel(clGray);
    picture.ScanLine(1)[0] = ColorToPixel(clBlack); // bottom-left: the key when none is given
    picture.ScanLine(1)[1] = ColorToPixel(clRed);
    picture.SetTransparent(true);
    picture.SetTransparentColor(clGray);
    TBitmap target(2, 2);
    Fill(target, clBlue);
    picture.DrawWithKey(target.Canvas(), {0, 0, 2, 2}, clRed);
    EXPECT_EQ(At(target, 0, 0), clBlue);
    EXPECT_EQ(At(target, 1, 0), clGray);
    EXPECT_EQ(At(target, 1, 1), clBlue);
    Fill(target, clBlue);
    picture.DrawWithKey(target.Canvas(), {0, 0, 2, 2}, clNone);
    EXPECT_EQ(At(target, 0, 1), clBlue);
    EXPECT_EQ(At(target, 0, 0), clRed);
    EXPECT_TRUE(picture.Transparent());
    EXPECT_EQ(picture.TransparentColor(), clGray);
}

TEST(GraphicsDraw, StretchDrawScalesAndHonoursTransparency) {
    TBitmap picture(2, 2);
    picture.ScanLine(0)[0] = ColorToPixel(clRed);
    picture.ScanLine(0)[1] = ColorToPixel(kKey);
    picture.ScanLine(1)[0] = ColorToPixel(clBlack);
    picture.ScanLine(1)[1] = ColorToPixel(clWhite);
    TBitmap target(6, 6);
    Fill(target, clBlue);
    target.Canvas().StretchDraw(RECT{0, 0, 6, 6}, picture);
    EXPECT_EQ(At(target, 2, 2), clRed);
    EXPECT_EQ(At(target, 3, 0), kKey);
    EXPECT_EQ(At(target, 5, 5), clWhite);
    EXPECT_EQ(At(target, 0, 5), clBlack);

    Fill(target, clBlue);
    picture.SetTransparent(true);
    picture.SetTransparentColor(kKey);
    target.Canvas().StretchDraw(RECT{0, 0, 6, 6}, picture);
    for (int y = 0; y < 3; ++y)
        for (int x = 3; x < 6; ++x) EXPECT_EQ(At(target, x, y), clBlue) << x << "," << y;
    EXPECT_EQ(At(target, 0, 0), clRed);
}

TEST(GraphicsCanvas, AttachSelectsToolsAndDetachRestoresTheDc) {
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ originalFont = GetCurrentObject(dc, OBJ_FONT);
    const HGDIOBJ originalBrush = GetCurrentObject(dc, OBJ_BRUSH);
    const HGDIOBJ originalPen = GetCurrentObject(dc, OBJ_PEN);
    {
        TCanvas canvas;
        EXPECT_FALSE(canvas.HandleAllocated());
        EXPECT_THROW(canvas.Handle(), Exception); // a plain canvas cannot make its own DC
        canvas.SetHandle(dc);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), canvas.Font().Handle());
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), canvas.Brush().Handle());
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), canvas.Pen().Handle());

        canvas.Font().SetStyle(fsBold);
        canvas.Brush().SetColor(clRed);
        canvas.Pen().SetWidth(3);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), canvas.Font().Handle());
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), canvas.Brush().Handle());
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), canvas.Pen().Handle());
        LOGBRUSH brush{};
        GetObjectA(GetCurrentObject(dc, OBJ_BRUSH), sizeof(brush), &brush);
        EXPECT_EQ(brush.lbColor, clRed);
        canvas.Font().SetColor(clBlue);
        EXPECT_EQ(GetTextColor(dc), clBlue);

        canvas.SetHandle(nullptr);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), originalFont);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), originalBrush);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), originalPen);
        canvas.SetHandle(dc); // destroyed while attached
    }
    EXPECT_EQ(GetObjectType(dc), DWORD(OBJ_MEMDC)); // the canvas never deletes a DC it was lent
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), originalFont);
    DeleteDC(dc);
}

TEST(GraphicsCanvas, TextBackgroundFollowsTheBrushStyle) {
    auto countColour = [](const TBitmap& bitmap, TColor colour) {
        int count = 0;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x) count += At(bitmap, x, y) == colour;
        return count;
    };
    TBitmap bitmap(60, 30);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Font().SetColor(clBlack);
    canvas.Font().SetHeight(-16);
    canvas.Brush().SetColor(clRed);
    canvas.TextOut(2, 2, "Wg");
    EXPECT_GT(countColour(bitmap, clRed), 20); // solid: the text cell is filled with the brush
    EXPECT_GT(countColour(bitmap, clBlack), 5);

    Fill(bitmap, clWhite);
    canvas.Brush().SetStyle(TBrushStyle::Clear);
    canvas.Font().SetColor(clBlue);
    canvas.TextOut(2, 2, "Wg");
    EXPECT_EQ(countColour(bitmap, clRed), 0); // clear: only glyph pixels change
    EXPECT_GT(countColour(bitmap, clWhite), 60 * 30 / 2);
    EXPECT_GT(countColour(bitmap, clBlue), 5);
    const SIZE extent = canvas.TextExtent("Wg");
    EXPECT_GT(extent.cx, 0);
    EXPECT_EQ(canvas.TextWidth(""), 0);
}

TEST(GraphicsCanvas, OutlinesAndLines) {
    TBitmap bitmap(10, 10);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(clBlack);
    canvas.FrameRect(RECT{0, 0, 10, 10});
    EXPECT_EQ(At(bitmap, 0, 0), clBlack);
    EXPECT_EQ(At(bitmap, 9, 9), clBlack);
    EXPECT_EQ(At(bitmap, 5, 5), clWhite);
    canvas.Pen().SetColor(clRed);
    canvas.MoveTo(2, 5);
    canvas.LineTo(8, 5);
    EXPECT_EQ(At(bitmap, 4, 5), clRed);
    EXPECT_EQ(At(bitmap, 8, 5), clWhite); // the end point is not drawn

    canvas.Brush().SetColor(clBlue);
    canvas.FillRect(RECT{5, 0, 10, 2});
    TBitmap copy(10, 10);
    copy.Canvas().CopyRect(RECT{0, 0, 5, 5}, canvas, RECT{5, 0, 10, 5}); // unscaled
    EXPECT_EQ(At(copy, 4, 1), clBlue);
    EXPECT_EQ(At(copy, 2, 2), clWhite);
    copy.Canvas().CopyRect(RECT{0, 0, 10, 10}, canvas, RECT{5, 0, 10, 5}); // doubled
    EXPECT_EQ(At(copy, 9, 3), clBlue);
    EXPECT_EQ(At(copy, 6, 4), clWhite);
}

TEST(GraphicsFont, HandleIsRecreatedAfterEveryChange) {
    TFont font;
    int changes = 0;
    font.OnChange = [&changes] { ++changes; };
    const HFONT first = font.Handle();
    EXPECT_EQ(font.Handle(), first); // cached while unchanged
    font.SetName("Arial");
    font.SetStyle(fsBold | fsItalic);
    font.SetHeight(-20);
    font.SetQuality(ANTIALIASED_QUALITY);
    EXPECT_EQ(changes, 4);
    LOGFONTA logical{};
    ASSERT_TRUE(GetObjectA(font.Handle(), sizeof(logical), &logical));
    EXPECT_STREQ(logical.lfFaceName, "Arial");
    EXPECT_EQ(logical.lfHeight, -20);
    EXPECT_EQ(logical.lfWeight, FW_BOLD);
    EXPECT_TRUE(logical.lfItalic);
    EXPECT_FALSE(logical.lfUnderline);
    EXPECT_EQ(logical.lfQuality, ANTIALIASED_QUALITY);

    HDC screen = GetDC(nullptr);
    const int ppi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    font.SetSize(9);
    EXPECT_EQ(font.Height(), -MulDiv(9, ppi, 72));
    EXPECT_EQ(font.Size(), 9);

    TFont copy;
    copy.Assign(font);
    EXPECT_EQ(copy.Name(), "Arial");
    EXPECT_EQ(copy.Style(), unsigned(fsBold | fsItalic));
    EXPECT_EQ(copy.Quality(), ANTIALIASED_QUALITY);
    font.SetName(std::string(200, 'x')); // longer than a face name can be
    EXPECT_NE(font.Handle(), nullptr);
}

TEST(GraphicsFont, AssignKeepsTheHandleOfAnEqualFontAndRenewsItOtherwise) {
    TFont source, copy;
    source.SetName("Arial");
    source.SetQuality(ANTIALIASED_QUALITY);
    copy.Assign(source);
    const HFONT kept = copy.Handle();
    int changes = 0;
    copy.OnChange = [&changes] { ++changes; };
    copy.Assign(source);
    EXPECT_EQ(copy.Handle(), kept);
    EXPECT_EQ(changes, 0);
    source.SetColor(clRed); // any one property differing gives a new font
    copy.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(copy.Color(), clRed);
    EXPECT_NE(copy.Handle(), nullptr);
}

TEST(GraphicsIcon, SharedOwnedCopiedAndLoaded) {
    TIcon shared;
    HICON system = LoadIconA(nullptr, IDI_APPLICATION);
    shared.SetHandle(system, false);
    EXPECT_EQ(shared.Width(), GetSystemMetrics(SM_CXICON));
    TIcon copy;
    copy.Assign(shared);
    EXPECT_NE(copy.Handle(), system);
    EXPECT_EQ(copy.Height(), shared.Height());
    shared.SetHandle(nullptr, false);
    EXPECT_TRUE(shared.Empty());

    TempFile file("red.ico");
    file.Write(RedIconFile());
    TIcon icon;
    icon.LoadFromFile(file.Path());
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(icon.Height(), 16);
    TBitmap target(16, 16);
    Fill(target, clBlue);
    target.Canvas().Draw(0, 0, icon);
    EXPECT_EQ(At(target, 8, 8), clRed);
    EXPECT_EQ(At(target, 1, 1), clBlue); // the border is transparent

    TempFile missing("missing.ico");
    EXPECT_EQ(MessageOf<EFOpenError>([&] { icon.LoadFromFile(missing.Path()); }),
              "Cannot open file \"" + missing.Path() + "\". " +
                  SysErrorMessage(ERROR_FILE_NOT_FOUND));
    TempFile junk("junk.ico");
    junk.Write({0, 0, 1, 0, 9, 9});
    EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { icon.LoadFromFile(junk.Path()); }),
              "Icon image is not valid");
    EXPECT_EQ(icon.Width(), 16); // the loaded icon survived
}

TEST(GraphicsPicture, ExtensionChoosesTheGraphicClass) {
    TempFile bmp("upper.BMP");
    bmp.Write(EncodeBmp24(TPixelImage{1, 1, {0x00FF0000}}));
    TempFile ico("red.Ico");
    ico.Write(RedIconFile());
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&changes] { ++changes; };
    picture.LoadFromFile(bmp.Path());
    EXPECT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
    picture.LoadFromFile(ico.Path());
    EXPECT_NE(dynamic_cast<TIcon*>(picture.Graphic()), nullptr);
    EXPECT_EQ(changes, 2);

    EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { picture.LoadFromFile("C:\\skin\\logo.xyz"); }),
              "Unknown picture file extension (.xyz)");
    EXPECT_THROW(picture.LoadFromFile("C:\\skin.d\\logo"), EInvalidGraphic);
    TempFile missing("missing.bmp");
    EXPECT_THROW(picture.LoadFromFile(missing.Path()), EFOpenError);
    EXPECT_NE(dynamic_cast<TIcon*>(picture.Graphic()), nullptr); // failed loads keep the icon
    EXPECT_EQ(changes, 2);

    TBitmap& bitmap = picture.Bitmap(); // an icon gives way to an empty bitmap
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(&picture.Bitmap(), &bitmap);
    EXPECT_EQ(changes, 3);
}

TEST(GraphicsPicture, AssignMakesAnIndependentCopy) {
    TPicture source;
    source.Bitmap().SetSize(2, 2);
    Fill(source.Bitmap(), clRed);
    source.Bitmap().SetTransparent(true);
    TPicture copy;
    copy.Assign(source);
    source.Bitmap().ScanLine(0)[0] = 0;
    auto* copied = dynamic_cast<TBitmap*>(copy.Graphic());
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(At(*copied, 0, 0), clRed);
    EXPECT_TRUE(copied->Transparent());

    TPicture empty;
    copy.Assign(empty);
    EXPECT_FALSE(copy.HasGraphic());
    EXPECT_EQ(copy.Width(), 0);
}

TEST(GraphicsResources, RepeatedUseLeavesNoGdiObjectBehind) {
    auto cycle = [] {
        TBitmap bitmap(24, 16);
        TCanvas& canvas = bitmap.Canvas();
        canvas.Font().SetHeight(-12);
        canvas.Brush().SetColor(clBtnFace);
        canvas.Pen().SetColor(clRed);
        canvas.FillRect(RECT{0, 0, 24, 16});
        canvas.TextOut(1, 1, "A");
        canvas.Rectangle(RECT{2, 2, 8, 8});
        canvas.Font().SetStyle(fsBold); // tools replaced while selected
        canvas.Brush().SetColor(clWhite);
        canvas.Pen().SetWidth(2);
        canvas.Rectangle(RECT{2, 2, 8, 8});
        canvas.TextOut(1, 1, "B");
        bitmap.SetSize(30, 20);
        TBitmap other;
        other.Assign(bitmap);
        other.SetTransparent(true);
        canvas.StretchDraw(RECT{0, 0, 10, 10}, other);
        TImageList list(24, 16);
        list.AddMasked(bitmap, clRed);
        list.Add(bitmap);
        list.Draw(canvas, 0, 0, 0, true);
        list.Draw(canvas, 0, 0, 1, false);
        TPicture picture;
        picture.Bitmap().Assign(bitmap);
        TPicture copy;
        copy.Assign(picture);
        TIcon icon;
        icon.SetHandle(CopyIcon(LoadIconA(nullptr, IDI_APPLICATION)), true);
    };
    cycle(); // first use creates lasting system objects (stock objects, common controls)
    const bool counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) != 0;
    const auto gdiObjectsInUse = [counted] {
        return counted ? static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
                       : -FreeGdiHandles();
    };
    const long before = gdiObjectsInUse();
    for (int i = 0; i < 50; ++i) cycle();
    EXPECT_EQ(gdiObjectsInUse(), before);
}
