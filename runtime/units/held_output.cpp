#include "runtime/units/held_output.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "runtime/values/cycle_clock.h"

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
    bool handingOver = false;        // a handover runs (held_handover.cpp)
};

HeldOutputs& Held() {
    static HeldOutputs held;
    return held;
}

// Wraps around with the tick count.
bool Reached(DWORD now, DWORD when) { return static_cast<LONG>(now - when) >= 0; }

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

bool HeldTextOf(const void* window, HeldTextView* view) {
    for (const HeldOutput* unit : Held().units) {
        const HeldTextView seen = unit->ViewForRescue();
        if (seen.window != nullptr && seen.window == window) {
            *view = seen;
            return true;
        }
    }
    return false;
}

int32_t HeldOutputCount() { return static_cast<int32_t>(Held().units.size()); }

size_t HeldByteCount() {
    size_t bytes = 0;
    for (const HeldOutput* unit : Held().units) bytes += unit->HeldBytes();
    return bytes;
}

HeldOutput* OldestHeldOutput() {
    const auto& units = Held().units;
    return units.empty() ? nullptr : units.front();
}

void OfferPieceToEach(PieceMode mode) {
    // Over a copy of the list, since a unit that is done takes itself off it.
    const std::vector<HeldOutput*> units = Held().units;
    for (HeldOutput* unit : units)
        if (IsHoldingOutput(unit)) unit->HandOverPiece(mode);
}

bool HandOverUnderWay() { return Held().handingOver; }

void SetHandOverUnderWay(bool underWay) { Held().handingOver = underWay; }

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
