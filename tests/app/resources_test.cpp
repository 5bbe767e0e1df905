// The program's own resources: read back from the built quillet.exe file (its
// icon in three sizes, the hand cursor, the version information, no visual
// styles), and in this process, which links the same resources, as the
// runtime hands them out: the window's icon and mouse pointer 14.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/unit_ids.h"
#include "runtime/events/property_kinds.h"
#include "runtime/template/record_cursor.h"
#include "runtime/units/notify_runtime.h"
#include "tests/app/tool_window.h"
#include "tests/support/child_process.h"

namespace {

using quillet::HandCursorResource;

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                        wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

std::wstring ProgramFile() { return Wide(BesideTests("..\\quillet.exe")); }

// A resource's bytes, empty when the module has none of that name and type.
std::string ResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type) {
    HRSRC found = FindResourceW(module, name, type);
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    return bytes != nullptr ? std::string(static_cast<const char*>(bytes), SizeofResource(module, found)) : "";
}

// The width of every image a group icon directory lists (0 stands for 256).
std::multiset<int> GroupIconWidths(const std::string& group) {
    std::multiset<int> widths;
    if (group.size() < 6) return widths;
    uint16_t count = 0;
    std::memcpy(&count, group.data() + 4, 2);
    for (size_t i = 0; i < count && 6 + 14 * (i + 1) <= group.size(); ++i) {
        const auto width = static_cast<uint8_t>(group[6 + 14 * i]);
        widths.insert(width == 0 ? 256 : width);
    }
    return widths;
}

// What tells one cursor image from another: its hot spot and its mask's bits.
struct CursorLook {
    DWORD hotX = 0, hotY = 0;
    std::vector<uint8_t> mask;
    bool operator==(const CursorLook&) const = default;
};

CursorLook LookOf(HCURSOR cursor) {
    CursorLook look;
    ICONINFO info{};
    if (cursor == nullptr || !GetIconInfo(cursor, &info)) return look;
    look.hotX = info.xHotspot;
    look.hotY = info.yHotspot;
    BITMAP bitmap{};
    GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
    look.mask.resize(static_cast<size_t>(bitmap.bmWidthBytes) * static_cast<size_t>(bitmap.bmHeight));
    GetBitmapBits(info.hbmMask, static_cast<LONG>(look.mask.size()), look.mask.data());
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    return look;
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    return bitmap.bmWidth;
}

// The built program, loaded for its resources only.
class ProgramFileTest : public testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryExW(ProgramFile().c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr) << GetLastError();
    }
    void TearDown() override {
        if (module != nullptr) FreeLibrary(module);
    }
    HMODULE module = nullptr;
};

TEST_F(ProgramFileTest, TheIconHasImagesOf16And32And48Pixels) {
    const std::string group = ResourceBytes(module, L"DEFAULT_ICON", MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    ASSERT_FALSE(group.empty());
    EXPECT_EQ(GroupIconWidths(group), (std::multiset<int>{16, 32, 48}));
    for (int size : {16, 32, 48}) {
        auto icon = static_cast<HICON>(LoadImageW(module, L"DEFAULT_ICON", IMAGE_ICON, size, size, 0));
        EXPECT_EQ(IconWidth(icon), size);
        if (icon != nullptr) DestroyIcon(icon);
    }
}

TEST_F(ProgramFileTest, TheHandCursorLoadsWithItsHotSpotAtTheFingertip) {
    auto cursor = static_cast<HCURSOR>(
        LoadImageW(module, MAKEINTRESOURCEW(HandCursorResource), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
    ASSERT_NE(cursor, nullptr);
    const CursorLook look = LookOf(cursor);
    EXPECT_EQ(look.hotX, 9u);
    EXPECT_EQ(look.hotY, 0u);
    EXPECT_EQ(IconWidth(cursor), 32);
    DestroyCursor(cursor);
}

const LPCWSTR ManifestType = MAKEINTRESOURCEW(24);  // RT_MANIFEST

BOOL CALLBACK CollectManifest(HMODULE from, LPCWSTR, LPWSTR name, LONG_PTR into) {
    reinterpret_cast<std::vector<std::string>*>(into)->push_back(ResourceBytes(from, name, ManifestType));
    return TRUE;
}

TEST_F(ProgramFileTest, TheManifestFollowsEachDisplaysScaleAndAsksForNoVisualStyles) {
    std::vector<std::string> manifests;
    EnumResourceNamesW(module, ManifestType, CollectManifest, reinterpret_cast<LONG_PTR>(&manifests));
    ASSERT_EQ(manifests.size(), 1u);
    EXPECT_EQ(manifests[0].find("Microsoft.Windows.Common-Controls"), std::string::npos) << manifests[0];
    EXPECT_NE(manifests[0].find(">PerMonitorV2, PerMonitor<"), std::string::npos) << manifests[0];
    EXPECT_NE(manifests[0].find(">true/pm<"), std::string::npos) << manifests[0];
}

TEST(ProgramVersionTest, TheFileSaysQuillet1000InChineseAndEnglish) {
    const std::wstring file = ProgramFile();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<uint8_t> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    struct Expected {
        const wchar_t* key;
        std::wstring value;  // empty: any text but the empty one
    };
    const Expected table[] = {
        {L"ProductName", L"Quillet"},
        {L"FileVersion", L"1.0.0.0"},
        {L"ProductVersion", L"1.0.0.0"},
        {L"OriginalFilename", L"quillet.exe"},
        {L"FileDescription", L""},
        {L"LegalCopyright", L""},
    };
    for (const wchar_t* block : {L"080404B0", L"040904B0"}) {
        for (const Expected& expected : table) {
            const std::wstring path = std::wstring(L"\\StringFileInfo\\") + block + L"\\" + expected.key;
            wchar_t* value = nullptr;
            UINT characters = 0;
            ASSERT_TRUE(VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &characters))
                << testing::PrintToString(path);
            if (expected.value.empty()) {
                EXPECT_GT(std::wcslen(value), 0u) << testing::PrintToString(path);
            } else {
                EXPECT_EQ(std::wstring(value), expected.value) << testing::PrintToString(path);
            }
        }
    }
    // The Chinese description names the tool as its window does.
    wchar_t* description = nullptr;
    UINT characters = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\080404B0\\FileDescription",
                               reinterpret_cast<void**>(&description), &characters));
    EXPECT_NE(std::wstring(description).find(L"\x6587\x672C\x52A9\x624B"), std::wstring::npos);  // 文本助手
}

TEST(ProgramIconTest, TheRuntimeHandsOutTheIconAndTheWindowShowsIt) {
    tool::Start();
    HICON icons[2] = {nullptr, nullptr};
    quillet::NotifyRuntime(quillet::ServiceCode::ProgramIcons, reinterpret_cast<uintptr_t>(icons));
    ASSERT_NE(icons[0], nullptr);
    ASSERT_NE(icons[1], nullptr);
    EXPECT_EQ(IconWidth(icons[0]), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(IconWidth(icons[1]), GetSystemMetrics(SM_CXSMICON));

    HWND window = tool::Handle(quillet::app::WindowRecord);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0)), icons[0]);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0)), icons[1]);
}

TEST(ProgramCursorTest, MousePointer14IsTheProgramsOwnHand) {
    const uint32_t id = quillet::CursorIdFromNumber(14);
    uint8_t data[4];
    std::memcpy(data, &id, sizeof id);
    void* made = quillet::MakeRecordCursor(data, sizeof data);
    ASSERT_NE(made, nullptr);
    HCURSOR own = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(HandCursorResource));
    ASSERT_NE(own, nullptr) << "this process links the program's resources";
    const CursorLook look = LookOf(static_cast<HCURSOR>(made));
    EXPECT_EQ(look, LookOf(own));
    EXPECT_NE(look, LookOf(LoadCursorA(nullptr, IDC_HAND))) << "not the system's hand";
    quillet::DestroyRecordCursor(made);
}

}  // namespace
