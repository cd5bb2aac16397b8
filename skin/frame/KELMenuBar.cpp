#include "skin/frame/KELMenuBar.h"

#include "skin/controls/KELMenu.h"
#include "skin/controls/KELPublic.h"
#include "skin/frame/KELForm.h"
#include "skin/frame/KELMainMenu.h"
#include "skin/themes/KELMgr.h"

namespace kel {

namespace {

// Built-in style positions of the menu bar's buttons.
constexpr int kSelectedBorderPosition = 18, kSelectedColorPosition = 19, kSelectedTextPosition = 20,
              kTextPosition = 22;
constexpr TColor kDisabledText = 0x808080;

void DrawCaption(TCanvas& canvas, const std::string& caption, RECT rect) {
    canvas.Brush().SetStyle(TBrushStyle::Clear);
    DrawTextA(canvas.Handle(), caption.c_str(), static_cast<int>(caption.size()), &rect,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

} // namespace

const TClassInfo& TkelMenuBar::StaticClassInfo() {
    static const TClassInfo info("TkelMenuBar", &TToolBar::StaticClassInfo());
    return info;
}

TkelMenuBar::TkelMenuBar(TComponent* owner, TkelForm& form) : TToolBar(owner), form_(form) {}

bool TkelMenuBar::AnyButtonHot() const {
    for (int i = 0; i < ButtonCount(); ++i)
        if (Buttons(i)->Tag() == kHotMenuButtonTag) return true;
    return false;
}

bool TkelMenuBar::DialogChar(char ch, TShiftState shift) {
    if (!(shift & ssAlt) && !AnyButtonHot()) return false;
    return TToolBar::DialogChar(ch, shift);
}

void TkelMenuBar::PaintBackground(const RECT& rect) {
    TCanvas& canvas = Canvas();
    if (form_.MenuStyle() == TkelUIStyle::MacOS) {
        DrawMacMenuBar(canvas, rect);
    } else if (form_.MenuBarToColor() != form_.MenuBarColor()) {
        GradientFillVertical(canvas, rect, form_.MenuBarColor(), form_.MenuBarToColor());
    } else {
        FillRectColor(canvas, rect, form_.MenuBarColor());
    }
}

void TkelMenuBar::PaintButton(TToolButton& button, TCustomDrawState state) {
    TCanvas& canvas = Canvas();
    TkelMainMenu* menu = form_.SkinnedMenu();
    const TkelUIStyle style = form_.MenuStyle();
    TkelFileTheme* theme = menu ? menu->FileTheme() : form_.FileTheme();
    const bool useTheme = ResolveUIStyle(theme, style).UseFileTheme;
    const TkelUIStyle builtIn = ResolveUIStyle(theme, style).Style;
    auto themeColor = [&](TkelThemeColorKey key, int position) {
        return useTheme ? static_cast<TColor>(theme->GetColor(key))
                        : GetThemeColor(builtIn, position);
    };
    if (menu) {
        if (menu->UseSystemFont()) {
            UseSystemMenuFont(canvas.Font());
        } else {
            canvas.Font().SetName(menu->FontName());
            canvas.Font().SetSize(menu->FontSize());
            canvas.Font().SetCharset(static_cast<BYTE>(menu->FontCharset()));
            canvas.Font().SetColor(menu->FontColor());
        }
    }
    button.SetTag(0);
    RECT r = button.BoundsRect();
    const std::string caption = button.Caption();
    if (state & (cdsHot | cdsSelected)) {
        button.SetTag(kHotMenuButtonTag);
        if (style == TkelUIStyle::MacOS) {
            TBitmap picture(r.right - r.left, r.bottom - r.top);
            DrawMacMenuBarSelection(picture.Canvas(), {0, 0, picture.Width(), picture.Height()});
            picture.Canvas().Font().Assign(canvas.Font());
            picture.Canvas().Font().SetColor(
                GetThemeColor(TkelUIStyle::MacOS, kSelectedTextPosition));
            DrawCaption(picture.Canvas(), caption, {0, 0, picture.Width(), picture.Height() + 2});
            canvas.Draw(r.left, r.top, picture);
            return;
        }
        FillRectColor(canvas, r,
                      themeColor(TkelThemeColorKey::TopSelectedMenuColor, kSelectedColorPosition));
        FrameRectColor(
            canvas, r,
            themeColor(TkelThemeColorKey::TopSelectedMenuBorderColor, kSelectedBorderPosition));
        r.top += 2;
        canvas.Font().SetColor(
            themeColor(TkelThemeColorKey::TopSelectedMenuFontColor, kSelectedTextPosition));
        DrawCaption(canvas, caption, r);
        return;
    }
    r.top += 2;
    canvas.Font().SetColor(button.Enabled()
                               ? themeColor(TkelThemeColorKey::TopMenuFontColor, kTextPosition)
                               : kDisabledText);
    DrawCaption(canvas, caption, r);
}

// ---- The form's menu ---------------------------------------------------------------------------

TkelMainMenu* TkelForm::SkinnedMenu() const {
    return dynamic_cast<TkelMainMenu*>(menu_);
}

TkelUIStyle TkelForm::MenuStyle() const {
    const TkelMainMenu* menu = SkinnedMenu();
    return menu ? menu->UIStyle() : uiStyle_;
}

void TkelForm::SetMenu(TMainMenu* value) {
    if (auto* old = SkinnedMenu()) old->SetShowingForm(nullptr);
    if (menu_) menu_->RemoveFreeNotification(this);
    menu_ = value;
    if (menu_) menu_->FreeNotification(this);
    if (auto* menu = SkinnedMenu()) menu->SetShowingForm(this);
    if (menu_) {
        if (!menuBar_) CreateMenuBar();
        RebuildMenuBar();
        titleBar_->SetTop(0);
    } else {
        DestroyMenuBar();
    }
    PaintFrame();
}

void TkelForm::CreateMenuBar() {
    if (IsMDIChild()) return;
    menuBar_ = new TkelMenuBar(this, *this);
    menuBar_->SetFlat(true);
    menuBar_->SetEdgeBorders(0);
    menuBar_->SetShowCaptions(true);
    menuBar_->SetButtonHeight(menuBarHeight_);
    menuBar_->SetHeight(menuBarHeight_);
    menuBar_->SetColor(menuBarColor_);
    menuBar_->SetAlign(TAlign::alTop);
    menuBar_->SetTop(titleBar_->Height());
    menuBar_->SetParent(this);
    if (!Designing())
        menuBar_->OnCustomDrawButton = [](TToolBar* bar, TToolButton* button,
                                          TCustomDrawState state, bool& defaultDraw) {
            defaultDraw = false;
            static_cast<TkelMenuBar*>(bar)->PaintButton(*button, state);
        };
    menuBar_->OnCustomDraw = [](TToolBar* bar, const RECT& rect, bool&) {
        static_cast<TkelMenuBar*>(bar)->PaintBackground(rect);
    };
    menuBar_->SetWrapable(true);
    menuBar_->SetAutoSize(true);
    titleBar_->SetTop(0);
}

void TkelForm::DestroyMenuBar() {
    delete menuBar_; // its buttons belong to it and go with it
    menuBar_ = nullptr;
}

void TkelForm::RebuildMenuBar() {
    if (!menuBar_) return;
    if (!menu_) {
        DestroyMenuBar();
        return;
    }
    menuBar_->SetAutoSize(false);
    if (TkelMainMenu* menu = SkinnedMenu()) {
        if (menu->UseSystemFont())
            UseSystemMenuFont(menuBar_->Font());
        else
            menuBar_->Font().SetSize(menu->FontSize());
    }
    while (menuBar_->ButtonCount() > 0) delete menuBar_->Buttons(menuBar_->ButtonCount() - 1);
    TMenuItem& items = menu_->Items();
    for (int i = items.Count() - 1; i >= 0; --i) {
        auto* button = new TToolButton(menuBar_);
        button->SetGrouping(true);
        button->SetAutoSize(true);
        button->SetParent(menuBar_);
        button->SetMenuItem(items.Items(i));
    }
    menuBar_->SetAutoSize(true);
}

void TkelForm::SyncMenuBarButtons() {
    if (!menuBar_) return;
    for (int i = 0; i < menuBar_->ButtonCount(); ++i) {
        TToolButton* button = menuBar_->Buttons(i);
        if (TMenuItem* item = button->MenuItem()) {
            button->SetCaption(item->Caption());
            button->SetEnabled(item->Enabled());
        }
    }
    menuBar_->Invalidate();
}

void TkelForm::RefreshMenuBarFont() {
    if (!menuBar_ || !menu_) return;
    if (TkelMainMenu* menu = SkinnedMenu()) {
        TFont& font = menuBar_->Font();
        if (menu->UseSystemFont()) {
            UseSystemMenuFont(font);
        } else {
            font.SetName(menu->FontName());
            font.SetSize(menu->FontSize());
            font.SetCharset(static_cast<BYTE>(menu->FontCharset()));
        }
    }
    menuBar_->Invalidate();
}

int TkelForm::MenuBarHeight() const {
    return menuBar_ && menuBar_->Visible() ? menuBar_->Height() : 0;
}

void TkelForm::SetMenuBarHeight(int value) {
    menuBarHeight_ = value;
    if (!menuBar_) return;
    menuBar_->SetButtonHeight(value);
    menuBar_->SetHeight(value);
}

void TkelForm::SetMenuBarColor(TColor value) {
    menuBarColor_ = value;
    if (menuBar_) menuBar_->SetColor(value);
}

void TkelForm::SetMenuBarToColor(TColor value) {
    menuBarToColor_ = value;
    if (menuBar_) menuBar_->Invalidate();
}

bool TkelForm::IsMenuShortCut(const MSG& message) {
    if (closing_ || !host_ || !menu_ || message.message != WM_KEYDOWN) return false;
    if (!IsFormActive(host_)) return false;
    return menu_->IsShortCut(static_cast<WORD>(message.wParam), KeyboardShiftState());
}

} // namespace kel
