#pragma once
// The program's exit routines: each registered once, called in registration
// order at a normal end, dropped uncalled when a runtime error ends the process.

namespace quillet {

// An exit routine registered by the program (CommandTable entry 3).
using ExitRoutine = void (*)();

void AddExitRoutine(ExitRoutine routine);   // a second registration is ignored
void CallExitRoutines();                         // calls each once, then empties the list
void ReleaseExitRoutines();                      // empties the list without calling

}  // namespace quillet
