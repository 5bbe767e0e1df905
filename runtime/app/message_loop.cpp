#include "runtime/app/message_loop.h"

#include <algorithm>
#include <utility>

#include "runtime/app/window_layer.h"
#include "runtime/units/held_output.h"
#include "runtime/values/cycle_clock.h"

namespace quillet {
namespace {

bool PeekAny(MSG* peeked) { return PeekMessageW(peeked, nullptr, 0, 0, PM_NOREMOVE) != FALSE; }

// Calls that come this soon after the one before, this many times in a row,
// make a tight loop; in it the queue is looked at once per look period.
constexpr double TightCallMs = 0.2;
constexpr int32_t TightStreak = 50;
constexpr double LookPeriodMs = 5;

struct EventPace {
    uint64_t lastReturn = 0;  // cycle count when the previous paced call returned
    uint64_t lastLook = 0;    // when the queue was last looked at
    int32_t streak = 0;       // calls in a row that came within TightCallMs
};

EventPace pace;

}  // namespace

void RuntimeApp::RunIdleCallbacks() {
    // From the last entry to the first. A routine may add or remove entries, so
    // the walk goes over a copy and skips what is no longer listed.
    const std::vector<IdleCallback> walk = idleCallbacks;
    for (auto entry = walk.rbegin(); entry != walk.rend(); ++entry) {
        const auto listed = std::find_if(idleCallbacks.begin(), idleCallbacks.end(),
                                         [&](const IdleCallback& e) { return e.window == entry->window; });
        if (listed == idleCallbacks.end()) continue;
        if (!IsWindow(listed->window)) {
            idleCallbacks.erase(listed);
            continue;
        }
        const IdleCallback call = *listed;
        call.routine(call.argument);
    }
}

void RuntimeApp::RunMessageLoop(LoopMode mode) {
    const bool modal = mode == LoopMode::Modal;
    bool idle = true;
    LONG idleCount = 0;
    MSG peeked{};
    for (;;) {
        bool havePeeked = false;
        // Output a unit still holds (a run's result, a text written outside any
        // handler) reaches its window a piece at a time while nothing else waits.
        while (!(havePeeked = PeekAny(&peeked))) {
            if (HandOverHeldPieceToWindows()) continue;
            if (!idle) break;
            RunIdleCallbacks();
            const BOOL more = OnIdle(idleCount++);
            if (modal && modalWindowId == 0) return;
            idle = more != FALSE;
        }
        do {
            if (modal && havePeeked && peeked.message == WM_QUIT) return;  // left for the main loop
            if (!PumpMessage()) {
                // Taken while waiting: a modal loop puts it back, the main loop must still end.
                if (modal) PostQuitMessage(static_cast<int>(m_msgCur.wParam));
                return;
            }
            if (modal && modalWindowId == 0) return;
            if (IsIdleMessage(&m_msgCur)) {
                idle = true;
                idleCount = 0;
            }
        } while ((havePeeked = PeekAny(&peeked)));
    }
}

BOOL RuntimeApp::OnIdle(LONG count) {
    if (count == 0) {
        frameworkIdlePending_ = true;
        idleStart_ = GetTickCount();
        idleDoneWindows_.clear();
    }
    if (frameworkIdlePending_) {
        frameworkIdlePending_ = CWinApp::OnIdle(count) != FALSE;
        return TRUE;
    }
    if (count <= 1) return TRUE;

    const WindowLayer* layer = InstalledWindowLayer();
    bool more = false;
    // The count is read again each time: a handler may load or close windows.
    for (int32_t i = 0; layer != nullptr && i < layer->WindowCount(); ++i) {
        const HWND window = layer->LiveWindowAt(i);
        if (window == nullptr ||
            std::find(idleDoneWindows_.begin(), idleDoneWindows_.end(), window) != idleDoneWindows_.end())
            continue;
        if (layer->RaiseIdleEvent(layer->WindowIdAt(i), GetTickCount() - idleStart_))
            more = true;
        else
            idleDoneWindows_.push_back(window);
    }
    return more ? TRUE : FALSE;
}

void RunModalLoop(uint32_t windowId) {
    if (windowId == 0) return;
    RuntimeApp& app = App();
    const uint32_t outer = std::exchange(app.modalWindowId, windowId);
    app.RunMessageLoop(LoopMode::Modal);
    app.modalWindowId = outer;
}

void ProcessPendingEvents() {
    RuntimeApp& app = App();
    MSG peeked;
    while (PeekAny(&peeked) && peeked.message != WM_QUIT) {
        if (!app.PumpMessage()) {
            PostQuitMessage(static_cast<int>(app.m_msgCur.wParam));  // it stays queued
            return;
        }
    }
}

void ProcessPendingEventsAndOutput() {
    do ProcessPendingEvents();
    while (HandOverHeldPieceToWindows());
}

void ProcessEventsPaced() {
    RefreshHeldOutput();
    UpdateRunProgressOnWindows();
    static const auto tightCall = static_cast<uint64_t>(TightCallMs * CyclesPerMillisecond());
    static const auto lookPeriod = static_cast<uint64_t>(LookPeriodMs * CyclesPerMillisecond());
    const uint64_t now = CycleCount();
    pace.streak = now - pace.lastReturn < tightCall ? pace.streak + 1 : 0;
    if (pace.streak < TightStreak || now - pace.lastLook >= lookPeriod) {
        pace.lastLook = now;
        ProcessPendingEvents();
    }
    // Time spent in handlers run from here is not the caller's pause.
    pace.lastReturn = CycleCount();
}

void WindowDestroyed(uint32_t windowId) {
    RuntimeApp& app = App();
    if (app.modalWindowId == windowId) app.modalWindowId = 0;
    if (QuitOnLastClose == 1 && !AnyProgramWindowLive(windowId)) PostQuitMessage(0);
}

bool AddIdleCallback(const IdleCallback& callback) {
    auto& list = App().idleCallbacks;
    if (callback.routine == nullptr || !IsWindow(callback.window)) return false;
    for (const IdleCallback& entry : list)
        if (entry.window == callback.window) return false;
    list.push_back(callback);
    return true;
}

void RemoveIdleCallback(HWND window) {
    auto& list = App().idleCallbacks;
    list.erase(std::remove_if(list.begin(), list.end(), [window](const IdleCallback& e) { return e.window == window; }),
               list.end());
}

}  // namespace quillet
