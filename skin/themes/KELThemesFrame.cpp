#include "skin/themes/KELThemesFrame.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kel {

void ExtractFrame(const TBitmap& source, TBitmap& target, int frameCount, int frameIndex) {
    const TFrameSpan span = FrameSpan(source.Width(), frameCount, frameIndex);
    const int width = span.Right - span.Left, height = source.Height();
    // Cut into a separate bitmap first, so that source and target may be the same bitmap.
    TBitmap frame;
    frame.SetSize(width, height);
    if (width > 0 && height > 0) {
        // Columns of the span that lie outside the strip (an index outside 1..count) stay black.
        const int from = std::max(span.Left, 0), to = std::min(span.Right, source.Width());
        for (int y = 0; y < height; ++y) {
            uint32_t* row = frame.ScanLine(y);
            std::memset(row, 0, static_cast<size_t>(width) * sizeof(uint32_t));
            if (from < to)
                std::memcpy(row + (from - span.Left), source.ScanLine(y) + from,
                            static_cast<size_t>(to - from) * sizeof(uint32_t));
        }
    }
    target.SetSize(width, height);
    for (int y = 0; y < height && width > 0; ++y)
        std::memcpy(target.ScanLine(y), frame.ScanLine(y),
                    static_cast<size_t>(width) * sizeof(uint32_t));
}

} // namespace kel
