// Resizing a skinned form against a plain form of the same size: both go through the same sizes
// from 400 x 300 up to 1280 x 800, taking turns (each shown alone), and each step is timed until
// the window has taken its size, rebuilt its frame and region and painted everything. The skinned
// form takes its look from a skin file whose title and bottom pictures cut the window's region.
// Prints the medians and totals, and last the ratio of the skinned form's median step to the plain
// form's.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/win/Forms.h"
#include "skin/frame/KELForm.h"
#include "tests/skin/frame/FrameTestSupport.h"
#include "tools/skintool/SkinPacker.h"

using namespace kel;
using kel::frame_test::CornerCutBmp;
using kel::frame_test::SolidBmp;

namespace {

constexpr int kSteps = 120;
// The forms take turns this many times: the machine's pace drifts over seconds, and short turns
// let both forms meet the same drift.
constexpr int kRounds = 8;

std::string WriteSkin() {
    using namespace skintool;
    const auto data = BuildSkinData({
        BitmapEntry("SKIN2_TITLEBAR1", CornerCutBmp(60, 30, 0x203060, true)),
        BitmapEntry("SKIN2_TITLEBAR2", SolidBmp(20, 30, 0x304070)),
        BitmapEntry("SKIN2_TITLEBAR3", CornerCutBmp(60, 30, 0x203060, true)),
        BitmapEntry("SKIN2_TITLEBUTTONS", SolidBmp(18 * 19, 19, 0x6080C0)),
        BitmapEntry("SKIN2_FORMLEFTBORDER", SolidBmp(5, 20, 0x203060)),
        BitmapEntry("SKIN2_FORMRIGHTBORDER", SolidBmp(5, 20, 0x203060)),
        BitmapEntry("SKIN2_FORMBOTTOMBORDER1", CornerCutBmp(30, 6, 0x203060, false)),
        IntegerEntry("SKIN2_TRANSCOLOR", 0xFF00FF),
        IntegerEntry("SKIN2_FORMCOLOR", 0xE0E0E0),
        IntegerEntry("SKIN2_TITLEFONTCOLOR", 0xFFFFFF),
        BooleanEntry("SKIN2_TITLEBARNEEDREGION", 1),
        BooleanEntry("SKIN2_BOTTOMBORDERNEEDREGION", 1),
        IntegerEntry("SKIN2_TITLEBARREGIONMINY", 0),
        IntegerEntry("SKIN2_TITLEBARREGIONMAXY", 6),
        IntegerEntry("SKIN2_BOTTOMREGIONMINY", 0),
        IntegerEntry("SKIN2_BOTTOMREGIONMAXY", 6),
    });
    const auto file = BuildSkinArchive(data, "");
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "bench_frame.skn";
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
    CloseHandle(h);
    return path;
}

// One step: the new size, then everything the window has to paint, painted.
double TimedResize(TCustomForm& form, int width, int height) {
    const auto start = std::chrono::steady_clock::now();
    form.SetBounds(form.Left(), form.Top(), width, height);
    RedrawWindow(form.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Application->ProcessMessages();
    GdiFlush();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double Sum(const std::vector<double>& times) {
    double total = 0;
    for (double t : times) total += t;
    return total;
}

} // namespace

int main() {
    InitFramework();
    const std::string skinPath = WriteSkin();
    TForm skinned(nullptr), plain(nullptr);
    auto* theme = new TkelFileTheme(&skinned);
    theme->SetThemeFile(skinPath);
    if (!theme->Ready()) {
        std::printf("the benchmark's skin file did not load\n");
        return 1;
    }
    auto* skin = new TkelForm(&skinned);
    skin->SetFileTheme(theme);
    skin->SetUIStyle(TkelUIStyle::FromThemeFile);
    skin->SetCaption("Skinned form");
    plain.SetCaption("Plain form");
    // One form is on the screen at a time: a form resized over or under the other would have
    // the other's repaints counted in its steps, or its own painting cut short where covered.
    auto steps = [](TForm& form, std::vector<double>& times) {
        form.SetBounds(0, 0, 400, 300);
        form.Show();
        Application->ProcessMessages();
        for (int i = 0; i <= kSteps; ++i) {
            const int width = 400 + (1280 - 400) * i / kSteps;
            const int height = 300 + (800 - 300) * i / kSteps;
            times.push_back(TimedResize(form, width, height));
        }
        form.Hide();
        Application->ProcessMessages();
    };
    std::vector<double> skinnedTimes, plainTimes;
    for (int round = 0; round < kRounds; ++round) {
        steps(skinned, skinnedTimes);
        steps(plain, plainTimes);
    }
    const double skinnedMedian = Median(skinnedTimes), plainMedian = Median(plainTimes);
    std::printf("%zu resize steps each, 400 x 300 to 1280 x 800, %d times\n", skinnedTimes.size(),
                kRounds);
    std::printf(
        "skinned form (file theme, region from its pictures): median %.2f ms, total %.0f ms\n",
        skinnedMedian, Sum(skinnedTimes));
    std::printf("plain form: median %.2f ms, total %.0f ms\n", plainMedian, Sum(plainTimes));
    std::printf("frame resize ratio %.2fx (skinned median step / plain median step, lower is "
                "better)\n",
                skinnedMedian / plainMedian);
    DeleteFileA(skinPath.c_str());
    DoneFramework();
    return 0;
}
