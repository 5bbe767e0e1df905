// The label as a unit: its window class, its stored data, what each property
// write stores and changes, and the relay message that runs its event-0
// handler for other code.
#include <cstring>
#include <string>
#include <vector>

#include "framework/wnd.h"
#include "runtime/events/property_access.h"
#include "runtime/units/font_data.h"
#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"
#include "tests/runtime/units/label/label_fixture.h"
#include "runtime/values/system_text.h"

namespace labeltest {
namespace {

using namespace quillet;
using namespace unittest;


DWORD ExStyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)); }
DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }

using LabelUnitTest = LabelTest;

TEST_F(LabelUnitTest, AnEmptyLabelSavesIn88BytesAndItsClassPaintsEverything) {
    HWND label = LoadLabel({}, 100, 30);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(SavedOf(LabelId, LabelType).size(), 88u);
    EXPECT_EQ(SavedOf(LabelId, LabelType), LabelData({}));
    char className[32] = {};
    GetClassNameA(label, className, sizeof className);
    EXPECT_STREQ(className, "_VL_Label");
    EXPECT_EQ(GetClassLongA(label, GCL_STYLE), static_cast<DWORD>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(GetClassLongPtrA(label, GCLP_HBRBACKGROUND)), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(StyleOf(label) & (WS_CHILD | WS_CLIPSIBLINGS), static_cast<DWORD>(WS_CHILD | WS_CLIPSIBLINGS));
}

TEST_F(LabelUnitTest, DataOfALaterVersionOrCutShortIsRefused) {
    LoadLabel({}, 100, 30);
    HWND parent = Handle(0);
    auto create = OperationOf<CreateUnitOperation>(LabelType, InterfaceNumber::CreateUnit);
    auto tryData = [&](const std::string& data) {
        return create(data.data(), static_cast<int32_t>(data.size()), 0, parent, 500, nullptr, 0, 0, 50, 20, WindowId,
                      0x160100F0, 0, 0);
    };
    EXPECT_EQ(tryData(LabelData({}, 3)), nullptr);
    const std::string whole = LabelData({});
    EXPECT_EQ(tryData(whole.substr(0, whole.size() - 2)), nullptr);
    EXPECT_EQ(GetDlgItem(parent, 500), nullptr);

    // Version 1 holds no binding names; the label saves version 2.
    LabelFields old;
    old.caption = "旧标签";
    auto* unit = static_cast<CWnd*>(tryData(LabelData(old, 1)));
    ASSERT_NE(unit, nullptr);
    auto save = OperationOf<SavePropertiesOperation>(LabelType, InterfaceNumber::SaveProperties);
    HGLOBAL block = static_cast<HGLOBAL>(save(unit));
    EXPECT_EQ(testunits::TakenBytes(block), LabelData(old, 2));
    DestroyWindow(unit->m_hWnd);
}

TEST_F(LabelUnitTest, EveryWriteIsStoredAndPicksAreClamped) {
    HWND label = LoadLabel({}, 100, 30);
    struct Case {
        int32_t index;
        uint32_t written;
        uint32_t stored;
    };
    const Case cases[] = {
        {Index::Effect, 9, 3},          {Index::Effect, 2, 2},
        {Index::BorderStyle, 40, 6},    {Index::BorderWidth, 2, 5},
        {Index::BorderWidth, 12, 12},   {Index::BorderWidth, static_cast<uint32_t>(-7), 5},
        {Index::BorderColor1, 0x123456, 0x123456}, {Index::BorderColor2, DefaultColor, DefaultColor},
        {Index::BorderColor3, 0x010203, 0x010203}, {Index::TextColor, 0x0000FF, 0x0000FF},
        {Index::BackColor, 0xABCDEF, 0xABCDEF},    {Index::PictureMode, 3, 2},
        {Index::GradientMode, 100, 8},  {Index::GradientMode, static_cast<uint32_t>(-1), 0},
        {Index::GradientColor1, 1, 1},  {Index::GradientColor2, 2, 2}, {Index::GradientColor3, 3, 3},
        {Index::HAlign, 5, 2},          {Index::WordWrap, 4, 1},       {Index::VAlign, 0, 0},
    };
    for (const Case& c : cases) {
        Write(LabelId, c.index, c.written);
        EXPECT_EQ(Read(LabelId, c.index), c.stored) << "property " << c.index << " written " << c.written;
    }
    EXPECT_EQ(Handle(LabelId), label) << "no write makes the window again";

    Write(LabelId, Index::Caption, Word("撤销"));
    EXPECT_EQ(ReadText(LabelId, Index::Caption), "撤销");
    EXPECT_EQ(quillet::ReadWindowText(label), "撤销");
    Write(LabelId, Index::DataSource, Word("源"));
    Write(LabelId, Index::DataColumn, Word("列"));
    EXPECT_EQ(ReadText(LabelId, Index::DataSource), "源");
    EXPECT_EQ(ReadText(LabelId, Index::DataColumn), "列");

    const std::string picture = "not decoded until painted";
    void* byteSet = NewByteSet(picture.data(), static_cast<int32_t>(picture.size()));
    Write(LabelId, Index::BackPicture, Word(byteSet));
    FreeBlock(byteSet);
    void* back = reinterpret_cast<void*>(Read(LabelId, Index::BackPicture));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(std::string(ByteSetBytes(back), ByteSetLength(back)), picture);
    FreeBlock(back);

    LabelFields expected;
    expected.effect = 2;
    expected.borderStyle = 6;
    expected.borderWidth = 5;
    expected.borderColors[0] = 0x123456;
    expected.borderColors[1] = DefaultColor;
    expected.borderColors[2] = 0x010203;
    expected.textColor = 0x0000FF;
    expected.backColor = 0xABCDEF;
    expected.pictureMode = 2;
    expected.gradientMode = 0;
    expected.gradientColors[0] = 1;
    expected.gradientColors[1] = 2;
    expected.gradientColors[2] = 3;
    expected.hAlign = 2;
    expected.wordWrap = 1;
    expected.vAlign = 0;
    expected.picture = picture;
    expected.caption = "撤销";
    expected.dataSource = "源";
    expected.dataColumn = "列";
    EXPECT_EQ(SavedOf(LabelId, LabelType), LabelData(expected));
}

TEST_F(LabelUnitTest, AWriteInvalidatesTheLabel) {
    HWND label = LoadLabel({}, 100, 30);
    UpdateWindow(label);
    RECT dirty;
    ASSERT_FALSE(GetUpdateRect(label, &dirty, FALSE));
    Write(LabelId, Index::TextColor, 0x00FF00);
    EXPECT_TRUE(GetUpdateRect(label, &dirty, FALSE));
    EXPECT_EQ(dirty.right - dirty.left, 100);
}

TEST_F(LabelUnitTest, BorderStylesAreWindowBordersUpToFive) {
    LabelFields sunken;
    sunken.borderStyle = 1;
    HWND label = LoadLabel(sunken, 100, 30);
    constexpr DWORD Edges = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;
    EXPECT_EQ(ExStyleOf(label) & Edges, static_cast<DWORD>(WS_EX_CLIENTEDGE)) << "applied at creation";
    RECT client;
    GetClientRect(label, &client);
    EXPECT_LT(client.right, 100) << "the frame is recomputed";

    const struct {
        uint32_t style;
        DWORD exStyle;
        DWORD border;
    } table[] = {
        {2, WS_EX_DLGMODALFRAME, 0},
        {3, WS_EX_STATICEDGE, 0},
        {4, WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME, 0},
        {5, 0, WS_BORDER},
        {0, 0, 0},
        {6, 0, 0},
    };
    for (const auto& row : table) {
        Write(LabelId, Index::BorderStyle, row.style);
        EXPECT_EQ(ExStyleOf(label) & Edges, row.exStyle) << "style " << row.style;
        EXPECT_EQ(StyleOf(label) & WS_BORDER, row.border) << "style " << row.style;
    }
    GetClientRect(label, &client);
    EXPECT_EQ(client.right, 100) << "the painted frame takes no window border";
}

// ---- EnumTexts ----

TEST(LabelTextsTest, CaptionFaceNameAndBindingNamesAreOfferedForReplacement) {
    testunits::TextOffers offers({}, "楷体");
    FontData font = DefaultGuiFontData();
    std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
    std::strcpy(font.lfFaceName, "宋体");
    LabelFields fields;
    fields.caption = "说明";
    fields.font.assign(reinterpret_cast<const char*>(&font), sizeof font);
    fields.dataSource = "源";
    fields.dataColumn = "列";
    const std::string data = LabelData(fields);
    int32_t length = static_cast<int32_t>(data.size());
    auto enumTexts = OperationOf<EnumTextsOperation>(LabelType, InterfaceNumber::EnumTexts);
    HGLOBAL block = static_cast<HGLOBAL>(enumTexts(data.data(), &length, offers.Answer, offers.Context()));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(offers.offered, (std::vector<testunits::OfferedText>{
                                  {"说明", 0}, {"宋体", EnumTextFlag::FontName}, {"源", 0}, {"列", 0}}));
    std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
    std::strcpy(font.lfFaceName, "楷体");
    fields.font.assign(reinterpret_cast<const char*>(&font), sizeof font);
    ASSERT_EQ(length, static_cast<int32_t>(LabelData(fields).size()));
    EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(block)), static_cast<size_t>(length)), LabelData(fields));
    GlobalUnlock(block);
    GlobalFree(block);

    const std::string later = LabelData(fields, 3);
    length = static_cast<int32_t>(later.size());
    EXPECT_EQ(enumTexts(later.data(), &length, offers.Answer, offers.Context()), nullptr);
}

// ---- the relay message ----

// Other code sends this number to a label.
constexpr UINT RelayMessage = 0x8075;

struct RelayCall {
    int32_t count = -1;
    uint32_t args[2] = {};
} relayCall;

quillet::HandlerResult AnswerSeven(const uint32_t* args, int32_t count) {
    relayCall.count = count;
    std::memcpy(relayCall.args, args, sizeof relayCall.args);
    return {1, 7, 0};
}
quillet::HandlerResult AnswerNothing(const uint32_t*, int32_t) { return {0, 55, 0}; }

TEST_F(LabelUnitTest, TheRelayMessageReturnsTheHandlersValue) {
    relayCall = RelayCall{};
    HWND label = LoadLabel({}, 100, 30, {{0, testprogram::HandlerOffset(&AnswerSeven)}});
    EXPECT_EQ(SendMessageA(label, RelayMessage, 3, 4), 7);
    EXPECT_EQ(relayCall.count, 2);
    EXPECT_EQ(relayCall.args[0], 3u);
    EXPECT_EQ(relayCall.args[1], 4u);
}

TEST_F(LabelUnitTest, TheRelayMessageAnswersZeroWithoutAValue) {
    HWND label = LoadLabel({}, 100, 30);
    EXPECT_EQ(SendMessageA(label, RelayMessage, 3, 4), 0) << "no handler";
    label = LoadLabel({}, 100, 30, {{0, testprogram::HandlerOffset(&AnswerNothing)}});
    EXPECT_EQ(SendMessageA(label, RelayMessage, 3, 4), 0) << "a handler that returned none";
}

struct Relay {
    HWND label;
    LRESULT answer;
    volatile LONG done;
};

DWORD WINAPI SendRelay(void* parameter) {
    auto* relay = static_cast<Relay*>(parameter);
    relay->answer = SendMessageA(relay->label, RelayMessage, 3, 4);
    InterlockedExchange(&relay->done, 1);
    return 0;
}

TEST_F(LabelUnitTest, AnotherThreadGetsTheAnswerFromTheLabelsThread) {
    relayCall = RelayCall{};
    Relay relay = {LoadLabel({}, 100, 30, {{0, testprogram::HandlerOffset(&AnswerSeven)}}), -1, 0};
    HANDLE worker = CreateThread(nullptr, 0, &SendRelay, &relay, 0, nullptr);
    ASSERT_NE(worker, nullptr);
    for (int wait = 0; wait < 5000 && relay.done == 0; ++wait) {
        testprogram::Pump();
        Sleep(1);
    }
    WaitForSingleObject(worker, 5000);
    CloseHandle(worker);
    EXPECT_EQ(relay.answer, 7);
    EXPECT_EQ(relayCall.args[1], 4u);
}

}  // namespace
}  // namespace labeltest
