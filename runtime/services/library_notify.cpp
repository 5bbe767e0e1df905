#include "runtime/services/library_notify.h"

#include "runtime/app/runtime_app.h"
#include "runtime/services/library_info.h"
#include "runtime/services/service_table.h"
#include "runtime/units/notify_runtime.h"

namespace quillet {

void NotifyLibrariesOfStart(const ProgramInfo& program) {
    // The runtime's own commands reach the core through NotifyRuntime as library
    // code does, so the dispatcher is in place even for a program without libraries.
    InstallServiceFunction(DispatchService);
    if (program.libraries == nullptr) return;
    for (uint32_t i = 0; i < program.libraryCount; ++i) {
        const LibraryInfo* library = program.libraries[i];
        if (library != nullptr && library->notify != nullptr)
            library->notify(LibraryRequest::Start, reinterpret_cast<uintptr_t>(&DispatchService), 0);
    }
}

void NotifyLibrariesOfShutdown() {
    RuntimeApp& app = App();
    for (size_t i = 0; i < app.libraries.size(); ++i) {
        const LibraryInfo* library = app.libraries[i];
        if (library != nullptr && library->notify != nullptr)
            library->notify(LibraryRequest::Shutdown, app.libraryDataWords[i], 0);
    }
    app.libraries.clear();
    app.libraryDataWords.clear();
}

}  // namespace quillet
