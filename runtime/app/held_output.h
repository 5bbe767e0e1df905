#pragma once
// Output that a unit keeps on its own side for a while and hands to its window
// later, in big pieces: an edit box gathers the text appended to it, since the
// control's cost per call dwarfs the cost of the text itself. The unit hands
// everything over itself before anything could see the difference (a read of
// its text, a message to its window); the runtime asks for the rest when the
// outermost handler has returned, and for a piece now and then during a long
// run, so that the window shows the growing result.
#include <cstdint>

namespace quillet {

class HeldOutput {
public:
    // Hands over one piece of about `ms` milliseconds of the window's work
    // (more when a smaller piece would cost mostly overhead); `show` paints
    // the window at once. True when nothing is held any more.
    virtual bool HandOverPiece(double ms, bool show) = 0;

protected:
    ~HeldOutput() = default;
};

// A unit lists itself when it starts holding output and takes itself off when
// it holds nothing more or goes away.
void NoteHeldOutput(HeldOutput* output);
void ForgetHeldOutput(HeldOutput* output);
bool IsHoldingOutput(const HeldOutput* output);
// How many units hold output now.
int32_t HeldOutputCount();

// After the outermost handler has returned: everything, piece by piece, with
// the window's messages handled between pieces so that it stays responsive.
void HandOverHeldOutput();

// During a run (each ProcessEvents, each append): a piece, shown at once, when
// the refresh period has passed; the period grows with the cost of the last
// refresh, so refreshes never dominate a run.
void RefreshHeldOutput();

}  // namespace quillet
