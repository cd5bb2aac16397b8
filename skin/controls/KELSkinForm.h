// The skin form: a windowless component that shapes its form from a bitmap. Every pixel of the
// key colour is cut out of the form's window, the component and the form's client area take the
// bitmap's size, the bitmap is painted, and any mouse press on it drags the whole window.
#pragma once

#include <memory>

#include "framework/win/Controls.h"
#include "framework/win/Forms.h"
#include "framework/win/Graphics.h"

namespace kel {

class TkelSkinForm : public TGraphicControl {
    KEL_DECLARE_CLASS(TkelSkinForm)
public:
    // With a form as owner: unless designing, the form loses its border when its Tag is 0 or
    // less and gets a single border otherwise. With any other owner the component only sizes
    // and paints itself.
    explicit TkelSkinForm(TComponent* owner);
    ~TkelSkinForm() override;

    // The skin picture. Loading into it in place takes effect at the next property write.
    TBitmap& Glyph() { return *glyph_; }
    const TBitmap& Glyph() const { return *glyph_; }
    void SetGlyph(const TBitmap& glyph); // copies, rebuilds, repaints

    TColor TransparentColor() const { return transparentColor_; }
    // Rebuilds and repaints on every write, also of the same colour.
    void SetTransparentColor(TColor color);

    TNotifyEvent OnRegionChanged; // after every completed rebuild
    TNotifyEvent OnPaint;         // after every paint

    // The framework's handling first (OnMouseDown), then the press becomes a window drag.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    void Paint() override;

private:
    void RebuildSkin();

    TCustomForm* form_; // the owner, when it is a form
    std::unique_ptr<TBitmap> glyph_;
    TColor transparentColor_ = clFuchsia;
};

} // namespace kel
