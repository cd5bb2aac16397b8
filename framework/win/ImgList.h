// Image list over the common controls' HIMAGELIST: masked images, normal and disabled drawing.
#pragma once

#include "framework/win/Graphics.h"

#include <commctrl.h>

namespace kel {

class TImageList {
public:
    TImageList(int width, int height);
    ~TImageList();
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const;
    int Add(const TBitmap& image);                         // unmasked; returns the index
    int AddMasked(const TBitmap& image, TColor maskColor); // pixels of maskColor are transparent
    void Clear();
    // Draws image `index` at (x, y); a disabled image is drawn greyed (embossed in the system's
    // highlight and shadow colours).
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);
    HIMAGELIST Handle() const { return list_; }

private:
    int AddImage(const TBitmap& image, bool masked, TColor maskColor);
    void DrawDisabled(HDC dc, int x, int y, int index);
    int width_, height_;
    HIMAGELIST list_ = nullptr;
    std::vector<bool> masked_; // per image: drawn with its mask or opaque
};

} // namespace kel
