#pragma once
// Output that a unit keeps on its own side for a while and hands to its window
// later, in big pieces: an edit box gathers the text appended to it, since the
// control's cost per call dwarfs the cost of the text itself. The unit hands
// everything over itself before anything could see the difference (a read of
// its text, a message to its window); the runtime asks for a piece now and
// then during a long run, so that the window shows the growing result, and for
// the rest once the outermost handler has returned: at once when it goes in
// one piece, otherwise piece by piece from the message loop, which handles
// every waiting message between two pieces as it would at any other time.
#include <cstddef>
#include <cstdint>

namespace quillet {

// The window's work per piece once a run has ended: about what a click waits
// for while the rest of a big result comes in.
constexpr double HandOverPieceMs = 80;

class HeldOutput {
public:
    // Hands over one piece of about `ms` milliseconds of the window's work
    // (more when a smaller piece would cost mostly overhead); `show` paints
    // the window at once; with `wholeOnly` nothing goes unless the rest fits
    // in that one piece. True when nothing is held any more.
    virtual bool HandOverPiece(double ms, bool show, bool wholeOnly) = 0;
    // Bytes of output the window does not have yet.
    virtual size_t HeldBytes() const = 0;

protected:
    ~HeldOutput() = default;
};

// A unit lists itself when it starts holding output and takes itself off when
// it holds nothing more or goes away.
void NoteHeldOutput(HeldOutput* output);
void ForgetHeldOutput(HeldOutput* output);
bool IsHoldingOutput(const HeldOutput* output);
// How many units hold output now, and how many bytes in all.
int32_t HeldOutputCount();
size_t HeldByteCount();

// After the outermost handler has returned: what goes over in one piece. The
// rest waits for the message loop.
void HandOverShortHeldOutput();

// The message loop with nothing waiting: one step (a piece, or a paint due) of
// the output held longest. False when nothing is held or a handover runs.
bool HandOverHeldPiece();

// Everything now, piece by piece, with waiting messages handled between
// pieces: before a modal message box, whose loop is not the runtime's.
void HandOverHeldOutput();

// During a run (each ProcessEvents, each append): a piece, shown at once, when
// the refresh period has passed; the period grows with the cost of the last
// refresh, so refreshes never dominate a run.
void RefreshHeldOutput();

}  // namespace quillet
