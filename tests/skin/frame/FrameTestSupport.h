// Helpers of the skinned frame tests: real mouse and key input, pumping messages until something
// happens, finding this process's open menu, reading a window's pixels, and solid and
// rounded-corner test pictures (the frame benchmark uses the pictures too).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/BmpCodec.h"
#include "framework/win/Forms.h"

namespace kel::frame_test {

// A mouse event at a screen point, through the system's input queue.
inline void SendMouse(DWORD flags, POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

inline void SendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

// Handles messages until `done` says so or the time is up; the last answer of `done`.
template <class Done> bool PumpUntil(Done done, int milliseconds = 3000) {
    for (int waited = 0; waited < milliseconds; waited += 10) {
        Application->ProcessMessages();
        if (done()) return true;
        Sleep(10);
    }
    return done();
}

inline void Pump(int milliseconds = 100) {
    PumpUntil([] { return false; }, milliseconds);
}

// The visible menu window of this process, or nullptr.
inline HWND OwnMenuWindow() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND w, LPARAM data) -> BOOL {
            char name[16] = {};
            DWORD process = 0;
            GetClassNameA(w, name, sizeof name);
            GetWindowThreadProcessId(w, &process);
            if (std::string(name) != "#32768" || !IsWindowVisible(w) ||
                process != GetCurrentProcessId())
                return TRUE;
            *reinterpret_cast<HWND*>(data) = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// A window's pixels, frame included, read from its own surface.
inline std::unique_ptr<TBitmap> WindowPixels(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    auto shot = std::make_unique<TBitmap>(r.right - r.left, r.bottom - r.top);
    HDC dc = GetWindowDC(window);
    BitBlt(shot->Canvas().Handle(), 0, 0, shot->Width(), shot->Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return shot;
}

// A picture of one colour (0x00RRGGBB), as a BMP file's bytes.
inline std::vector<uint8_t> SolidBmp(int width, int height, uint32_t rgb) {
    TPixelImage image;
    image.Width = width;
    image.Height = height;
    image.Pixels.assign(static_cast<size_t>(width * height), rgb);
    return EncodeBmp24(image);
}

// A picture of one colour whose two top corners (or bottom ones) are cut away in fuchsia, the
// transparent colour, 6 pixels deep, as a rounded frame's pictures are; as a BMP file's bytes.
inline std::vector<uint8_t> CornerCutBmp(int width, int height, uint32_t rgb, bool top) {
    TPixelImage image;
    image.Width = width;
    image.Height = height;
    image.Pixels.assign(static_cast<size_t>(width * height), rgb);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int depth = top ? y : height - 1 - y;
            if (depth < 6 && (x < 6 - depth || x >= width - 6 + depth))
                image.Pixels[static_cast<size_t>(y * width + x)] = 0xFF00FF;
        }
    return EncodeBmp24(image);
}

} // namespace kel::frame_test
