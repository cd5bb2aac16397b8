// TBitmap: a 32-bit top-down DIB section with a lazily created memory DC as its canvas.
#include "framework/win/Graphics.h"
#include "framework/win/GraphicsSupport.h"

#include <algorithm>
#include <cstring>

namespace kel {

namespace {

// Whether writing into the bitmap selected into a memory DC gives what drawing through the DC
// would: no clip region, no coordinate mapping, left-to-right layout.
bool DrawsStraightIntoItsBitmap(HDC dc) {
    if (GetMapMode(dc) != MM_TEXT || GetGraphicsMode(dc) != GM_COMPATIBLE || GetLayout(dc) != 0)
        return false;
    POINT viewport{}, window{};
    GetViewportOrgEx(dc, &viewport);
    GetWindowOrgEx(dc, &window);
    if (viewport.x || viewport.y || window.x || window.y) return false;
    gdi::UniqueGdi<HRGN> clip(CreateRectRgn(0, 0, 0, 0));
    return clip && GetClipRgn(dc, clip.get()) == 0;
}

std::vector<uint8_t> ReadBmpFile(const std::string& path) {
    gdi::UniqueFile file = gdi::OpenFileForReading(path);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) gdi::RaiseFileOpenError(path, GetLastError());
    if (size.QuadPart > kMaxBmpFileSize) // refused unread: no picture is that large
        throw EInvalidGraphic("Bitmap image is not valid");
    std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    size_t filled = 0;
    while (filled < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - filled, 1u << 24));
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + filled, chunk, &read, nullptr))
            gdi::RaiseFileOpenError(path, GetLastError());
        if (read == 0) break; // the file shrank while being read
        filled += read;
    }
    bytes.resize(filled);
    return bytes;
}

} // namespace

// The bitmap's canvas owns its memory DC and keeps the bitmap's current DIB selected into it.
class TBitmap::BitmapCanvas : public TCanvas {
public:
    explicit BitmapCanvas(TBitmap& owner) : owner_(owner) {}
    TBitmap& Owner() const { return owner_; }
    ~BitmapCanvas() override {
        if (!dc_) return;
        SetHandle(nullptr);
        SelectBitmap(nullptr);
    }

    // Puts the owner's (new) DIB into the DC, before the old one is deleted.
    void SelectBitmap(HBITMAP bitmap) {
        if (!dc_) return;
        if (bitmap) {
            HGDIOBJ previous = SelectObject(dc_.get(), bitmap);
            if (!original_) original_ = previous;
        } else if (original_) {
            SelectObject(dc_.get(), original_);
            original_ = nullptr;
        }
    }

protected:
    void CreateHandle() override {
        dc_ = gdi::CreateMemoryDc();
        SelectBitmap(owner_.bitmap_);
        SetHandle(dc_.get());
    }

private:
    TBitmap& owner_;
    gdi::UniqueDc dc_;
    HGDIOBJ original_ = nullptr; // the DC's own 1x1 bitmap while a DIB is selected
};

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) {
    SetSize(width, height);
}

TBitmap::~TBitmap() {
    canvas_.reset(); // the DC lets go of the DIB before it is deleted
    Release();
}

void TBitmap::Release() {
    if (canvas_) canvas_->SelectBitmap(nullptr);
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = stride_ = rows_ = 0;
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<BitmapCanvas>(*this);
    return *canvas_;
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    Reallocate(width, height);
}

void TBitmap::Reallocate(int width, int height) {
    if (width == 0 || height == 0) {
        Release();
        width_ = width;
        height_ = height;
        return;
    }
    // New area shows the canvas's brush colour (white unless changed), like a fresh sheet.
    const TColor background = canvas_ ? canvas_->Brush().Color() : clWhite;
    const uint32_t fill = ColorToPixel(ColorToRGB(background));
    const int64_t area = static_cast<int64_t>(width) * height;
    if (keepsMemory_ && bits_ && width <= stride_ && height <= rows_ &&
        4 * area >= static_cast<int64_t>(stride_) * rows_) {
        // The DIB has room and is not mostly idle: what the new size uncovers is filled in place.
        GdiFlush();
        for (int y = 0; y < height; ++y) {
            uint32_t* row = bits_ + static_cast<size_t>(y) * stride_;
            std::fill(row + (y < height_ ? std::min(width, width_) : 0), row + width, fill);
        }
        width_ = width;
        height_ = height;
        return;
    }
    // A bitmap that keeps its memory grows by a quarter more than asked, so a window that keeps
    // growing gets a new one now and then rather than at every step.
    int stride = width, rows = height;
    if (keepsMemory_ &&
        static_cast<int64_t>(width + width / 4) * (height + height / 4) <= kMaxBmpPixels) {
        stride = width + width / 4;
        rows = height + height / 4;
    }
    uint32_t* bits = nullptr;
    gdi::UniqueGdi<HBITMAP> bitmap = gdi::CreateDib32(stride, rows, &bits);
    if (bits_) GdiFlush();
    for (int y = 0; y < height; ++y) {
        uint32_t* row = bits + static_cast<size_t>(y) * stride;
        const int kept = bits_ && y < height_ ? std::min(width, width_) : 0;
        if (kept > 0)
            std::memcpy(row, bits_ + static_cast<size_t>(y) * stride_, kept * sizeof(uint32_t));
        std::fill(row + kept, row + width, fill);
    }
    HBITMAP old = bitmap_;
    bitmap_ = bitmap.release();
    bits_ = bits;
    width_ = width;
    height_ = height;
    stride_ = stride;
    rows_ = rows;
    if (canvas_) canvas_->SelectBitmap(bitmap_);
    if (old) DeleteObject(old);
}

uint32_t* TBitmap::ScanLine(int y) {
    return const_cast<uint32_t*>(static_cast<const TBitmap&>(*this).ScanLine(y));
}

const uint32_t* TBitmap::ScanLine(int y) const {
    if (!bits_ || y < 0 || y >= height_)
        throw EInvalidGraphicOperation("Scan line index out of range");
    GdiFlush(); // GDI may still be drawing into the section
    return bits_ + static_cast<size_t>(y) * stride_;
}

void TBitmap::Assign(const TBitmap& source) {
    if (&source == this) return;
    SetSize(0, 0); // nothing of the old picture is kept
    SetSize(source.width_, source.height_);
    for (int y = 0; y < height_; ++y)
        std::memcpy(ScanLine(y), source.ScanLine(y),
                    static_cast<size_t>(width_) * sizeof(uint32_t));
    SetTransparent(source.Transparent());
    transparentColor_ = source.transparentColor_;
}

void TBitmap::Assign(const TPixelImage& image) {
    if (image.Width < 0 || image.Height < 0 ||
        image.Pixels.size() < static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height))
        throw EInvalidGraphic("Bitmap image is not valid");
    if (image.Empty()) {
        SetSize(0, 0);
        return;
    }
    SetSize(0, 0);
    SetSize(image.Width, image.Height);
    GdiFlush();
    const size_t rowBytes = static_cast<size_t>(image.Width) * sizeof(uint32_t);
    for (int y = 0; y < image.Height; ++y)
        std::memcpy(bits_ + static_cast<size_t>(y) * stride_,
                    image.Pixels.data() + static_cast<size_t>(y) * image.Width, rowBytes);
}

void TBitmap::LoadFromFile(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadBmpFile(path);
    LoadFromMemory(bytes.data(), bytes.size());
}

void TBitmap::SaveToFile(const std::string& path) const {
    TPixelImage image;
    image.Width = width_;
    image.Height = height_;
    for (int y = 0; y < height_; ++y)
        image.Pixels.insert(image.Pixels.end(), ScanLine(y), ScanLine(y) + width_);
    const std::vector<uint8_t> bytes = EncodeBmp24(image);
    const auto fail = [&path](DWORD error) {
        return EFCreateError("Cannot create file \"" + path + "\". " + SysErrorMessage(error));
    };
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) throw fail(GetLastError());
    gdi::UniqueFile file(handle);
    DWORD written = 0;
    if (!WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        const DWORD error = GetLastError();
        file.reset();
        DeleteFileA(path.c_str()); // no half-written picture is left behind
        throw fail(error);
    }
}

void TBitmap::LoadFromMemory(const uint8_t* data, size_t size) {
    if (!data) throw EInvalidGraphic("Bitmap image is not valid");
    Assign(DecodeBmp(data, size)); // decoded first: a bad file leaves the bitmap as it was
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
    const auto notFound = [&name] { return EResNotFound("Resource " + name + " not found"); };
    if (name.empty()) throw notFound();
    HRSRC resource = FindResourceA(instance, name.c_str(), RT_BITMAP);
    if (!resource) throw notFound();
    HGLOBAL loaded = LoadResource(instance, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(instance, resource);
    if (!data) throw notFound();
    Assign(DecodeDib(static_cast<const uint8_t*>(data), size));
}

TColor TBitmap::TransparentColor() const {
    if (transparentColor_ != clNone) return transparentColor_;
    if (!bits_) return clNone;
    return PixelToColor(ScanLine(height_ - 1)[0]);
}

void TBitmap::SetTransparentColor(TColor color) {
    transparentColor_ = color;
}

void TBitmap::Draw(TCanvas& canvas, const RECT& rect) {
    if (Empty()) return;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width == 0 || height == 0) return;
    if (Transparent()) {
        DrawWithKey(canvas, rect, TransparentColor());
        return;
    }
    HDC target = canvas.Handle();
    HDC source = Canvas().Handle();
    if (width == width_ && height == height_) {
        BitBlt(target, rect.left, rect.top, width, height, source, 0, 0, SRCCOPY);
        return;
    }
    const int oldMode = SetStretchBltMode(target, COLORONCOLOR);
    StretchBlt(target, rect.left, rect.top, width, height, source, 0, 0, width_, height_, SRCCOPY);
    if (oldMode) SetStretchBltMode(target, oldMode);
}

void TBitmap::DrawWithKey(TCanvas& canvas, const RECT& rect, TColor key) {
    if (Empty()) return;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width == 0 || height == 0) return;
    // Without a colour the bottom-left pixel's is the key, as for a transparent bitmap.
    key = key == clNone ? PixelToColor(ScanLine(height_ - 1)[0]) : ColorToRGB(key);
    if (width == width_ && height == height_ && DrawKeyed(canvas, rect.left, rect.top, key)) return;
    // GDI's own export of the transparent copy: the msimg32 wrapper would be one more library
    // loaded before the program starts.
    GdiTransparentBlt(canvas.Handle(), rect.left, rect.top, width, height, Canvas().Handle(), 0, 0,
                      width_, height_, key);
}

bool TBitmap::DrawKeyed(TCanvas& canvas, int x, int y, TColor key) const {
    // The window system's transparent copy builds masks for every call and is slow; into another
    // bitmap's own pixels the copy is one pass over the pixels drawn.
    auto* into = dynamic_cast<BitmapCanvas*>(&canvas);
    if (!into) return false;
    TBitmap& to = into->Owner();
    HDC dc = canvas.Handle();
    if (&to == this || GetCurrentObject(dc, OBJ_BITMAP) != to.bitmap_ ||
        !DrawsStraightIntoItsBitmap(dc))
        return false;
    GdiFlush();
    const uint32_t keyPixel = ColorToPixel(key & 0xFFFFFF);
    const int left = std::max(0, -x), right = std::min(width_, to.width_ - x);
    const int top = std::max(0, -y), bottom = std::min(height_, to.height_ - y);
    for (int row = top; row < bottom; ++row) {
        const uint32_t* source = bits_ + static_cast<size_t>(row) * stride_;
        uint32_t* line = to.bits_ + static_cast<size_t>(y + row) * to.stride_ + x;
        for (int column = left; column < right; ++column)
            if ((source[column] & 0xFFFFFF) != keyPixel) line[column] = source[column];
    }
    return true;
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(*this);
    return copy;
}

} // namespace kel
