#include "runtime/template/template_writer.h"

namespace quillet {
namespace {

class ByteWriter {
public:
    std::vector<uint8_t> bytes;

    void Word(uint32_t word) {
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(word >> shift));
    }
    void Signed(int32_t word) { Word(static_cast<uint32_t>(word)); }
    void Raw(const std::string& data) { bytes.insert(bytes.end(), data.begin(), data.end()); }
    void Raw(const std::vector<uint8_t>& data) { bytes.insert(bytes.end(), data.begin(), data.end()); }
    void Text(const std::string& text) {
        Raw(text);
        bytes.push_back(0);
    }
    void CountedText(const std::string& text) {
        Word(static_cast<uint32_t>(text.size()));
        Raw(text);
    }
    void Zeros(size_t count) { bytes.insert(bytes.end(), count, 0); }
};

std::vector<uint8_t> RecordBytes(const RecordDescription& record) {
    ByteWriter out;
    out.Word(record.type);
    out.Word(record.eventSource);
    out.Zeros(16);
    out.Text(record.name);
    out.Text("");
    if (record.isMenuItem) {
        out.Word(record.shortcut);
        out.Word(record.nestingLevel);
        out.Word(record.flags);
        out.Text(record.caption);
        out.Signed(record.menuHandler);
        out.Zeros(4 + 12);
        return out.bytes;
    }
    out.Word(0);  // object slot
    out.Signed(record.left);
    out.Signed(record.top);
    out.Signed(record.width);
    out.Signed(record.height);
    out.Word(0);  // cursor slot
    out.Word(record.parent);
    out.Word(static_cast<uint32_t>(record.childWords.size()));
    for (UnitId child : record.childWords) out.Word(child);
    out.CountedText(record.mouseData);
    out.Text(record.tag);
    out.Word(0);
    out.Word(record.flags);
    out.Word(record.focusOrder);
    out.Word(static_cast<uint32_t>(record.bindings.size()));
    for (const EventBinding& binding : record.bindings) {
        out.Signed(binding.event);
        out.Signed(binding.handler);
    }
    out.Zeros(20);
    out.Raw(record.typeData);
    return out.bytes;
}

}  // namespace

std::vector<uint8_t> WriteUnitCollection(const std::vector<RecordDescription>& records) {
    ByteWriter ids, offsets, body;
    for (const RecordDescription& record : records) {
        const std::vector<uint8_t> bytes = RecordBytes(record);
        ids.Word(record.id);
        offsets.Word(static_cast<uint32_t>(body.bytes.size()));
        body.Word(static_cast<uint32_t>(bytes.size()));
        body.Raw(bytes);
    }
    ids.Raw(offsets.bytes);
    ids.Raw(body.bytes);
    return ids.bytes;
}

std::vector<uint8_t> WriteTemplate(const std::vector<WindowDescription>& windows) {
    ByteWriter out;
    out.Word(static_cast<uint32_t>(8 * windows.size()));
    for (const WindowDescription& window : windows) out.Word(window.id);
    out.Zeros(4 * windows.size());  // placeholders for the window objects
    for (const WindowDescription& window : windows) {
        const std::vector<uint8_t> collection = WriteUnitCollection(window.records);
        out.Word(window.word1);
        out.Word(window.word2);
        out.CountedText(window.text1);
        out.CountedText(window.text2);
        out.Word(static_cast<uint32_t>(window.records.size()));
        out.Word(static_cast<uint32_t>(collection.size()));
        out.Raw(collection);
    }
    return out.bytes;
}

}  // namespace quillet

#include "runtime/template/window_table.h"

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
