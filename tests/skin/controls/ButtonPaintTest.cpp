// The skinned buttons' faces read back from pixels: picture choice and fallbacks per state, the
// blank picture, AutoSize, Stretch, see-through pictures over the parent's painting, the focus
// rectangle, the caption and the built-in style strips.
#include "ButtonTestSupport.h"

#include <map>

#include "framework/win/ExtCtrls.h"

namespace kel::buttontest {
namespace {

class ButtonPaint : public ButtonForm {
protected:
    // Is any pixel of the face, inside the rectangle, different from `color`?
    static bool AnyOtherThan(const TBitmap& face, const RECT& area, TColor color) {
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (At(face, x, y) != color) return true;
        return false;
    }
    static bool Contains(const TBitmap& face, TColor color) {
        for (int y = 0; y < face.Height(); ++y)
            for (int x = 0; x < face.Width(); ++x)
                if (At(face, x, y) == color) return true;
        return false;
    }
    // Top-left corner of the pixels that differ from the background colour.
    static POINT InkOrigin(const TBitmap& face, TColor background) {
        POINT origin{face.Width(), face.Height()};
        for (int y = 0; y < face.Height(); ++y)
            for (int x = 0; x < face.Width(); ++x)
                if (At(face, x, y) != background) {
                    origin.x = std::min<LONG>(origin.x, x);
                    origin.y = std::min<LONG>(origin.y, y);
                }
        return origin;
    }
};

TEST_F(ButtonPaint, EveryStateShowsItsOwnPicture) {
    TkelImageButton* b = AddButton(20, 20);
    EXPECT_EQ(FaceAt(*b, 10, 10), kNormal);
    Hover(*b);
    EXPECT_EQ(FaceAt(*b, 10, 10), kMouseOn);
    Press(*b);
    EXPECT_EQ(FaceAt(*b, 10, 10), kMouseDown);
    Release(*b);
    // Disabling drops the hover (the system cancels the window's modes); the states reported
    // afterwards do not matter to a disabled button.
    b->SetEnabled(false);
    b->MouseEnter();
    b->MouseDown(mbLeft, ssLeft, 5, 5);
    EXPECT_TRUE(b->MouseOver() && b->Pressed());
    EXPECT_EQ(FaceAt(*b, 10, 10), kDisabled);
}

TEST_F(ButtonPaint, NormalPictureAloneServesEveryStateUngreyed) {
    TkelImageButton* b = AddButton(20, 20, 40, 30, false);
    Solid(b->PicNormal(), 40, 30, kNormal);
    Hover(*b);
    EXPECT_EQ(FaceAt(*b, 10, 10), kNormal);
    Press(*b);
    EXPECT_EQ(FaceAt(*b, 10, 10), kNormal);
    Release(*b);
    b->SetEnabled(false);
    EXPECT_EQ(FaceAt(*b, 10, 10), kNormal);
}

TEST_F(ButtonPaint, PressedFallsBackToNormalNotToMouseOn) {
    TkelImageButton* b = AddButton(20, 20, 40, 30, false);
    Solid(b->PicNormal(), 40, 30, kNormal);
    Solid(b->PicMouseOn(), 40, 30, kMouseOn);
    Hover(*b);
    EXPECT_EQ(FaceAt(*b, 10, 10), kMouseOn);
    Press(*b);
    EXPECT_EQ(FaceAt(*b, 10, 10), kNormal);
}

TEST_F(ButtonPaint, NoPictureShowsTheBackgroundOnly) {
    TkelImageButton* b = AddButton(20, 20, 40, 30, false);
    Solid(b->PicMouseOn(), 40, 30, kMouseOn); // no fallback for the normal state
    EXPECT_FALSE(AnyOtherThan(*Face(*b), {0, 0, 40, 30}, kFace));
}

TEST_F(ButtonPaint, PictureOfAnotherKindGivesABlank74By21) {
    TkelImageButton* b = AddButton(20, 20, 100, 40, false);
    auto icon = std::make_unique<TIcon>();
    icon->SetHandle(LoadIconA(nullptr, IDI_APPLICATION), false);
    b->PicNormal().SetGraphic(std::move(icon));
    const auto face = Face(*b);
    EXPECT_FALSE(AnyOtherThan(*face, {0, 0, 74, 21}, clWhite));
    EXPECT_EQ(At(*face, 74, 5), kFace);
    EXPECT_EQ(At(*face, 5, 21), kFace);
}

TEST_F(ButtonPaint, AutoSizeFollowsOnlyTheNormalPictureWrittenThroughItsProperty) {
    TkelImageButton* b = AddButton(10, 10, 50, 40, false);
    b->SetAutoSize(true); // nothing to size from yet
    EXPECT_EQ(b->Width(), 50);
    EXPECT_EQ(b->Height(), 40);
    TPicture big, normal;
    Solid(big, 60, 60, kMouseOn);
    Solid(normal, 33, 22, kNormal);
    b->SetPicMouseOn(big);
    EXPECT_EQ(b->Width(), 50);
    b->SetPicNormal(normal);
    EXPECT_EQ(b->Width(), 33);
    EXPECT_EQ(b->Height(), 22);
    RECT window;
    GetWindowRect(b->Handle(), &window);
    EXPECT_EQ(window.right - window.left, 33);

    Solid(b->PicNormal(), 44, 11, kNormal); // loaded in place: no resize
    EXPECT_EQ(b->Width(), 33);
    b->SetAutoSize(true);
    EXPECT_EQ(b->Width(), 44);
    EXPECT_EQ(b->Height(), 11);

    b->SetAutoSize(false);
    b->SetPicNormal(big);
    EXPECT_EQ(b->Width(), 44);

    auto* orphan = Make<TkelImageButton>(); // no parent: no sizing
    orphan->SetBounds(0, 0, 5, 5);
    orphan->SetAutoSize(true);
    orphan->SetPicNormal(normal);
    EXPECT_EQ(orphan->Width(), 5);
}

TEST_F(ButtonPaint, StretchScalesAndUnscaledShowsTheTopLeftPart) {
    constexpr TColor kCorner = 0x4080F0;
    TkelImageButton* b = AddButton(20, 20, 40, 20, false);
    TBitmap& small = b->PicNormal().Bitmap();
    Solid(b->PicNormal(), 20, 10, kNormal);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 10; ++x) small.ScanLine(y)[x] = ColorToPixel(kCorner);
    auto face = Face(*b);
    EXPECT_EQ(At(*face, 9, 4), kCorner);
    EXPECT_EQ(At(*face, 15, 8), kNormal);
    EXPECT_EQ(At(*face, 30, 15), kFace);
    b->SetStretch(true);
    face = Face(*b);
    EXPECT_EQ(At(*face, 19, 9), kCorner);
    EXPECT_EQ(At(*face, 30, 15), kNormal);

    b->SetStretch(false);
    TBitmap& large = b->PicNormal().Bitmap();
    large.SetSize(80, 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x) large.ScanLine(y)[x] = ColorToPixel(RGB(x, y, 7));
    face = Face(*b);
    EXPECT_EQ(At(*face, 39, 19), RGB(39, 19, 7));
    b->SetStretch(true); // scaled down by 2 x 3: the bottom-right pixel comes from near (79, 59)
    const TColor corner = FaceAt(*b, 39, 19);
    EXPECT_GE(GetRValue(corner), 78);
    EXPECT_GE(GetGValue(corner), 57);
}

TEST_F(ButtonPaint, TransparentShowsTheParentThroughTheTopLeftColour) {
    // Behind the button, a picture whose every pixel tells its position on the form.
    auto* backdrop = Make<TImage>();
    backdrop->SetParent(form);
    backdrop->SetBounds(0, 0, 320, 200);
    TBitmap& pattern = backdrop->Picture().Bitmap();
    pattern.SetSize(320, 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) pattern.ScanLine(y)[x] = ColorToPixel(RGB(x & 0xFF, y, 0x80));
    const auto formPixel = [](int x, int y) { return RGB(x & 0xFF, y, 0x80); };

    TkelImageButton* b = AddButton(30, 40, 40, 30, false);
    TBitmap& picture = b->PicNormal().Bitmap();
    Solid(b->PicNormal(), 30, 20, clFuchsia);
    for (int y = 10; y < 15; ++y)
        for (int x = 15; x < 20; ++x) picture.ScanLine(y)[x] = ColorToPixel(kNormal);

    auto face = Face(*b);
    EXPECT_EQ(At(*face, 0, 0), clFuchsia);
    EXPECT_EQ(At(*face, 16, 11), kNormal);
    EXPECT_EQ(At(*face, 35, 25), kFace);

    b->SetTransparent(true);
    face = Face(*b);
    EXPECT_EQ(At(*face, 0, 0), formPixel(30, 40));
    EXPECT_EQ(At(*face, 5, 15), formPixel(35, 55));
    EXPECT_EQ(At(*face, 16, 11), kNormal);
    EXPECT_EQ(At(*face, 35, 25), formPixel(65, 65));
    EXPECT_EQ(At(*face, 39, 29), formPixel(69, 69));

    // The screen shows the same, painted at once by the property write.
    HDC dc = GetDC(b->Handle());
    EXPECT_EQ(GetPixel(dc, 5, 15), formPixel(35, 55));
    ReleaseDC(b->Handle(), dc);
}

TEST_F(ButtonPaint, FocusRectangleOnlyWhenAskedAndFocused) {
    TkelImageButton* b = AddButton(20, 20, 40, 30);
    TkelImageButton* other = AddButton(100, 20);
    b->SetFocusedRectMargin(3);
    b->SetFocus();
    EXPECT_FALSE(AnyOtherThan(*Face(*b), {0, 0, 40, 30}, kNormal));
    b->SetDrawFocused(true);
    auto face = Face(*b);
    EXPECT_TRUE(AnyOtherThan(*face, {3, 3, 37, 4}, kNormal));
    EXPECT_FALSE(AnyOtherThan(*face, {0, 0, 40, 3}, kNormal));
    EXPECT_FALSE(AnyOtherThan(*face, {4, 4, 36, 26}, kNormal));
    other->SetFocus();
    EXPECT_FALSE(AnyOtherThan(*Face(*b), {0, 0, 40, 30}, kNormal));
    b->SetFocus();
    b->SetTabStop(false); // no tab stop, no focus rectangle
    EXPECT_FALSE(AnyOtherThan(*Face(*b), {0, 0, 40, 30}, kNormal));
}

// Paint requests of this thread's windows, sent or taken from the queue, while it lives.
class PaintCounter {
public:
    PaintCounter() {
        counts_ = &counts;
        sent_ = SetWindowsHookExA(WH_CALLWNDPROC, Sent, nullptr, GetCurrentThreadId());
        queued_ = SetWindowsHookExA(WH_GETMESSAGE, Queued, nullptr, GetCurrentThreadId());
    }
    ~PaintCounter() {
        UnhookWindowsHookEx(sent_);
        UnhookWindowsHookEx(queued_);
        counts_ = nullptr;
    }
    int Of(TWinControl& control) { return counts[control.Handle()]; }
    std::map<HWND, int> counts;

private:
    static LRESULT CALLBACK Sent(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_PAINT && counts_)
            ++(*counts_)[message->hwnd];
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK Queued(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const MSG*>(lParam);
        if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_PAINT && counts_)
            ++(*counts_)[message->hwnd];
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline std::map<HWND, int>* counts_ = nullptr;
    HHOOK sent_, queued_;
};

TEST_F(ButtonPaint, FocusMoveRepaintsTheTwoButtonsItMovesBetweenOnceEach) {
    TkelImageButton* from = AddButton(20, 20);
    TkelImageButton* to = AddButton(80, 20);
    TkelImageButton* bystander = AddButton(140, 20);
    from->SetFocus();
    Pump(20);
    PaintCounter paints;
    to->SetFocus();
    Pump(20);
    EXPECT_EQ(paints.Of(*from), 1);
    EXPECT_EQ(paints.Of(*to), 1);
    EXPECT_EQ(paints.Of(*bystander), 0);
}

TEST_F(ButtonPaint, CaptionIsCentredShiftedWhenPressedAndEmbossedWhenDisabled) {
    TkelImageButton* b = AddButton(20, 20, 80, 40, false);
    Solid(b->PicNormal(), 80, 40, kNormal);
    b->SetCaption(" \t ");
    EXPECT_FALSE(AnyOtherThan(*Face(*b), {0, 0, 80, 40}, kNormal));

    b->SetCaption("WW");
    const auto face = Face(*b);
    const POINT ink = InkOrigin(*face, kNormal);
    EXPECT_GT(ink.x, 20); // centred, not at the left or top edge
    EXPECT_GT(ink.y, 8);
    EXPECT_LT(ink.x, 40);
    Hover(*b);
    Press(*b);
    const POINT pressed = InkOrigin(*Face(*b), kNormal);
    EXPECT_EQ(pressed.x, ink.x + 1);
    EXPECT_EQ(pressed.y, ink.y + 1);
    Release(*b);

    b->Font().SetColor(0x00FFFF);
    EXPECT_TRUE(Contains(*Face(*b), 0x00FFFF));
    b->SetEnabled(false);
    const auto disabled = Face(*b);
    EXPECT_TRUE(Contains(*disabled, clGray));
    EXPECT_TRUE(Contains(*disabled, clWhite));
    EXPECT_FALSE(Contains(*disabled, 0x00FFFF));
}

// The base class draws the frames of its style's button strip.
TEST_F(ButtonPaint, CustomButtonDrawsTheStyleStripFramesAndSizesFromIt) {
    auto* b = Make<TkelCustomButton>();
    b->SetParent(form);
    b->SetBounds(20, 20, 74, 21);
    b->SetUIStyle(TkelUIStyle::DeepBlue);
    TBitmap frame;
    const auto expectFrame = [&](int index) {
        GetThemeBitmap(TkelUIStyle::DeepBlue, 1, &frame, index, 3);
        ASSERT_EQ(frame.Width(), 74);
        const auto face = Face(*b);
        for (const POINT p : {POINT{0, 0}, POINT{37, 10}, POINT{73, 20}, POINT{5, 15}})
            EXPECT_EQ(At(*face, p.x, p.y), At(frame, p.x, p.y)) << index << " at " << p.x;
    };
    expectFrame(1);
    Hover(*b);
    expectFrame(2);
    Press(*b);
    expectFrame(3);
    Release(*b);

    b->SetAutoSize(true);
    EXPECT_EQ(b->Width(), 74);
    EXPECT_EQ(b->Height(), 21);
    b->SetUIStyle(TkelUIStyle::MacOS);
    b->SetAutoSize(true);
    EXPECT_EQ(b->Width(), 84);
    EXPECT_EQ(b->Height(), 23);
    b->SetUIStyle(TkelUIStyle::FromThemeFile); // names no strip: the blank size
    b->SetAutoSize(true);
    EXPECT_EQ(b->Width(), 24);
    EXPECT_EQ(b->Height(), 21);
}

} // namespace
} // namespace kel::buttontest
