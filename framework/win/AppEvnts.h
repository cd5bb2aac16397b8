// The application's events as a component: dropped on a form, it sees what the application's
// message loop sees for as long as it lives.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/win/Application.h"

namespace kel {

// A queued message of the application, before translation and dispatch; setting `handled`
// stops it there.
using TMessageEvent = std::function<void(MSG& message, bool& handled)>;

class TApplicationEvents : public TComponent {
    KEL_DECLARE_CLASS(TApplicationEvents)
public:
    explicit TApplicationEvents(TComponent* owner);
    ~TApplicationEvents() override;

    // Sees every queued message of the application (main loop, ProcessMessages, modal loops);
    // the newest component sees a message first.
    TMessageEvent OnMessage;

private:
    TMessageFilterRegistration filter_;
};

} // namespace kel
