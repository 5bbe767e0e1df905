// The numbered services units ask of the runtime, on the tests' own window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/wnd.h"
#include "runtime/app/runtime_app.h"
#include "runtime/events/event_suppression.h"
#include "runtime/events/window_loader.h"
#include "runtime/services/unit_services.h"
#include "runtime/units/notify_runtime.h"
#include "tests/runtime/events/probe_units.h"
#include "tests/support/fatal_guard.h"
#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

using namespace probe;

using UnitServicesTest = StandardWindowTest;

TEST_F(UnitServicesTest, WindowsByIndexAnswerOnlyWhileLive) {
    EXPECT_EQ(NotifyRuntime(ServiceCode::WindowCount), 1u);
    EXPECT_EQ(NotifyRuntime(ServiceCode::WindowHandleByIndex, 0), 0u) << "not loaded";
    Load();
    EXPECT_EQ(NotifyRuntime(ServiceCode::WindowHandleByIndex, 0), reinterpret_cast<uintptr_t>(Handle(0)));
    EXPECT_EQ(NotifyRuntime(ServiceCode::WindowHandleByIndex, 1), 0u) << "beyond the table";
    EXPECT_EQ(NotifyRuntime(ServiceCode::WindowHandleByIndex, static_cast<uintptr_t>(-1)), 0u);
}

TEST_F(UnitServicesTest, UnitsAreFoundByIdsAndHandles) {
    EXPECT_EQ(NotifyRuntime(ServiceCode::FindUnit, WindowId, A), 0u) << "not loaded";
    Load();
    auto* unit = reinterpret_cast<CWnd*>(NotifyRuntime(ServiceCode::FindUnit, WindowId, A));
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->m_hWnd, Handle(A));
    EXPECT_EQ(NotifyRuntime(ServiceCode::WindowHandleOf, reinterpret_cast<uintptr_t>(unit)),
              reinterpret_cast<uintptr_t>(unit->m_hWnd));
    EXPECT_EQ(NotifyRuntime(ServiceCode::FindUnit, WindowId, 0),
              reinterpret_cast<uintptr_t>(CWnd::FromHandlePermanent(Handle(0))));
    EXPECT_EQ(NotifyRuntime(ServiceCode::IsUnitWindow, reinterpret_cast<uintptr_t>(unit->m_hWnd)), 1u);
    EXPECT_EQ(NotifyRuntime(ServiceCode::IsUnitWindow, reinterpret_cast<uintptr_t>(GetDesktopWindow())), 0u);
    EXPECT_EQ(NotifyRuntime(ServiceCode::RecordType, WindowId, Tab), TabType);
    EXPECT_EQ(NotifyRuntime(ServiceCode::RecordType, WindowId, 0), WindowType);
    EXPECT_EQ(NotifyRuntime(ServiceCode::RecordType, WindowId, 0x16010099), 0u);

    const auto report = CatchFatalReport([] { NotifyRuntime(ServiceCode::FindUnitOrFail, WindowId, 0x16010099); });
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->text.find("指定窗口或窗口组件不存在或尚未载入"), 0u);
}

TEST_F(UnitServicesTest, MenuItemsHaveNoObjectWhateverTheirShortcut) {
    WindowDescription window = StandardWindow();
    RecordDescription item;
    item.id = 0x26010009;
    item.type = MenuItemType;
    item.isMenuItem = true;
    item.caption = "打开";
    item.shortcut = 15;  // Ctrl+O: its word stands where a unit keeps its object
    window.records.push_back(item);
    ASSERT_TRUE(testprogram::UseTemplate({window}));
    Load();
    EXPECT_EQ(NotifyRuntime(ServiceCode::FindUnit, WindowId, item.id), 0u);
    EXPECT_EQ(NotifyRuntime(ServiceCode::IsUnitWindow, 15), 0u);
    HMENU menu = GetMenu(Handle(0));
    ASSERT_NE(menu, nullptr);
    wchar_t caption[64] = {};
    GetMenuStringW(menu, 20000, caption, 64, MF_BYCOMMAND);
    EXPECT_EQ(quillet::TextFromWide(caption), "打开\tCtrl+O");
}

TEST_F(UnitServicesTest, AttachingGivesUpWhenEitherSideIsTaken) {
    Load();
    HWND unitHandle = Handle(A);
    CWnd spare;
    EXPECT_EQ(NotifyRuntime(ServiceCode::AttachIfUnattached, reinterpret_cast<uintptr_t>(unitHandle),
                            reinterpret_cast<uintptr_t>(&spare)),
              0u);
    EXPECT_EQ(spare.m_hWnd, nullptr);
    EXPECT_NE(CWnd::FromHandlePermanent(unitHandle), &spare);

    HWND plain = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(NotifyRuntime(ServiceCode::AttachIfUnattached, reinterpret_cast<uintptr_t>(plain),
                            reinterpret_cast<uintptr_t>(&spare)),
              1u);
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), &spare);
    EXPECT_EQ(NotifyRuntime(ServiceCode::DetachObject, reinterpret_cast<uintptr_t>(&spare)),
              reinterpret_cast<uintptr_t>(plain));
    DestroyWindow(plain);
}

TEST_F(UnitServicesTest, TypesAndProgramWords) {
    EXPECT_EQ(NotifyRuntime(ServiceCode::TypeKind, TabType), 1u);
    EXPECT_EQ(NotifyRuntime(ServiceCode::TypeKind, 0x00010002), 0u);
    EXPECT_EQ(NotifyRuntime(ServiceCode::TypeDescriptor, UnitType),
              reinterpret_cast<uintptr_t>(TypeDescriptorOf(UnitType)));
    EXPECT_EQ(NotifyRuntime(ServiceCode::RuntimeVersion), 0x70005u);
    EXPECT_EQ(NotifyRuntime(ServiceCode::InterfaceWordA), 3u);
    char path[MAX_PATH] = "x";
    NotifyRuntime(ServiceCode::ProgramPaths, 7, reinterpret_cast<uintptr_t>(path));
    EXPECT_STREQ(path, "");
    NotifyRuntime(ServiceCode::ProgramPaths, 2002, reinterpret_cast<uintptr_t>(path));
    EXPECT_STREQ(path, "window_tests.exe");
}

// The module path may be far longer than MAX_PATH, the callers' buffer: a path
// that does not fit with its ending 0 gives the empty text, never a cut path,
// and nothing is written past the buffer.
TEST_F(UnitServicesTest, ProgramPathsNeverWritePastAPathBuffer) {
    RuntimeApp& app = App();
    const std::string directory = app.programDirectoryWithSlash, fileName = app.programFileName;
    constexpr size_t Beyond = 64;
    for (const uintptr_t which : {1u, 2001u, 2002u}) {
        for (const size_t length : {size_t{MAX_PATH - 1}, size_t{MAX_PATH}, size_t{300}, size_t{32767}}) {
            const std::string path = std::string(length - 1, 'p') + "\\";
            (which == 2002 ? app.programFileName : app.programDirectoryWithSlash) = path;
            std::vector<char> buffer(MAX_PATH + Beyond, 'x');
            NotifyRuntime(ServiceCode::ProgramPaths, which, reinterpret_cast<uintptr_t>(buffer.data()));
            EXPECT_EQ(std::string(buffer.data()), length < MAX_PATH ? path : "") << which << ", " << length << " bytes";
            EXPECT_EQ(std::string(buffer.begin() + MAX_PATH, buffer.end()), std::string(Beyond, 'x'))
                << which << ", " << length << " bytes";
        }
    }
    app.programDirectoryWithSlash = directory;
    app.programFileName = fileName;
}

TEST_F(UnitServicesTest, SuspendingAndResumingEventsNeverGoesBelowZero) {
    NotifyRuntime(ServiceCode::ResumeEvents);
    EXPECT_EQ(EventSuppressionCount(), 0);
    NotifyRuntime(ServiceCode::SuspendEvents);
    NotifyRuntime(ServiceCode::SuspendEvents);
    EXPECT_EQ(EventSuppressionCount(), 2);
    NotifyRuntime(ServiceCode::ResumeEvents);
    NotifyRuntime(ServiceCode::ResumeEvents);
    NotifyRuntime(ServiceCode::ResumeEvents);
    EXPECT_EQ(EventSuppressionCount(), 0);
}

TEST_F(UnitServicesTest, LoadingThroughTheServiceShowsTheWindow) {
    LoadWindowRequest request = {WindowId, nullptr, 0};
    EXPECT_EQ(NotifyRuntime(ServiceCode::LoadWindow, reinterpret_cast<uintptr_t>(&request)), 0u);
    EXPECT_TRUE(IsWindowVisible(Handle(0)));
    EXPECT_FALSE(ProgramWindows().Find(WindowId)->state.loaded) << "the first show cleared the mark";
    request.windowId = 0x52010077;
    EXPECT_EQ(static_cast<int32_t>(NotifyRuntime(ServiceCode::LoadWindow, reinterpret_cast<uintptr_t>(&request))), -1);
}

}  // namespace
}  // namespace quillet
