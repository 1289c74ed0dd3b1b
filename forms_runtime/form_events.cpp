#include "forms_runtime/form_events.h"

namespace forms {

const wchar_t* EventName(Event event) {
    switch (event) {
    case Event::Load: return L"Load";
    case Event::Unload: return L"Unload";
    case Event::Click: return L"Click";
    case Event::Change: return L"Change";
    case Event::DblClick: return L"DblClick";
    case Event::KeyPress: return L"KeyPress";
    }
    return L"?";
}

}  // namespace forms
