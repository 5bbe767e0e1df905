#include "runtime/events/held_handover.h"

#include "runtime/app/message_loop.h"
#include "runtime/events/run_progress.h"

namespace quillet {

void HandOverShortHeldOutput() {
    if (!HandOverUnderWay()) OfferPieceToEach(PieceMode::AllOrNothing);
}

bool HandOverHeldPiece() {
    HeldOutput* oldest = OldestHeldOutput();
    if (oldest == nullptr) UpdateRunProgress();  // a run whose box went away ends here
    if (oldest == nullptr || HandOverUnderWay()) return false;
    SetHandOverUnderWay(true);
    oldest->HandOverPiece(PieceMode::AfterRun);
    SetHandOverUnderWay(false);
    UpdateRunProgress();
    return true;
}

void HandOverHeldOutput() {
    // A handler run between two pieces leaves the rest to the loop below.
    if (HandOverUnderWay()) return;
    SetHandOverUnderWay(true);
    while (HeldOutput* oldest = OldestHeldOutput()) {
        // Each unit takes itself off the list once it holds nothing more; one
        // that goes away meanwhile has taken itself off too.
        const bool unitDone = oldest->HandOverPiece(PieceMode::AfterRun);
        UpdateRunProgress();
        if (unitDone) continue;
        ProcessPendingEvents();
    }
    SetHandOverUnderWay(false);
}

}  // namespace quillet
