#pragma once
// The file a fatal report saves texts into before the process ends: UTF-8
// with a byte-order mark, a new one each time, in one folder, beside the
// program or in the user's temporary folder (the report tries them in that
// order, text_rescue.h). Its name is the program's followed by "-rescue-", the
// date and time, and "-2", "-3" ... when that name is taken; an earlier file
// is never overwritten.
//
// The file holds sections, one per text, each a title line, the text, and a
// line break; sections are separated by an empty line:
//
//   ==== 编辑框 150 ====\r\n<text>\r\n\r\n==== 运行前的文本 ====\r\n<text>\r\n
//
// Texts are converted to UTF-8 as they are written, through a buffer that is
// part of the program's image: memory may be what ran out, and a text of a
// hundred megabytes is never copied.
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace quillet {

class ReportText;

enum class RescueFolder { BesideProgram, Temporary };

// How the file's bytes are written: WriteFile's form, so that a test can stand
// in for a full disk (SetRescueFileWrite).
using RescueWrite = BOOL(WINAPI*)(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);

class RescueFile {
public:
    explicit RescueFile(RescueFolder folder) : folder_(folder) {}
    ~RescueFile();  // what Finish does, when it was not called
    RescueFile(const RescueFile&) = delete;
    RescueFile& operator=(const RescueFile&) = delete;

    // Starts a section with this title (runtime text), opening the file first
    // when no section was started yet. False when no file could be opened in
    // the folder.
    bool BeginSection(const char* title);
    // The section's text: UTF-16 units (a surrogate half without its pair
    // becomes U+FFFD), or runtime text.
    void AppendWide(const wchar_t* units, size_t count);
    void AppendText(const char* text, size_t size);
    // Part of a text could not be read: the file does not hold everything.
    void MarkIncomplete() { complete_ = false; }

    // Ends the last section and closes the file; true when everything that was
    // given went into it. Once.
    bool Finish();
    // After Finish: removes the file, a rescue that another holds.
    void Discard();

    bool Attempted() const { return attempted_; }  // a section was begun
    bool Opened() const { return path_[0] != L'\0'; }
    // A write failed (a full disk): the file ends where it did, and holds
    // nothing given after.
    bool WriteFailed() const { return writeFailed_; }
    uint64_t Written() const { return written_; }  // bytes in the file
    const wchar_t* Path() const { return path_; }  // the file's full path once opened

private:
    bool Open();
    void Put(uint32_t codePoint);
    void PutBytes(const char* bytes, size_t size);
    void Flush();
    void EndSection();

    RescueFolder folder_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    wchar_t path_[2 * MAX_PATH] = {};
    bool attempted_ = false;
    bool inSection_ = false;
    bool complete_ = true;
    bool writeFailed_ = false;
    bool finished_ = false;
    size_t buffered_ = 0;  // bytes of the shared buffer not yet written
    uint64_t written_ = 0;
};

// Null: WriteFile.
void SetRescueFileWrite(RescueWrite write);

// Scratch room for UTF-16 text, reserved with the program: *units of it
// (RescueScratchUnits); a longer window text goes through it in parts.
constexpr size_t RescueScratchUnits = 64 * 1024;
wchar_t* RescueWideBuffer(size_t* units);

// A UTF-16 path as runtime text, added to a report text without the heap (the
// converter's table is made at start-up, see PrepareRescueFile).
void AppendWidePath(const wchar_t* path, ReportText* text);

// At start-up, while memory is there: what AppendWidePath needs made once.
void PrepareRescueFile();

}  // namespace quillet
