// Fuzz target: window template data, read as start-up reads the program's.
// Any bytes are refused whole (the table left empty) or read. Record 0 is the
// window's own; every record lies within its collection, shares no byte with
// another, and reads the same from a block of its own that nothing may be
// read past, every field and text included, a cursor file's image too;
// handlers are none or the program's entries, run-time slots empty. What is
// read, described and written again reads again to the same records.
// Replacing a tag, a caption or mouse-pointer data keeps the collection well
// formed and every other record as it was, and undoing it gives the same
// bytes back.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "runtime/template/handler_entries.h"
#include "runtime/template/record_cursor.h"
#include "runtime/template/template_description.h"
#include "runtime/template/window_table.h"
#include "tests/support/holds.h"


namespace {

using namespace quillet;

// The program's handler entries: offsets 0, 8, ... 8·(HandlerCount - 1).
constexpr uint32_t HandlerCount = 16;

uintptr_t HandlerBase() {
    static const uintptr_t base = [] {
        auto* entries = new uint8_t[HandlerCount * HandlerEntrySize];  // lives as long as the process
        for (uint32_t k = 0; k < HandlerCount; ++k)
            WriteHandlerEntry(entries + HandlerEntrySize * k, 0x00401000 + 0x40 * k);
        return reinterpret_cast<uintptr_t>(entries);
    }();
    return base;
}

bool IsRelocatedHandler(uint32_t address) {
    const uintptr_t offset = address - HandlerBase();
    return address == 0 || (offset % HandlerEntrySize == 0 && offset / HandlerEntrySize < HandlerCount);
}

void Append(std::string& out, uint32_t word) { out.append(reinterpret_cast<const char*>(&word), 4); }
void Append(std::string& out, const char* text) { out.append(text).push_back('\0'); }
void Append(std::string& out, const uint8_t* bytes, uint32_t length) {
    Append(out, length);
    out.append(reinterpret_cast<const char*>(bytes), length);
}

// Every field a record's reader reads, in one string.
std::string Fields(const UnitRecord& record) {
    std::string out;
    Append(out, record.TypeRef());
    Append(out, record.EventSourceId());
    Append(out, record.Name());
    Append(out, record.Flags());
    if (record.IsMenuItem()) {
        Append(out, record.Shortcut());
        Append(out, record.NestingLevel());
        Append(out, record.Caption());
        Append(out, record.MenuHandler());
        Append(out, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(record.MenuSlot())));
        return out;
    }
    for (int32_t value : {record.Left(), record.Top(), record.Width(), record.Height()})
        Append(out, static_cast<uint32_t>(value));
    Append(out, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(record.Object())));
    Append(out, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(record.Cursor())));
    Append(out, record.ParentId());
    for (uint32_t i = 0; i < record.ChildCount(); ++i) Append(out, record.ChildWord(i));
    Append(out, record.MouseData(), record.MouseDataLength());
    Append(out, record.Tag());
    Append(out, record.FocusOrder());
    for (uint32_t i = 0; i < record.BindingCount(); ++i) {
        Append(out, static_cast<uint32_t>(record.BindingEvent(i)));
        Append(out, record.BindingHandler(i));
    }
    Append(out, record.TypeData(), record.TypeDataLength());
    return out;
}

void CheckCursorFile(const UnitRecord& record) {
    // The mouse-pointer data in a block of its own: finding the image reads nothing past it.
    const std::vector<uint8_t> data(record.MouseData(), record.MouseData() + record.MouseDataLength());
    CursorFileImage image;
    if (!FindCursorFileImage(data.data(), static_cast<uint32_t>(data.size()), &image)) return;
    const ptrdiff_t at = image.bytes - data.data();
    ASSERT_HOLDS(image.size > 0 && at >= 4 && image.size <= data.size() &&
                     at <= static_cast<ptrdiff_t>(data.size() - image.size),
                 "a cursor file's image lies within the mouse-pointer data");
    ASSERT_HOLDS(std::memcmp(image.bytes, record.MouseData() + at, image.size) == 0, "the image is the record's bytes");
}

void CheckRecord(UnitCollection& records, int32_t index) {
    const std::vector<uint8_t>& buffer = records.Buffer();
    const UnitRecord record = records.RecordAt(index);
    const uint32_t length = record.Layout().length;
    const uint32_t recordsStart = 8 * static_cast<uint32_t>(records.Count());
    ASSERT_HOLDS(record.Bytes() >= buffer.data() + recordsStart + 4 && length <= buffer.size() &&
                     record.Bytes() - buffer.data() <= static_cast<ptrdiff_t>(buffer.size() - length),
                 "a record lies within its collection");

    // Its layout found again in a block of its own, and every field read there.
    std::vector<uint8_t> own(record.Bytes(), record.Bytes() + length);
    RecordLayout layout;
    const bool parsed = ParseRecordLayout(own.data(), length, record.IsMenuItem(), &layout);
    ASSERT_HOLDS(parsed && std::memcmp(&layout, &record.Layout(), sizeof layout) == 0, "the same layout");
    const std::string fields = Fields(record);
    ASSERT_HOLDS(Fields(UnitRecord(own.data(), layout)) == fields, "every field lies within the record");

    ASSERT_HOLDS(IsMenuItemId(records.IdAt(index)) == record.IsMenuItem(), "a menu item by its id");
    ASSERT_HOLDS(records.IndexOf(records.IdAt(index)) <= index &&
                 records.IdAt(records.IndexOf(records.IdAt(index))) == records.IdAt(index), "IndexOf finds the id");
    if (record.IsMenuItem()) {
        ASSERT_HOLDS(record.MenuSlot() == nullptr && IsRelocatedHandler(record.MenuHandler()),
                     "a menu item has a handler and no slot");
        return;
    }
    ASSERT_HOLDS(record.Object() == nullptr && record.Cursor() == nullptr, "the run-time slots start empty");
    for (uint32_t i = 0; i < record.BindingCount(); ++i) 
        ASSERT_HOLDS(IsRelocatedHandler(record.BindingHandler(i)), "every binding is a handler entry");
    CheckCursorFile(record);
}

std::string Bytes(const std::vector<RecordDescription>& records) {
    const std::vector<uint8_t> bytes = WriteUnitCollection(records);
    return std::string(bytes.begin(), bytes.end());
}

// Replaces a text or the mouse-pointer data of one record, checks the result
// against the description with that one change, and undoes it.
void CheckEdit(UnitCollection& records, int32_t index) {
    const std::vector<uint8_t> before = records.Buffer();
    std::vector<RecordDescription> expected = DescribeRecords(records, HandlerBase());
    RecordDescription& changed = expected[static_cast<size_t>(index)];
    // Taken before the edits move the record.
    const UnitRecord record = records.RecordAt(index);
    const bool menuItem = record.IsMenuItem();
    const std::string text = menuItem ? record.Caption() : record.Tag();
    const std::string grown = text + "+changed";
    const std::string mouseData =
        menuItem ? "" : std::string(reinterpret_cast<const char*>(record.MouseData()), record.MouseDataLength());
    if (menuItem) {
        changed.caption = grown;
        records.ReplaceCaption(index, grown.c_str());
    } else {
        changed.tag = grown;
        changed.mouseData = "\x02";  // shorter than the least data the writer writes
        records.ReplaceTag(index, grown.c_str());
        records.ReplaceMouseData(index, reinterpret_cast<const uint8_t*>("\x02"), 1);
    }
    UnitCollection reread;
    const std::vector<uint8_t>& edited = records.Buffer();
    const bool assigned = reread.Assign(edited.data(), static_cast<uint32_t>(edited.size()),
                                        static_cast<uint32_t>(records.Count()));
    ASSERT_HOLDS(assigned, "an edited collection is still well formed");
    ASSERT_HOLDS(Bytes(DescribeRecords(records, HandlerBase())) == Bytes(expected), "only the edited field changed");
    ASSERT_HOLDS(Bytes(DescribeRecords(reread, HandlerBase())) == Bytes(expected), "and reads so again");

    if (menuItem) {
        records.ReplaceCaption(index, text.c_str());
    } else {
        records.ReplaceTag(index, text.c_str());
        records.ReplaceMouseData(index, reinterpret_cast<const uint8_t*>(mouseData.data()),
                                 static_cast<uint32_t>(mouseData.size()));
    }
    ASSERT_HOLDS(records.Buffer() == before, "undoing the edits gives the same bytes");
}

void CheckWindow(WindowTable& table, int32_t index) {
    WindowTemplate& window = *table.At(index);
    ASSERT_HOLDS(table.Find(window.windowId) != nullptr && table.Find(window.windowId)->windowId == window.windowId,
                 "the table finds the window by its id");
    UnitCollection& records = window.working;
    ASSERT_HOLDS(records.Count() > 0 && IsWindowRecordId(records.IdAt(0)), "record 0 is the window's own");
    ASSERT_HOLDS(!records.HasIndex(-1) && !records.HasIndex(records.Count()), "indexes end at the count");
    std::vector<std::pair<const uint8_t*, const uint8_t*>> spans;  // each record with its length word
    for (int32_t i = 0; i < records.Count(); ++i) {
        CheckRecord(records, i);
        const UnitRecord record = records.RecordAt(i);
        spans.emplace_back(record.Bytes() - 4, record.Bytes() + record.Layout().length);
    }
    std::sort(spans.begin(), spans.end());
    for (size_t i = 1; i < spans.size(); ++i)
        ASSERT_HOLDS(spans[i - 1].second <= spans[i].first, "no two records share a byte");

    // The window's own record, the last and the first menu item (each edit copies the collection).
    const int32_t last = records.Count() - 1;
    int32_t firstMenuItem = 0;
    while (firstMenuItem < last && !records.RecordAt(firstMenuItem).IsMenuItem()) ++firstMenuItem;
    CheckEdit(records, 0);
    if (last != 0) CheckEdit(records, last);
    if (firstMenuItem != 0 && firstMenuItem != last) CheckEdit(records, firstMenuItem);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > UINT32_MAX) return 0;
    WindowTable table;
    const bool read = table.Deserialise(data, static_cast<uint32_t>(size), HandlerBase());
    if (!read) {
        ASSERT_HOLDS(table.Count() == 0, "refused data leaves no window");
        return 0;
    }
    for (int32_t i = 0; i < table.Count(); ++i) CheckWindow(table, i);

    const std::vector<uint8_t> written = WriteTemplate(DescribeWindows(table, HandlerBase()));
    WindowTable again;
    const bool reread = again.Deserialise(written.data(), static_cast<uint32_t>(written.size()), HandlerBase());
    ASSERT_HOLDS(reread && again.Count() == table.Count(), "what is read and written again reads");
    ASSERT_HOLDS(WriteTemplate(DescribeWindows(again, HandlerBase())) == written, "to the same records");
    return 0;
}
