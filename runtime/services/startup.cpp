#include "runtime/services/startup.h"

#include <windows.h>
#include <ole2.h>

#include "runtime/app/program_paths.h"
#include "runtime/app/runtime_app.h"
#include "runtime/app/window_layer.h"
#include "runtime/errors/crash_report.h"
#include "runtime/errors/error_report.h"
#include "runtime/events/event_suppression.h"
#include "runtime/events/program_window_layer.h"
#include "runtime/services/library_notify.h"
#include "runtime/services/unit_services.h"
#include "runtime/units/text_rescue.h"
#include "runtime/units/unit_type.h"
#include "runtime/units/window_class.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

constexpr wchar_t HiddenOwnerClass[] = L"_VL_HideOwner";

void CreateHiddenOwner(RuntimeApp& app) {
    if (app.hiddenOwner.m_hWnd != nullptr || !RegisterPlainWindowClass(HiddenOwnerClass, 0)) return;
    // Without a display there is no window; the program runs on without one.
    app.hiddenOwner.CreateEx(WS_EX_TOOLWINDOW, HiddenOwnerClass, L"", 0, 0, 0, 0, 0, nullptr, nullptr);
}

void CopyDllCommandTables(RuntimeApp& app, const ProgramInfo& program) {
    for (auto& table : app.dllCommandTables) table.assign(program.dllCommandCount, 0);
    for (uint32_t i = 0; i < program.dllCommandCount; ++i) {
        if (program.dllCommandTable1 != nullptr) app.dllCommandTables[0][i] = program.dllCommandTable1[i];
        if (program.dllCommandTable2 != nullptr) app.dllCommandTables[1][i] = program.dllCommandTable2[i];
    }
}

void ReadWindowTemplate(const ProgramInfo& program) {
    const WindowLayer* layer = InstalledWindowLayer();
    const bool read = layer != nullptr &&
                      layer->DeserialiseTemplate(static_cast<const uint8_t*>(program.templateData),
                                                 program.templateSize,
                                                 reinterpret_cast<uintptr_t>(program.handlerBase));
    if (!read) ReportFatalError("载入窗口模板数据段出错!", 0, 0, 0);
}

}  // namespace

void RunStartup() {
    RuntimeApp& app = App();
    const ProgramInfo& program = LinkedProgramInfo();
    // The program's windows, unless a test program brought a layer of its own;
    // its types, and what a fatal report does around its box.
    if (InstalledWindowLayer() == nullptr) InstallProgramWindowLayer();
    SetTypeResolver(ResolveProgramType);
    SetFatalReportActions({SuppressEvents, ExitRuntimeProcess, RescueTexts});
    PrepareTextRescue();
    // The runtime heap is the process heap; runtime_heap asks for it itself.
    app.interfaceWordA = program.interfaceWordA;
    app.interfaceWordB = program.interfaceWordB;
    app.idSerialCounter = program.idSerialWord + 1;
    if (!app.oleInitialised) app.oleInitialised = SUCCEEDED(OleInitialize(nullptr));

    ReadCommandLineFiles();  // against the folder the program was started in
    ModulePath path = SplitModulePath();
    app.programDirectory = std::move(path.directory);
    app.programFileName = std::move(path.fileName);
    SetCurrentDirectoryW(WideFromText(app.programDirectory.c_str()).c_str());

    FillCallbackSlots(1, CallbackSlotCount);
    CreateHiddenOwner(app);
    app.mainThreadId = GetCurrentThreadId();
    SetMainThreadAsk(app.mainThreadId, AskMainThreadToReport);
    if (program.constantSize > 0) SetConstantDataArea(program.constantData, program.constantSize);
    if (program.dllCommandCount > 0) CopyDllCommandTables(app, program);

    NotifyLibrariesOfStart(program);
    app.libraries.assign(program.libraries, program.libraries + (program.libraries != nullptr ? program.libraryCount : 0));
    app.libraryDataWords.assign(app.libraries.size(), 0);

    if (program.templateSize > 0) ReadWindowTemplate(program);
}

uint32_t LoadStartupWindow(uint32_t windowId) {
    const WindowLayer* layer = InstalledWindowLayer();
    if (layer == nullptr || layer->LoadStartupWindow(windowId) == 0)
        ReportFatalError("载入启动窗口失败", 0, static_cast<int32_t>(windowId), 0);
    return 1;
}

void FinishStartup() {
    QuitOnLastClose = 1;
    if (AnyProgramWindowLive()) App().RunMessageLoop(LoopMode::Main);
}

}  // namespace quillet
