#include "tests/runtime/units/label/label_fixture.h"

namespace labeltest {

using namespace unittest;

std::string LabelData(const LabelFields& f, uint32_t version) {
    std::string data =
        Words({version, f.effect, f.borderWidth, f.borderStyle, f.borderColors[0], f.borderColors[1],
               f.borderColors[2], f.textColor, f.backColor, f.pictureMode, f.gradientMode, f.gradientColors[0],
               f.gradientColors[1], f.gradientColors[2], f.hAlign, f.vAlign, f.wordWrap}) +
        Block(f.font) + Block(f.picture) + Block(f.caption);
    if (version >= 2) data += Block(f.dataSource) + Block(f.dataColumn);
    return data;
}

Pixels Render(HWND label) {
    RECT client;
    GetClientRect(label, &client);
    // Magenta first: whatever the label leaves unpainted shows.
    const testunits::Canvas canvas(client.right, client.bottom, RGB(255, 0, 255));
    SendMessageA(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    return canvas.Read();
}

Pixels ReadWindow(HWND label) {
    RECT client;
    GetClientRect(label, &client);
    const testunits::Canvas canvas(client.right, client.bottom);
    HDC windowDc = GetDC(label);
    BitBlt(canvas.Dc(), 0, 0, client.right, client.bottom, windowDc, 0, 0, SRCCOPY);
    ReleaseDC(label, windowDc);
    return canvas.Read();
}

HWND LabelTest::LoadLabel(const LabelFields& fields, int32_t width, int32_t height,
                          std::vector<quillet::EventBinding> bindings) {
    const bool loaded = LoadWindowOf(
        WindowWith({ShownRecord(LabelId, LabelType, {10, 10, 10 + width, 10 + height}, LabelData(fields), bindings)}));
    EXPECT_TRUE(loaded);
    return loaded ? Handle(LabelId) : nullptr;
}

}  // namespace labeltest
