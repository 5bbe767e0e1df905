#include "runtime/app/window_layer.h"

namespace quillet {
namespace {
const WindowLayer* installed = nullptr;
}  // namespace

const WindowLayer* InstalledWindowLayer() { return installed; }

void InstallWindowLayer(const WindowLayer* layer) { installed = layer; }

int32_t ProgramWindowCount() { return installed != nullptr ? installed->WindowCount() : 0; }

bool AnyProgramWindowLive(uint32_t exceptWindowId) {
    for (int32_t i = 0; i < ProgramWindowCount(); ++i) {
        if (exceptWindowId != 0 && installed->WindowIdAt(i) == exceptWindowId) continue;
        if (installed->LiveWindowAt(i) != nullptr) return true;
    }
    return false;
}

bool HandOverHeldPieceToWindows() {
    return installed != nullptr && installed->HandOverHeldPiece != nullptr && installed->HandOverHeldPiece();
}

void UpdateRunProgressOnWindows() {
    if (installed != nullptr && installed->UpdateRunProgress != nullptr) installed->UpdateRunProgress();
}

}  // namespace quillet
