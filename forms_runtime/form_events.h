// Named events of a window and its controls, and the handlers bound to them.
// A handler is a plain function named by its control and event; the runtime
// turns the platform's notifications into these calls in one place.
#pragma once

#include <cstdint>
#include <span>

namespace forms {

enum class Event { Load, Unload, Click, Change, DblClick, KeyPress };

struct EventBinding {
    const wchar_t* control;  // a control's name, or the window's own name
    int index;               // position in a control array, -1 when not in one
    Event event;
    void (*handler)() = nullptr;                        // Load, Click, Change, DblClick
    void (*keyPress)(std::int16_t& keyAscii) = nullptr;  // KeyPress: 0 discards the key
    void (*unload)(int& cancel) = nullptr;              // Unload: non-zero keeps the window
};

constexpr EventBinding On(const wchar_t* control, Event event, void (*handler)(), int index = -1) {
    return EventBinding{control, index, event, handler, nullptr, nullptr};
}
constexpr EventBinding OnKeyPress(const wchar_t* control, void (*handler)(std::int16_t&)) {
    return EventBinding{control, -1, Event::KeyPress, nullptr, handler, nullptr};
}
constexpr EventBinding OnUnload(const wchar_t* form, void (*handler)(int&)) {
    return EventBinding{form, -1, Event::Unload, nullptr, nullptr, handler};
}

const wchar_t* EventName(Event event);

}  // namespace forms
