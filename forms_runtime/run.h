// Starting the program: its start-up window and the message loop.
#pragma once

#include <windows.h>

#include <span>

#include "forms_runtime/form_definition.h"
#include "forms_runtime/form_events.h"

namespace forms {

// Loads and shows the start-up window and runs until it is gone.
int Run(const FormDef& startup, std::span<const EventBinding> events, HINSTANCE instance);

}  // namespace forms
