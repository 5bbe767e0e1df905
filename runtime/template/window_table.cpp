#include "runtime/template/window_table.h"

#include "runtime/template/template_source.h"

namespace quillet {
namespace {

constexpr uint32_t NoHandler = 0xFFFFFFFF;

uint32_t Relocated(uint32_t offset, uintptr_t handlerBase) {
    return offset == NoHandler ? 0 : static_cast<uint32_t>(handlerBase + offset);
}

bool ReadWindowBody(TemplateSource& source, WindowTemplate& window) {
    uint32_t count = 0, size = 0;
    if (!source.Word(&window.word1) || !source.Word(&window.word2)) return false;
    if (!source.CountedText(&window.text1) || !source.CountedText(&window.text2)) return false;
    if (!source.Word(&count) || !source.Word(&size) || size > source.Remaining()) return false;
    std::vector<uint8_t> buffer(size);
    if (!source.Bytes(buffer.data(), size)) return false;
    return window.working.Assign(buffer.data(), size, count);
}

}  // namespace

void RelocateHandlers(UnitCollection& collection, uintptr_t handlerBase) {
    for (int32_t i = 0; i < collection.Count(); ++i) {
        UnitRecord record = collection.RecordAt(i);
        if (record.IsMenuItem()) {
            record.SetMenuHandler(Relocated(record.MenuHandler(), handlerBase));
            continue;
        }
        for (uint32_t b = 0; b < record.BindingCount(); ++b)
            record.SetBindingHandler(b, Relocated(record.BindingHandler(b), handlerBase));
    }
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

    for (auto& window : windows) RelocateHandlers(window->working, handlerBase);
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
