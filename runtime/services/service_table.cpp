// The runtime core's numbered services, one table.
#include "runtime/services/service_table.h"

#include <array>

#include "runtime/app/message_loop.h"
#include "runtime/app/program_paths.h"
#include "runtime/events/run_progress.h"
#include "runtime/services/startup.h"
#include "runtime/services/unit_services.h"
#include "runtime/units/notify_runtime.h"
#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/values/words.h"

namespace quillet {
namespace {

using ServiceHandler = uintptr_t (*)(uintptr_t value1, uintptr_t value2);

uintptr_t ServeRunDirectory(uintptr_t, uintptr_t) { return Word(ProgramDirectory()); }
uintptr_t ServeExecutableName(uintptr_t, uintptr_t) { return Word(ProgramFileName()); }
uintptr_t ServeCommandLineFile(uintptr_t index, uintptr_t) { return Word(CommandLineFileAt(static_cast<int32_t>(index))); }

uintptr_t ServeFreeArray(uintptr_t elementType, uintptr_t array) {
    FreeArray(static_cast<DataTypeCode>(elementType), Reference<void>(array));
    return 0;
}

uintptr_t ServeAllocate(uintptr_t size, uintptr_t noReport) {
    const auto bytes = static_cast<int32_t>(size);
    return Word(noReport != 0 ? TryAllocateBlock(bytes) : AllocateBlock(bytes));
}

uintptr_t ServeFree(uintptr_t block, uintptr_t) {
    FreeBlock(Reference<void>(block));
    return 0;
}

uintptr_t ServeReallocate(uintptr_t block, uintptr_t size) {
    return Word(ReallocateBlock(Reference<void>(block), static_cast<int32_t>(size)));
}

uintptr_t ServeProcessEvents(uintptr_t, uintptr_t) {
    ProcessEventsPaced();
    return 0;
}

uintptr_t ServeRunProgress(uintptr_t done, uintptr_t total) {
    NoteRunSteps(static_cast<int32_t>(done), static_cast<int32_t>(total));
    return 0;
}

uintptr_t ServeExitProcess(uintptr_t exitCode, uintptr_t) {
    ExitRuntimeProcess(static_cast<int32_t>(exitCode));
}

struct Service {
    int32_t code;
    ServiceHandler handler;
};

constexpr Service Services[] = {
    {ServiceCode::ProgramIcons, ServeProgramIcons},
    {ServiceCode::WindowTableService, ServeWindowTable},
    {ServiceCode::TypeDescriptor, ServeTypeDescriptor},
    {ServiceCode::Constant, ServeConstant},
    {ServiceCode::RuntimeVersion, ServeRuntimeVersion},
    {ServiceCode::ProgramPaths, ServeProgramPaths},
    {ServiceCode::WrapWindowHandle, ServeWrapWindowHandle},
    {ServiceCode::DeleteObject, ServeDeleteObject},
    {ServiceCode::DetachObject, ServeDetachObject},
    {ServiceCode::WindowHandleOf, ServeWindowHandleOf},
    {ServiceCode::AttachIfUnattached, ServeAttachIfUnattached},
    {ServiceCode::AddIdleCallback, ServeAddIdleCallback},
    {ServiceCode::RemoveIdleCallback, ServeRemoveIdleCallback},
    {ServiceCode::IsUnitWindow, ServeIsUnitWindow},
    {ServiceCode::UnitDestroyed, ServeUnitDestroyed},
    {ServiceCode::RunDirectory, ServeRunDirectory},
    {ServiceCode::ExecutableName, ServeExecutableName},
    {ServiceCode::CommandLineFile, ServeCommandLineFile},
    {ServiceCode::LoadWindow, ServeLoadWindow},
    {ServiceCode::FindUnit, ServeFindUnit},
    {ServiceCode::FindUnitOrFail, ServeFindUnitOrFail},
    {ServiceCode::RaiseEvent, ServeRaiseEvent},
    {ServiceCode::SuspendEvents, ServeSuspendEvents},
    {ServiceCode::ResumeEvents, ServeResumeEvents},
    {ServiceCode::CurrentEventSource, ServeCurrentEventSource},
    {ServiceCode::ProcessEvents, ServeProcessEvents},
    {ServiceCode::RunProgress, ServeRunProgress},
    {ServiceCode::RecordType, ServeRecordType},
    {ServiceCode::FreeArray, ServeFreeArray},
    {ServiceCode::Allocate, ServeAllocate},
    {ServiceCode::Free, ServeFree},
    {ServiceCode::Reallocate, ServeReallocate},
    {ServiceCode::ExitProcess, ServeExitProcess},
    {ServiceCode::TypeKind, ServeTypeKind},
    {ServiceCode::InterfaceWordA, ServeInterfaceWordA},
    {ServiceCode::RaiseTypedEvent, ServeRaiseTypedEvent},
    {ServiceCode::WindowCount, ServeWindowCount},
    {ServiceCode::WindowHandleByIndex, ServeWindowHandleByIndex},
    {ServiceCode::MenuCommandLookup, ServeMenuCommandLookup},
    {ServiceCode::ShowTabPage, ServeShowTabPage},
    {ServiceCode::RebuildMenu, ServeRebuildMenu},
};

// Codes come in two runs, from 1000 and from 2000; a table indexed by code
// finds a handler at once (some services are asked for per line of a run).
constexpr int32_t CodeRun = 64;

int32_t SlotOf(int32_t code) {
    if (code >= 1000 && code < 1000 + CodeRun) return code - 1000;
    if (code >= 2000 && code < 2000 + CodeRun) return CodeRun + code - 2000;
    return -1;
}

ServiceHandler HandlerOf(int32_t code) {
    static const std::array<ServiceHandler, 2 * CodeRun> handlers = [] {
        std::array<ServiceHandler, 2 * CodeRun> made{};
        for (const Service& entry : Services)
            if (SlotOf(entry.code) >= 0) made[static_cast<size_t>(SlotOf(entry.code))] = entry.handler;
        return made;
    }();
    const int32_t slot = SlotOf(code);
    return slot >= 0 ? handlers[static_cast<size_t>(slot)] : nullptr;
}

}  // namespace

uintptr_t DispatchService(int32_t service, uintptr_t value1, uintptr_t value2) {
    const ServiceHandler handler = HandlerOf(service);
    return handler != nullptr ? handler(value1, value2) : 0;
}

}  // namespace quillet
