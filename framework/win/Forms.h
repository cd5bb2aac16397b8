// Forms: top-level windows with border styles, first-show positioning, create and show handlers,
// modal running and the dialog keys. The application object and the screen come with them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/win/Application.h"
#include "framework/win/Controls.h"
#include "framework/win/Menus.h"
#include "framework/win/Screen.h"

namespace kel {

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject*, TCloseAction&)>;
using TCloseQueryEvent = std::function<void(TObject*, bool& canClose)>;

// The smallest and largest outer size of a form, for the user's sizing and for SetBounds alike;
// 0 sets no limit.
struct TSizeConstraints {
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
};

class TCustomForm : public TWinControl {
    KEL_DECLARE_CLASS(TCustomForm)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    int ClientWidth() const override { return clientWidth_; }
    int ClientHeight() const override { return clientHeight_; }
    void SetClientWidth(int value) override;
    void SetClientHeight(int value) override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool value) override;

    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value) { modalResult_ = value; }
    // Shows the form modally: the other windows of the application take no input until the
    // form's modal result is set or it is closed; returns the modal result.
    int ShowModal();
    // Closes the form unless OnCloseQuery says no: a modal form ends its modal run, the main
    // form ends the application, another form hides (or whatever OnClose chose).
    void Close();
    // Asks OnCloseQuery whether the form may close; true without a handler.
    virtual bool CloseQuery();

    // Normal, minimised or maximised; a hidden form shows in the state set last.
    TWindowState WindowState() const;
    void SetWindowState(TWindowState value);
    const TSizeConstraints& Constraints() const { return constraints_; }
    // Takes new limits and brings the form's present size within them.
    void SetConstraints(const TSizeConstraints& value);

    // The menu bar: a main menu shown as the window's menu; nullptr for none.
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    // Runs the menu item whose shortcut the key makes; true when there was one.
    virtual bool IsShortCut(WORD key, TShiftState shift);

    // True while the form's window is the active window.
    bool Active() const { return active_; }
    // The MDI client window of an MDI frame form; nullptr for every other form.
    virtual HWND MDIClientHandle() const { return nullptr; }

    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    void SelectFirst();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnDestroy;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    // Offered by a focused control: navigation keys and accelerator characters.
    bool HandleDialogKey(WORD key, TShiftState shift);
    bool HandleDialogChar(char ch, TShiftState shift);
    void ControlFocused(TWinControl* control);
    void ControlRemoved(TWinControl* control);

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Runs the create handler once the form's components exist; an exception in it goes to the
    // application's error box and the form is created all the same.
    void DoCreate();
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void ApplyPosition();
    SIZE FrameSize() const; // outer minus client size for the current styles
    void ResizeToClient();
    SIZE Constrained(int width, int height) const;
    void WindowStateChanged(WPARAM sizeType); // from WM_SIZE
    void ApplyMinMaxInfo(MINMAXINFO& info) const;

    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TPosition position_ = TPosition::poDesigned;
    int clientWidth_ = 0, clientHeight_ = 0;
    int modalResult_ = mrNone;
    bool shownOnce_ = false;
    bool modal_ = false;
    bool active_ = false;
    TWindowState windowState_ = TWindowState::wsNormal;
    TSizeConstraints constraints_;
    TWinControl* activeControl_ = nullptr;
    TMainMenu* menu_ = nullptr;
};

class TForm : public TCustomForm {
    KEL_DECLARE_CLASS(TForm)
public:
    explicit TForm(TComponent* owner);
};

} // namespace kel
