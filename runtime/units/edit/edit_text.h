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
// text; a message that reads the control's own text (WM_GETTEXT, EM_GETLINE,
// the line count and indexes) has the text handed over first, and so does the
// runtime's own use of the selection. The user and other programs are the
// exception: a click or key while more than one piece is held, and any message
// of the view or the selection (screen readers send them on every move of the
// caret), act on what the box shows, and the rest comes after without moving
// the caret or the view. While a run owns the box, a change of its text that
// did not come through here is refused (ChangeFromElsewhere).
// The text last read from the control is kept too, since every change of it
// passes the box's window procedure.
//
// The control is a Unicode window and every text crosses to it and back in
// UTF-16 through the text converter, so it keeps every character; positions
// are converted in edit_positions.h.
#include <windows.h>

#include <cstdint>
#include <string>

#include "runtime/units/edit/edit_positions.h"
#include "runtime/units/held_output.h"

namespace quillet {

// What the box's text is, by known_:
//   Nothing     nothing is kept: the control's text is the box's. text_ is empty.
//   Same        text_ is the control's text, byte for byte.
//   Held        text_ is the box's text, which the control may not have yet:
//               it holds text_[0, same_) as it is; after that, stale_[staleFrom_,
//               end) (what it holds that may still match text appended later);
//               after that, further bytes not kept here if moreBeyond_. A
//               piece replaces everything after same_ with text_[same_, end)
//               and moves same_ to end; the last one leaves known_ Same, with
//               the caret (caretAtEnd_) and the modified flag (modified_) the
//               last change would have left.
//   UserEdited  as Held, but the user has edited the control, whose whole
//               text now stands for text_[0, same_) (nothing stale or beyond);
//               it is read back, making it Held again, before text_ is used.
// The box is on the held-output list while known_ is Held or UserEdited, and
// after the last piece of a handover until the paint it owes (paintOwed_) has
// been made as a step of its own. userActed_ (Held, UserEdited): pieces keep
// the user's caret and view. busy_: the runtime's own messages are reaching
// the control, which BeforeMessage lets through untouched.
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

    // Not const: the first read after the control changed reads it back.
    std::string Text();
    // The whole text without a copy; valid until the next change.
    const std::string& TextView();
    int32_t Length();  // bytes
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

    // Hand the held text over first: the selection is the control's.
    EditSelection Selection();
    std::string SelectedText();
    // Clamped to the text; scrolls the caret into view.
    void Select(int32_t start, int32_t length);

    // Counts every change of the text, the runtime's and the control's own
    // (which the box hears of in EN_CHANGE): a reader who kept the count
    // knows without a look at the text that it is as it was.
    uint32_t Changes() const { return changes_; }
    void NoteControlChanged() { ++changes_; }

    // The box's window procedure calls this for every message before the
    // control sees it.
    void BeforeMessage(UINT message);
    // True while held text is being given to the control: its change reports
    // are then the runtime's own doing.
    bool HandingOver() const { return handingOver_; }
    // Whether a message that sets or changes the text comes from elsewhere
    // (another program, a message sent past the box's properties) and not
    // from a write through here, each of which lets its one message pass.
    // The box's window procedure asks it of every message.
    bool ChangeFromElsewhere(UINT message);

    // HeldOutput.
    bool HandOverPiece(PieceMode mode) override;
    size_t HeldBytes() const override;
    HeldTextView ViewForRescue() const override;

private:
    enum class Known { Nothing, Same, Held, UserEdited };  // as told above the class

    bool IsHeld() const { return known_ == Known::Held || known_ == Known::UserEdited; }

    // The handover (edit_text_handover.cpp).
    void EnsureKnown();
    void CatchUpWithUser();
    bool RestFitsOnePiece() const;
    void LetUserAct(bool edits);
    void HoldFromNow();
    void HandOverAll();
    void MatchWholeText(const char* text, size_t size);
    void MatchAppended(const char* text, size_t size);
    void ForgetStale();
    void GiveControl(size_t end);
    void FinishHandOver();
    bool PaintDue() const;
    void Paint();
    void PaintAfterPiece(PieceMode mode, bool done);
    void Drop();
    double PieceBytes(double ms) const;
    size_t PieceEnd(PieceMode mode) const;

    LRESULT SendOwnChange(UINT message, WPARAM wParam, LPARAM lParam);
    ControlSelection ControlSelectionNow();
    void WidenSelectionToCharacters();
    std::string ReadControl();
    void AppendHeld(const char* text, size_t size);
    bool CanHold(const char* text, size_t size) const;

    HWND edit_ = nullptr;           // the EDIT control; null before creation
    bool holdingAllowed_ = false;   // text may wait here (the control keeps every byte)
    Known known_ = Known::Nothing;
    std::string text_;          // the box's text, unless known_ is Nothing
    size_t same_ = 0;           // Held: bytes at the start of text_ that the control holds as they are
    std::string stale_;         // Held: the control's text after those bytes, from staleFrom_ on
    size_t staleFrom_ = 0;      // where that text starts in stale_
    bool moreBeyond_ = false;   // Held: the control holds further bytes after those, not kept here
    bool caretAtEnd_ = false;   // Held: after the last change the caret is at the end (an append), not at the start
    bool modified_ = false;     // Held: the control's modified flag after the last change
    bool userActed_ = false;    // Held: the user has clicked, typed or scrolled in the box
    bool busy_ = false;         // the runtime's own messages are reaching the control
    bool handingOver_ = false;  // held text is being given to the control
    uint32_t changes_ = 0;      // changes of the text so far (Changes)
    double bytesPerMs_ = 400;   // how fast the control takes text, learned from each piece
    double lastPaint_ = 0;      // when the control last painted during a handover (ms)
    double paintPause_ = 0;     // how long paints wait after the last one: ten times its cost
    bool paintOwed_ = false;    // a piece's painting was skipped; painted as a step of its own or at the end
    bool ownChange_ = false;    // a write through here is sending its message to the control
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

// The LoadTextFile command's write: the whole text of an edit box unit, as a
// Content write makes it (its ContentChanged handler may close the window);
// false, and nothing changed, for any other window.
bool ReplaceEditBoxText(HWND box, const char* text);

// For the commands on the file a box holds: the whole text of an edit box
// unit as a Content read gives it, valid until the box next changes (null for
// any other window), and how many changes its text has seen (0 for any other
// window).
const std::string* EditBoxTextView(HWND box);
uint32_t EditBoxChangeCount(HWND box);

}  // namespace quillet
