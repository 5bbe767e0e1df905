// Loading windows from templates with the tests' own unit types: creation
// order, the runtime's messages, pages, suppression during a load, reopening,
// a load that fails part-way, and menu items changed while not loaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "framework/wnd.h"
#include "runtime/events/event_suppression.h"
#include "runtime/events/property_access.h"
#include "runtime/events/window_loader.h"
#include "runtime/values/runtime_heap.h"
#include "tests/runtime/events/probe_units.h"

namespace quillet {
namespace {

using namespace probe;

std::vector<std::string> handlerLog;

HandlerResult NoteEvent(const char* what) {
    UnitId window = 0, unit = 0;
    std::string line = what;
    if (CurrentEventSource(&window, &unit)) line += " from " + std::to_string(unit & 0xFF);
    handlerLog.push_back(line);
    return {0, 0, 0};
}
HandlerResult OnLoaded(const uint32_t*, int32_t) { return NoteEvent("loaded"); }
HandlerResult OnMoved(const uint32_t*, int32_t) { return NoteEvent("moved"); }
HandlerResult OnResized(const uint32_t*, int32_t) { return NoteEvent("resized"); }
HandlerResult OnDuringLoad(const uint32_t*, int32_t) { return NoteEvent("during-load"); }

class WindowLoadingTest : public ProbeTest {
protected:
    void SetUp() override {
        ProbeTest::SetUp();
        ProbeLog().clear();
        handlerLog.clear();
    }

    WindowDescription Bound() {
        WindowDescription window = StandardWindow();
        RecordOf(window, WindowRecord).bindings = {{0, testprogram::HandlerOffset(&OnLoaded)},
                                                   {3, testprogram::HandlerOffset(&OnMoved)},
                                                   {4, testprogram::HandlerOffset(&OnResized)}};
        RecordOf(window, A).bindings = {{5, testprogram::HandlerOffset(&OnDuringLoad)}};
        return window;
    }
    WindowTemplate& Loaded(const WindowDescription& description) {
        EXPECT_TRUE(testprogram::UseTemplate({description}));
        WindowTemplate& window = *ProgramWindows().Find(WindowId);
        EXPECT_EQ(LoadWindow(window, nullptr, false), 1);
        return window;
    }
    static size_t Position(const std::string& line) {
        const auto& log = ProbeLog();
        return static_cast<size_t>(std::find(log.begin(), log.end(), line) - log.begin());
    }
};

TEST_F(WindowLoadingTest, UnitsAreCreatedLastToFirstAndToldInReverseOrder) {
    Loaded(Bound());
    const auto& log = ProbeLog();
    ASSERT_GE(log.size(), 6u);
    // The window first, then the records from the last to the second.
    EXPECT_EQ(log[0], "created 06010000");
    EXPECT_EQ(log[1], "created 16010006");
    EXPECT_EQ(log[5], "created 16010002");
    EXPECT_LT(Position("units-created 16010006"), Position("units-created 16010002"));
    EXPECT_LT(Position("units-created 16010002"), Position("units-created 06010000"));
    EXPECT_LT(Position("units-created 06010000"), Position("arrange 06010000"));
    EXPECT_LT(Position("shown 16010006"), Position("shown 06010000"));
    EXPECT_EQ(handlerLog, (std::vector<std::string>{"loaded from 0", "moved from 0", "resized from 0"}));
}

TEST_F(WindowLoadingTest, EventsRaisedWhileLoadingCallNoHandler) {
    Loaded(Bound());
    EXPECT_LT(Position("event-refused 16010003"), ProbeLog().size()) << "unit A's event 5 found no handler";
    EXPECT_EQ(std::count(handlerLog.begin(), handlerLog.end(), "during-load from 3"), 0);
    EXPECT_EQ(EventSuppressionCount(), 0);
    // Once loaded, the same event reaches its handler.
    RaiseSimpleEvent(WindowId, A, 5);
    EXPECT_EQ(handlerLog.back(), "during-load from 3");
}

TEST_F(WindowLoadingTest, UnitsGoIntoTheirContainerAndLaterPagesStartHidden) {
    Loaded(Bound());
    HWND tab = Handle(Tab);
    EXPECT_EQ(GetParent(Handle(A)), tab);
    EXPECT_EQ(GetParent(Handle(C)), Handle(0));
    EXPECT_TRUE(IsWindowVisible(Handle(A)));
    EXPECT_FALSE(IsWindowVisible(Handle(B))) << "page 1 is not the current page";
    EXPECT_FALSE(IsWindowVisible(Handle(C))) << "flags 0: created hidden";
    EXPECT_TRUE(IsWindowVisible(Handle(D)));
    EXPECT_TRUE(IsWindowVisible(Handle(0)));
    // Control ids in creation order, from the last record.
    EXPECT_EQ(GetDlgCtrlID(Handle(D)), 100);
    EXPECT_EQ(GetDlgCtrlID(Handle(Tab)), 140);
}

TEST_F(WindowLoadingTest, SiblingsEndInRecordOrder) {
    Loaded(Bound());
    HWND window = Handle(0);
    std::vector<HWND> order;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        order.push_back(child);
    EXPECT_EQ(order, (std::vector<HWND>{Handle(Tab), Handle(C), Handle(D)}));
}

TEST_F(WindowLoadingTest, LoadingAnOpenWindowOnlyActivatesIt) {
    WindowTemplate& window = Loaded(Bound());
    HWND first = Handle(0);
    const size_t created = ProbeLog().size();
    handlerLog.clear();
    EXPECT_EQ(LoadWindow(window, nullptr, false), 1);
    EXPECT_EQ(Handle(0), first);
    EXPECT_EQ(ProbeLog().size(), created);
    EXPECT_TRUE(handlerLog.empty());
}

TEST_F(WindowLoadingTest, AReopenedWindowIsBackAtItsTemplateValues) {
    WindowTemplate& window = Loaded(Bound());
    Write(C, 2, 333);
    Write(C, 4, Word("changed tag"));
    EXPECT_EQ(Read(C, 2), 333u);
    CWnd::FromHandlePermanent(Handle(0))->DestroyWindow();
    testprogram::Pump();
    EXPECT_EQ(LiveWindowOf(window), nullptr);
    EXPECT_EQ(Read(C, 2), 120u) << "read from the template while not loaded";
    ASSERT_EQ(LoadWindow(window, nullptr, false), 1);
    EXPECT_EQ(Read(C, 2), 120u);
    char* tag = reinterpret_cast<char*>(Read(C, 4));
    EXPECT_EQ(tag, nullptr) << "the template's tag is empty";
    FreeBlock(tag);
}

TEST_F(WindowLoadingTest, AFailedLoadLeavesNothingBehind) {
    WindowDescription description = Bound();
    RecordOf(description, A).typeData = UnitData("a", 1, RefusedVersion);  // refused by its type
    ASSERT_TRUE(testprogram::UseTemplate({description}));
    WindowTemplate& broken = *ProgramWindows().Find(WindowId);
    EXPECT_EQ(LoadWindow(broken, nullptr, false), 0);
    testprogram::Pump();
    // What was made before the refusal is gone again, and the template is whole.
    const auto created = std::count_if(ProbeLog().begin(), ProbeLog().end(),
                                       [](const std::string& line) { return line.rfind("created ", 0) == 0; });
    const auto destroyed = std::count_if(ProbeLog().begin(), ProbeLog().end(),
                                         [](const std::string& line) { return line.rfind("destroyed ", 0) == 0; });
    EXPECT_GT(created, 0);
    EXPECT_EQ(created, destroyed);
    EXPECT_EQ(FindWindowA("QuilletProbeWindow", nullptr), nullptr);
    EXPECT_EQ(EventSuppressionCount(), 0);
    EXPECT_FALSE(broken.hasPristine);
    for (int32_t i = 0; i < broken.working.Count(); ++i) EXPECT_EQ(broken.working.RecordAt(i).Object(), nullptr);
    EXPECT_EQ(Read(D, 2), 120u);
}

// A type may hand back an object whose window it never made: the load fails,
// and the object is deleted with the rest of what the load built.
TEST_F(WindowLoadingTest, AnObjectWithoutItsWindowIsDeletedWhenTheLoadFails) {
    struct Case {
        uint32_t record;
        std::string typeData;
    };
    const Case cases[] = {
        {WindowRecord, testunits::Words({WindowlessVersion, 5}) + "probe"},
        {A, UnitData("a", 1, WindowlessVersion)},
    };
    for (const Case& windowless : cases) {
        WindowDescription description = Bound();
        RecordOf(description, windowless.record).typeData = windowless.typeData;
        ASSERT_TRUE(testprogram::UseTemplate({description}));
        const int32_t before = LiveProbeObjects();
        WindowTemplate& broken = *ProgramWindows().Find(WindowId);
        EXPECT_EQ(LoadWindow(broken, nullptr, false), 0) << testunits::Hex(windowless.record);
        testprogram::Pump();
        EXPECT_EQ(LiveProbeObjects(), before) << testunits::Hex(windowless.record);
        EXPECT_EQ(FindWindowA("QuilletProbeWindow", nullptr), nullptr);
        EXPECT_EQ(EventSuppressionCount(), 0);
    }
}

// A menu item written while its window is not loaded changes the template; the
// menu and accelerators are built by the next load, and none are left over.
TEST_F(WindowLoadingTest, AMenuItemWrittenWhileNotLoadedBuildsNoMenuOfItsOwn) {
    constexpr UnitId Item = 0x26010007;
    constexpr int32_t CheckedProperty = 1;
    WindowDescription description = Bound();
    RecordDescription item;
    item.id = Item;
    item.type = MenuItemType;
    item.isMenuItem = true;
    item.caption = "item";
    item.shortcut = 1;  // Ctrl+A: the window has accelerators
    description.records.push_back(item);
    ASSERT_TRUE(testprogram::UseTemplate({description}));
    WindowTemplate& window = *ProgramWindows().Find(WindowId);

    Write(Item, CheckedProperty, 1);
    const auto menuBefore = static_cast<HMENU>(window.state.menu);
    const auto acceleratorsBefore = static_cast<HACCEL>(window.state.accelerators);
    ASSERT_EQ(LoadWindow(window, nullptr, false), 1);
    EXPECT_TRUE(menuBefore == nullptr || !IsMenu(menuBefore)) << "a menu built before the load is still there";
    EXPECT_TRUE(acceleratorsBefore == nullptr || CopyAcceleratorTableA(acceleratorsBefore, nullptr, 0) == 0)
        << "accelerators built before the load are still there";
    HMENU menu = GetMenu(Handle(0));
    ASSERT_NE(menu, nullptr);
    EXPECT_NE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED, 0u) << "the write reached the template";
    EXPECT_NE(window.state.accelerators, nullptr);
}

// Random byte flips anywhere in a template: each one is refused whole when the
// template is read, or gives windows that load (or refuse to) and close cleanly.
TEST_F(WindowLoadingTest, BrokenTemplatesAreRefusedOrLoadCleanly) {
    const std::vector<uint8_t> bytes = WriteTemplate({Bound()});
    std::mt19937 random(7);
    int refused = 0, loaded = 0, notLoaded = 0;
    for (int round = 0; round < 600; ++round) {
        std::vector<uint8_t> broken = bytes;
        for (int flips = 1 + static_cast<int>(random() % 3); flips > 0; --flips)
            broken[random() % broken.size()] = static_cast<uint8_t>(random());
        testprogram::CloseAll();
        if (!ProgramWindows().Deserialise(broken.data(), static_cast<uint32_t>(broken.size()),
                                          testprogram::HandlerBase())) {
            ++refused;
            continue;
        }
        for (int32_t i = 0; i < ProgramWindows().Count(); ++i) {
            WindowTemplate& window = *ProgramWindows().At(i);
            if (LoadWindow(window, nullptr, false) == 1) {
                ++loaded;
            } else {
                ++notLoaded;
                EXPECT_EQ(LiveWindowOf(window), nullptr);
            }
        }
        EXPECT_EQ(EventSuppressionCount(), 0);
    }
    testprogram::CloseAll();
    EXPECT_EQ(FindWindowA("QuilletProbeWindow", nullptr), nullptr);
    EXPECT_GT(refused, 0);
    EXPECT_GT(loaded, 0);
    EXPECT_GT(notLoaded, 0) << "flips in type data make types refuse their units";
}

}  // namespace
}  // namespace quillet
