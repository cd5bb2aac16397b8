// The application object: its top-level window holding the title and icon, the main form, the
// message loop with its message filters, and the error box for exceptions that leave handlers.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/win/Graphics.h"
#include "framework/win/WindowBinding.h"

namespace kel {

class TCustomForm;

// Sees a queued message before it is translated and dispatched; true when it handled the
// message, which then goes no further.
using TMessageFilter = std::function<bool(MSG& message)>;

struct TMessageFilterList {
    std::vector<std::shared_ptr<TMessageFilter>> Filters; // oldest first
};

// Keeps a message filter registered while it lives; outliving the application does no harm.
class TMessageFilterRegistration {
public:
    TMessageFilterRegistration() = default;
    TMessageFilterRegistration(std::weak_ptr<TMessageFilterList> list,
                               std::shared_ptr<TMessageFilter> filter)
        : list_(std::move(list)), filter_(std::move(filter)) {}
    TMessageFilterRegistration(TMessageFilterRegistration&& other) noexcept = default;
    TMessageFilterRegistration& operator=(TMessageFilterRegistration&& other) noexcept {
        if (this != &other) {
            Reset();
            list_ = std::move(other.list_);
            filter_ = std::move(other.filter_);
        }
        return *this;
    }
    ~TMessageFilterRegistration() { Reset(); }
    // Removes the filter now.
    void Reset();

private:
    std::weak_ptr<TMessageFilterList> list_;
    std::shared_ptr<TMessageFilter> filter_;
};

using TExceptionBox = std::function<void(const std::string& text, const std::string& caption)>;
using TMessageBox =
    std::function<int(const std::string& text, const std::string& caption, UINT flags)>;

class TApplication : public TComponent, public TWindowTarget {
    KEL_DECLARE_CLASS(TApplication)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    void Initialize();
    // The application's top-level window: it holds the title.
    HWND Handle() const { return window_.Handle(); }
    // True while one of the application's windows is the foreground window.
    bool Active() const;
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
    // The hint of what the pointer or the menu selection is over; OnHint hears every change.
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);
    TNotifyEvent OnHint;

    void ProcessMessages(); // handles every waiting message, then returns
    bool HandleMessage();   // waits for and handles one message; false on quit

    // Registers a filter that sees every queued message before translation and dispatch, in
    // the main loop, ProcessMessages and modal loops; the newest filter runs first. The filter
    // stays registered while the returned registration lives.
    TMessageFilterRegistration AddMessageFilter(TMessageFilter filter);
    // Runs the filters over a message; true when one of them handled it.
    bool FilterMessage(MSG& message);
    void Minimize();

    // Shows the error box for an exception that left an event handler: the message with a full
    // stop added when its last character sorts after ".", the title as caption, OK, stop icon.
    void HandleException(const std::exception& error);
    void ShowException(const std::string& message);
    // Replaces the message box (tests read the text instead of clicking a box away).
    TExceptionBox ExceptionBox;
    // A message box over the active window with the application's title as caption; the flags
    // choose icon and buttons (MB_...). Returns the button chosen (IDOK, ...).
    int ShowMessageBox(const std::string& text, UINT flags);
    // Replaces the message boxes of ShowMessageBox, as ExceptionBox does for the error box.
    TMessageBox MessageBoxHook;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    LRESULT HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Dispatch(MSG& message);

    TWindowBinding window_{*this};
    std::shared_ptr<TMessageFilterList> filters_ = std::make_shared<TMessageFilterList>();
    TIcon icon_;
    std::string hint_;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

// What the framework reads of the system's locale once at start-up; tests may change it.
struct TSysLocale {
    bool MiddleEast = false; // right-to-left reading is enabled on the system
};
extern TSysLocale SysLocale;

// Tells the user that something was refused: a message box with the error icon and an OK button,
// through the application object when there is one.
void ShowErrorMessage(const std::string& text);

// The full path of the running executable as the system reports it; empty when it names none.
std::string ExeName();

// The program's one application object, created by InitFramework with the screen.
extern TApplication* Application;
void InitFramework();
void DoneFramework();

} // namespace kel
