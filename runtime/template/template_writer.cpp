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
