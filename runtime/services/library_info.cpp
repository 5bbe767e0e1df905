#include "runtime/services/library_info.h"

#include <array>

#include "runtime/commands/command_list.h"
#include "runtime/units/button/button_type.h"
#include "runtime/units/button/check_box_type.h"
#include "runtime/units/edit/edit_type.h"
#include "runtime/units/label/label_type.h"
#include "runtime/units/notify_runtime.h"
#include "runtime/units/tab/tab_type.h"
#include "runtime/units/window/window_type.h"

namespace quillet {
namespace {

// The six types this program carries, each at its own slot; the other 45 slots
// stay zero-filled, which makes them absent types.
constexpr std::array<UnitTypeDescriptor, LibraryTypeSlotCount> FillTypeSlots() {
    std::array<UnitTypeDescriptor, LibraryTypeSlotCount> slots{};
    slots[0] = WindowType;
    slots[4] = EditBoxType;
    slots[9] = LabelType;
    slots[10] = ButtonType;
    slots[11] = CheckBoxType;
    slots[20] = TabType;
    return slots;
}

constexpr std::array<UnitTypeDescriptor, LibraryTypeSlotCount> TypeSlots = FillTypeSlots();

constinit const LibraryInfo Library = {
    LibraryFormatStamp,
    "4E7C1A03B95D42F68E21D0C7A3B6F915",
    5, 7, 64,
    {3, 7, 3, 7},
    "Quillet 窗口组件库",
    1,
    nullptr,
    0xC0000001,
    {},
    LibraryTypeSlotCount,
    TypeSlots.data(),
    0, nullptr,
    commands::RuntimeCommandCount, nullptr,
    commands::RuntimeCommands,
    {},
    NotifyUnitLibrary,
    {},
};

// A slot whose entry function is missing is a zero-filled slot.
bool IsPresent(const UnitTypeDescriptor& slot) { return slot.interfaceFn != nullptr; }

}  // namespace

const LibraryInfo& UnitLibrary() { return Library; }

const LibraryInfo* const ProgramLibraries[ProgramLibraryCount] = {&Library};

uintptr_t NotifyUnitLibrary(int32_t request, uintptr_t value1, uintptr_t) {
    switch (request) {
    case LibraryRequest::Start:
        InstallServiceFunction(reinterpret_cast<ServiceFunction>(value1));
        return 1;
    case LibraryRequest::Shutdown:
        // Past this point the runtime's tables are gone: library code asking for
        // a service gets the answer 0 instead of reaching a dismantled runtime.
        InstallServiceFunction(nullptr);
        return 1;
    default:
        return 0;
    }
}

const UnitTypeDescriptor* ResolveUnitType(UnitTypeRef ref, const LibraryInfo* const* libraries,
                                          int32_t libraryCount) {
    const int32_t libraryNumber = static_cast<int32_t>(ref >> 16);
    const int32_t typeNumber = static_cast<int32_t>(ref & 0xFFFF);
    if (libraries == nullptr || libraryNumber < 1 || libraryNumber > libraryCount) return nullptr;
    const LibraryInfo* library = libraries[libraryNumber - 1];
    if (library == nullptr || library->types == nullptr) return nullptr;
    if (typeNumber < 1 || typeNumber > library->typeCount) return nullptr;
    const UnitTypeDescriptor& slot = library->types[typeNumber - 1];
    return IsPresent(slot) ? &slot : nullptr;
}

const UnitTypeDescriptor* ResolveUnitType(UnitTypeRef ref) {
    return ResolveUnitType(ref, ProgramLibraries, ProgramLibraryCount);
}

}  // namespace quillet
