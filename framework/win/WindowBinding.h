// The one way framework objects own windows. A TWindowBinding links an object (a TWindowTarget) to
// one window: a window of a class registered here, whose procedure hands every message to the
// target from the window's first message on, or a window of a system class or of another module,
// subclassed through the common controls. The binding ends after WM_NCDESTROY whatever the
// target's handler did, so no object is left holding a dead handle.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace kel {

class TWindowTarget {
public:
    virtual ~TWindowTarget() = default;
    // One message of the bound window. The window's default handling is the binding's Default.
    virtual LRESULT HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The bound window is gone (after its WM_NCDESTROY); the binding has forgotten it already.
    virtual void WindowDestroyed() {}
};

struct TWindowParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    // The parent or owner; with WS_EX_MDICHILD in ExStyle, the MDI client that makes the window.
    HWND WndParent = nullptr;
    std::string WinClassName = "KelControl"; // a class of our own, registered on first use
    UINT ClassStyle = CS_HREDRAW | CS_VREDRAW;
    // A system class to create and subclass instead (for example "BUTTON"); empty for our own.
    std::string SystemClass;
};

class TWindowBinding {
public:
    explicit TWindowBinding(TWindowTarget& target) : target_(target) {}
    ~TWindowBinding() { Destroy(); }
    TWindowBinding(const TWindowBinding&) = delete;
    TWindowBinding& operator=(const TWindowBinding&) = delete;

    HWND Handle() const { return handle_; }
    // True for a system-class or foreign window, whose own procedure does the default handling.
    bool Subclassed() const { return subclassed_; }
    // Creates the window, bound from its first message; raises EOutOfResources when the system
    // refuses.
    void Create(const TWindowParams& params);
    // Binds a window created elsewhere by subclassing it; false when it cannot be subclassed.
    bool Attach(HWND window);
    // Ends the binding without destroying the window (an attached window goes back to its own
    // procedure alone).
    void Detach();
    // Ends the binding first, so the target hears nothing more, then destroys the window.
    void Destroy();
    // The window's own handling of a message: the class's procedure for subclassed windows, the
    // system's default for windows of our classes. Only while the binding holds a window.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const;

    // The target bound to a window, or nullptr.
    static TWindowTarget* TargetOf(HWND window);

private:
    static LRESULT CALLBACK ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    static TWindowBinding* BindingOf(HWND window);
    static LRESULT Deliver(TWindowBinding& binding, UINT message, WPARAM wParam, LPARAM lParam);
    void Bind(HWND window, bool subclassed);
    void Unbind();

    TWindowTarget& target_;
    HWND handle_ = nullptr;
    bool subclassed_ = false;
    bool owned_ = false; // created here, so destroyed here
};

// Shows an exception that left a message handler in the application's error box (nothing when
// the application is gone).
void ReportHandlerException(const std::exception& error);

} // namespace kel
