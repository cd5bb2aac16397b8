// Forms: top-level windows with border styles, first-show positioning, create and show handlers,
// modal running and the dialog keys; MDI frames and children, docking on a control, automatic
// scrolling. The application object and the screen come with them.
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
// An ordinary top-level form, an MDI frame holding an MDI client window, or an MDI child shown
// inside the main form's MDI client.
enum class TFormStyle { fsNormal, fsMDIForm, fsMDIChild };
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
    // On a control the form is docked there as a frameless child window; taken off again it
    // floats as a top-level window where it stood, and hears CM_FLOAT.
    void SetParent(TWinControl* parent) override;

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
    // Chosen before the window exists; an MDI child needs a main form that is an MDI frame.
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle value);
    // The MDI client window of an MDI frame form; nullptr for every other form.
    virtual HWND MDIClientHandle() const { return mdiClient_; }
    // Of an MDI frame: the active MDI child and the children, topmost first.
    TCustomForm* ActiveMDIChild() const;
    int MDIChildCount() const;
    TCustomForm* MDIChildren(int index) const;
    // Scaling to the screen's resolution for forms loaded from a stored description (kept for
    // the components that switch it off; forms here are built in code and never scaled).
    bool Scaled() const { return scaled_; }
    void SetScaled(bool value) { scaled_ = value; }
    // With AutoScroll, controls reaching beyond the client area give the form scroll bars that
    // scroll them; without it there are none. Off by default.
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool value);
    // Measures the controls' extent again (after they moved) for the scroll bars.
    void UpdateScrollRange();
    POINT ScrollPosition() const { return scrollPosition_; }

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
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // MDI (FormsMDI.cpp): the styles of a child, the client window of a frame, their messages.
    void MDICreateParams(TCreateParams& params) const;
    HWND MDIClientOfMain() const; // where an MDI child lives: the main form's MDI client
    void CreateMDIClient();
    void MDIMessage(UINT message, LPARAM lParam); // what the form notes of a message
    void ShowMDIChild();
    RECT WindowBounds() const; // the window's rectangle in its parent's client coordinates
    void DockedCreateParams(TCreateParams& params) const; // FormDock.cpp
    void ScrollMessage(int bar, WORD request);            // FormScroll.cpp
    void ScrollTo(POINT position);
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
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    HWND mdiClient_ = nullptr; // destroyed with the frame's window
    TMessageFilterRegistration mdiAccelerators_;
    bool scaled_ = true;
    bool autoScroll_ = false;
    POINT scrollPosition_{0, 0};
};

class TForm : public TCustomForm {
    KEL_DECLARE_CLASS(TForm)
public:
    explicit TForm(TComponent* owner);
};

} // namespace kel
