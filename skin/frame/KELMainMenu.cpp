#include "skin/frame/KELMainMenu.h"

#include "skin/frame/KELPopupMenu.h"

namespace kel {

const TClassInfo& TkelMainMenu::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TkelMainMenu", &TMainMenu::StaticClassInfo());
        TPublisher<TkelMainMenu> p(i);
        PublishMenuLook(p);
        return i;
    }();
    return info;
}

TkelMainMenu::TkelMainMenu(TComponent* owner)
    : TkelMenuLook<TMainMenu>(owner), ownMarks_(CreateMenuCheckMarks()) {
    SetImages(ownMarks_.get());
}

TkelMainMenu::~TkelMainMenu() {
    SetImages(nullptr);
}

void TkelMainMenu::MenuChanged(TMenuItem* source, bool rebuilt) {
    TkelMenuLook<TMainMenu>::MenuChanged(source, rebuilt);
    if (!showingForm_) return;
    showingForm_->SyncMenuBarButtons();
    if (Designing() && !(ComponentState() & csLoading)) showingForm_->RebuildMenuBar();
}

void TkelMainMenu::SetUseSystemFont(bool value) {
    TkelMenuLook<TMainMenu>::SetUseSystemFont(value);
    if (showingForm_) showingForm_->RefreshMenuBarFont();
}

} // namespace kel
