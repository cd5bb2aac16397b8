// TIcon: an HICON that is either owned (destroyed with the object) or shared (system icons).
#include "framework/win/Graphics.h"
#include "framework/win/GraphicsSupport.h"

namespace kel {

namespace {

// The icon's size from its colour bitmap, or from its mask (twice as high: AND and XOR halves)
// for a monochrome icon. GetIconInfo hands out copies of both bitmaps, which are freed here.
SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return SIZE{0, 0};
    gdi::UniqueGdi<HBITMAP> color(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap{};
    if (color && GetObjectA(color.get(), sizeof(bitmap), &bitmap))
        return SIZE{bitmap.bmWidth, bitmap.bmHeight};
    if (mask && GetObjectA(mask.get(), sizeof(bitmap), &bitmap))
        return SIZE{bitmap.bmWidth, bitmap.bmHeight / 2};
    return SIZE{0, 0};
}

} // namespace

TIcon::~TIcon() {
    Release();
}

void TIcon::Release() {
    if (icon_ && owned_) DestroyIcon(icon_);
    icon_ = nullptr;
    owned_ = false;
    width_ = height_ = 0;
}

int TIcon::Width() const {
    return width_;
}

int TIcon::Height() const {
    return height_;
}

void TIcon::SetHandle(HICON icon, bool owned) {
    if (icon == icon_) {
        owned_ = owned;
        return;
    }
    Release();
    icon_ = icon;
    owned_ = icon && owned;
    const SIZE size = IconSize(icon);
    width_ = size.cx;
    height_ = size.cy;
}

void TIcon::Assign(const TIcon& source) {
    if (&source == this) return;
    if (!source.icon_) {
        Release();
        return;
    }
    HICON copy = CopyIcon(source.icon_);
    if (!copy) throw EOutOfResources("Out of system resources");
    SetHandle(copy, true);
    SetTransparent(source.Transparent());
}

void TIcon::LoadFromFile(const std::string& path) {
    gdi::OpenFileForReading(path); // a missing or locked file gets the file error, not "invalid"
    HICON icon =
        static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    if (!icon) throw EInvalidGraphic("Icon image is not valid");
    SetHandle(icon, true);
}

void TIcon::Draw(TCanvas& canvas, const RECT& rect) {
    if (!icon_) return;
    DrawIconEx(canvas.Handle(), rect.left, rect.top, icon_, rect.right - rect.left,
               rect.bottom - rect.top, 0, nullptr, DI_NORMAL);
}

std::unique_ptr<TGraphic> TIcon::Clone() const {
    auto copy = std::make_unique<TIcon>();
    copy->Assign(*this);
    return copy;
}

} // namespace kel
