#pragma once
// The files that edit boxes hold. A text loaded from a file remembers the
// file: where it is, its form (encoding, mark, line break, last break,
// text_file.h), its stamp and a fingerprint of the text as read, so that a
// save gives the file back as it was except where the user changed it, and
// the window can tell while the box differs from the file. Files are numbered
// for the session and never forgotten in it: an undo may give a box back the
// file its old text belonged to.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/commands/file_bytes.h"
#include "runtime/values/text_file.h"

namespace quillet {

// Enough of a text to tell, without a copy of it, whether a box still holds
// it: the length first, cheap to compare with the control's own count, then
// a 64-bit hash of the bytes.
struct TextFingerprint {
    size_t bytes = 0;
    size_t wideUnits = 0;  // UTF-16 units: what the control counts
    uint64_t hash = 0;
    bool operator==(const TextFingerprint&) const = default;
};
TextFingerprint FingerprintOf(const std::string& text);

struct SessionFile {
    std::string path;                   // full path, a runtime text
    TextFileForm form;                  // as read or last written
    FileStamp stamp;                    // as read or last written
    TextFingerprint text;               // the box's text as read or last written
    size_t lostAtRead = 0;              // places that were no character when read: '?' or U+FFFD now
    size_t unknownBytes = 0;            // of them, GBK bytes that the box shows as '?'
    bool lossAccepted = false;          // the user was told before a save wrote them so
};

// Numbers from 1; 0 is no file. At returns null for 0 and numbers never given.
int32_t AddSessionFile(SessionFile file);
SessionFile* SessionFileAt(int32_t number);

// The file a box (window id, unit id) holds; 0 for none.
int32_t FileOfBox(uint32_t windowId, uint32_t unitId);
void SetFileOfBox(uint32_t windowId, uint32_t unitId, int32_t number);
// The file's text was read or written again: the box is compared afresh.
void ForgetComparison(uint32_t windowId, uint32_t unitId);

// Whether the box's text differs from its file's text as last read or
// written; false for a box without a file. The text is looked at only when
// the box has changed since the last answer, and read only when the control
// holds as many characters as the file's text.
bool BoxDiffersFromFile(HWND box, uint32_t windowId, uint32_t unitId);

// Whether a file has had its backup in this session: the first save of a
// session over a file keeps what it replaced, later ones keep that backup.
bool BackupMadeFor(const std::wstring& path);
void NoteBackupMade(const std::wstring& path);

}  // namespace quillet
