#include "runtime/template/window_table.h"

#include "runtime/template/handler_entries.h"
#include "runtime/template/template_source.h"

namespace quillet {
namespace {

constexpr uint32_t NoHandler = 0xFFFFFFFF;

// An offset names one of the program's handler entries, or none (-1).
bool Relocate(uint32_t offset, uintptr_t handlerBase, uint32_t* address) {
    if (offset == NoHandler) {
        *address = 0;
        return true;
    }
    *address = static_cast<uint32_t>(handlerBase + offset);
    return offset % HandlerEntrySize == 0 && IsHandlerEntry(*address);
}

bool ReadWindowBody(TemplateSource& source, WindowTemplate& window) {
    uint32_t count = 0, size = 0;
    if (!source.Word(&window.word1) || !source.Word(&window.word2)) return false;
    if (!source.CountedText(&window.text1) || !source.CountedText(&window.text2)) return false;
    if (!source.Word(&count) || !source.Word(&size) || size > source.Remaining()) return false;
    std::vector<uint8_t> buffer(size);
    if (!source.Bytes(buffer.data(), size)) return false;
    if (!window.working.Assign(buffer.data(), size, count)) return false;
    // The object and cursor slots are the runtime's: whatever the data holds there means nothing.
    for (int32_t i = 0; i < window.working.Count(); ++i) {
        UnitRecord record = window.working.RecordAt(i);
        if (record.IsMenuItem()) {
            record.SetMenuSlot(nullptr);
        } else {
            record.SetObject(nullptr);
            record.SetCursor(nullptr);
        }
    }
    return true;
}

}  // namespace

bool RelocateHandlers(UnitCollection& collection, uintptr_t handlerBase) {
    uint32_t address = 0;
    for (int32_t i = 0; i < collection.Count(); ++i) {
        UnitRecord record = collection.RecordAt(i);
        if (record.IsMenuItem()) {
            if (!Relocate(record.MenuHandler(), handlerBase, &address)) return false;
            record.SetMenuHandler(address);
            continue;
        }
        for (uint32_t b = 0; b < record.BindingCount(); ++b) {
            if (!Relocate(record.BindingHandler(b), handlerBase, &address)) return false;
            record.SetBindingHandler(b, address);
        }
    }
    return true;
}

bool WindowTable::Deserialise(const uint8_t* data, uint32_t size, uintptr_t handlerBase) {
    windows_.clear();
    TemplateSource source(data, size);
    uint32_t headerLength = 0;
    if (!source.Word(&headerLength) || headerLength % 8 != 0 || headerLength > source.Remaining()) return false;
    const uint32_t count = headerLength / 8;

    std::vector<std::unique_ptr<WindowTemplate>> windows(count);
    for (auto& window : windows) {
        window = std::make_unique<WindowTemplate>();
        if (!source.Word(&window->windowId)) return false;
    }
    uint32_t placeholder;
    for (uint32_t i = 0; i < count; ++i)
        if (!source.Word(&placeholder)) return false;
    for (auto& window : windows)
        if (!ReadWindowBody(source, *window)) return false;

    for (auto& window : windows)
        if (!RelocateHandlers(window->working, handlerBase)) return false;
    windows_.swap(windows);
    return true;
}

WindowTable& ProgramWindows() {
    static WindowTable windows;
    return windows;
}

WindowTemplate* WindowTable::Find(UnitId windowId) {
    for (auto& window : windows_)
        if (window->windowId == windowId) return window.get();
    return nullptr;
}

}  // namespace quillet
