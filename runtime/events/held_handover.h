#pragma once
// The runtime's side of held output (runtime/units/held_output.h): handing it
// over once a handler has returned, piece by piece from the message loop, or
// all at once before a modal loop that is not the runtime's. Each piece brings
// the run's progress up to date (run_progress.h).
#include "runtime/units/held_output.h"

namespace quillet {

// Each unit: what goes over in one piece (AllOrNothing). The rest waits for
// the message loop.
void HandOverShortHeldOutput();

// One step (AfterRun) of the output held longest. False when nothing is held
// or a handover runs.
bool HandOverHeldPiece();

// Everything now, step by step (AfterRun), with waiting messages handled
// between the steps.
void HandOverHeldOutput();

}  // namespace quillet
