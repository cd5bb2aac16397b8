#include "skin/controls/KELSkinFormRegion.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define KEL_REGION_SSE2 1
#else
#define KEL_REGION_SSE2 0
#endif

namespace kel {

namespace {

// A horizontal run [Left, Right) of non-key pixels in one row.
struct TRun {
    int Left;
    int Right;
    bool operator==(const TRun& other) const { return Left == other.Left && Right == other.Right; }
};

// Builds a region from rectangles that arrive band by band, top to bottom. They are collected in
// the layout ExtCreateRegion reads (the header fills the first two RECT slots, so nothing is
// copied) and created in batches of kBatchRects with one call each. The system unites the
// rectangles of one call one after another, at a cost that grows with the square of their
// number: one call for a noisy picture with a million runs would take hours. Batches are united
// pairwise like a binary counter, which keeps the whole build near n log n; small batches make
// even an ordinary skin of a few hundred rectangles several times faster than a single call.
class TRegionBuilder {
public:
    static_assert(sizeof(RGNDATAHEADER) == 2 * sizeof(RECT), "header fills two rectangle slots");
    static constexpr size_t kBatchRects = 64;

    TRegionBuilder() { ResetBatch(); }

    void Add(const RECT& rect) {
        slots_.push_back(rect);
        bounds_.left = std::min(bounds_.left, rect.left);
        bounds_.top = std::min(bounds_.top, rect.top);
        bounds_.right = std::max(bounds_.right, rect.right);
        bounds_.bottom = std::max(bounds_.bottom, rect.bottom);
        if (slots_.size() - kHeaderSlots == kBatchRects) FlushBatch();
    }

    TRegionHandle Finish() {
        FlushBatch();
        if (stack_.empty()) return Checked(CreateRectRgn(0, 0, 0, 0));
        while (stack_.size() > 1) MergeTop();
        return std::move(stack_.back().Region);
    }

private:
    static constexpr size_t kHeaderSlots = 2;
    struct TPartial {
        TRegionHandle Region;
        int Level; // 2^Level batches went into it
    };

    static TRegionHandle Checked(HRGN region) {
        if (!region) throw EOutOfResources("Out of system resources");
        return TRegionHandle(region);
    }

    void ResetBatch() {
        slots_.assign(kHeaderSlots, RECT{});
        bounds_ = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    }

    void FlushBatch() {
        const DWORD count = static_cast<DWORD>(slots_.size() - kHeaderSlots);
        if (count == 0) return;
        RGNDATAHEADER header{};
        header.dwSize = sizeof header;
        header.iType = RDH_RECTANGLES;
        header.nCount = count;
        header.nRgnSize = count * sizeof(RECT);
        header.rcBound = bounds_;
        std::memcpy(slots_.data(), &header, sizeof header);
        const DWORD bytes = static_cast<DWORD>(slots_.size() * sizeof(RECT));
        stack_.push_back({Checked(ExtCreateRegion(nullptr, bytes,
                                                  reinterpret_cast<const RGNDATA*>(slots_.data()))),
                          0});
        ResetBatch();
        while (stack_.size() > 1 && stack_[stack_.size() - 2].Level == stack_.back().Level)
            MergeTop();
    }

    void MergeTop() {
        TPartial top = std::move(stack_.back());
        stack_.pop_back();
        TPartial& below = stack_.back();
        if (CombineRgn(below.Region.get(), below.Region.get(), top.Region.get(), RGN_OR) == ERROR)
            throw EOutOfResources("Out of system resources");
        below.Level = std::max(below.Level, top.Level) + 1;
    }

    std::vector<RECT> slots_;
    RECT bounds_;
    std::vector<TPartial> stack_;
};

constexpr uint32_t kRgbMask = 0x00FFFFFF; // a DIB pixel's high byte is no part of its colour

// The first x from `x` on whose pixel is (IsKey) or is not (!IsKey) of the key colour, or `width`.
// Skins are mostly long runs, so four pixels are tested per step where SSE2 is available.
template <bool IsKey> int FindPixel(const uint32_t* row, int x, int width, uint32_t keyPixel) {
#if KEL_REGION_SSE2
    const __m128i mask = _mm_set1_epi32(static_cast<int>(kRgbMask));
    const __m128i key = _mm_set1_epi32(static_cast<int>(keyPixel));
    for (; x + 4 <= width; x += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
        const __m128i equal = _mm_cmpeq_epi32(_mm_and_si128(pixels, mask), key);
        int hits = _mm_movemask_ps(_mm_castsi128_ps(equal)); // bit i: pixel x + i is the key
        if (!IsKey) hits ^= 0xF;
        if (hits) return x + ((hits & 1) ? 0 : (hits & 2) ? 1 : (hits & 4) ? 2 : 3);
    }
#endif
    for (; x < width; ++x)
        if (((row[x] & kRgbMask) == keyPixel) == IsKey) return x;
    return width;
}

// The runs of one row of DIB pixels (0x00RRGGBB) that differ from the key.
void CollectRuns(const uint32_t* row, int width, uint32_t keyPixel, std::vector<TRun>& runs) {
    runs.clear();
    int x = FindPixel<false>(row, 0, width, keyPixel);
    while (x < width) {
        const int end = FindPixel<true>(row, x, width, keyPixel);
        runs.push_back({x, end});
        x = FindPixel<false>(row, end, width, keyPixel);
    }
}

// The runs of a band of `cell` rows starting at `top`, on a grid of `cell` x `cell` pixels: a cell
// counts as a run of the band when any of its pixels differs from the key. With a cell of 1 these
// are the row's own runs. Rows lie `stride` pixels apart. `opaque` is scratch space of `width`
// entries.
void CollectCellRuns(const uint32_t* pixels, size_t stride, int width, int height, int top,
                     int cell, uint32_t keyPixel, std::vector<uint8_t>& opaque,
                     std::vector<TRun>& runs) {
    if (cell == 1) {
        CollectRuns(pixels + static_cast<size_t>(top) * stride, width, keyPixel, runs);
        return;
    }
    opaque.assign(static_cast<size_t>(width), 0);
    const int bottom = std::min(height, top + cell);
    for (int y = top; y < bottom; ++y) {
        const uint32_t* row = pixels + static_cast<size_t>(y) * stride;
        for (int x = FindPixel<false>(row, 0, width, keyPixel); x < width;) {
            const int end = FindPixel<true>(row, x, width, keyPixel);
            std::fill(opaque.begin() + x, opaque.begin() + end, uint8_t{1});
            x = FindPixel<false>(row, end, width, keyPixel);
        }
    }
    runs.clear();
    for (int x = 0; x < width; x += cell) {
        const int cellEnd = std::min(width, x + cell);
        if (std::find(opaque.begin() + x, opaque.begin() + cellEnd, uint8_t{1}) ==
            opaque.begin() + cellEnd)
            continue;
        if (!runs.empty() && runs.back().Right == x)
            runs.back().Right = cellEnd;
        else
            runs.push_back({x, cellEnd});
    }
}

// The region of the bitmap's non-key pixels on a grid of `cell` pixels (1: exact). Consecutive
// bands with the same runs form one band of rectangles as tall as they are together; the bands
// come out top to bottom with rectangles left to right, the order regions keep. The rectangles
// are those the system keeps too: runs are maximal and equal neighbouring bands are joined. Past
// `maxRects` rectangles the build stops and gives nullptr.
TRegionHandle BuildRegion(const TBitmap& bitmap, TColor key, int cell, size_t maxRects) {
    // A key with a high byte (a system colour or clNone) equals no pixel, as with a canvas read.
    const uint32_t keyPixel = (key & 0xFF000000) ? 0xFFFFFFFF : ColorToPixel(key);
    TRegionBuilder builder;
    std::vector<TRun> band, runs;
    std::vector<uint8_t> opaque;
    int bandTop = 0;
    size_t rectCount = 0;
    const auto closeBand = [&](int bottom) {
        rectCount += band.size();
        if (rectCount > maxRects) return false;
        for (const TRun& r : band) builder.Add({r.Left, bandTop, r.Right, bottom});
        return true;
    };
    const int width = bitmap.Width(), height = bitmap.Height();
    // The bitmap is a top-down 32-bit DIB section, whose rows may be wider than the picture.
    const uint32_t* pixels = height > 0 && width > 0 ? bitmap.ScanLine(0) : nullptr;
    const size_t stride = height > 1 ? static_cast<size_t>(bitmap.ScanLine(1) - pixels) : 0;
    for (int y = 0; pixels && y < height; y += cell) {
        CollectCellRuns(pixels, stride, width, height, y, cell, keyPixel, opaque, runs);
        if (runs == band) continue;
        if (!closeBand(y)) return nullptr;
        band.swap(runs);
        bandTop = y;
    }
    if (!closeBand(height)) return nullptr;
    return builder.Finish();
}

} // namespace

TRegionHandle CreateSkinRegion(const TBitmap& bitmap, TColor key) {
    return BuildRegion(bitmap, key, 1, SIZE_MAX);
}

size_t RegionRectCount(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    return size > sizeof(RGNDATAHEADER) ? (size - sizeof(RGNDATAHEADER)) / sizeof(RECT) : 0;
}

TRegionHandle CreateWindowSkinRegion(const TBitmap& bitmap, TColor key, int* cellUsed) {
    // Coarser grids until the outline fits. A cell as large as the picture makes one band of at
    // most one rectangle, so the loop ends.
    for (int cell = 1;; cell *= 2) {
        TRegionHandle region = BuildRegion(bitmap, key, cell, kMaxWindowRegionRects);
        if (region) {
            if (cellUsed) *cellUsed = cell;
            return region;
        }
    }
}

void BitmapToWindowRegion(HWND window, const TBitmap& bitmap, TColor key) {
    TRegionHandle region = CreateWindowSkinRegion(bitmap, key);
    // On success the window owns the region; on failure it stays ours and is deleted.
    if (SetWindowRgn(window, region.get(), TRUE)) region.release();
}

} // namespace kel
