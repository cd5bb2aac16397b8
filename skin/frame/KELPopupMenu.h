// The skinned pop-up menu: the framework's pop-up menu with every item drawn in the look of a UI
// style or a file theme. The title bar's system menu is one.
#pragma once

#include "skin/frame/KELPopupMenu_Look.h"

namespace kel {

class TkelPopupMenu : public TkelMenuLook<TPopupMenu> {
    KEL_DECLARE_CLASS(TkelPopupMenu)
public:
    using TLookBase = TPopupMenu;
    explicit TkelPopupMenu(TComponent* owner);
    // Ignored while the style is MacOS, whose items are 20 pixels high.
    void SetMenuItemHeight(int value) override;

protected:
    TImageList* ItemImages() const override { return Images(); }
    TImageList& CheckMarks() override;
};

// The check mark image list every skinned pop-up menu shares, made on first use.
TImageList& SharedMenuCheckMarks();
// A 16 x 16 image list holding the library's check mark, white transparent.
std::unique_ptr<TImageList> CreateMenuCheckMarks();

} // namespace kel
