#include "skin/frame/KELPopupMenu.h"

namespace kel {

std::unique_ptr<TImageList> CreateMenuCheckMarks() {
    auto list = std::make_unique<TImageList>(16, 16);
    TBitmap mark;
    mark.LoadFromResourceName(GetModuleHandleA(nullptr), "MENU_CHECKED");
    list->AddMasked(mark, clWhite);
    return list;
}

TImageList& SharedMenuCheckMarks() {
    static const std::unique_ptr<TImageList> shared = CreateMenuCheckMarks();
    return *shared;
}

const TClassInfo& TkelPopupMenu::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TkelPopupMenu", &TPopupMenu::StaticClassInfo());
        TPublisher<TkelPopupMenu> p(i);
        PublishMenuLook(p);
        return i;
    }();
    return info;
}

TkelPopupMenu::TkelPopupMenu(TComponent* owner) : TkelMenuLook<TPopupMenu>(owner) {}

void TkelPopupMenu::SetMenuItemHeight(int value) {
    if (UIStyle() != TkelUIStyle::MacOS) TkelMenuLook<TPopupMenu>::SetMenuItemHeight(value);
}

TImageList& TkelPopupMenu::CheckMarks() {
    return SharedMenuCheckMarks();
}

} // namespace kel
