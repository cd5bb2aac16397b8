// Frame cuts of bitmap strips: frames lie side by side, each strip width / count pixels wide, and
// the last frame is the strip's rightmost columns. The built-in styles and the file theme cut
// their button and title strips this way.
#pragma once

#ifdef _WIN32
#include "framework/win/Graphics.h"
#endif

namespace kel {

// Columns [Left, Right) of frame `index` (from 1) of a strip `width` wide cut into `count` frames:
// every frame is width / count wide; the last one is the rightmost columns. A count of 0 or less
// gives the whole strip; an index outside 1..count gives a span outside the strip.
struct TFrameSpan {
    int Left;
    int Right;
};
TFrameSpan FrameSpan(int width, int count, int index);

#ifdef _WIN32
// Copies frame `frameIndex` of `frameCount` side-by-side frames of `source` into `target`;
// columns outside the strip come out black. Source and target may be the same bitmap.
void ExtractFrame(const TBitmap& source, TBitmap& target, int frameCount, int frameIndex);
#endif

} // namespace kel
