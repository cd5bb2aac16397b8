#include <algorithm>

#include "skin/themes/KELThemesFrame.h"

namespace kel {

TFrameSpan FrameSpan(int width, int count, int index) {
    width = std::max(width, 0);
    if (count <= 0) return {0, width}; // no frame layout: the whole strip
    const int frame = width / count;
    if (index == count) return {width - frame, width};
    const long long left = static_cast<long long>(frame) * (index - 1);
    // An index outside 1..count names columns outside the strip; keep the arithmetic in range.
    const long long clamped = std::max<long long>(std::min<long long>(left, width), -frame);
    return {static_cast<int>(clamped), static_cast<int>(clamped + frame)};
}

} // namespace kel
