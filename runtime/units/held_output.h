#pragma once
// Output that a unit keeps on its own side for a while and hands to its window
// later, in big pieces: an edit box gathers the text a run writes to it, since
// the control's cost per call dwarfs the cost of the text itself.
//
// The road of held output:
//   1. held: the runtime changes a unit's text; the unit keeps it and lists
//      itself here (NoteHeldOutput).
//   2. during the run: now and then a piece goes over and is painted at once,
//      so that the window shows the growing result (RefreshHeldOutput).
//   3. the outermost handler returns: the rest goes at once if it goes in one
//      piece (HandOverShortHeldOutput).
//   4. after the run: the message loop hands over a piece whenever no message
//      waits, so that every message is handled between two pieces as at any
//      other time (HandOverHeldPiece); a modal message box, whose loop is not
//      the runtime's, has all of it first (HandOverHeldOutput).
//   5. done: the unit holds nothing more (after the loop's last piece, once
//      the paint that piece made due has been a step of its own), or goes
//      away, and takes itself off the list (ForgetHeldOutput).
// Whatever could see the difference (a read of the unit's text, a message to
// its window) makes the unit hand everything over itself first, at any step.
//
// Who calls which entry, and when:
//   NoteHeldOutput           EditText::HoldFromNow (edit_text_handover.cpp)    a text starts to wait
//   RefreshHeldOutput        EditText::Append (edit_text.cpp)                  each append
//                            ProcessEventsPaced (message_loop.cpp)             each ProcessEvents of a handler
//   HandOverShortHeldOutput  CallHandler (event_dispatch.cpp)                  the outermost handler has returned
//   HandOverHeldPiece        RuntimeApp::RunMessageLoop (message_loop.cpp)     the queue is empty
//                            ProcessPendingEventsAndOutput (message_loop.cpp)  tests and benchmarks pump
//                            (both through the window layer, window_layer.h)
//   HandOverHeldOutput       ShowMessage (message_commands.cpp)                before a modal message box
// The three HandOver entries are the runtime's (runtime/events/held_handover.h);
// the others are here, for the units.
//   ForgetHeldOutput         EditText (edit_text*.cpp): the handover finished, the text dropped, the box gone
#include <cstddef>
#include <cstdint>

namespace quillet {

// The window's work per piece during a run: a unit makes its pieces bigger
// where its window's own cost per call would dominate.
constexpr double RefreshPieceMs = 40;
// The window's work per piece once a run has ended: about what a click waits
// for while the rest of a big result comes in.
constexpr double HandOverPieceMs = 80;

// What one call of HeldOutput::HandOverPiece asks for.
enum class PieceMode {
    DuringRun,     // a piece of RefreshPieceMs, painted at once
    AfterRun,      // a piece of HandOverPieceMs, its painting left for later; or
                   // instead of a piece, a paint that is due
    AllOrNothing,  // the whole rest if it goes in one piece of HandOverPieceMs,
                   // otherwise nothing
};

constexpr double PieceMs(PieceMode mode) { return mode == PieceMode::DuringRun ? RefreshPieceMs : HandOverPieceMs; }

// What a unit's text is while output is held for it, for a rescue of the text
// as the process ends (text_rescue.h): the first windowUnits UTF-16 units of
// its window's own text (AllUnits: the whole of it), then heldSize bytes of
// runtime text the window does not have yet. Borrowed from the unit.
struct HeldTextView {
    const void* window = nullptr;  // the window the output is for; null: no window's text
    size_t windowUnits = AllUnits;
    const char* held = nullptr;
    size_t heldSize = 0;
    static constexpr size_t AllUnits = static_cast<size_t>(-1);
};

class HeldOutput {
public:
    // One step of the handover, of about PieceMs(mode) milliseconds of the
    // window's work (more when a smaller piece would cost mostly overhead).
    // True when nothing is held any more.
    virtual bool HandOverPiece(PieceMode mode) = 0;
    // Bytes of output the window does not have yet.
    virtual size_t HeldBytes() const = 0;
    // The text as it stands, for a rescue; by default no window's text.
    virtual HeldTextView ViewForRescue() const { return {}; }

protected:
    ~HeldOutput() = default;
};

// A unit lists itself when it starts holding output and takes itself off when
// it holds nothing more or goes away.
void NoteHeldOutput(HeldOutput* output);
void ForgetHeldOutput(HeldOutput* output);
bool IsHoldingOutput(const HeldOutput* output);
// The view of the output held for a window (a rescue reads it as the process
// ends); false when none is held for it.
bool HeldTextOf(const void* window, HeldTextView* view);
// How many units hold output now, and how many bytes in all.
int32_t HeldOutputCount();
size_t HeldByteCount();

// The registry's side of a handover (runtime/events/held_handover.h): the
// output held longest (null when none), each unit offered a piece in turn, and
// the mark of a handover under way, during which refreshes wait.
HeldOutput* OldestHeldOutput();
void OfferPieceToEach(PieceMode mode);
bool HandOverUnderWay();
void SetHandOverUnderWay(bool underWay);

// Each unit a piece (DuringRun) once the refresh period has passed; the period
// grows with the cost of the last refresh, so refreshes never dominate a run.
void RefreshHeldOutput();

}  // namespace quillet
