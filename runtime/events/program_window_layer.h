#pragma once
// The window layer of the program: the window table, window loading and the
// load events, offered to start-up, the message loops and the shutdown.
#include "runtime/app/window_layer.h"

namespace quillet {

const WindowLayer& ProgramWindowLayer();

// Installs the layer, and the lookup of window and unit tags for error reports.
void InstallProgramWindowLayer();

}  // namespace quillet
