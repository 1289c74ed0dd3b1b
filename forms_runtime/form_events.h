// Named events of a window and its controls, and the handlers bound to them.
// A handler is a plain function named by its control and event; the runtime
// turns the platform's notifications into these calls in one file,
// form_window.cpp.
#pragma once

#include <cstdint>

#include "forms_runtime/form_definition.h"

namespace forms {

enum class Event { Load, Unload, Click, Change, DblClick, KeyPress };

struct EventBinding {
    ControlId control;  // a control, or the window for Load and Unload
    Event event;
    void (*handler)() = nullptr;                         // Load, Click, Change, DblClick
    void (*keyPress)(std::int16_t& keyAscii) = nullptr;  // KeyPress: 0 discards the key
    void (*unload)(int& cancel) = nullptr;               // Unload: non-zero keeps the window
};

constexpr EventBinding On(ControlId control, Event event, void (*handler)()) {
    return EventBinding{control, event, handler, nullptr, nullptr};
}
constexpr EventBinding OnKeyPress(ControlId control, void (*handler)(std::int16_t&)) {
    return EventBinding{control, Event::KeyPress, nullptr, handler, nullptr};
}
constexpr EventBinding OnUnload(ControlId window, void (*handler)(int&)) {
    return EventBinding{window, Event::Unload, nullptr, nullptr, handler};
}

}  // namespace forms
