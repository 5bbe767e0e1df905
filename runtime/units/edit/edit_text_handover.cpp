// Held text and how it reaches the control: the control is given only what
// differs from what it holds, in pieces cut at line ends, and paints at most
// every so often while a long handover lasts. The state these steps keep is
// told above the class (edit_text.h).
#include <algorithm>
#include <cstring>

#include "runtime/units/edit/edit_text.h"
#include "runtime/values/cycle_clock.h"
#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

// A piece takes the control about the time asked for, at the pace its last
// pieces went, and at least ten times its own cost per call, which grows with
// the lines it holds (it walks them several times): under Wine about 37 ms
// for a million lines, 3 ms per megabyte of short lines. No piece is smaller
// than this, since a call costs a little whatever its size; a bigger floor
// would hold the window up well past the time asked for on slow text (lines
// of tabs or numbers take the control up to four times longer per byte).
constexpr size_t SmallestPiece = 16 * 1024;
constexpr double CallCostMsPerMegabyte = 3;
constexpr double WorkPerCallCost = 10;
// Painting during a handover waits this long after a paint at least, and ten
// times the paint's cost: at the end of a million lines one paint costs the
// control a third of a second (it walks its lines from the first for each
// line it shows), and painting every second would add a third to the run.
constexpr double PaintPauseMs = 700;
constexpr double PaintCostFactor = 10;

size_t CommonPrefix(const char* a, size_t aSize, const char* b, size_t bSize) {
    const size_t limit = std::min(aSize, bSize);
    size_t at = 0;
    // Block by block first: compared texts are mostly long runs of equal bytes.
    constexpr size_t Block = 64;
    while (at + Block <= limit && std::memcmp(a + at, b + at, Block) == 0) at += Block;
    while (at < limit && a[at] == b[at]) ++at;
    return at;
}

}  // namespace

void EditText::EnsureKnown() {
    CatchUpWithUser();
    if (known_ != Known::Nothing) return;
    text_ = ReadControl();
    known_ = Known::Same;
}

// The user has changed what the control shows: that is the start of the
// box's text now, and the held rest follows it.
void EditText::CatchUpWithUser() {
    if (known_ != Known::UserEdited) return;
    const std::string shown = ReadControl();
    text_.replace(0, same_, shown);
    same_ = shown.size();
    const bool wasBusy = busy_;
    busy_ = true;
    modified_ = SendMessageW(edit_, EM_GETMODIFY, 0, 0) != 0;
    busy_ = wasBusy;
    known_ = Known::Held;
}

// Whether what is held would go over in one piece after a run, too soon for
// anyone to notice: by its size, since a piece cut at a line end can be much
// bigger than asked for.
bool EditText::RestFitsOnePiece() const {
    return static_cast<double>(text_.size() - same_) <= PieceBytes(PieceMs(PieceMode::AfterRun));
}

// The user clicks or types while a big rest is still held: it acts on what the
// box shows, and the rest comes after it. The control shows the box's text
// and nothing else first (what a new text does not keep goes, in one call);
// an edit makes the control's text the box's start until it is read back.
void EditText::LetUserAct(bool edits) {
    if (known_ == Known::Held) {
        GiveControl(same_);
        if (edits) {
            // The control's flag tells afterwards whether the user changed anything.
            const bool wasBusy = busy_;
            busy_ = true;
            SendMessageW(edit_, EM_SETMODIFY, modified_ ? TRUE : FALSE, 0);
            busy_ = wasBusy;
            known_ = Known::UserEdited;
        }
    }
    userActed_ = true;
}

// From here on text_ may run ahead of the control, which holds it all now.
void EditText::HoldFromNow() {
    if (known_ == Known::Held) return;
    known_ = Known::Held;
    same_ = text_.size();
    ForgetStale();
    moreBeyond_ = false;
    userActed_ = false;
    NoteHeldOutput(this);
}

void EditText::ForgetStale() {
    std::string().swap(stale_);
    staleFrom_ = 0;
}

void EditText::Drop() {
    // A paint kept for a step of its own is the system's again.
    if (paintOwed_ && edit_ != nullptr && IsWindow(edit_)) InvalidateRect(edit_, nullptr, TRUE);
    known_ = Known::Nothing;
    std::string().swap(text_);
    ForgetStale();
    moreBeyond_ = false;
    same_ = 0;
    paintOwed_ = false;
    userActed_ = false;
    ForgetHeldOutput(this);
}

// A whole new text, about to take text_'s place: how much of it the control
// holds already. Afterwards same_, stale_ and moreBeyond_ tell the control's
// text against the new one.
void EditText::MatchWholeText(const char* text, size_t size) {
    const size_t common = CommonPrefix(text, size, text_.data(), same_);
    if (common == same_) {
        MatchAppended(text + same_, size - same_);
        return;
    }
    // The bytes before `common` agree, so its character boundary is one in both.
    const size_t kept = CharacterBoundaryBefore(text, size, common);
    if (kept < size) {
        // The new text differs from the control's within itself: nothing
        // appended to it later can be what the control holds.
        ForgetStale();
        moreBeyond_ = true;
    } else if (staleFrom_ >= stale_.size()) {
        // Only what the control holds is kept; text_'s room is left for the new text.
        stale_.assign(text_, kept, same_ - kept);
        staleFrom_ = 0;
    } else {
        std::string rest(text_, kept, same_ - kept);
        rest.append(stale_, staleFrom_, std::string::npos);
        stale_ = std::move(rest);
        staleFrom_ = 0;
    }
    same_ = kept;
}

// Text appended right after what the control holds as it is: as far as the
// control's next bytes are the same, it holds that too. At the first
// difference the control's other bytes stop mattering: they are only to be
// replaced.
void EditText::MatchAppended(const char* text, size_t size) {
    if (staleFrom_ >= stale_.size()) return;
    const size_t common = CommonPrefix(text, size, stale_.data() + staleFrom_, stale_.size() - staleFrom_);
    const size_t kept = CharacterBoundaryBefore(text, size, common);
    same_ += kept;
    staleFrom_ += kept;
    if (kept < size && staleFrom_ < stale_.size()) moreBeyond_ = true;
    if (kept < size || staleFrom_ >= stale_.size()) ForgetStale();
}

// The bytes a piece of about `ms` of the control's work holds, at the pace
// its last pieces went.
double EditText::PieceBytes(double ms) const {
    const double callCost = CallCostMsPerMegabyte * static_cast<double>(same_) / (1024.0 * 1024.0);
    return std::max(static_cast<double>(SmallestPiece), std::max(ms, WorkPerCallCost * callCost) * bytesPerMs_);
}

// Where the next piece ends: after a line end once it is big enough, or at
// the end of the text. During a run the text's last line may still grow, and
// the control lays a line out again, whole, each time it grows (one line of a
// few megabytes costs it seconds a time: a joined text is one line): a piece
// then ends at a line end, and a line without one yet waits.
size_t EditText::PieceEnd(PieceMode mode) const {
    const size_t remaining = text_.size() - same_;
    const double wanted = PieceBytes(PieceMs(mode));
    size_t end = text_.size();
    if (wanted < static_cast<double>(remaining)) {
        const size_t from = same_ + static_cast<size_t>(wanted);
        const void* lineEnd = std::memchr(text_.data() + from, '\n', text_.size() - from);
        if (lineEnd != nullptr) end = static_cast<size_t>(static_cast<const char*>(lineEnd) - text_.data()) + 1;
    }
    if (mode != PieceMode::DuringRun || end == same_ || text_[end - 1] == '\n') return end;
    const size_t lastLineEnd = text_.rfind('\n', end - 1);
    return lastLineEnd != std::string::npos && lastLineEnd >= same_ ? lastLineEnd + 1 : same_;
}

// The control takes text_[same_, end) in place of everything it holds after
// same_. Its change report is suppressed (HandingOver): every change was
// reported when it was held.
void EditText::GiveControl(size_t end) {
    const bool replacing = moreBeyond_ || staleFrom_ < stale_.size();
    if (!replacing && end == same_) return;
    const std::wstring piece = WideFromText(text_.data() + same_, end - same_);
    const size_t pieceSize = end - same_;
    const bool wasBusy = busy_;
    busy_ = handingOver_ = true;
    const double started = Milliseconds();
    // The control scrolls to where it took the piece; where the user has acted
    // the caret and the view go back to where the user left them.
    const ControlSelection users = userActed_ ? ControlSelectionNow() : ControlSelection{0, 0};
    const LRESULT usersTopLine = userActed_ ? SendMessageW(edit_, EM_GETFIRSTVISIBLELINE, 0, 0) : 0;
    const WPARAM from = replacing ? ControlPosition(text_, same_) : ControlEnd;
    SendMessageW(edit_, EM_SETSEL, from, static_cast<LPARAM>(ControlEnd));
    SendOwnChange(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(piece.c_str()));
    if (userActed_) {
        SendMessageW(edit_, EM_SETSEL, users.start, static_cast<LPARAM>(users.end));
        const LRESULT topLine = SendMessageW(edit_, EM_GETFIRSTVISIBLELINE, 0, 0);
        if (topLine != usersTopLine) SendMessageW(edit_, EM_LINESCROLL, 0, usersTopLine - topLine);
    }
    const double spent = Milliseconds() - started;
    handingOver_ = false;
    busy_ = wasBusy;
    same_ = end;
    ForgetStale();
    moreBeyond_ = false;
    // Big pieces teach the control's pace; small ones are mostly its overhead.
    if (pieceSize >= SmallestPiece && spent > 0)
        bytesPerMs_ = 0.5 * bytesPerMs_ + 0.5 * (static_cast<double>(pieceSize) / spent);
}

// Everything is in the control: the caret and the modified flag as the last
// change left them (the caret where the user put it, if the user has acted),
// and text_ stays as the control's text. The caller takes the box off the
// held-output list, or leaves it there for a paint still owed.
void EditText::FinishHandOver() {
    const bool wasBusy = busy_;
    busy_ = true;
    if (!userActed_) {
        const WPARAM caret = caretAtEnd_ ? ControlEnd : 0;
        SendMessageW(edit_, EM_SETSEL, caret, static_cast<LPARAM>(caret));
        SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
    }
    SendMessageW(edit_, EM_SETMODIFY, modified_ ? TRUE : FALSE, 0);
    SendMessageW(edit_, EM_EMPTYUNDOBUFFER, 0, 0);  // what the program wrote is not the control's to undo
    busy_ = wasBusy;
    known_ = Known::Same;
    userActed_ = false;
    ForgetStale();
    if (text_.capacity() > text_.size() + text_.size() / 4 + 4096) text_.shrink_to_fit();
}

// A long handover paints now and then, not after every piece: at the end of
// a big text a paint costs as much as a piece (the control walks its lines
// from the start for each line it shows), so it is a step of its own.
bool EditText::PaintDue() const {
    return paintOwed_ && IsWindowVisible(edit_) && Milliseconds() - lastPaint_ >= paintPause_;
}

void EditText::Paint() {
    const double started = Milliseconds();
    if (paintOwed_) InvalidateRect(edit_, nullptr, TRUE);
    UpdateWindow(edit_);
    lastPaint_ = Milliseconds();
    paintPause_ = std::max(PaintPauseMs, PaintCostFactor * (lastPaint_ - started));
    paintOwed_ = false;
}

// A refresh during a run shows its piece at once. After a run painting is a
// step of its own, the last piece's too: at the end of a long line the paint
// costs the control as much as the piece (it lays the whole line out again
// and draws all of it), and messages are handled between the two. A short
// rest given as the handler returns is painted as the system paints.
void EditText::PaintAfterPiece(PieceMode mode, bool done) {
    if (!IsWindowVisible(edit_)) return;
    if (mode == PieceMode::DuringRun) {
        Paint();
    } else if (!done || mode == PieceMode::AfterRun) {
        ValidateRect(edit_, nullptr);
        paintOwed_ = true;
    } else if (paintOwed_) {
        InvalidateRect(edit_, nullptr, TRUE);
        paintOwed_ = false;
    }
}

bool EditText::HandOverPiece(PieceMode mode) {
    if (!IsHeld()) {
        // All of it is in the control: the step left is the paint the last piece made due.
        if (paintOwed_ && edit_ != nullptr && IsWindow(edit_)) Paint();
        paintOwed_ = false;
        ForgetHeldOutput(this);
        return true;
    }
    if (edit_ == nullptr || !IsWindow(edit_)) {
        Drop();
        return true;
    }
    CatchUpWithUser();
    if (mode == PieceMode::AfterRun && PaintDue()) {
        Paint();
        return false;
    }
    if (mode == PieceMode::AllOrNothing && !RestFitsOnePiece()) return false;
    const size_t end = PieceEnd(mode);
    if (mode == PieceMode::DuringRun && end == same_) return false;  // no whole line to show yet
    GiveControl(end);
    const bool done = end == text_.size();
    if (done) FinishHandOver();
    PaintAfterPiece(mode, done);
    if (done && !paintOwed_) ForgetHeldOutput(this);
    return done;
}

// Held: text_ is the whole text, whatever the control shows of it; edited by
// the user, the control's whole text stands for text_[0, same_).
HeldTextView EditText::ViewForRescue() const {
    if (known_ == Known::Held) return {edit_, 0, text_.data(), text_.size()};
    if (known_ == Known::UserEdited) return {edit_, HeldTextView::AllUnits, text_.data() + same_, text_.size() - same_};
    return {};
}

size_t EditText::HeldBytes() const {
    return IsHeld() ? text_.size() - same_ : 0;
}

// All at once, for someone who is about to see the control's text.
void EditText::HandOverAll() {
    if (!IsHeld()) return;
    if (edit_ == nullptr || !IsWindow(edit_)) {
        Drop();
        return;
    }
    CatchUpWithUser();
    GiveControl(text_.size());
    FinishHandOver();
    if (paintOwed_) {
        InvalidateRect(edit_, nullptr, TRUE);
        paintOwed_ = false;
    }
    ForgetHeldOutput(this);
}

}  // namespace quillet
