#include "runtime/template/template_description.h"

namespace quillet {
namespace {

int32_t HandlerOffset(uint32_t address, uintptr_t handlerBase) {
    return address == 0 ? -1 : static_cast<int32_t>(address - handlerBase);
}

RecordDescription Describe(UnitRecord record, UnitId id, uintptr_t handlerBase) {
    RecordDescription out;
    out.id = id;
    out.type = record.TypeRef();
    out.eventSource = record.EventSourceId();
    out.name = record.Name();
    out.isMenuItem = record.IsMenuItem();
    out.flags = record.Flags();
    if (out.isMenuItem) {
        out.shortcut = record.Shortcut();
        out.nestingLevel = record.NestingLevel();
        out.caption = record.Caption();
        out.menuHandler = HandlerOffset(record.MenuHandler(), handlerBase);
        return out;
    }
    out.left = record.Left();
    out.top = record.Top();
    out.width = record.Width();
    out.height = record.Height();
    out.parent = record.ParentId();
    for (uint32_t i = 0; i < record.ChildCount(); ++i) out.childWords.push_back(record.ChildWord(i));
    out.mouseData.assign(reinterpret_cast<const char*>(record.MouseData()), record.MouseDataLength());
    out.tag = record.Tag();
    out.focusOrder = record.FocusOrder();
    for (uint32_t i = 0; i < record.BindingCount(); ++i)
        out.bindings.push_back({record.BindingEvent(i), HandlerOffset(record.BindingHandler(i), handlerBase)});
    out.typeData.assign(reinterpret_cast<const char*>(record.TypeData()), record.TypeDataLength());
    return out;
}

}  // namespace

std::vector<RecordDescription> DescribeRecords(UnitCollection& collection, uintptr_t handlerBase) {
    std::vector<RecordDescription> records;
    for (int32_t i = 0; i < collection.Count(); ++i)
        records.push_back(Describe(collection.RecordAt(i), collection.IdAt(i), handlerBase));
    return records;
}

std::vector<WindowDescription> DescribeWindows(WindowTable& table, uintptr_t handlerBase) {
    std::vector<WindowDescription> windows;
    for (int32_t i = 0; i < table.Count(); ++i) {
        WindowTemplate& window = *table.At(i);
        windows.push_back({window.windowId, window.word1, window.word2, window.text1, window.text2,
                           DescribeRecords(window.working, handlerBase)});
    }
    return windows;
}

}  // namespace quillet
