// Shared by the launcher's in-process tests: configuration files and skin folders written beside
// the test program, a recorder in place of the shell, and the error box text.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/win/Forms.h"
#include "launcher/UtilFuncs.h"

namespace kel::test {

void WriteFile(const std::string& path, const std::string& bytes);
void WriteConfig(const std::string& text); // lame.dll in the program folder

// A solid picture with an optional fuchsia top-left and top-right corner square.
void WriteBitmap(const std::string& path, int width, int height, uint32_t color,
                 int fuchsiaCorner = 0);

// An RLE8 picture of one colour: small on disk, width * height * 4 bytes decoded (8192 x 8192:
// about 540 KB on disk, 256 MB decoded).
void WriteRle8Bitmap(const std::string& path, int width, int height);

// A complete skin folder "sounds\burnerRes<suffix>\" in the program folder: main.bmp of the given
// size with fuchsia corners and the 30 button pictures at their default-layout sizes, every picture
// in its own colour (ButtonColor). min1.bmp gets the size given.
void WriteSkin(const std::string& suffix, int mainWidth, int mainHeight, SIZE min1 = {29, 19});
uint32_t ButtonColor(int button, int slot); // button 0..9, slot 0..2 (normal, over, down)
std::string SkinFolder(const std::string& suffix);

struct ShellCall {
    HWND owner;
    std::string verb, file;
    int show;
    bool hourglass; // the screen cursor was the hourglass during the call
};

// Records every shell "open" instead of running it, and every error box text.
class Recorder {
public:
    Recorder();
    ~Recorder();
    std::vector<ShellCall> calls;
    std::vector<std::string> errors;
    std::vector<std::string> errorCaptions;

private:
    TShellExecute saved_;
};

// Handles waiting messages for a while.
void Pump(int milliseconds = 50);

} // namespace kel::test
