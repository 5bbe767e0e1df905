// The unit library record, its type slots and property tables, type
// resolution, the types' entry functions and the library notify function.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "runtime/commands/command_list.h"
#include "runtime/services/library_info.h"
#include "runtime/units/button/button_type.h"
#include "runtime/units/button/check_box_type.h"
#include "runtime/units/edit/edit_type.h"
#include "runtime/units/label/label_type.h"
#include "runtime/units/notify_runtime.h"
#include "runtime/units/tab/tab_type.h"
#include "runtime/units/window/window_type.h"

namespace quillet {
namespace {

struct ExpectedType {
    int32_t slot;
    const char* name;
    const char* englishName;
    uint32_t flags;
    int32_t propertyCount;
    std::set<int32_t> operations;
    std::span<const OwnProperty> ownRows;
    std::map<int32_t, int32_t> lastChoices;  // of the pick properties, by own index
};

const ExpectedType SixTypes[] = {
    {0, "窗口", "window", 0x800000D0, 32, {1, 4, 5, 6, 7, 9}, WindowOwnProperties,
     {{1, 6}, {4, 3}, {6, 2}, {10, 3}, {20, 29}}},
    {4, "编辑框", "EditBox", 0x80000040, 29, {1, 4, 5, 6, 8, 9}, EditBoxOwnProperties,
     {{1, 5}, {8, 3}, {9, 2}, {10, 11}, {12, 2}, {13, 2}}},
    {9, "标签", "Label", 0x84012040, 29, {1, 4, 5, 6, 9}, LabelOwnProperties,
     {{1, 3}, {2, 6}, {11, 2}, {12, 8}, {16, 2}, {18, 2}}},
    {10, "按钮", "Button", 0x80000840, 14, {1, 4, 5, 6, 9, 10}, ButtonOwnProperties, {{1, 1}, {3, 2}, {4, 2}}},
    {11, "选择框", "CheckBox", 0x80001040, 21, {1, 4, 5, 6, 9}, CheckBoxOwnProperties, {{5, 2}, {6, 2}}},
    {20, "选择夹", "Tab", 0x800101C0, 16, {1, 4, 5, 6, 9}, TabOwnProperties, {{0, 3}}},
};

TEST(UnitLibraryTest, RecordCarriesItsVersionTypesCommandsAndNotifyFunction) {
    const LibraryInfo& library = UnitLibrary();
    EXPECT_EQ(library.formatStamp, 0x01312D65u);
    EXPECT_EQ(library.versionMajor, 5);
    EXPECT_EQ(library.versionMinor, 7);
    EXPECT_EQ(library.buildNumber, 64);
    EXPECT_EQ(library.hostVersion[0], 3);
    EXPECT_EQ(library.hostVersion[1], 7);
    EXPECT_EQ(library.hostVersion[2], 3);
    EXPECT_EQ(library.hostVersion[3], 7);
    EXPECT_EQ(library.languageCode, 1);
    EXPECT_EQ(library.stateWord, 0xC0000001u);
    EXPECT_EQ(library.typeCount, 51);
    EXPECT_EQ(library.categoryCount, 0);
    EXPECT_EQ(library.commandCount, 24);
    EXPECT_EQ(library.commands, commands::RuntimeCommands);
    EXPECT_EQ(library.notify, &NotifyUnitLibrary);
    EXPECT_EQ(library.explanation, nullptr);
    for (const char* text : library.moreTexts) EXPECT_EQ(text, nullptr);
    for (uint32_t word : library.tail) EXPECT_EQ(word, 0u);

    ASSERT_NE(library.identifier, nullptr);
    ASSERT_EQ(std::strlen(library.identifier), 32u);
    for (const char* digit = library.identifier; *digit != '\0'; ++digit)
        EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(*digit))) << library.identifier;
    for (int32_t i = 0; i < commands::RuntimeCommandCount; ++i) EXPECT_NE(library.commands[i], nullptr) << i;

    ASSERT_EQ(ProgramLibraryCount, 1);
    EXPECT_EQ(ProgramLibraries[0], &library);
}

TEST(UnitLibraryTest, ExactlyTheSixTypesFillTheirSlots) {
    const LibraryInfo& library = UnitLibrary();
    std::set<int32_t> filled;
    for (int32_t slot = 0; slot < library.typeCount; ++slot) {
        const UnitTypeDescriptor& type = library.types[slot];
        if (type.interfaceFn != nullptr) {
            filled.insert(slot);
        } else {
            EXPECT_EQ(type.name, nullptr) << slot;
            EXPECT_EQ(type.propertyCount, 0) << slot;
            EXPECT_EQ(type.properties, nullptr) << slot;
        }
    }
    EXPECT_EQ(filled, (std::set<int32_t>{0, 4, 9, 10, 11, 20}));
}

TEST(UnitLibraryTest, TypeRefsResolveToTheirSlotsAndNothingElse) {
    const LibraryInfo& library = UnitLibrary();
    for (const ExpectedType& expected : SixTypes) {
        const UnitTypeRef ref = MakeUnitTypeRef(1, static_cast<uint32_t>(expected.slot + 1));
        const UnitTypeDescriptor* type = ResolveUnitType(ref);
        ASSERT_NE(type, nullptr) << std::hex << ref;
        EXPECT_EQ(type, &library.types[expected.slot]);
        EXPECT_STREQ(type->name, expected.name);
        EXPECT_STREQ(type->englishName, expected.englishName);
        EXPECT_EQ(type->stateFlags, expected.flags) << expected.englishName;
        EXPECT_EQ(type->propertyCount, expected.propertyCount) << expected.englishName;
        EXPECT_EQ(type->eventCount, 0);
        EXPECT_EQ(type->events, nullptr);
        EXPECT_EQ(type->methodCount, 0);
        EXPECT_EQ(type->elementCount, 0);
        EXPECT_EQ(type->explanation, nullptr);
    }
    EXPECT_EQ(ResolveUnitType(0x00010001)->englishName, std::string("window"));
    EXPECT_EQ(ResolveUnitType(0x00010015)->englishName, std::string("Tab"));

    EXPECT_EQ(ResolveUnitType(0x00010002), nullptr) << "a zero-filled slot";
    EXPECT_EQ(ResolveUnitType(0x00010033), nullptr) << "the last slot is zero-filled";
    EXPECT_EQ(ResolveUnitType(0x00010034), nullptr) << "beyond the type count";
    EXPECT_EQ(ResolveUnitType(0x0001FFFF), nullptr);
    EXPECT_EQ(ResolveUnitType(0x00010000), nullptr) << "type number 0 names no slot";
    EXPECT_EQ(ResolveUnitType(0x00000005), nullptr) << "library number 0";
    EXPECT_EQ(ResolveUnitType(0x00020005), nullptr) << "only one library";
    EXPECT_EQ(ResolveUnitType(0xFFFF0005), nullptr);

    const LibraryInfo* missing[] = {nullptr, &library};
    EXPECT_EQ(ResolveUnitType(0x00010005, missing, 2), nullptr) << "absent library record";
    EXPECT_EQ(ResolveUnitType(0x00020005, missing, 2), &library.types[4]);
    EXPECT_EQ(ResolveUnitType(0x00010005, nullptr, 1), nullptr);
    EXPECT_EQ(ResolveUnitType(0x00010005, ProgramLibraries, 0), nullptr);
}

TEST(UnitLibraryTest, EveryTableStartsWithTheCommonEight) {
    const PropertyKind common[] = {PropertyKind::Int,     PropertyKind::Int,     PropertyKind::Int,
                                   PropertyKind::Int,     PropertyKind::Text,    PropertyKind::Logical,
                                   PropertyKind::Logical, PropertyKind::Cursor};
    for (const ExpectedType& expected : SixTypes) {
        const UnitTypeDescriptor& type = UnitLibrary().types[expected.slot];
        for (int32_t i = 0; i < type.propertyCount; ++i) {
            const PropertyDescriptor& property = type.properties[i];
            SCOPED_TRACE(std::string(expected.englishName) + " property " + std::to_string(i));
            EXPECT_EQ(property.name, nullptr);
            EXPECT_EQ(property.englishName, nullptr);
            EXPECT_EQ(property.explanation, nullptr);
            EXPECT_EQ(property.pickTexts, nullptr);
            if (i < CommonPropertyCount) {
                EXPECT_EQ(property.kind, common[i]);
                EXPECT_EQ(property.flags, 0xE000);
            } else {
                EXPECT_GE(static_cast<int>(property.kind), 1000);  // a missing entry would be 0
                EXPECT_TRUE(property.flags == 0x8000 || property.flags == 0x8001 || property.flags == 0x8008);
            }
        }
    }
}

PropertyKind KindAt(const UnitTypeDescriptor& type, int32_t propertyIndex) {
    return KindOfProperty(type, propertyIndex);
}

TEST(UnitLibraryTest, OwnPropertiesHaveTheirKinds) {
    using enum PropertyKind;
    EXPECT_EQ(KindAt(EditBoxType, 8), Text);         // Content
    EXPECT_EQ(KindAt(EditBoxType, 11), BackColor);   // BackColor
    EXPECT_EQ(KindAt(EditBoxType, 12), Font);
    EXPECT_EQ(KindAt(EditBoxType, 18), Pick);        // InputMode
    EXPECT_EQ(KindAt(EditBoxType, 26), Text);        // SelText
    EXPECT_EQ(KindAt(EditBoxType, 27), DataSourceName);
    EXPECT_EQ(KindAt(EditBoxType, 28), DataColumnName);
    EXPECT_EQ(KindAt(TabType, 11), PageList);
    EXPECT_EQ(KindAt(TabType, 12), Int);             // CurrentPage
    EXPECT_EQ(KindAt(TabType, 15), BackColor);
    EXPECT_EQ(KindAt(LabelType, 12), EffectColor);   // BorderColor1
    EXPECT_EQ(KindAt(LabelType, 18), Picture);
    EXPECT_EQ(KindAt(LabelType, 28), DataColumnName);
    EXPECT_EQ(KindAt(ButtonType, 8), Picture);
    EXPECT_EQ(KindAt(ButtonType, 13), Font);
    EXPECT_EQ(KindAt(CheckBoxType, 18), Logical);    // Checked
    EXPECT_EQ(KindAt(CheckBoxType, 16), BackColor);
    EXPECT_EQ(KindAt(WindowType, 13), Sound);
    EXPECT_EQ(KindAt(WindowType, 20), Icon);
    EXPECT_EQ(KindAt(WindowType, 24), FileName);
    EXPECT_EQ(KindAt(WindowType, 25), Int);          // HelpTopic
    EXPECT_EQ(KindAt(WindowType, 28), Pick);         // Shape
    EXPECT_EQ(KindAt(WindowType, 31), Text);         // ClassName
    EXPECT_EQ(KindAt(WindowType, 32), Text) << "outside the table: the default kind";
}

// The table is made from the type's own rows, and the pick limits come from
// the same rows: each pick property has its last choice, nothing else has one.
TEST(UnitLibraryTest, TablesAndPickLimitsComeFromTheOwnRows) {
    for (const ExpectedType& expected : SixTypes) {
        const UnitTypeDescriptor& type = UnitLibrary().types[expected.slot];
        ASSERT_EQ(static_cast<size_t>(type.propertyCount), CommonPropertyCount + expected.ownRows.size());
        std::map<int32_t, int32_t> lastChoices;
        for (int32_t own = 0; own < OwnIndex(type.propertyCount); ++own) {
            SCOPED_TRACE(std::string(expected.englishName) + " own property " + std::to_string(own));
            const OwnProperty& row = expected.ownRows[static_cast<size_t>(own)];
            EXPECT_EQ(type.properties[CommonPropertyCount + own].kind, row.kind);
            EXPECT_EQ(type.properties[CommonPropertyCount + own].flags, row.flags);
            const int32_t last = LastChoiceOf(expected.ownRows, own);
            if (row.kind != PropertyKind::Pick) {
                EXPECT_EQ(last, -1);
                continue;
            }
            lastChoices[own] = last;
            ASSERT_GT(last, 0);
            EXPECT_EQ(ClampPick(-5, last), 0);
            EXPECT_EQ(ClampPick(last + 1, last), last);
            EXPECT_EQ(ClampPick(INT32_MAX, last), last);
            EXPECT_EQ(ClampPick(last, last), last);
        }
        EXPECT_EQ(lastChoices, expected.lastChoices) << expected.englishName;
    }
    EXPECT_EQ(LastChoiceOf(EditBoxOwnProperties, -1), -1);
    EXPECT_EQ(LastChoiceOf(EditBoxOwnProperties, OwnIndex(EditBoxType.propertyCount)), -1) << "past the rows";
}

TEST(UnitLibraryTest, EntryFunctionsOfferTheirOperationsOnly) {
    for (const ExpectedType& expected : SixTypes) {
        const UnitTypeDescriptor& type = UnitLibrary().types[expected.slot];
        std::set<int32_t> offered;
        for (int32_t number = -2; number <= 20; ++number)
            if (type.interfaceFn(number) != nullptr) offered.insert(number);
        EXPECT_EQ(offered, expected.operations) << expected.englishName;
    }
    // Until the types have their operations they refuse: no unit, no value.
    const auto create = FindOperation<CreateUnitOperation>(EditBoxType, InterfaceNumber::CreateUnit);
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(create(nullptr, 0, 0, nullptr, 100, nullptr, 0, 0, 10, 10, 0x52010001, 0x16010001, 0, 0), nullptr);
    PropertyValue value{7, 7};
    const auto get = FindOperation<GetPropertyOperation>(ButtonType, InterfaceNumber::GetProperty);
    ASSERT_NE(get, nullptr);
    EXPECT_EQ(get(nullptr, 0, &value), 0);
    EXPECT_EQ(FindOperation<WantsKeyOperation>(ButtonType, InterfaceNumber::WantsKey), nullptr);
}

// The notify function hands the runtime's dispatcher to the library's NotifyRuntime.
int32_t lastService;
uintptr_t RecordingService(int32_t service, uintptr_t value1, uintptr_t value2) {
    lastService = service;
    return value1 + value2;
}

TEST(UnitLibraryTest, NotifyInstallsTheServiceFunctionAndShutdownDropsIt) {
    const LibraryNotifyFn notify = UnitLibrary().notify;
    EXPECT_EQ(notify(LibraryRequest::Start, reinterpret_cast<uintptr_t>(&RecordingService), 0), 1u);
    EXPECT_EQ(NotifyRuntime(2017, 40, 2), 42u);
    EXPECT_EQ(lastService, 2017);

    EXPECT_EQ(notify(3, 0, 0), 0u) << "requests other than 1 and 6 are not handled";
    EXPECT_EQ(NotifyRuntime(2003, 1, 1), 2u) << "and change nothing";

    EXPECT_EQ(notify(LibraryRequest::Shutdown, 0, 0), 1u);
    lastService = 0;
    EXPECT_EQ(NotifyRuntime(2017, 40, 2), 0u);
    EXPECT_EQ(lastService, 0) << "after shutdown no service is reached";
}

}  // namespace
}  // namespace quillet
