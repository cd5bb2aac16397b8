// The skinned main menu: the framework's main menu drawn in the look of a UI style or a file
// theme. A skinned form shows it through its menu bar, not as the window's native menu; until
// then it serves as a form's plain menu bar with drawn items.
#pragma once

#include <memory>

#include "skin/frame/KELPopupMenu_Look.h"

namespace kel {

class TkelMainMenu : public TkelMenuLook<TMainMenu> {
    KEL_DECLARE_CLASS(TkelMainMenu)
public:
    using TLookBase = TMainMenu;
    explicit TkelMainMenu(TComponent* owner);
    ~TkelMainMenu() override;

    // The user's image list for item images. Reads nothing while the menu's own check-mark list
    // is in use; assigning nothing puts the own list back.
    TImageList* UserImages() const { return Images() == ownMarks_.get() ? nullptr : Images(); }
    void SetUserImages(TImageList* value) { SetImages(value ? value : ownMarks_.get()); }
    void SetUseSystemFont(bool value) override;

    // The skinned form whose menu bar shows this menu (set and cleared by the form), told of
    // every change of the items and the font.
    IkelSkinnedForm* ShowingForm() const { return showingForm_; }
    void SetShowingForm(IkelSkinnedForm* form) { showingForm_ = form; }

protected:
    TImageList* ItemImages() const override { return UserImages(); }
    TImageList& CheckMarks() override { return *ownMarks_; }
    void MenuChanged(TMenuItem* source, bool rebuilt) override;

private:
    std::unique_ptr<TImageList> ownMarks_;
    IkelSkinnedForm* showingForm_ = nullptr;
};

} // namespace kel
