// Events reaching their handlers: bindings shared through the event source,
// results that swallow keys or replace characters, the common events' arguments
// from real messages through the runtime's loop, typed arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/events/event_dispatch.h"
#include "runtime/events/window_loader.h"
#include "tests/runtime/events/probe_units.h"
#include "tests/support/fatal_guard.h"

namespace quillet {
namespace {

using namespace probe;

struct Call {
    int32_t event;
    std::vector<uint32_t> args;
    UnitId source;
};
std::vector<Call> calls;
HandlerResult answer = {0, 0, 0};

HandlerResult Record(int32_t event, const uint32_t* args, int32_t count) {
    UnitId window = 0, unit = 0;
    CurrentEventSource(&window, &unit);
    calls.push_back({event, std::vector<uint32_t>(args, args + count), unit});
    return answer;
}
HandlerResult OnClick(const uint32_t* args, int32_t count) { return Record(0, args, count); }
HandlerResult OnKeyDown(const uint32_t* args, int32_t count) { return Record(CommonEvent::KeyDown, args, count); }
HandlerResult OnCharacter(const uint32_t* args, int32_t count) { return Record(CommonEvent::Character, args, count); }
HandlerResult OnMouse(const uint32_t* args, int32_t count) { return Record(CommonEvent::LeftUp, args, count); }
HandlerResult OnWheel(const uint32_t* args, int32_t count) { return Record(CommonEvent::Wheel, args, count); }
HandlerResult OnTyped(const uint32_t* args, int32_t count) { return Record(9, args, count); }
HandlerResult OnCloseWindow(const uint32_t* args, int32_t count) {
    DestroyWindow(Handle(0));
    return Record(CommonEvent::KeyDown, args, count);
}

bool Logged(const std::string& line) {
    for (const std::string& entry : ProbeLog())
        if (entry == line) return true;
    return false;
}

class EventDispatchTest : public ProbeTest {
protected:
    void SetUp() override {
        ProbeTest::SetUp();
        calls.clear();
        ProbeLog().clear();
        answer = {0, 0, 0};
    }

    void Load(WindowDescription window) {
        ASSERT_TRUE(testprogram::UseTemplate({window}));
        ASSERT_NO_FATAL_FAILURE(unitwindow::LoadProgramWindow());
        testprogram::Pump();
        ProbeLog().clear();
    }
    static void Post(UnitId unit, UINT message, WPARAM wParam, LPARAM lParam = 0) {
        PostMessageA(Handle(unit), message, wParam, lParam);
        testprogram::Pump();
    }
};

TEST_F(EventDispatchTest, SharedBindingsNameTheUnitThatRaisedTheEvent) {
    WindowDescription window = StandardWindow();
    RecordOf(window, C).bindings = {{0, testprogram::HandlerOffset(&OnClick)}};
    Load(window);
    Post(D, WM_LBUTTONDOWN, 0, MAKELPARAM(3, 4));  // D raises its event 0, bound through C
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].source, D);
    UnitId windowId = 0, unitId = 0;
    EXPECT_FALSE(CurrentEventSource(&windowId, &unitId)) << "cleared when the handler returned";
}

TEST_F(EventDispatchTest, AKeyHandlerThatReturnsFalseSwallowsTheKey) {
    WindowDescription window = StandardWindow();
    RecordOf(window, A).bindings = {{CommonEvent::KeyDown, testprogram::HandlerOffset(&OnKeyDown)}};
    Load(window);
    answer = {1, 0, 0};  // false
    Post(A, WM_KEYDOWN, 'Q');
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args, (std::vector<uint32_t>{'Q', 0}));
    EXPECT_FALSE(Logged("keydown 16010003 81")) << "the unit never saw the key";

    answer = {0, 0, 0};  // no value: the key goes on
    Post(A, WM_KEYDOWN, 'Q');
    EXPECT_TRUE(Logged("keydown 16010003 81"));
    answer = {1, 1, 0};  // true: the key goes on as well
    ProbeLog().clear();
    Post(A, WM_KEYDOWN, VK_NUMPAD7);
    EXPECT_EQ(calls.back().args[0], static_cast<uint32_t>('7')) << "keypad digits read as digits";
    EXPECT_TRUE(Logged("keydown 16010003 103"));
}

TEST_F(EventDispatchTest, ACharacterHandlerCanReplaceTheCharacter) {
    WindowDescription window = StandardWindow();
    RecordOf(window, A).bindings = {{CommonEvent::Character, testprogram::HandlerOffset(&OnCharacter)}};
    Load(window);
    answer = {1, 65, 0};
    Post(A, WM_CHAR, 'x');
    EXPECT_TRUE(Logged("char 16010003 65"));
    EXPECT_FALSE(Logged("char 16010003 120"));
    answer = {1, 0, 0};
    ProbeLog().clear();
    Post(A, WM_CHAR, 'y');
    EXPECT_TRUE(ProbeLog().empty()) << "false discards the character";
}

TEST_F(EventDispatchTest, MouseAndWheelArgumentsComeFromTheMessage) {
    WindowDescription window = StandardWindow();
    RecordOf(window, D).bindings = {{CommonEvent::LeftUp, testprogram::HandlerOffset(&OnMouse)},
                                    {CommonEvent::Wheel, testprogram::HandlerOffset(&OnWheel)}};
    RecordOf(window, D).eventSource = 0;
    Load(window);
    Post(D, WM_LBUTTONUP, 0, MAKELPARAM(17, 9));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args, (std::vector<uint32_t>{17, 9, 0}));
    Post(D, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)));
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(static_cast<int32_t>(calls[1].args[0]), -2);
}

TEST_F(EventDispatchTest, AHandlerThatClosesTheWindowConsumesTheMessage) {
    WindowDescription window = StandardWindow();
    RecordOf(window, A).bindings = {{CommonEvent::KeyDown, testprogram::HandlerOffset(&OnCloseWindow)}};
    Load(window);
    Post(A, WM_KEYDOWN, 'Z');
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(Handle(0), nullptr);
    EXPECT_FALSE(Logged("keydown 16010003 90"));
}

TEST_F(EventDispatchTest, TypedArgumentsPassAsWordsByTheirType) {
    WindowDescription window = StandardWindow();
    RecordOf(window, A).bindings = {{9, testprogram::HandlerOffset(&OnTyped)}};
    Load(window);
    TypedEventRecord record{};
    record.windowId = WindowId;
    record.unitId = A;
    record.event = 9;
    record.argCount = 4;
    record.args[0] = {0x1FF, 0, DataType::Byte, 0};
    record.args[1] = {0xFFFE, 0, DataType::Short, 0};
    record.args[2] = {0x11111111, 0x22222222, DataType::Double, 0};
    record.args[3] = {0x33333333, 0x44444444, DataType::Long, TypedArgFlag::Reference};
    answer = {1, 5, 6};
    EXPECT_EQ(DispatchTypedEvent(&record), 1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args, (std::vector<uint32_t>{0xFF, 0xFFFFFFFE, 0x11111111, 0x22222222, 0x33333333}));
    EXPECT_EQ(record.hasResult, 1u);
    EXPECT_EQ(record.resultHigh, 6u);
}

TEST_F(EventDispatchTest, UnboundEventsAreNoErrorButUnknownUnitsAre) {
    Load(StandardWindow());
    EventRecord record = {WindowId, A, 3, 0, {}, 0, 0};
    EXPECT_EQ(DispatchEvent(&record), 0);
    EXPECT_EQ(record.hasResult, 0u);
    auto report = CatchFatalReport([] {
        EventRecord bad = {WindowId, 0x16010055, 0, 0, {}, 0, 0};
        DispatchEvent(&bad);
    });
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->text.find("未找到引发事件的窗口组件"), 0u);
    report = CatchFatalReport([] {
        EventRecord bad = {0x52010042, 0, 0, 0, {}, 0, 0};
        DispatchEvent(&bad);
    });
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->text.find("未找到引发事件的窗口"), 0u);
}

}  // namespace
}  // namespace quillet
