#include "runtime/app/startup.h"

#include <windows.h>
#include <ole2.h>

#include <vector>

#include "runtime/app/library_notify.h"
#include "runtime/app/runtime_app.h"
#include "runtime/app/window_layer.h"
#include "runtime/errors/error_report.h"
#include "runtime/template/program_window_layer.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/values/text.h"
#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

constexpr char HiddenOwnerClass[] = "_VL_HideOwner";

// The whole path, however long: a cut path would send the program to a wrong
// folder; and read wide, as a folder's name may hold any character.
std::string ModuleFileName() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::string();
        if (length < path.size() || path.size() >= 32768) return TextFromWide(path.data(), length);
        path.resize(path.size() * 2);
    }
}

void CreateHiddenOwner(RuntimeApp& app) {
    if (app.hiddenOwner.m_hWnd != nullptr) return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = HiddenOwnerClass;
    if (!AfxRegisterClass(&wc)) return;
    // Without a display there is no window; the program runs on without one.
    app.hiddenOwner.CreateEx(WS_EX_TOOLWINDOW, HiddenOwnerClass, "", 0, 0, 0, 0, 0, nullptr, nullptr);
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

int32_t FindLastPathSeparator(const char* path) {
    int32_t last = -1;
    for (int32_t i = 0; path[i] != '\0'; ++i) {
        if (IsLeadByte(path[i])) {
            if (path[i + 1] == '\0') break;
            ++i;  // the trail byte may be 0x5C: it is not a separator
        } else if (path[i] == '\\') {
            last = i;
        }
    }
    return last;
}

ModulePath SplitModulePath() {
    const std::string path = ModuleFileName();
    const int32_t separator = FindLastPathSeparator(path.c_str());
    if (separator < 0) return ModulePath{std::string(), path};
    const auto at = static_cast<size_t>(separator);
    return ModulePath{path.substr(0, at), path.substr(at + 1)};
}

void InitialiseRuntime() {
    RuntimeApp& app = App();
    const ProgramInfo& program = LinkedProgramInfo();
    // The program's windows, unless a test program brought a layer of its own.
    if (InstalledWindowLayer() == nullptr) InstallProgramWindowLayer();
    // The runtime heap is the process heap; runtime_heap asks for it itself.
    app.interfaceWordA = program.interfaceWordA;
    app.interfaceWordB = program.interfaceWordB;
    app.idSerialCounter = program.idSerialWord + 1;
    if (!app.oleInitialised) app.oleInitialised = SUCCEEDED(OleInitialize(nullptr));

    ModulePath path = SplitModulePath();
    app.programDirectory = std::move(path.directory);
    app.programFileName = std::move(path.fileName);
    SetCurrentDirectoryW(WideFromText(app.programDirectory.c_str()).c_str());

    FillCallbackSlots(1, CallbackSlotCount);
    CreateHiddenOwner(app);
    app.mainThreadId = GetCurrentThreadId();
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

const char* ProgramDirectory() { return App().programDirectory.c_str(); }
const char* ProgramFileName() { return App().programFileName.c_str(); }

}  // namespace quillet
