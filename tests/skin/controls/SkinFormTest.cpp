// The skin form on real windows: border by tag, region and sizing after the property writes,
// painting, and a press anywhere turning into a window drag.
#include "skin/controls/KELSkinForm.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/skin/controls/SkinTestSupport.h"

using namespace kel;
using namespace kel::test;

namespace {

// A form that notes the caption presses it receives; with `swallow` they go no further, otherwise
// the system runs its move loop.
class RecordingForm : public TForm {
public:
    explicit RecordingForm(std::vector<std::string>& log) : TForm(nullptr), log_(log) {}
    bool Swallow = true;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NCLBUTTONDOWN) {
            log_.push_back(wParam == HTCAPTION && lParam == 0 ? "caption press" : "other press");
            if (Swallow) return 0;
        }
        return TForm::WndProc(message, wParam, lParam);
    }

private:
    std::vector<std::string>& log_;
};

// A 444 x 217 skin: rounded panel on a fuchsia margin of 8 pixels.
void DrawLauncherSkin(TBitmap& skin) {
    FillBitmap(skin, 444, 217, clFuchsia);
    for (int y = 8; y < 209; ++y)
        for (int x = 8; x < 436; ++x) {
            const bool corner = (x < 14 || x > 429) && (y < 14 || y > 202);
            if (!corner) skin.ScanLine(y)[x] = ColorToPixel(0x402010 + (y << 8));
        }
}

class SkinFormTest : public testing::Test {
protected:
    // The form with the given tag and a skin form on it.
    void Create(int64_t tag, bool designing = false) {
        form = std::make_unique<RecordingForm>(log);
        form->SetTag(tag);
        if (designing) form->SetDesigning(true);
        skin = new TkelSkinForm(form.get());
        skin->SetParent(form.get());
        skin->OnRegionChanged = [this](TObject*) { ++regionChanges; };
    }

    std::vector<std::string> log;
    std::unique_ptr<RecordingForm> form;
    TkelSkinForm* skin = nullptr; // owned by the form
    int regionChanges = 0;
};

RECT ClientRectOf(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return r;
}

} // namespace

TEST_F(SkinFormTest, NewSkinFormOnAnUntaggedForm) {
    Create(0);
    EXPECT_EQ(form->BorderStyle(), TFormBorderStyle::bsNone);
    EXPECT_EQ(skin->Width(), 200);
    EXPECT_EQ(skin->Height(), 100);
    EXPECT_EQ(skin->TransparentColor(), 0xFF00FFu);
    EXPECT_TRUE(skin->Glyph().Empty());
    EXPECT_EQ(GetOrdProp(*skin, "TransparentColor"), 0xFF00FF);
}

TEST_F(SkinFormTest, LoadingInPlaceThenWritingTheKeyShapesAndSizesTheForm) {
    Create(0);
    skin->SetBounds(5, 7, 10, 10);
    DrawLauncherSkin(skin->Glyph()); // in place: nothing happens yet
    EXPECT_EQ(regionChanges, 0);
    EXPECT_FALSE(WindowRegion(form->Handle()));

    skin->SetTransparentColor(clFuchsia);
    EXPECT_EQ(regionChanges, 1);
    const TRegionHandle region = WindowRegion(form->Handle());
    ASSERT_TRUE(region);
    EXPECT_TRUE(EqualRgn(region.get(), CreateSkinRegionPerPixel(skin->Glyph(), clFuchsia).get()));
    EXPECT_EQ(skin->Left(), 0);
    EXPECT_EQ(skin->Top(), 0);
    EXPECT_EQ(skin->Width(), 444);
    EXPECT_EQ(skin->Height(), 217);
    EXPECT_EQ(form->ClientWidth(), 444);
    EXPECT_EQ(form->ClientHeight(), 217);
    const RECT client = ClientRectOf(form->Handle());
    EXPECT_EQ(client.right, 444);
    EXPECT_EQ(client.bottom, 217);
}

TEST_F(SkinFormTest, EveryWriteRebuildsEvenWithTheSameValue) {
    Create(0);
    DrawLauncherSkin(skin->Glyph());
    skin->SetTransparentColor(clFuchsia);
    skin->SetTransparentColor(clFuchsia);
    EXPECT_EQ(regionChanges, 2);
    SetOrdProp(*skin, "TransparentColor", clFuchsia); // a stored form writes it the same way
    EXPECT_EQ(regionChanges, 3);
    TBitmap other;
    DrawPattern(other, {"..##", "####"});
    skin->SetGlyph(other);
    EXPECT_EQ(regionChanges, 4);
    EXPECT_EQ(skin->Width(), 4);
    EXPECT_EQ(form->ClientHeight(), 2);
    // The glyph is a copy: changing the caller's bitmap changes nothing.
    other.SetSize(9, 9);
    EXPECT_EQ(skin->Glyph().Width(), 4);
}

TEST_F(SkinFormTest, EmptyGlyphChangesNothingAndKeepsAnEarlierRegion) {
    Create(0);
    skin->SetTransparentColor(clFuchsia);
    EXPECT_EQ(regionChanges, 0);
    EXPECT_EQ(skin->Width(), 200);
    EXPECT_FALSE(WindowRegion(form->Handle()));

    DrawLauncherSkin(skin->Glyph());
    skin->SetTransparentColor(clFuchsia);
    skin->Glyph().SetSize(0, 0);
    skin->SetTransparentColor(clFuchsia);
    EXPECT_EQ(regionChanges, 1);
    EXPECT_EQ(skin->Width(), 444);
    EXPECT_TRUE(WindowRegion(form->Handle()));
}

TEST_F(SkinFormTest, TaggedFormKeepsASingleBorderAndIsOnlySized) {
    Create(1);
    EXPECT_EQ(form->BorderStyle(), TFormBorderStyle::bsSingle);
    DrawLauncherSkin(skin->Glyph());
    skin->SetTransparentColor(clFuchsia);
    EXPECT_EQ(regionChanges, 1);
    EXPECT_FALSE(WindowRegion(form->Handle()));
    EXPECT_NE(GetWindowLongA(form->Handle(), GWL_STYLE) & WS_CAPTION, 0);
    const RECT client = ClientRectOf(form->Handle());
    EXPECT_EQ(client.right, 444);
    EXPECT_EQ(client.bottom, 217);
}

TEST_F(SkinFormTest, WhileDesigningNoBorderChangeAndNoRegionButSizing) {
    Create(0, true);
    EXPECT_EQ(form->BorderStyle(), TFormBorderStyle::bsSizeable);
    DrawLauncherSkin(skin->Glyph());
    skin->SetTransparentColor(clFuchsia);
    EXPECT_EQ(regionChanges, 1);
    EXPECT_FALSE(WindowRegion(form->Handle()));
    EXPECT_EQ(form->ClientWidth(), 444);
    EXPECT_EQ(form->ClientHeight(), 217);
}

TEST_F(SkinFormTest, GlyphOfOnlyTheKeyColourLeavesAnInvisibleWindow) {
    Create(0);
    FillBitmap(skin->Glyph(), 120, 80, clFuchsia);
    skin->SetTransparentColor(clFuchsia);
    form->SetBounds(40, 40, form->Width(), form->Height());
    form->Show();
    const TRegionHandle region = WindowRegion(form->Handle());
    ASSERT_TRUE(region);
    RECT box;
    EXPECT_EQ(GetRgnBox(region.get(), &box), NULLREGION);
    EXPECT_FALSE(PtInRegion(region.get(), 60, 40));
    // Nothing of it is hit by the mouse either.
    RECT frame;
    GetWindowRect(form->Handle(), &frame);
    EXPECT_NE(WindowFromPoint({frame.left + 60, frame.top + 40}), form->Handle());
    form->Hide();
}

TEST_F(SkinFormTest, PaintsTheGlyphOrABlackOutline) {
    Create(0);
    int paints = 0;
    skin->OnPaint = [&paints](TObject*) { ++paints; };
    TBitmap target;
    FillBitmap(target, 210, 110, clWhite);
    skin->PaintTo(target.Canvas().Handle());
    EXPECT_EQ(paints, 1);
    const auto at = [&target](int x, int y) {
        return PixelToColor(target.ScanLine(y)[x] & 0xFFFFFF);
    };
    EXPECT_EQ(at(0, 0), clBlack);
    EXPECT_EQ(at(199, 99), clBlack);
    EXPECT_EQ(at(100, 0), clBlack);
    EXPECT_EQ(at(1, 1), clWhite);
    EXPECT_EQ(at(200, 50), clWhite);

    TBitmap glyph;
    DrawPattern(glyph, {".#", "#."});
    skin->SetGlyph(glyph);
    FillBitmap(target, 4, 4, clWhite);
    skin->PaintTo(target.Canvas().Handle());
    EXPECT_EQ(paints, 2);
    EXPECT_EQ(at(0, 0), clFuchsia); // drawn as it is; the region hides the key colour
    EXPECT_EQ(at(1, 0), 0x803010u);
    EXPECT_EQ(at(2, 2), clWhite);
}

TEST_F(SkinFormTest, AnyPressStartsADragAfterOnMouseDown) {
    Create(0);
    DrawLauncherSkin(skin->Glyph());
    skin->SetTransparentColor(clFuchsia);
    skin->OnMouseDown = [this](TObject*, TMouseButton button, TShiftState, int x, int y) {
        log.push_back("mouse down " + std::to_string(button) + " at " + std::to_string(x) + "," +
                      std::to_string(y));
    };
    HWND window = form->Handle();
    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 40));
    SendMessageA(window, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(31, 41));
    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(32, 42));
    const std::vector<std::string> expected = {"mouse down 1 at 30,40", "caption press",
                                               "mouse down 2 at 31,41", "caption press",
                                               "mouse down 0 at 32,42", "caption press"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SkinFormTest, AfterADragTheMouseReachesOtherControlsAgain) {
    Create(0);
    DrawLauncherSkin(skin->Glyph());
    skin->SetTransparentColor(clFuchsia);
    auto* probe = new TGraphicControl(form.get());
    probe->SetParent(form.get());
    probe->SetBounds(300, 100, 20, 20);
    int skinPresses = 0, probePresses = 0;
    skin->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++skinPresses; };
    probe->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++probePresses; };
    HWND window = form->Handle();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    // The move loop swallowed the release; the next press goes where it points.
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(305, 105));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(305, 105));
    EXPECT_EQ(skinPresses, 1);
    EXPECT_EQ(probePresses, 1);
}

TEST_F(SkinFormTest, RealPressAndMoveDragTheWindow) {
    Create(0);
    form->Swallow = false;
    DrawLauncherSkin(skin->Glyph());
    skin->SetTransparentColor(clFuchsia);
    form->SetBounds(100, 100, form->Width(), form->Height());
    form->Show();
    Application->ProcessMessages();
    RECT before;
    GetWindowRect(form->Handle(), &before);
    // Press inside, move by (40, 30), release: all queued before the press is handled.
    const auto input = [](DWORD flags, int x, int y) {
        INPUT i{};
        i.type = INPUT_MOUSE;
        i.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        i.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        i.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
        return i;
    };
    INPUT events[] = {input(0, before.left + 50, before.top + 50),
                      input(MOUSEEVENTF_LEFTDOWN, before.left + 50, before.top + 50),
                      input(0, before.left + 70, before.top + 65),
                      input(0, before.left + 90, before.top + 80),
                      input(MOUSEEVENTF_LEFTUP, before.left + 90, before.top + 80)};
    SendInput(static_cast<UINT>(std::size(events)), events, sizeof(INPUT));
    RECT after = before;
    for (int i = 0; i < 200 && after.left - before.left != 40; ++i) {
        Application->ProcessMessages();
        Sleep(10);
        GetWindowRect(form->Handle(), &after);
    }
    EXPECT_EQ(after.left - before.left, 40);
    EXPECT_EQ(after.top - before.top, 30);
    EXPECT_EQ(std::count(log.begin(), log.end(), "caption press"), 1);
    EXPECT_EQ(GetCapture(), nullptr);
    form->Hide();
}
