#include "tests/runtime/units/edit/edit_test_program.h"

#include "runtime/events/common_events.h"
#include "runtime/units/edit/edit_type.h"

namespace edittest {
namespace {

using namespace quillet;

const testunits::TestLibrary TestLibrary = {{0, FrameType(Frame::Plain)}, {4, EditBoxType}};

std::vector<std::string> noted;

void Note(const char* what, const uint32_t* args, int32_t argCount) {
    UnitId window = 0, unit = 0;
    std::string line = what;
    const auto add = [&line](int32_t number) {
        line += ' ';
        line += std::to_string(number);
    };
    if (CurrentEventSource(&window, &unit)) add(static_cast<int32_t>(unit & 0xFF));
    for (int32_t k = 0; k < argCount; ++k) add(static_cast<int32_t>(args[k]));
    noted.push_back(line);
}

enum Noted { Changed, Spin, Got, Lost, Char };
constexpr const char* NotedNames[] = {"changed", "spin", "got", "lost", "char"};

// Notes the event; the key-press handler returns the character's code, so the
// character goes on unchanged.
template <Noted What>
HandlerResult Noting(const uint32_t* args, int32_t argCount) {
    Note(NotedNames[What], args, argCount);
    if (What == Char) return {1, argCount > 0 ? args[0] : 0, 0};
    return {0, 0, 0};
}

}  // namespace

std::vector<EventBinding> NotingBindings() {
    return {{0, testprogram::HandlerOffset(&Noting<Changed>)},
            {1, testprogram::HandlerOffset(&Noting<Spin>)},
            {CommonEvent::GotFocus, testprogram::HandlerOffset(&Noting<Got>)},
            {CommonEvent::LostFocus, testprogram::HandlerOffset(&Noting<Lost>)}};
}

std::vector<EventBinding> NotingBindingsWithCharacters() {
    std::vector<EventBinding> bindings = NotingBindings();
    bindings.push_back({CommonEvent::Character, testprogram::HandlerOffset(&Noting<Char>)});
    return bindings;
}

std::vector<std::string> TakeEvents() {
    std::vector<std::string> taken;
    taken.swap(noted);
    return taken;
}

EditBoxData MultiLine(int32_t scrollBars) {
    EditBoxData data;
    data.fields.multiLine = 1;
    data.fields.scrollBars = scrollBars;
    return data;
}

void StartEditTestRuntime() { testprogram::Start(TestLibrary.Info()); }

std::string EditData(const EditBoxData& data) {
    PropertyDataWriter writer;
    WriteEditBoxData(data, writer);
    return writer.Data();
}

RecordDescription EditAt(uint32_t id, RECT area, const EditBoxData& data, std::vector<EventBinding> bindings) {
    return ShownRecord(id, EditType, area, EditData(data), std::move(bindings));
}

WindowDescription WindowWith(std::vector<RecordDescription> units) {
    return WindowOf(testunits::RecordAt(WindowRecord, WindowType, {30, 30, 550, 430}, RecordFlag::Visible),
                    std::move(units));
}

}  // namespace edittest
