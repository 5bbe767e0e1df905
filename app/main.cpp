// quillet.exe: the runtime's WinMain and the program library. Nothing in the
// executable calls the program; its ProgramLink hands ProgramInfo and
// StartRoutine to the runtime when the program is linked in, and this
// reference makes sure it is.
#include "app/program.h"

[[gnu::used]] static const void* const KeepProgram = &quillet::app::QuilletProgramInfo;
