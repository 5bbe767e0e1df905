#pragma once
// The tool's window template as a readable description: the window, its 24
// units with their places, pages, initial states and looks, and the events
// bound to the program's handlers. template_generator writes it as the bytes
// quillet.exe carries; tests read it to know what the window should hold.
#include <cstdint>
#include <vector>

#include "app/unit_ids.h"

#include "runtime/template/template_writer.h"

namespace quillet::app {

// The one window, 0x52010001: record 0 the window, then the units in template order.
WindowDescription MainWindowDescription();

// The control id a unit's window has once the window is loaded, for programs
// that drive the tool from outside; -1 for no unit of the window. The loader
// creates the units from the last record to the second and numbers them 100,
// 110, 120, ... in that order.
int32_t LoadedControlId(UnitId unit);

// The template data: the window table with that one window.
std::vector<uint8_t> TemplateBytes();

}  // namespace quillet::app
