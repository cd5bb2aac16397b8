// The skinned form's look at every message of its host window, ahead of the host's own window
// procedure, for as long as the form is attached.
#pragma once

#include "skin/frame/KELForm.h"

namespace kel {

// SetWindowPos flags that only make a window take its new frame: no size, move, Z-order change
// or activation.
constexpr UINT kFrameChangedFlags =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

class TkelForm::THostHook : public TWindowHook {
public:
    THostHook(TkelForm& form, TCustomForm& host) : TWindowHook(host), form_(form) {}
    // The host's own handling: the hooks installed before this one, then its window procedure.
    LRESULT Saved(UINT message, WPARAM wParam, LPARAM lParam) {
        return CallNext(message, wParam, lParam);
    }

protected:
    LRESULT HookMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return form_.HostMessage(message, wParam, lParam);
    }

private:
    TkelForm& form_;
};

} // namespace kel
