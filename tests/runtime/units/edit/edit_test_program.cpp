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

HandlerResult OnChanged(const uint32_t* args, int32_t argCount) {
    Note("changed", args, argCount);
    return {0, 0, 0};
}
HandlerResult OnSpin(const uint32_t* args, int32_t argCount) {
    Note("spin", args, argCount);
    return {0, 0, 0};
}
HandlerResult OnGotFocus(const uint32_t* args, int32_t argCount) {
    Note("got", args, argCount);
    return {0, 0, 0};
}
HandlerResult OnLostFocus(const uint32_t* args, int32_t argCount) {
    Note("lost", args, argCount);
    return {0, 0, 0};
}
// Returns the character's code: the character goes on unchanged.
HandlerResult OnCharacter(const uint32_t* args, int32_t argCount) {
    Note("char", args, argCount);
    return {1, argCount > 0 ? args[0] : 0, 0};
}

}  // namespace

std::vector<EventBinding> NotingBindings() {
    return {{0, testprogram::HandlerOffset(&OnChanged)},
            {1, testprogram::HandlerOffset(&OnSpin)},
            {CommonEvent::GotFocus, testprogram::HandlerOffset(&OnGotFocus)},
            {CommonEvent::LostFocus, testprogram::HandlerOffset(&OnLostFocus)}};
}

std::vector<EventBinding> NotingBindingsWithCharacters() {
    std::vector<EventBinding> bindings = NotingBindings();
    bindings.push_back({CommonEvent::Character, testprogram::HandlerOffset(&OnCharacter)});
    return bindings;
}

std::vector<std::string> TakeEvents() {
    std::vector<std::string> taken;
    taken.swap(noted);
    return taken;
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
