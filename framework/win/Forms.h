// Forms, the application object and the screen: top-level windows with border styles, first-show
// positioning, create and show handlers, modal running; the message loop with its error box; the
// cursor table.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "framework/win/Controls.h"

namespace kel {

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject*, TCloseAction&)>;

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
    void Close();

    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    void SelectFirst();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnDestroy;
    TCloseEvent OnClose;

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
    void Notification(TComponent* component, TOperation operation) override;

private:
    void ApplyPosition();
    SIZE FrameSize() const; // outer minus client size for the current styles
    void ResizeToClient();

    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TPosition position_ = TPosition::poDesigned;
    int clientWidth_ = 0, clientHeight_ = 0;
    int modalResult_ = mrNone;
    bool shownOnce_ = false;
    bool modal_ = false;
    TWinControl* activeControl_ = nullptr;
};

class TForm : public TCustomForm {
    KEL_DECLARE_CLASS(TForm)
public:
    explicit TForm(TComponent* owner);
};

using TExceptionBox = std::function<void(const std::string& text, const std::string& caption)>;

class TApplication : public TComponent {
    KEL_DECLARE_CLASS(TApplication)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    void Initialize();
    // The application's top-level window: it holds the title.
    HWND Handle() const { return handle_; }
    // The title is the text of the application's window, so at most 255 characters come back.
    std::string Title() const;
    void SetTitle(const std::string& value);
    TIcon& Icon() { return icon_; }
    void SetIcon(HICON icon, bool owned); // also on the main form's title bar and task bar button

    TCustomForm* MainForm() const { return mainForm_; }
    // Creates a form owned by the application; the first one becomes the main form.
    template <class F> F* CreateForm() {
        auto* form = new F(this);
        if (!mainForm_) mainForm_ = form;
        return form;
    }
    void SetMainForm(TCustomForm* form) { mainForm_ = form; }

    // Shows the main form (with the start-up show command) and runs the message loop until it
    // closes.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    void ProcessMessages(); // handles every waiting message, then returns
    bool HandleMessage();   // waits for and handles one message; false on quit
    void Minimize();

    // Shows the error box for an exception that left an event handler: the message with a full
    // stop added when its last character sorts after ".", the title as caption, OK, stop icon.
    void HandleException(const std::exception& error);
    void ShowException(const std::string& message);
    // Replaces the message box (tests read the text instead of clicking a box away).
    TExceptionBox ExceptionBox;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    HWND handle_ = nullptr;
    TIcon icon_;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

class TScreen : public TComponent {
    KEL_DECLARE_CLASS(TScreen)
public:
    explicit TScreen(TComponent* owner);
    // The cursor shown for an identifier; unknown identifiers show the default arrow.
    HCURSOR Cursors(TCursor id) const;
    void SetCursors(TCursor id, HCURSOR cursor);
    // The screen cursor overrides every control's cursor while it is not crDefault.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    int DesktopWidth() const { return GetSystemMetrics(SM_CXVIRTUALSCREEN); }
    int DesktopHeight() const { return GetSystemMetrics(SM_CYVIRTUALSCREEN); }
    int DesktopLeft() const { return GetSystemMetrics(SM_XVIRTUALSCREEN); }
    int DesktopTop() const { return GetSystemMetrics(SM_YVIRTUALSCREEN); }

private:
    std::map<TCursor, HCURSOR> cursors_;
    TCursor cursor_ = crDefault;
};

// The full path of the running executable as the system reports it; empty when it names none.
std::string ExeName();

// The program's one application object and screen, created by InitFramework.
extern TApplication* Application;
extern TScreen* Screen;
void InitFramework();
void DoneFramework();

} // namespace kel
