// Colours and the GDI tools of a canvas: font, brush and pen. Each tool creates its handle on
// first use and drops it after a change; OnChange runs before the stale handle is deleted, so a
// canvas can select the new handle while the old one is still valid.
#include "framework/win/Graphics.h"

#include <algorithm>
#include <cstring>

namespace kel {

TColor ColorToRGB(TColor color) {
    if ((color & 0xFF000000) == 0xFF000000) return GetSysColor(static_cast<int>(color & 0xFF));
    return color;
}

namespace {

int ScreenPixelsPerInch() {
    static const int ppi = [] {
        HDC screen = GetDC(nullptr);
        const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen) ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return ppi;
}

// Replaces the cached handle: listeners re-select first, then the stale handle is deleted.
template <class Handle>
void DropHandle(Handle& handle, const std::function<void()>& onChange, bool handleStale) {
    Handle stale = nullptr;
    if (handleStale) std::swap(stale, handle);
    if (onChange) onChange();
    if (stale) DeleteObject(stale);
}

} // namespace

// --- TFont ---

TFont::TFont() = default;

TFont::~TFont() {
    if (handle_) DeleteObject(handle_);
}

void TFont::Changed(bool handleStale) {
    DropHandle(handle_, OnChange, handleStale);
}

void TFont::Assign(const TFont& source) {
    // Controls hand their font to their canvas on every paint: an equal font keeps its handle, as
    // a new one would be created and selected each time.
    if (&source == this ||
        (name_ == source.name_ && height_ == source.height_ && color_ == source.color_ &&
         style_ == source.style_ && charset_ == source.charset_ && quality_ == source.quality_))
        return;
    name_ = source.name_;
    height_ = source.height_;
    color_ = source.color_;
    style_ = source.style_;
    charset_ = source.charset_;
    quality_ = source.quality_;
    Changed(true);
}

void TFont::SetName(const std::string& name) {
    if (name == name_) return;
    name_ = name;
    Changed(true);
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Changed(true);
}

int TFont::Size() const {
    return -MulDiv(height_, 72, ScreenPixelsPerInch());
}

void TFont::SetSize(int points) {
    SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72));
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed(false); // the colour is the DC's text colour, not part of the font handle
}

void TFont::SetStyle(unsigned style) {
    if (style == style_) return;
    style_ = style;
    Changed(true);
}

void TFont::SetCharset(BYTE charset) {
    if (charset == charset_) return;
    charset_ = charset;
    Changed(true);
}

void TFont::SetQuality(BYTE quality) {
    if (quality == quality_) return;
    quality_ = quality;
    Changed(true);
}

HFONT TFont::Handle() {
    if (handle_) return handle_;
    LOGFONTA font{};
    font.lfHeight = height_;
    font.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
    font.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
    font.lfStrikeOut = (style_ & fsStrikeOut) ? TRUE : FALSE;
    font.lfCharSet = charset_;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = quality_;
    font.lfPitchAndFamily = DEFAULT_PITCH;
    const size_t length = std::min(name_.size(), sizeof(font.lfFaceName) - 1);
    std::memcpy(font.lfFaceName, name_.data(), length);
    handle_ = CreateFontIndirectA(&font);
    if (!handle_) throw EOutOfResources("Out of system resources");
    return handle_;
}

// --- TBrush ---

TBrush::~TBrush() {
    if (handle_) DeleteObject(handle_);
}

void TBrush::Changed(bool handleStale) {
    DropHandle(handle_, OnChange, handleStale);
}

void TBrush::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed(true);
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == style_) return;
    style_ = style;
    Changed(true);
}

HBRUSH TBrush::Handle() {
    if (style_ == TBrushStyle::Clear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    if (!handle_) handle_ = CreateSolidBrush(ColorToRGB(color_));
    if (!handle_) throw EOutOfResources("Out of system resources");
    return handle_;
}

// --- TPen ---

TPen::~TPen() {
    if (handle_) DeleteObject(handle_);
}

void TPen::Changed(bool handleStale) {
    DropHandle(handle_, OnChange, handleStale);
}

void TPen::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed(true);
}

void TPen::SetWidth(int width) {
    if (width == width_) return;
    width_ = width;
    Changed(true);
}

HPEN TPen::Handle() {
    if (!handle_) handle_ = CreatePen(PS_SOLID, std::max(width_, 0), ColorToRGB(color_));
    if (!handle_) throw EOutOfResources("Out of system resources");
    return handle_;
}

} // namespace kel
