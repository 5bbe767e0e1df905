#include "runtime/commands/box_files.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/units/edit/edit_text.h"
#include "runtime/units/held_output.h"
#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

// A box and the file it holds, with the last comparison of the two.
struct BoxBinding {
    uint32_t windowId;
    uint32_t unitId;
    int32_t file;             // 0: none
    bool compared;            // the two fields below hold an answer
    uint32_t comparedChange;  // the box's change count when it was given
    bool differs;             // the answer
};

std::vector<SessionFile>& Files() {
    static std::vector<SessionFile> files;
    return files;
}

std::vector<BoxBinding>& Bindings() {
    static std::vector<BoxBinding> bindings;
    return bindings;
}

std::vector<std::wstring>& BackedUp() {
    static std::vector<std::wstring> paths;
    return paths;
}

BoxBinding* BindingOf(uint32_t windowId, uint32_t unitId) {
    auto& bindings = Bindings();
    const auto found = std::find_if(bindings.begin(), bindings.end(), [&](const BoxBinding& b) {
        return b.windowId == windowId && b.unitId == unitId;
    });
    return found != bindings.end() ? &*found : nullptr;
}

// FNV-1a, four bytes a step: the box's text is hashed at every comparison,
// up to tens of megabytes.
uint64_t HashOf(const char* bytes, size_t size) {
    constexpr uint64_t Prime = 1099511628211ull;
    uint64_t hash = 14695981039346656037ull;
    size_t at = 0;
    for (; at + 4 <= size; at += 4) {
        uint32_t word;
        std::memcpy(&word, bytes + at, 4);
        hash = (hash ^ word) * Prime;
    }
    for (; at < size; ++at) hash = (hash ^ static_cast<unsigned char>(bytes[at])) * Prime;
    return hash;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

}  // namespace

TextFingerprint FingerprintOf(const std::string& text) {
    return {text.size(), WideLength(text.data(), text.size()), HashOf(text.data(), text.size())};
}

int32_t AddSessionFile(SessionFile file) {
    Files().push_back(std::move(file));
    return static_cast<int32_t>(Files().size());
}

SessionFile* SessionFileAt(int32_t number) {
    auto& files = Files();
    return number >= 1 && static_cast<size_t>(number) <= files.size() ? &files[static_cast<size_t>(number) - 1] : nullptr;
}

int32_t FileOfBox(uint32_t windowId, uint32_t unitId) {
    const BoxBinding* binding = BindingOf(windowId, unitId);
    return binding != nullptr && SessionFileAt(binding->file) != nullptr ? binding->file : 0;
}

void SetFileOfBox(uint32_t windowId, uint32_t unitId, int32_t number) {
    if (SessionFileAt(number) == nullptr) number = 0;
    if (BoxBinding* binding = BindingOf(windowId, unitId)) {
        *binding = {windowId, unitId, number, false, 0, false};
        return;
    }
    if (number != 0) Bindings().push_back({windowId, unitId, number, false, 0, false});
}

void ForgetComparison(uint32_t windowId, uint32_t unitId) {
    if (BoxBinding* binding = BindingOf(windowId, unitId)) binding->compared = false;
}

bool BoxDiffersFromFile(HWND box, uint32_t windowId, uint32_t unitId) {
    BoxBinding* binding = BindingOf(windowId, unitId);
    const SessionFile* file = binding != nullptr ? SessionFileAt(binding->file) : nullptr;
    if (file == nullptr) return false;
    const uint32_t change = EditBoxChangeCount(box);
    if (binding->compared && binding->comparedChange == change) return binding->differs;
    // Typing changes the count of characters: the control knows it at once.
    // While output is held the control's count is not the box's.
    bool differs = HeldByteCount() == 0 &&
                   static_cast<size_t>(GetWindowTextLengthW(box)) != file->text.wideUnits;
    if (!differs) {
        const std::string* text = EditBoxTextView(box);
        differs = text == nullptr || text->size() != file->text.bytes ||
                  HashOf(text->data(), text->size()) != file->text.hash;
    }
    *binding = {windowId, unitId, binding->file, true, EditBoxChangeCount(box), differs};
    return differs;
}

bool BackupMadeFor(const std::wstring& path) {
    const auto& paths = BackedUp();
    return std::any_of(paths.begin(), paths.end(), [&](const std::wstring& p) { return SamePath(p, path); });
}

void NoteBackupMade(const std::wstring& path) {
    if (!BackupMadeFor(path)) BackedUp().push_back(path);
}

}  // namespace quillet
