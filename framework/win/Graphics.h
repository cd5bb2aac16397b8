// GDI objects of the framework: colours, fonts, brushes, pens, canvases, bitmaps, icons and
// pictures. Every GDI handle is owned by exactly one object and released by its destructor.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/BmpCodec.h"
#include "framework/SysUtils.h"

namespace kel {

// 0x00BBGGRR; a value with high byte 0xFF names the system colour whose index is the low byte.
using TColor = uint32_t;
constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clFuchsia = 0xFF00FF, clBlue = 0xFF0000,
                 clRed = 0x0000FF, clGray = 0x808080, clNone = 0x1FFFFFFF;
constexpr TColor clBtnFace = 0xFF000000 | COLOR_BTNFACE;
constexpr TColor clWindowText = 0xFF000000 | COLOR_WINDOWTEXT;
constexpr TColor clWindow = 0xFF000000 | COLOR_WINDOW;
constexpr TColor clBtnHighlight = 0xFF000000 | COLOR_BTNHIGHLIGHT;
constexpr TColor clBtnShadow = 0xFF000000 | COLOR_BTNSHADOW;

// GDI could not provide a handle or a bitmap of the asked size ("Out of system resources").
class EOutOfResources : public Exception {
    using Exception::Exception;
};
// A graphic was asked to do something its state does not allow (a scan line outside the bitmap).
class EInvalidGraphicOperation : public Exception {
    using Exception::Exception;
};

// Resolves a system colour to its current RGB value; other colours come back unchanged.
TColor ColorToRGB(TColor color);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont {
public:
    TFont();
    ~TFont();
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    void Assign(const TFont& source);
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    int Height() const { return height_; } // negative: character height in pixels
    void SetHeight(int height);
    int Size() const; // points at the screen's pixels per inch
    void SetSize(int points);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    unsigned Style() const { return style_; } // TFontStyle bits
    void SetStyle(unsigned style);
    BYTE Charset() const { return charset_; }
    void SetCharset(BYTE charset);
    // How glyph edges are drawn (DEFAULT_QUALITY: the system's setting, ANTIALIASED_QUALITY:
    // smoothed whatever the system's setting).
    BYTE Quality() const { return quality_; }
    void SetQuality(BYTE quality);
    HFONT Handle(); // created on first use, recreated after a change

    std::function<void()> OnChange;

private:
    void Changed(bool handleStale);
    std::string name_ = "Tahoma";
    int height_ = -11;
    TColor color_ = clWindowText;
    unsigned style_ = 0;
    BYTE charset_ = DEFAULT_CHARSET;
    BYTE quality_ = DEFAULT_QUALITY;
    HFONT handle_ = nullptr;
};

enum class TBrushStyle { Solid, Clear };

class TBrush {
public:
    TBrush() = default;
    ~TBrush();
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    HBRUSH Handle(); // a null brush for the clear style
    std::function<void()> OnChange;

private:
    void Changed(bool handleStale);
    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::Solid;
    HBRUSH handle_ = nullptr;
};

class TPen {
public:
    TPen() = default;
    ~TPen();
    TPen(const TPen&) = delete;
    TPen& operator=(const TPen&) = delete;
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    HPEN Handle();
    std::function<void()> OnChange;

private:
    void Changed(bool handleStale);
    TColor color_ = clBlack;
    int width_ = 1;
    HPEN handle_ = nullptr;
};

class TGraphic;

// Drawing surface over a device context. The font, brush and pen are selected into the DC while
// it is attached and re-selected when they change; the original objects are restored on detach.
class TCanvas {
public:
    TCanvas();
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle();           // asks CreateHandle() when no DC is attached
    void SetHandle(HDC dc); // attaches (or detaches with nullptr) a DC the canvas does not own
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont& Font() { return font_; }
    TBrush& Brush() { return brush_; }
    TPen& Pen() { return pen_; }

    void FillRect(const RECT& rect);  // with the brush
    void FrameRect(const RECT& rect); // one-pixel outline in the brush colour
    void Rectangle(const RECT& rect); // pen outline, brush fill
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void TextOut(int x, int y, const std::string& text); // brush style decides the background
    SIZE TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    // Unscaled; a transparent bitmap leaves out its key colour.
    void Draw(int x, int y, TGraphic& graphic);
    void StretchDraw(const RECT& rect, TGraphic& graphic);
    void CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect); // StretchBlt, SRCCOPY
    TColor Pixel(int x, int y); // GetPixel; clNone outside the surface
    void SetPixel(int x, int y, TColor color);
    void DrawFocusRect(const RECT& rect);

protected:
    virtual void CreateHandle() {} // descendants attach a DC on demand
    void RequireHandle();

private:
    void SelectObjects();
    void DeselectObjects();
    void ApplyFont();
    void ApplyBrush();
    void ApplyPen();
    HDC dc_ = nullptr;
    HGDIOBJ oldFont_ = nullptr, oldBrush_ = nullptr, oldPen_ = nullptr;
    TFont font_;
    TBrush brush_;
    TPen pen_;
};

// Anything a picture can hold.
class TGraphic {
public:
    virtual ~TGraphic() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const { return Width() == 0 || Height() == 0; }
    virtual void Draw(TCanvas& canvas, const RECT& rect) = 0; // stretched to rect
    virtual void LoadFromFile(const std::string& path) = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { transparent_ = value; }

private:
    bool transparent_ = false;
};

// A 32-bit top-down DIB section with direct pixel access (pixels 0x00RRGGBB) and its own memory
// DC as canvas. Resizing keeps the top-left content that still fits; new pixels take the canvas
// brush colour (white unless changed).
class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    void SetSize(int width, int height);
    // A bitmap resized often (an off-screen buffer that follows a window's size) may keep a DIB
    // larger than its size, so that most resizes need no new one. Its Handle() is then that DIB,
    // whose top-left Width() x Height() pixels are the picture. Off by default.
    void SetKeepsMemory(bool value) { keepsMemory_ = value; }
    uint32_t* ScanLine(int y); // row y, top to bottom
    const uint32_t* ScanLine(int y) const;
    HBITMAP Handle() const { return bitmap_; }
    TCanvas& Canvas();

    void Assign(const TBitmap& source); // deep copy of pixels and transparency settings
    void Assign(const TPixelImage& image);
    // "Cannot open file "<path>". <system text>" (EFOpenError) or "Bitmap image is not valid".
    void LoadFromFile(const std::string& path) override;
    void LoadFromMemory(const uint8_t* data, size_t size); // a whole BMP file
    // Writes a 24-bit BMP file; EFCreateError when it cannot be written (nothing is left).
    void SaveToFile(const std::string& path) const;
    // A BITMAP resource of the module; EResNotFound when it is missing or the name is empty.
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);

    // Key colour for transparent drawing; by default the colour of the bottom-left pixel (clNone
    // when empty) until a colour is set.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);

    void Draw(TCanvas& canvas, const RECT& rect) override; // honours Transparent()
    // Draws stretched to `rect` leaving out the pixels of colour `key` (clNone: the bottom-left
    // pixel's colour), whatever the bitmap's own transparency settings.
    void DrawWithKey(TCanvas& canvas, const RECT& rect, TColor key);
    std::unique_ptr<TGraphic> Clone() const override;

private:
    // Copies the pixels that are not `key` into the bitmap whose canvas `canvas` is, with the
    // top-left corner at (x, y); false, drawing nothing, when `canvas` is not another bitmap's
    // canvas that draws straight into its pixels.
    bool DrawKeyed(TCanvas& canvas, int x, int y, TColor key) const;
    class BitmapCanvas;
    void Release();
    void Reallocate(int width, int height); // keeps the overlapping top-left pixels
    int width_ = 0, height_ = 0;
    int stride_ = 0, rows_ = 0; // the DIB's own width and height
    bool keepsMemory_ = false;
    HBITMAP bitmap_ = nullptr;
    uint32_t* bits_ = nullptr;
    std::unique_ptr<BitmapCanvas> canvas_;
    TColor transparentColor_ = clNone; // clNone: automatic (bottom-left pixel)
};

class TIcon : public TGraphic {
public:
    TIcon() = default;
    ~TIcon() override;
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    int Width() const override;
    int Height() const override;
    HICON Handle() const { return icon_; }
    // Takes the icon; an owned one is destroyed with this object, a shared one (LoadIcon) is not.
    void SetHandle(HICON icon, bool owned);
    void Assign(const TIcon& source); // an owned copy (CopyIcon)
    void LoadFromFile(const std::string& path) override;
    void Draw(TCanvas& canvas, const RECT& rect) override;
    std::unique_ptr<TGraphic> Clone() const override;

private:
    void Release();
    HICON icon_ = nullptr;
    bool owned_ = false;
    int width_ = 0, height_ = 0; // read once from the icon's bitmaps
};

// Holds one graphic of any kind, or none.
class TPicture {
public:
    TGraphic* Graphic() const { return graphic_.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    TBitmap& Bitmap(); // replaces any other graphic by an empty bitmap
    bool HasGraphic() const { return graphic_ != nullptr; }
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }
    // Chooses the graphic class by extension (.bmp, .ico); raises for any other extension.
    void LoadFromFile(const std::string& path);
    void Assign(const TPicture& source); // copies the graphic (or clears)
    void Clear();
    std::function<void()> OnChange;

private:
    void Changed();
    std::unique_ptr<TGraphic> graphic_;
};

// The text of a system error code as messages show it (no trailing full stop or line break).
std::string SysErrorMessage(DWORD error);

} // namespace kel
