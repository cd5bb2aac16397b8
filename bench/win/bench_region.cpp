// Window region of a skin bitmap built two ways: every pixel read through the canvas with one
// CombineRgn per run, and the pixels read directly with runs merged over rows into one
// ExtCreateRegion. Prints the median times, whether both regions are equal, and last the speedup
// for the 1920 x 1080 skin.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "skin/controls/KELSkinFormRegion.h"

using namespace kel;

namespace {

// A skin as a designer draws one: a rounded panel with a shaded face, a bevelled rim, a few round
// and square cut-outs, on a fuchsia outline that the region cuts away.
void PaintSkin(TBitmap& bitmap, int width, int height) {
    bitmap.SetSize(width, height);
    const int radius = std::max(8, std::min(width, height) / 12);
    struct Hole {
        int X, Y, R;
        bool Round;
    };
    const Hole holes[] = {{width / 5, height / 3, height / 14, true},
                          {width / 2, height / 4, height / 20, true},
                          {width * 3 / 4, height * 2 / 3, height / 10, false},
                          {width / 3, height * 3 / 4, height / 16, true}};
    const uint32_t key = ColorToPixel(clFuchsia);
    for (int y = 0; y < height; ++y) {
        uint32_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            // Distance outside the rounded rectangle's corner circles decides the outline.
            const int cx = std::clamp(x, radius, width - 1 - radius);
            const int cy = std::clamp(y, radius, height - 1 - radius);
            const double d = std::hypot(x - cx, y - cy);
            bool inside = d <= radius;
            for (const Hole& h : holes) {
                const int dx = x - h.X, dy = y - h.Y;
                if (h.Round ? dx * dx + dy * dy <= h.R * h.R
                            : std::abs(dx) <= h.R && std::abs(dy) <= h.R)
                    inside = false;
            }
            if (!inside) {
                row[x] = key;
                continue;
            }
            const int shade = 40 + 120 * y / height;
            const bool rim = d > radius - 3;
            const uint32_t r = rim ? 230 : static_cast<uint32_t>(shade / 2);
            const uint32_t g = rim ? 230 : static_cast<uint32_t>(shade);
            const uint32_t b = rim ? 240 : static_cast<uint32_t>(std::min(255, shade + 60));
            row[x] = (r << 16) | (g << 8) | b;
        }
    }
}

template <class F> double Milliseconds(F&& build) {
    const auto start = std::chrono::steady_clock::now();
    build();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Result {
    double Literal;
    double Fast;
    bool Identical;
};

// The two constructions take turns, so a busy machine slows both alike.
Result Measure(int width, int height, int rounds, int fastPerRound) {
    TBitmap skin;
    PaintSkin(skin, width, height);
    const TRegionHandle literal = CreateSkinRegionPerPixel(skin, clFuchsia);
    const TRegionHandle fast = CreateSkinRegion(skin, clFuchsia);
    const bool identical = EqualRgn(literal.get(), fast.get()) != FALSE;
    std::vector<double> literalTimes, fastTimes;
    for (int round = 0; round < rounds; ++round) {
        literalTimes.push_back(Milliseconds([&] { CreateSkinRegionPerPixel(skin, clFuchsia); }));
        for (int i = 0; i < fastPerRound; ++i)
            fastTimes.push_back(Milliseconds([&] { CreateSkinRegion(skin, clFuchsia); }));
    }
    const double literalMs = Median(literalTimes), fastMs = Median(fastTimes);
    std::printf("%d x %d: per-pixel canvas + CombineRgn %.2f ms, direct read + batched "
                "ExtCreateRegion %.3f ms, "
                "speedup %.1fx identical=%s\n",
                width, height, literalMs, fastMs, literalMs / fastMs, identical ? "yes" : "no");
    return {literalMs, fastMs, identical};
}

} // namespace

int main() {
    std::printf("median times of repeated builds of the window region of a skin bitmap\n");
    Measure(444, 217, 15, 10);
    const Result big = Measure(1920, 1080, 9, 10);
    std::printf("region speedup %.1fx identical=%s (per-pixel time / batched time, "
                "higher is better)\n",
                big.Literal / big.Fast, big.Identical ? "yes" : "no");
    return big.Identical ? 0 : 1;
}
