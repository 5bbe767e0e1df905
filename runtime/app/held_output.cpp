#include "runtime/app/held_output.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "runtime/app/cycle_clock.h"
#include "runtime/app/message_loop.h"
#include "runtime/app/run_progress.h"

namespace quillet {
namespace {

// A run shorter than this hands its output over only when it ends.
constexpr DWORD FirstRefreshDelayMs = 700;
// Refreshes come at least this far apart, and ten times their cost apart.
constexpr DWORD RefreshPeriodMs = 700;
constexpr double RefreshCostFactor = 10;

struct HeldOutputs {
    std::vector<HeldOutput*> units;  // those holding output, in the order they began
    DWORD nextRefresh = 0;           // GetTickCount when the next refresh may come
    bool handingOver = false;        // HandOverHeldOutput is running
};

HeldOutputs& Held() {
    static HeldOutputs held;
    return held;
}

// Wraps around with the tick count.
bool Reached(DWORD now, DWORD when) { return static_cast<LONG>(now - when) >= 0; }

// Asks every unit holding output for one piece; over a copy of the list, since
// a unit that is done takes itself off it.
void OfferPieceToEach(PieceMode mode) {
    const std::vector<HeldOutput*> units = Held().units;
    for (HeldOutput* unit : units)
        if (IsHoldingOutput(unit)) unit->HandOverPiece(mode);
}

}  // namespace

void NoteHeldOutput(HeldOutput* output) {
    HeldOutputs& held = Held();
    if (IsHoldingOutput(output)) return;
    if (held.units.empty()) held.nextRefresh = GetTickCount() + FirstRefreshDelayMs;
    held.units.push_back(output);
}

void ForgetHeldOutput(HeldOutput* output) {
    auto& units = Held().units;
    units.erase(std::remove(units.begin(), units.end(), output), units.end());
}

bool IsHoldingOutput(const HeldOutput* output) {
    const auto& units = Held().units;
    return std::find(units.begin(), units.end(), output) != units.end();
}

int32_t HeldOutputCount() { return static_cast<int32_t>(Held().units.size()); }

size_t HeldByteCount() {
    size_t bytes = 0;
    for (const HeldOutput* unit : Held().units) bytes += unit->HeldBytes();
    return bytes;
}

void HandOverShortHeldOutput() {
    if (!Held().handingOver) OfferPieceToEach(PieceMode::AllOrNothing);
}

bool HandOverHeldPiece() {
    HeldOutputs& held = Held();
    if (held.units.empty()) UpdateRunProgress();  // a run whose box went away ends here
    if (held.units.empty() || held.handingOver) return false;
    held.handingOver = true;
    held.units.front()->HandOverPiece(PieceMode::AfterRun);
    held.handingOver = false;
    UpdateRunProgress();
    return true;
}

void HandOverHeldOutput() {
    HeldOutputs& held = Held();
    // A handler run between two pieces leaves the rest to the loop below.
    if (held.handingOver) return;
    held.handingOver = true;
    while (!held.units.empty()) {
        // Each unit takes itself off the list once it holds nothing more; one
        // that goes away meanwhile has taken itself off too.
        const bool unitDone = held.units.front()->HandOverPiece(PieceMode::AfterRun);
        UpdateRunProgress();
        if (unitDone) continue;
        ProcessPendingEvents();
    }
    held.handingOver = false;
}

void RefreshHeldOutput() {
    HeldOutputs& held = Held();
    if (held.units.empty() || held.handingOver || !Reached(GetTickCount(), held.nextRefresh)) return;
    const double started = Milliseconds();
    OfferPieceToEach(PieceMode::DuringRun);
    const double cost = Milliseconds() - started;
    const auto pause = static_cast<DWORD>(std::max<double>(RefreshPeriodMs, RefreshCostFactor * cost));
    held.nextRefresh = GetTickCount() + pause;
}

}  // namespace quillet
