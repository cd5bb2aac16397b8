// The skinned form's menu bar: a flat tool bar below the title bar with one button per top-level
// item of the form's main menu, painted in the look of the menu's or the form's style. A button
// opens its item's sub-menu; a letter opens one only with Alt, or while a button is hot or open.
#pragma once

#include "framework/win/ComCtrls.h"

namespace kel {

class TkelForm;

// The tag of a menu button the bar painted hot or open.
constexpr int64_t kHotMenuButtonTag = 888;

class TkelMenuBar : public TToolBar {
    KEL_DECLARE_CLASS(TkelMenuBar)
public:
    TkelMenuBar(TComponent* owner, TkelForm& form);
    TkelForm& Form() const { return form_; }
    bool DialogChar(char ch, TShiftState shift) override;

    // The background painter and the button painter the bar's custom-draw events run.
    void PaintBackground(const RECT& rect);
    void PaintButton(TToolButton& button, TCustomDrawState state);

private:
    bool AnyButtonHot() const;
    TkelForm& form_;
};

} // namespace kel
