// Window template data: writing, reading, relocation, record edits, and that
// malformed data is refused without reading past its end.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>

#include "runtime/template/template_description.h"
#include "runtime/template/window_table.h"
#include "tests/support/guarded_bytes.h"
#include "tests/support/test_program.h"

namespace quillet {
namespace {

HandlerResult Handler1(const uint32_t*, int32_t) { return {0, 0, 0}; }
HandlerResult Handler2(const uint32_t*, int32_t) { return {0, 0, 0}; }
HandlerResult Handler3(const uint32_t*, int32_t) { return {0, 0, 0}; }

// The handler entries of the test program; offset 0 is its first handler.
const uintptr_t HandlerBase = testprogram::HandlerBase();
const int32_t Offset1 = testprogram::HandlerOffset(&Handler1);
const int32_t Offset2 = testprogram::HandlerOffset(&Handler2);
const int32_t Offset3 = testprogram::HandlerOffset(&Handler3);
constexpr UnitId WindowId = 0x52010001;
constexpr UnitId WindowRecordId = 0x06010000;
constexpr UnitId TabId = 0x16010003;

RecordDescription Unit(UnitId id, UnitTypeRef type, const char* name, int32_t left, UnitId parent = 0) {
    RecordDescription unit;
    unit.id = id;
    unit.type = type;
    unit.name = name;
    unit.left = left;
    unit.top = 7;
    unit.width = 120;
    unit.height = 24;
    unit.parent = parent;
    unit.flags = RecordFlag::Visible | RecordFlag::TabStop;
    return unit;
}

std::vector<WindowDescription> SampleTemplate() {
    WindowDescription window;
    window.id = WindowId;
    window.word1 = 11;
    window.text2 = "second";
    RecordDescription own = Unit(WindowRecordId, 0x00010001, "", 50);
    own.width = 800;
    own.height = 600;
    own.bindings = {{0, 0}, {12, Offset3}};
    own.typeData = std::string("\x06\0\0\0window data", 15);
    window.records.push_back(own);

    RecordDescription tab = Unit(TabId, 0x00010015, "选择夹", 5);
    tab.childWords = {0x16010004, 0, 0x16010005, 0};
    tab.bindings = {{1, -1}};
    window.records.push_back(tab);
    RecordDescription edit = Unit(0x16010004, 0x00010005, "编辑框_主", 3, TabId);
    edit.tag = "tag";
    edit.bindings = {{-11, Offset1}, {0, Offset2}};
    edit.typeData = "content";
    window.records.push_back(edit);
    RecordDescription shared = Unit(0x16010005, 0x00010005, "编辑框_副", 4, TabId);
    shared.eventSource = 0x16010004;
    shared.mouseData = std::string("\x0c\0\0\0\x01\x02", 6);
    window.records.push_back(shared);

    RecordDescription item;
    item.id = 0x26010006;
    item.type = MenuItemType;
    item.isMenuItem = true;
    item.name = "菜单";
    item.caption = "打开";
    item.shortcut = 15;
    item.menuHandler = 0;
    window.records.push_back(item);

    WindowDescription second;
    second.id = 0x52010002;
    second.records.push_back(Unit(0x06010007, 0x00010001, "", 0));
    return {window, second};
}

// The bytes read into the table, with handler offsets counted from HandlerBase.
bool Read(WindowTable& table, const std::vector<uint8_t>& bytes) {
    return table.Deserialise(bytes.data(), static_cast<uint32_t>(bytes.size()), HandlerBase);
}

// The sample template written, then read into a table of its own.
class SampleTemplateTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Read(table, bytes)); }
    const std::vector<uint8_t> bytes = WriteTemplate(SampleTemplate());
    WindowTable table;
};

TEST_F(SampleTemplateTest, WriterReaderWriterRoundTripGivesTheSameBytes) {
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(WriteTemplate(DescribeWindows(table, HandlerBase)), bytes);
}

TEST_F(SampleTemplateTest, HandlerOffsetsBecomeAddressesAndMinusOneNone) {
    UnitCollection& records = table.Find(WindowId)->working;
    UnitRecord own = records.RecordAt(0);
    EXPECT_EQ(own.BindingHandler(0), HandlerBase) << "offset 0 is a real handler at the base";
    EXPECT_EQ(own.BindingHandler(1), HandlerBase + Offset3);
    EXPECT_EQ(records.RecordAt(1).BindingHandler(0), 0u) << "-1 means no handler";
    EXPECT_EQ(records.RecordAt(2).BindingEvent(0), -11);
    EXPECT_EQ(records.RecordAt(4).MenuHandler(), HandlerBase);
}

TEST_F(SampleTemplateTest, RecordsReadBackFieldByField) {
    WindowTemplate& window = *table.Find(WindowId);
    EXPECT_EQ(window.word1, 11u);
    EXPECT_EQ(window.text2, "second");
    UnitCollection& records = window.working;
    ASSERT_EQ(records.Count(), 5);
    EXPECT_EQ(records.IndexOf(WindowRecordId), 0);
    EXPECT_EQ(records.IndexOf(0x16010005), 3);
    EXPECT_EQ(records.IndexOf(0x16010099), -1);
    EXPECT_FALSE(records.HasIndex(5));
    EXPECT_FALSE(records.HasIndex(-1));

    UnitRecord tab = records.RecordAt(1);
    EXPECT_STREQ(tab.Name(), "选择夹");
    ASSERT_EQ(tab.ChildCount(), 4u);
    EXPECT_EQ(tab.ChildWord(2), 0x16010005u);
    UnitRecord shared = records.RecordAt(3);
    EXPECT_EQ(shared.EventSourceId(), 0x16010004u);
    EXPECT_EQ(shared.ParentId(), TabId);
    EXPECT_EQ(shared.MouseDataLength(), 6u);
    EXPECT_EQ(shared.MouseData()[0], 0x0C);
    EXPECT_EQ(shared.Flags(), RecordFlag::Visible | RecordFlag::TabStop);
    UnitRecord edit = records.RecordAt(2);
    EXPECT_STREQ(edit.Tag(), "tag");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(edit.TypeData()), edit.TypeDataLength()), "content");
    UnitRecord item = records.RecordAt(4);
    ASSERT_TRUE(item.IsMenuItem());
    EXPECT_STREQ(item.Caption(), "打开");
    EXPECT_EQ(item.Shortcut(), 15u);
    EXPECT_EQ(records.RecordAt(0).Width(), 800);
}

TEST_F(SampleTemplateTest, ReplacingATagMovesTheRecordsBehindIt) {
    UnitCollection& records = table.Find(WindowId)->working;
    records.RecordAt(3).SetLeft(99);

    records.ReplaceTag(2, "a much longer tag than before");
    EXPECT_STREQ(records.RecordAt(2).Tag(), "a much longer tag than before");
    EXPECT_EQ(records.RecordAt(2).BindingEvent(1), 0);
    EXPECT_EQ(records.RecordAt(2).TypeDataLength(), 7u);
    EXPECT_EQ(records.RecordAt(3).Left(), 99) << "a later record is found at its moved offset";
    EXPECT_STREQ(records.RecordAt(4).Caption(), "打开");

    records.ReplaceTag(2, nullptr);
    EXPECT_STREQ(records.RecordAt(2).Tag(), "");
    records.ReplaceMouseData(1, reinterpret_cast<const uint8_t*>("\x02\0\0\0"), 4);
    EXPECT_EQ(records.RecordAt(1).MouseDataLength(), 4u);
    EXPECT_STREQ(records.RecordAt(2).Name(), "编辑框_主");

    // The edited buffer is still a well-formed collection.
    UnitCollection copy;
    const auto& buffer = records.Buffer();
    EXPECT_TRUE(copy.Assign(buffer.data(), static_cast<uint32_t>(buffer.size()), 5));
}

TEST(TemplateDataTest, OffsetsThatNameNoHandlerEntryAreRefused) {
    for (int32_t offset : {4, Offset3 + 8 * 1000, -16, Offset1 + 1}) {
        std::vector<WindowDescription> windows = SampleTemplate();
        windows[0].records[2].bindings[0].handler = offset;
        const std::vector<uint8_t> bytes = WriteTemplate(windows);
        WindowTable table;
        EXPECT_FALSE(Read(table, bytes)) << offset;
    }
}

// Where the first window's unit collection starts in the template bytes: after
// the table header and the window's body up to its collection.
size_t FirstCollectionStart(const std::vector<WindowDescription>& windows) {
    const size_t bodyStart = 4 + 8 * windows.size();
    return bodyStart + 8 + 4 + windows[0].text1.size() + 4 + windows[0].text2.size() + 8;
}

TEST(TemplateDataTest, RuntimeSlotsInTheDataAreCleared) {
    const std::vector<WindowDescription> windows = SampleTemplate();
    std::vector<uint8_t> bytes = WriteTemplate(windows);
    WindowTable table;
    ASSERT_TRUE(Read(table, bytes));
    // Where record 1's object and cursor slots lie in the template bytes.
    UnitCollection& records = table.Find(WindowId)->working;
    const UnitRecord tab = records.RecordAt(1);
    const size_t slot = FirstCollectionStart(windows) + static_cast<size_t>(tab.Bytes() - records.Buffer().data()) +
                        tab.Layout().fixedFields;
    for (size_t at : {slot, slot + 20})
        for (size_t i = 0; i < 4; ++i) bytes[at + i] = 0xAB;

    WindowTable dirty;
    ASSERT_TRUE(Read(dirty, bytes));
    UnitRecord read = dirty.Find(WindowId)->working.RecordAt(1);
    EXPECT_EQ(read.Object(), nullptr);
    EXPECT_EQ(read.Cursor(), nullptr);
    EXPECT_EQ(read.Left(), 5) << "the slot found is the one before the geometry";
}

TEST(TemplateDataTest, EmptyTemplateHasNoWindowsAndRecordZeroIsRequired) {
    const std::vector<uint8_t> none = WriteTemplate({});
    WindowTable table;
    EXPECT_TRUE(Read(table, none));
    EXPECT_EQ(table.Count(), 0);

    WindowDescription empty;
    empty.id = WindowId;
    const std::vector<uint8_t> noRecords = WriteTemplate({empty});
    EXPECT_FALSE(Read(table, noRecords));
}

// Deserialises bytes that end at an inaccessible page, then walks every record.
bool ReadsCleanly(const std::vector<uint8_t>& bytes) {
    GuardedBytes guarded(bytes);
    WindowTable table;
    if (!table.Deserialise(guarded.Data(), guarded.Size(), HandlerBase)) return false;
    return !DescribeWindows(table, HandlerBase).empty() || table.Count() == 0;
}

// Record 0 is the window's own record; a unit or a menu item in its place is refused.
TEST(TemplateDataTest, ARecordZeroThatIsNotTheWindowsOwnIsRefused) {
    RecordDescription menuItem;
    menuItem.id = 0x26010009;
    menuItem.type = 0x00010001;  // the window's type, as a menu item
    menuItem.isMenuItem = true;
    menuItem.caption = "窗口";
    std::vector<std::vector<WindowDescription>> cases(3, SampleTemplate());
    cases[0][0].records[0].id = 0x16010009;                     // a unit's id
    cases[1][0].records[0] = menuItem;                          // a menu item
    std::swap(cases[2][0].records[0], cases[2][0].records[1]);  // the window's record second
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::vector<uint8_t> bytes = WriteTemplate(cases[i]);
        EXPECT_FALSE(ReadsCleanly(bytes)) << "case " << i;
    }
}

// Each record has bytes of its own: records at one offset, a record whose
// length runs over the next, and one that starts inside another are refused.
TEST(TemplateDataTest, RecordsThatShareBytesAreRefused) {
    std::vector<WindowDescription> windows = SampleTemplate();
    // Record 2's type data holds a whole record (its length word and bytes), for record 3 to point into.
    const std::vector<uint8_t> inner = WriteUnitCollection({windows[0].records[3]});
    windows[0].records[2].typeData.assign(inner.begin() + 8, inner.end());
    const std::vector<uint8_t> bytes = WriteTemplate(windows);
    ASSERT_TRUE(ReadsCleanly(bytes));

    WindowTable table;
    ASSERT_TRUE(Read(table, bytes));
    UnitCollection& records = table.Find(WindowId)->working;
    const uint32_t count = static_cast<uint32_t>(records.Count());
    const size_t collection = FirstCollectionStart(windows);
    auto offsetAt = [&](uint32_t index) { return collection + 4 * count + 4 * index; };
    auto offsetOf = [&](uint32_t index) { return ReadWordAt(bytes.data(), static_cast<uint32_t>(offsetAt(index))); };
    const UnitRecord second = records.RecordAt(2);
    const uint32_t innerOffset = offsetOf(2) + 4 + second.Layout().typeData;
    const uint32_t overNext = second.Layout().length + 4 + records.RecordAt(3).Layout().length;

    struct Patch {
        const char* what;
        size_t at;
        uint32_t word;
    };
    const Patch patches[] = {
        {"records 2 and 3 at one offset", offsetAt(2), offsetOf(3)},
        {"record 2's length over record 3", collection + 8 * count + offsetOf(2), overNext},
        {"record 3 inside record 2", offsetAt(3), innerOffset},
    };
    for (const Patch& patch : patches) {
        std::vector<uint8_t> broken = bytes;
        WriteWordAt(broken.data(), static_cast<uint32_t>(patch.at), patch.word);
        EXPECT_FALSE(ReadsCleanly(broken)) << patch.what;
    }
}

TEST(TemplateDataTest, EveryTruncationIsRefused) {
    const std::vector<uint8_t> bytes = WriteTemplate(SampleTemplate());
    for (size_t size = 0; size < bytes.size(); ++size)
        EXPECT_FALSE(ReadsCleanly(std::vector<uint8_t>(bytes.begin(), bytes.begin() + size))) << "size " << size;
}

TEST(TemplateDataTest, BrokenFieldsAreRefused) {
    WindowDescription window = SampleTemplate()[0];
    window.records[1].childWords.assign(3, 0);
    std::vector<uint8_t> bytes = WriteTemplate({window});
    // The tab's child count (after name, second text and the first 28 fixed bytes) made huge.
    const std::string text = "选择夹";
    const std::vector<uint8_t> name(text.begin(), text.end());
    auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
    ASSERT_NE(at, bytes.end());
    const size_t childCount = static_cast<size_t>(at - bytes.begin()) + name.size() + 2 + 28;
    ASSERT_EQ(bytes[childCount], 3);
    bytes[childCount + 3] = 0x40;
    EXPECT_FALSE(ReadsCleanly(bytes));

    // A name whose terminator is missing: the record's last byte is made non-zero.
    WindowDescription bare;
    bare.id = WindowId;
    RecordDescription only;
    only.id = WindowRecordId;
    bare.records.push_back(only);
    std::vector<uint8_t> small = WriteTemplate({bare});
    EXPECT_TRUE(ReadsCleanly(small));
    for (size_t i = small.size() - 100; i < small.size(); ++i)
        if (small[i] == 0) small[i] = 'x';
    EXPECT_FALSE(ReadsCleanly(small));
}

TEST(TemplateDataTest, RandomByteFlipsNeverReadPastTheData) {
    const std::vector<uint8_t> bytes = WriteTemplate(SampleTemplate());
    std::mt19937 random(20261207);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> broken = bytes;
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int f = 0; f < flips; ++f) {
            const size_t at = random() % broken.size();
            broken[at] = static_cast<uint8_t>(random() % 3 == 0 ? 0xFF : random());
        }
        if (random() % 4 == 0) broken.resize(random() % broken.size());
        accepted += ReadsCleanly(broken) ? 1 : 0;
    }
    // Flips inside texts, geometry or type data leave a readable template.
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, 3000);
}

}  // namespace
}  // namespace quillet
