#include "framework/win/WindowBinding.h"

#include <commctrl.h>

#include "framework/win/Graphics.h"

namespace kel {

namespace {

const char kBindingProp[] = "KelWindow";
constexpr UINT_PTR kSubclassId = 0x4B454C; // ours among the window's subclasses

// The binding whose window is being created: the window's first messages arrive before
// CreateWindowExA returns its handle. Restored after each creation, so creating another window
// from inside a creation message works.
thread_local TWindowBinding* tCreating = nullptr;

void RegisterOwnClass(const TWindowParams& params, WNDPROC procedure) {
    HINSTANCE module = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(module, params.WinClassName.c_str(), &existing)) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = params.ClassStyle;
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = sizeof(LONG_PTR); // the binding, read on every message
    wc.hInstance = module;
    wc.hCursor = nullptr; // WM_SETCURSOR decides
    wc.lpszClassName = params.WinClassName.c_str();
    if (!RegisterClassExA(&wc)) throw EOutOfResources("Error creating window class");
}

// The common controls' versions of the standard classes and the tool bar, registered before the
// first window of a system class. Not done at start-up: the common controls library is
// delay-loaded, so a program whose first windows are all of its own classes shows them before
// the library is loaded.
void RegisterStandardControlClasses() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)registered;
}

} // namespace

TWindowBinding* TWindowBinding::BindingOf(HWND window) {
    return window ? static_cast<TWindowBinding*>(GetPropA(window, kBindingProp)) : nullptr;
}

TWindowTarget* TWindowBinding::TargetOf(HWND window) {
    TWindowBinding* binding = BindingOf(window);
    return binding ? &binding->target_ : nullptr;
}

void TWindowBinding::Create(const TWindowParams& params) {
    if (handle_) Destroy();
    const bool system = !params.SystemClass.empty();
    if (system)
        RegisterStandardControlClasses();
    else
        RegisterOwnClass(params, &TWindowBinding::ClassProc);
    TWindowBinding* outer = tCreating;
    tCreating = system ? nullptr : this;
    const char* className = system ? params.SystemClass.c_str() : params.WinClassName.c_str();
    HWND window = nullptr;
    if (params.ExStyle & WS_EX_MDICHILD) {
        // An MDI child is made by its MDI client, which keeps the list of its children.
        MDICREATESTRUCTA child{className,
                               params.Caption.c_str(),
                               GetModuleHandleA(nullptr),
                               params.X,
                               params.Y,
                               params.Width,
                               params.Height,
                               params.Style,
                               0};
        if (params.WndParent)
            window = reinterpret_cast<HWND>(
                SendMessageA(params.WndParent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&child)));
    } else {
        window = CreateWindowExA(params.ExStyle, className, params.Caption.c_str(), params.Style,
                                 params.X, params.Y, params.Width, params.Height, params.WndParent,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    tCreating = outer;
    if (!window) throw EOutOfResources("Error creating window");
    owned_ = true;
    if (system) {
        Bind(window, true);
        if (!subclassed_) {
            handle_ = nullptr;
            DestroyWindow(window);
            throw EOutOfResources("Error creating window");
        }
    }
}

bool TWindowBinding::Attach(HWND window) {
    if (!window || handle_ || BindingOf(window)) return false;
    owned_ = false;
    Bind(window, true);
    return handle_ != nullptr;
}

void TWindowBinding::Bind(HWND window, bool subclassed) {
    if (subclassed && !SetWindowSubclass(window, &TWindowBinding::SubclassProc, kSubclassId,
                                         reinterpret_cast<DWORD_PTR>(this)))
        return;
    SetPropA(window, kBindingProp, this);
    if (!subclassed) SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(this));
    handle_ = window;
    subclassed_ = subclassed;
}

void TWindowBinding::Unbind() {
    if (!handle_) return;
    RemovePropA(handle_, kBindingProp);
    if (subclassed_)
        RemoveWindowSubclass(handle_, &TWindowBinding::SubclassProc, kSubclassId);
    else
        SetWindowLongPtrA(handle_, 0, 0);
    handle_ = nullptr;
    subclassed_ = false;
}

void TWindowBinding::Detach() {
    Unbind();
    owned_ = false;
}

void TWindowBinding::Destroy() {
    HWND window = handle_;
    const bool owned = owned_;
    Detach();
    if (window && owned) DestroyWindow(window);
}

LRESULT TWindowBinding::Default(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (!handle_) return 0;
    return subclassed_ ? DefSubclassProc(handle_, message, wParam, lParam)
                       : DefWindowProcA(handle_, message, wParam, lParam);
}

LRESULT TWindowBinding::Deliver(TWindowBinding& binding, UINT message, WPARAM wParam,
                                LPARAM lParam) {
    LRESULT result = 0;
    try {
        result = binding.target_.HandleWindowMessage(message, wParam, lParam);
    } catch (const std::exception& e) {
        ReportHandlerException(e);
    }
    if (message == WM_NCDESTROY && binding.handle_) {
        // The last message of the window: the binding ends here, whatever the handler did.
        binding.Unbind();
        binding.owned_ = false;
        binding.target_.WindowDestroyed();
    }
    return result;
}

LRESULT CALLBACK TWindowBinding::ClassProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    // The binding of a window of our classes stands in its extra bytes: a window property would
    // cost the window system a lookup of its own on every message.
    auto* binding = reinterpret_cast<TWindowBinding*>(GetWindowLongPtrA(window, 0));
    if (!binding && tCreating && !tCreating->handle_) {
        binding = tCreating;
        tCreating = nullptr;
        binding->Bind(window, false);
    }
    if (!binding) return DefWindowProcA(window, message, wParam, lParam);
    return Deliver(*binding, message, wParam, lParam);
}

LRESULT CALLBACK TWindowBinding::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* binding = reinterpret_cast<TWindowBinding*>(data);
    if (!binding || binding->handle_ != window)
        return DefSubclassProc(window, message, wParam, lParam);
    return Deliver(*binding, message, wParam, lParam);
}

} // namespace kel
