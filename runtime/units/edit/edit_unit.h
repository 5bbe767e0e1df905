#pragma once
// The edit box unit: an EDIT control with the unit-object protocol, its stored
// properties, the single-line look, the change guard behind ContentChanged,
// numeric input and an optional spin adjuster.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <memory>
#include <string>

#include "framework/edit.h"
#include "runtime/units/edit/edit_data.h"
#include "runtime/units/edit/edit_text.h"
#include "runtime/units/property_data.h"
#include "runtime/units/unit_gdi.h"
#include "runtime/units/unit_object.h"
#include "runtime/units/unit_type.h"

namespace quillet {

class EditSpinAdjuster;

// The edit box's own events.
namespace EditBoxEvent {
constexpr int32_t ContentChanged = 0;
constexpr int32_t SpinAdjusted = 1;  // argument: 1 up, -1 down
// A file was dropped on the box; argument: its path, a text that lives until
// the handler returns. Only a box whose template binds this event takes drops.
constexpr int32_t FileDropped = 2;
}  // namespace EditBoxEvent

struct EditBoxState {
    EditBoxFields fields;      // the stored properties (the PropertyData fields)
    std::string font;          // the Font block as written: 60 bytes, or empty for the stock font
    std::string dataSource;    // name of a data-source unit; stored only, as no type here is one
    std::string dataColumn;    // its column name; stored only
    SolidBrush background;     // BackColor's brush, made again when it changes
    UnitFont unitFont;         // the font made from `font`
    int32_t letterHeight = 0;  // height of "W" in the font: a single-line box's client band; 0 before the font
    std::unique_ptr<EditSpinAdjuster> spin;  // the spin adjuster; null without one
    bool changeGuard = false;  // set while the runtime itself rewrites the text
    EditText text;             // every read and change of the control's text
    std::string readBack;      // a text property's value, kept until the runtime has copied it
    uint32_t runOfText = 0;    // the run (RunNumber) that last read or wrote the text; 0 none
};

class EditBoxUnit : public UnitObject<CEdit>, public PropertyDataSource {
public:
    EditBoxUnit(UnitId windowId, UnitId unitId, const EditBoxData& data);
    ~EditBoxUnit() override;

    // Creates the EDIT window (and the spin adjuster) from the stored properties
    // with the initial text; false when the window cannot be made.
    bool Create(const std::string& content, uint32_t extraStyle, HWND parent, uint32_t controlId, const RECT& area);

    // A box from PropertyData; null when the data is refused or the window
    // cannot be made.
    static EditBoxUnit* CreateUnit(const void* data, int32_t length, const UnitPlacement& placement);

    // SetProperty: 1 when the window must be rebuilt from the saved properties.
    // GetProperty: 1 for a known index.
    AfterWrite SetProperty(int32_t ownIndex, const PropertyValue& value);
    int32_t GetProperty(int32_t ownIndex, PropertyValue* value);
    bool WantsKey(int32_t keyCode) const;
    void WritePropertyData(PropertyDataWriter& writer) override;

    // A Content write: the whole text, one ContentChanged (LoadTextFile too).
    void WriteContent(const char* text);
    // The AppendText command's insertion at the end; false when a handler of
    // the change closed the window (and this object is gone with it).
    bool AppendText(const char* text);
    // An arrow of the spin adjuster was pressed (delta > 0: up).
    void SpinStep(int32_t delta);
    // The text, for the commands on the file the box holds (edit_text.h).
    EditText& Text() { return state_.text; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool IsSingleLine() const { return state_.fields.multiLine == 0; }
    bool ControlKeepsText() const;

    // Creation and look (edit_unit.cpp).
    DWORD CreationStyle(uint32_t extraStyle) const;
    void ApplyFont();
    void RecomputeFrame();
    void CreateSpin(uint32_t controlId, bool disabled);
    LRESULT OnNcCalcSize(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcHitTest(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcPaint(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBackground(HDC dc);
    LRESULT OnControlColor(HDC dc);
    LRESULT OnReflectedCommand(UINT message, WPARAM wParam, LPARAM lParam);
    void OnWindowPosChanged(const WINDOWPOS& position);
    void OnDestroy();
    LRESULT OnDropFiles(HDROP drop);
    LRESULT OnContextMenuDuringRun(WPARAM wParam, LPARAM lParam);
    void NoteTextUsedByRun();
    bool TextBelongsToRun() const;

    // Text (edit_unit.cpp).
    void SetTextGuarded(const char* text);
    void RaiseContentChanged();
    void NormaliseOnFocusLoss();

    // Properties (edit_properties.cpp).
    AfterWrite Rebuilds(int32_t* field, int32_t value);
    void ApplyInputMode();
    void ApplyPasswordChar();
    void ApplySpinRange();
    void ApplySpinBorder();
    void WriteSelStart(int32_t start);
    void WriteSelLength(int32_t length);
    const std::string& ReadBack(std::string text);

    EditBoxState state_;
};

// Interface 8: 1 when the box handles the key itself.
int32_t EditBoxWantsKey(void* unit, int32_t keyCode);


}  // namespace quillet
