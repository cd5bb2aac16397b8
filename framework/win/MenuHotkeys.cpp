// Automatic hot keys of menu items: each level of a menu gets distinct hot keys, chosen from the
// captions' own letters and digits.
#include <set>

#include "framework/win/Menus.h"

namespace kel {

namespace {

bool HotkeyCandidate(char ch) {
    return IsCharAlphaNumericA(ch) != FALSE;
}

// The caption with "&" before its first character whose hot key is not taken; unchanged when
// every candidate is taken.
std::string WithHotkey(const std::string& caption, std::set<char>& taken) {
    for (size_t i = 0; i < caption.size(); ++i) {
        const char key = GetHotkey(std::string("&") + caption[i]);
        if (!HotkeyCandidate(caption[i]) || taken.count(key)) continue;
        taken.insert(key);
        return caption.substr(0, i) + "&" + caption.substr(i);
    }
    return caption;
}

void RethinkLevel(TMenuItem& parent) {
    std::set<char> taken;
    for (int i = 0; i < parent.Count(); ++i)
        if (const char key = GetHotkey(parent.Items(i)->Caption())) taken.insert(key);
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        const std::string& caption = item->Caption();
        if (!item->IsLine() && !GetHotkey(caption)) {
            const std::string marked = WithHotkey(caption, taken);
            if (marked != caption) item->SetCaption(marked);
        }
        RethinkLevel(*item);
    }
}

} // namespace

void TMenu::SetAutoHotkeys(TMenuAutoFlag value) {
    autoHotkeys_ = value;
    if (value == TMenuAutoFlag::maAutomatic) RethinkHotkeys();
}

void TMenu::RethinkHotkeys() {
    RethinkLevel(*items_);
}

} // namespace kel
