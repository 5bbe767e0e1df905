#pragma once
// The one place where an edit box's text is read or changed: the Content and
// SelText properties, the selection, normalisation, spin stepping and the
// AppendText command all come through here, so that how the text reaches the
// control is decided in one spot.
//
// The control is slow to take text (each call re-measures lines and repaints),
// so text the runtime writes or appends may wait here and reach the control
// later in a few big pieces (held_output.h tells the road; the pieces are cut
// in edit_text_handover.cpp). Only for a control that keeps every character it
// is given (multi-line, no length limit, no case conversion) and a text that
// comes back from it byte for byte. Every read through here sees the held
// text; anything that could see the control's own text (a message reaching
// it, the selection) has the text handed over first. The user is the
// exception: a click or key while more than one piece is held acts on what the
// box shows, and the rest comes after it without moving the caret or the view.
// The text last read from the control is kept too, since every change of it
// passes the box's window procedure.
//
// The control is a Unicode window and every text crosses to it and back in
// UTF-16 through the text converter, so it keeps every character; positions
// are converted in edit_positions.h.
#include <windows.h>

#include <cstdint>
#include <string>

#include "runtime/app/held_output.h"
#include "runtime/units/edit/edit_positions.h"

namespace quillet {

class EditText : public HeldOutput {
public:
    EditText() = default;
    EditText(const EditText&) = delete;
    EditText& operator=(const EditText&) = delete;
    ~EditText();

    void Attach(HWND edit) { edit_ = edit; }
    // The control is going away, and what it was not given goes with it.
    void Detach();
    // Whether text may wait here; withdrawing it hands the text over first.
    void AllowHolding(bool allowed);

    std::string Text() const;
    // The whole text without a copy; valid until the next change.
    const std::string& TextView() const;
    int32_t Length() const;  // bytes
    // The whole text; a single-line control reports the change itself, a
    // multi-line one does not.
    void Set(const char* text);
    // Inserts at the end, whatever the selection was, and scrolls there; kept
    // out of the control's undo buffer. True when a change is to be reported
    // by the caller: the text was not empty and waits here, so the control
    // reports nothing.
    bool Append(const char* text);
    // Replaces the selection, or inserts at the caret.
    void ReplaceSelection(const char* text);

    EditSelection Selection() const;
    std::string SelectedText() const;
    // Clamped to the text; scrolls the caret into view.
    void Select(int32_t start, int32_t length);

    // The box's window procedure calls this for every message before the
    // control sees it.
    void BeforeMessage(UINT message) const;
    // True while held text is being given to the control: its change reports
    // are then the runtime's own doing.
    bool HandingOver() const { return handingOver_; }

    // HeldOutput.
    bool HandOverPiece(PieceMode mode) override;
    size_t HeldBytes() const override;

private:
    enum class Known {
        Nothing,  // the control's text is not known here
        Same,     // text_ is the control's text
        Held,     // text_ is the box's text; the control has not caught up
        UserEdited,  // the box's text is the control's, which the user has
                     // changed since, and then text_ from same_ on
    };

    // The handover (edit_text_handover.cpp).
    void EnsureKnown() const;
    void CatchUpWithUser() const;
    bool RestFitsOnePiece() const;
    void LetUserAct(bool edits) const;
    void HoldFromNow() const;
    void HandOverAll() const;
    void MatchWholeText(const char* text, size_t size) const;
    void MatchAppended(const char* text, size_t size) const;
    void ForgetStale() const;
    void GiveControl(size_t end) const;
    void FinishHandOver() const;
    bool PaintDue() const;
    void Paint() const;
    void PaintAfterPiece(bool show, bool done) const;
    void Drop() const;
    size_t PieceEnd(double ms) const;

    ControlSelection ControlSelectionNow() const;
    std::string ReadControl() const;
    void AppendHeld(const char* text, size_t size) const;
    bool CanHold(const char* text, size_t size) const;

    HWND edit_ = nullptr;           // the EDIT control; null before creation
    bool holdingAllowed_ = false;   // text may wait here (the control keeps every byte)
    mutable Known known_ = Known::Nothing;
    mutable std::string text_;      // the box's text, unless known_ is Nothing
    mutable size_t same_ = 0;       // Held: bytes at the start of text_ that the control holds as they are
    mutable std::string stale_;     // Held: the control's text after those bytes, from staleFrom_ on
    mutable size_t staleFrom_ = 0;  // where that text starts in stale_
    mutable bool moreBeyond_ = false;  // Held: the control holds further bytes after those, not kept here
    mutable bool caretAtEnd_ = false;  // Held: after the last change the caret is at the end (an append), not at the start
    mutable bool modified_ = false;    // Held: the control's modified flag after the last change
    mutable bool userActed_ = false;   // Held: the user has clicked, typed or scrolled in the box; pieces keep the caret and view
    mutable bool busy_ = false;        // the runtime's own messages are reaching the control
    mutable bool handingOver_ = false; // held text is being given to the control
    mutable double bytesPerMs_ = 400;  // how fast the control takes text, learned from each piece
    mutable double lastPaint_ = 0;     // when the control last painted during a handover (ms)
    mutable double paintPause_ = 0;    // how long paints wait after the last one: ten times its cost
    mutable bool paintOwed_ = false;   // a piece's painting was skipped; the control repaints at the end
};

// What the AppendText command does with each of its texts, given the window of
// the unit it names: appends to the edit box unit, or to a bare EDIT control;
// any other window is left alone. The change is reported as it happens, and
// its handler may close the window.
enum class AppendOutcome {
    Appended,    // the box is still there for the next text
    BoxClosed,   // a handler run on the change closed the window
    NotEditBox,  // nothing changed
};
AppendOutcome AppendToEditBox(HWND box, const char* text);

}  // namespace quillet
