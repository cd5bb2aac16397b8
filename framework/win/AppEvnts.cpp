#include "framework/win/AppEvnts.h"

namespace kel {

const TClassInfo& TApplicationEvents::StaticClassInfo() {
    static const TClassInfo info("TApplicationEvents", &TComponent::StaticClassInfo());
    return info;
}

TApplicationEvents::TApplicationEvents(TComponent* owner) : TComponent(owner) {
    if (!Application) return;
    filter_ = Application->AddMessageFilter([this](MSG& message) {
        if (!OnMessage) return false;
        // A copy runs: the handler may free this component, and its event with it.
        const TMessageEvent handler = OnMessage;
        bool handled = false;
        handler(message, handled);
        return handled;
    });
}

TApplicationEvents::~TApplicationEvents() = default;

} // namespace kel
