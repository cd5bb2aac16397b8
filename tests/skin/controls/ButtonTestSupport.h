// Shared pieces of the skinned button tests: a shown form with image buttons whose four pictures
// have distinct colours, synthetic mouse and key input, message pumping, an event log and the
// button's face read back from pixels.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "framework/win/Forms.h"
#include "skin/controls/KELButton.h"

namespace kel::buttontest {

constexpr TColor kNormal = 0x0000C0, kMouseOn = 0x00C000, kMouseDown = 0xC00000,
                 kDisabled = 0x00C0C0, kFace = 0x203040, kFormColor = 0x605040;

inline void Pump(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        Application->ProcessMessages();
        Sleep(2);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

// A picture holding a bitmap of one colour.
inline void Solid(TPicture& picture, int width, int height, TColor color) {
    TBitmap& bitmap = picture.Bitmap();
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.ScanLine(y)[x] = ColorToPixel(color);
}

// The control's face as its Paint draws it, into a bitmap of its size.
inline std::unique_ptr<TBitmap> Face(TWinControl& control) {
    auto face = std::make_unique<TBitmap>(control.Width(), control.Height());
    SendMessageA(control.Handle(), WM_PAINT, reinterpret_cast<WPARAM>(face->Canvas().Handle()), 0);
    return face;
}

inline TColor At(const TBitmap& bitmap, int x, int y) {
    return PixelToColor(bitmap.ScanLine(y)[x]);
}

inline TColor FaceAt(TWinControl& control, int x, int y) {
    return At(*Face(control), x, y);
}

// One shown form per test suite (hiding an active window costs Wine seconds); the components a
// test makes are freed after it.
class ButtonForm : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        form = new TForm(nullptr);
        form->SetBounds(60, 60, 10, 10);
        form->SetClientWidth(320);
        form->SetClientHeight(200);
        form->SetColor(kFormColor);
        form->Show();
    }
    static void TearDownTestSuite() {
        delete form;
        form = nullptr;
    }
    void SetUp() override {
        form->SetModalResult(mrNone);
        ParkCursor();
        Pump(10);
    }
    void TearDown() override {
        for (auto it = made.rbegin(); it != made.rend(); ++it) delete *it;
        made.clear();
        Pump(10);
    }

    // A component owned by the form and freed after the test.
    template <class T> T* Make() {
        T* component = new T(form);
        made.push_back(component);
        return component;
    }

    // An image button with normal, mouse-over, pressed and disabled pictures of its size.
    TkelImageButton* AddButton(int left, int top, int width = 40, int height = 30,
                               bool pictures = true) {
        auto* button = Make<TkelImageButton>();
        button->SetParent(form);
        button->SetBounds(left, top, width, height);
        button->SetColor(kFace);
        if (pictures) {
            Solid(button->PicNormal(), width, height, kNormal);
            Solid(button->PicMouseOn(), width, height, kMouseOn);
            Solid(button->PicMouseDown(), width, height, kMouseDown);
            Solid(button->PicDisabled(), width, height, kDisabled);
        }
        button->HandleNeeded();
        return button;
    }

    // Writes every event of the button into the log, prefixed with `name`.
    void Log(TkelCustomButton* button, const std::string& name = "") {
        button->OnClick = [this, name](TObject*) { log.push_back(name + "click"); };
        button->OnMouseDown = [this, name](TObject*, TMouseButton b, TShiftState, int, int) {
            log.push_back(name + (b == mbLeft ? "down" : "down-other"));
        };
        button->OnMouseUp = [this, name](TObject*, TMouseButton, TShiftState, int, int) {
            log.push_back(name + "up");
        };
        button->OnMouseEnter = [this, name](TObject*) { log.push_back(name + "enter"); };
        button->OnMouseExit = [this, name](TObject*) { log.push_back(name + "exit"); };
        button->OnMouseContinuouslyDown = [this, name](TObject*) { log.push_back(name + "tick"); };
    }
    int Count(const std::string& entry) const {
        return static_cast<int>(std::count(log.begin(), log.end(), entry));
    }

    // The real pointer is put where the synthetic input says it is, so the system's own hover
    // tracking agrees with the test.
    static void PointAt(TControl& control, int x, int y) {
        PlaceCursor(control.ClientToScreen({x, y}));
    }
    static void ParkCursor() { PlaceCursor({1, 1}); }
    // Under Wine the display may report an older pointer position for a moment after a move;
    // wait until the system agrees on the new one.
    static void PlaceCursor(POINT target) {
        for (int i = 0; i < 50; ++i) {
            SetCursorPos(target.x, target.y);
            POINT now;
            if (GetCursorPos(&now) && now.x == target.x && now.y == target.y) {
                Sleep(5);
                if (GetCursorPos(&now) && now.x == target.x && now.y == target.y) return;
            }
            Sleep(10);
        }
    }

    static void Send(TWinControl& control, UINT message, WPARAM wParam, int x, int y) {
        SendMessageA(control.Handle(), message, wParam,
                     MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    }
    static void Move(TWinControl& control, int x, int y) {
        PointAt(control, x, y);
        Send(control, WM_MOUSEMOVE, 0, x, y);
    }
    static void Hover(TWinControl& control) { Move(control, 5, 5); }
    static void Press(TWinControl& control, int x = 5, int y = 5) {
        Send(control, WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    }
    static void Release(TWinControl& control, int x = 5, int y = 5) {
        Send(control, WM_LBUTTONUP, 0, x, y);
    }
    static void Key(TWinControl& control, UINT message, WPARAM key) {
        SendMessageA(control.Handle(), message, key, 1);
    }

    static inline TForm* form = nullptr;
    std::vector<TComponent*> made;
    std::vector<std::string> log;
};

} // namespace kel::buttontest
