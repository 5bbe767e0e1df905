// Commands on files: a text file into an edit box, and the box's text back
// into its file (or another) in that file's own form, written so that no
// failure costs the file (safe_write.h).
#include <windows.h>

#include <cstring>
#include <new>
#include <string>

#include "runtime/app/program_paths.h"
#include "runtime/commands/box_files.h"
#include "runtime/commands/command_list.h"
#include "runtime/commands/unit_window.h"
#include "runtime/errors/crash_report.h"
#include "runtime/units/edit/edit_text.h"
#include "runtime/units/notify_runtime.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/values/safe_write.h"
#include "runtime/values/text.h"
#include "runtime/values/text_encoding.h"
#include "runtime/values/text_file.h"

namespace quillet::commands {
namespace {

// The unit a command names, as the runtime finds it (not found: a fatal error).
struct BoxUnit {
    HWND window;
    uint32_t windowId;
    uint32_t unitId;
};

BoxUnit BoxAt(int32_t argCount, CommandArg* args) {
    const CommandArg& unit = ArgumentAt(argCount, args, 0);
    return {reinterpret_cast<HWND>(UnitWindowHandle(NotifyRuntime(ServiceCode::FindUnitOrFail, unit.low, unit.high))),
            unit.low, unit.high};
}

// FileEncoding numbers and the kinds of text_file.h, side by side.
constexpr TextFileKind KindOfEncoding[FileEncoding::Count] = {
    TextFileKind::Gbk,      TextFileKind::Gb18030, TextFileKind::Utf8,
    TextFileKind::Utf8Mark, TextFileKind::Utf16Le, TextFileKind::Utf16Be,
};

int32_t EncodingOfKind(TextFileKind kind) {
    for (int32_t k = 0; k < FileEncoding::Count; ++k)
        if (KindOfEncoding[k] == kind) return k;
    return FileEncoding::Gbk;
}

std::wstring FullPath(const std::wstring& path) {
    const DWORD units = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (units == 0) return path;
    std::wstring full(units, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), units, full.data(), nullptr);
    if (written == 0 || written >= units) return path;
    full.resize(written);
    return full;
}

// What the box shows of a text: the control keeps UTF-16, so bytes that are
// no character come back as '?'.
std::string AsTheBoxShowsIt(const std::string& text) {
    const WideString wide = WideFromText(text.data(), text.size());
    return TextFromWide(wide.data(), wide.size());
}

// A file's text as the box takes it, or the LoadTextFileStatus that says why not.
struct FileText {
    int32_t status = LoadTextFileStatus::Loaded;
    std::string text;
    TextFileForm form;
    FileTextCounts counts;
    FileStamp stamp;
};

// Memory that runs out while decoding counts as a file too large: the box
// could not hold it now either.
void DecodeFileText(const FileBytes& bytes, FileText* read) {
    const AllocationMayFail mayFail;  // no crash: this refusal is the answer
    try {
        read->text.reserve(bytes.Size());
        if (!ReadTextFile(bytes.Data(), bytes.Size(), &read->text, &read->form, &read->counts))
            read->status = LoadTextFileStatus::NotText;
        // A UTF-16 file's text can take twice its bytes.
        else if (read->text.size() > static_cast<size_t>(LargestTextFile))
            read->status = LoadTextFileStatus::TooLarge;
    } catch (const std::bad_alloc&) {
        read->status = LoadTextFileStatus::TooLarge;
    }
    if (read->status != LoadTextFileStatus::Loaded) read->text = std::string();
}

FileText ReadWholeTextFile(const std::wstring& path) {
    FileText read;
    FileBytes bytes;
    switch (bytes.Read(path.c_str(), LargestTextFile, &read.stamp)) {
    case FileBytes::Outcome::Read: DecodeFileText(bytes, &read); break;
    case FileBytes::Outcome::TooLarge: read.status = LoadTextFileStatus::TooLarge; break;
    default: read.status = LoadTextFileStatus::Unreadable; break;
    }
    return read;
}

bool SameForm(const TextFileForm& a, const TextFileForm& b) {
    return a.kind == b.kind && a.lineBreak == b.lineBreak && a.endsWithBreak == b.endsWithBreak;
}

// A reference argument's variable, or null when none was given.
template <typename T>
T* VariableAt(int32_t argCount, CommandArg* args, int32_t k) {
    const CommandArg& arg = ArgumentAt(argCount, args, k);
    return arg.type == DataType::Reference ? AsReference<T>(arg) : nullptr;
}

// Stores a new copy of a text in a program's text variable, freeing the old one.
void StoreText(char** variable, const char* text, size_t size) {
    if (variable == nullptr) return;
    FreeBlock(*variable);
    *variable = CopyBytes(text, static_cast<int32_t>(size));
}

std::wstring WideOf(const std::string& text) { return WideFromText(text.data(), text.size()); }

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// A save's answer, and what its two reference arguments get.
struct SaveAnswer {
    int32_t status;
    std::string text = std::string();  // the character missing, or the cause of a failure
    int32_t number = 0;  // its line, the places lost at reading, or the system's error
};

// Whether the file already holds what a save would give it: the same bytes,
// or, for a file that had places that were no character, a text that the box
// shows as it shows its own (saving would only turn those places into what
// the box shows).
bool FileAlreadyHolds(const std::wstring& path, const std::string& bytes, const std::string& text,
                      const SessionFile* file) {
    FileBytes onDisk;
    if (onDisk.Read(path.c_str(), LargestTextFile) != FileBytes::Outcome::Read) return false;
    if (onDisk.Size() == bytes.size() && std::memcmp(bytes.data(), onDisk.Data(), bytes.size()) == 0) return true;
    if (file == nullptr || file->lostAtRead == 0) return false;
    FileText read;
    DecodeFileText(onDisk, &read);
    return read.status == LoadTextFileStatus::Loaded && SameForm(read.form, file->form) &&
           AsTheBoxShowsIt(read.text) == text;
}

// The box now holds the file at `path` with this form and text: its record
// follows (a text without a file gets one). A file written anew holds what the
// box shows; one left alone keeps the places it had that were no character.
void Remember(const BoxUnit& box, SessionFile* file, const std::wstring& path, const TextFileForm& form,
              const std::string& text, bool written) {
    SessionFile now;
    if (file != nullptr && !written) now = *file;
    now.path = TextFromWide(path.data(), path.size());
    now.form = form;
    ReadFileStamp(path.c_str(), &now.stamp);
    now.text = FingerprintOf(text);
    if (file != nullptr)
        *file = std::move(now);
    else
        SetFileOfBox(box.windowId, box.unitId, AddSessionFile(std::move(now)));
    ForgetComparison(box.windowId, box.unitId);
}

SaveAnswer Save(const BoxUnit& box, int32_t flags, const std::string& givenPath, int32_t encoding) {
    SessionFile* file = SessionFileAt(FileOfBox(box.windowId, box.unitId));
    const std::string* text = EditBoxTextView(box.window);
    if (text == nullptr) return {SaveBoxFileStatus::NotEditBox};
    const std::wstring path = !givenPath.empty() ? FullPath(WideOf(givenPath)) : file != nullptr ? WideOf(file->path)
                                                                                                 : std::wstring();
    if (path.empty()) return {SaveBoxFileStatus::NoFile};
    const bool sameFile = file != nullptr && SamePath(WideOf(file->path), path);
    TextFileForm form = file != nullptr ? file->form : NewTextForm(text->data(), text->size());
    if (encoding >= 0 && encoding < FileEncoding::Count) form.kind = KindOfEncoding[encoding];

    std::string bytes;
    {
        const AllocationMayFail mayFail;  // a text too large to encode now is a save that failed, not a crash
        try {
            MissingCharacter missing{};
            if (!WriteTextFile(text->data(), text->size(), form, &bytes, &missing)) {
                const TextCharacter character = CharacterAt(text->data(), text->size(), missing.offset);
                return {SaveBoxFileStatus::MissingCharacter, text->substr(missing.offset, character.bytes),
                        static_cast<int32_t>(missing.line)};
            }
        } catch (const std::bad_alloc&) {
            return {SaveBoxFileStatus::Failed, WriteFailureText(WriteFailure::Other), ERROR_NOT_ENOUGH_MEMORY};
        }
    }
    FileStamp onDisk;
    const bool exists = ReadFileStamp(path.c_str(), &onDisk);
    // A box known to differ from its own file (the comparison of idle time)
    // spares reading the file: its text surely changed.
    const bool knownChanged = sameFile && BoxDiffersFromFile(box.window, box.windowId, box.unitId);
    if (exists && !knownChanged && FileAlreadyHolds(path, bytes, *text, sameFile ? file : nullptr)) {
        Remember(box, file, path, form, *text, false);
        return {SaveBoxFileStatus::Unchanged};
    }
    if (file != nullptr && file->lostAtRead > 0 && !file->lossAccepted) {
        if ((flags & SaveFlags::AcceptUnknownBytes) == 0)
            return {SaveBoxFileStatus::UnknownBytes, std::string(), static_cast<int32_t>(file->lostAtRead)};
        file->lossAccepted = true;
    }
    if (sameFile && exists && onDisk != file->stamp && (flags & SaveFlags::OverwriteChanged) == 0)
        return {SaveBoxFileStatus::ChangedOnDisk};

    // The first save of the session over a file keeps what it replaces.
    const bool backup = exists && !BackupMadeFor(path);
    const std::wstring backupPath = path + L".bak";
    const SafeWriteResult written = WriteFileSafely(
        {path.c_str(), bytes.data(), bytes.size(), backup ? backupPath.c_str() : nullptr, !sameFile, nullptr});
    if (written.failure != WriteFailure::None)
        return {SaveBoxFileStatus::Failed, WriteFailureText(written.failure), static_cast<int32_t>(written.systemError)};
    if (backup) NoteBackupMade(path);
    Remember(box, file, path, form, *text, true);
    return {SaveBoxFileStatus::Saved};
}

// The encoding a text without a file takes (text_file.h).
TextFileKind NewTextKind(HWND box) {
    const std::string* text = EditBoxTextView(box);
    return text != nullptr ? NewTextForm(text->data(), text->size()).kind : TextFileKind::Gbk;
}

}  // namespace

// The unit must be loaded (a fatal error otherwise, as for every unit command).
// The box's text is written as a Content write writes it, so the box's handlers
// see one ContentChanged; on any other status the box, and the file it holds,
// are left as they were.
void LoadTextFile(CommandArg* result, int32_t argCount, CommandArg* args) {
    const BoxUnit box = BoxAt(argCount, args);
    const std::string given = TextArgument(ArgumentAt(argCount, args, 1));
    *result = {static_cast<uint32_t>(LoadTextFileStatus::Unreadable), 0, 0};
    if (given.empty()) return;
    const std::wstring path = FullPath(WideFromText(given.data(), given.size()));
    FileText read = ReadWholeTextFile(path);
    result->low = static_cast<uint32_t>(read.status);
    if (read.status != LoadTextFileStatus::Loaded) return;
    if (!ReplaceEditBoxText(box.window, read.text.c_str())) {
        result->low = static_cast<uint32_t>(LoadTextFileStatus::NotEditBox);
        return;
    }
    result->high = static_cast<uint32_t>(read.counts.replaced);
    const std::string& shown = read.counts.unknownBytes > 0 ? AsTheBoxShowsIt(read.text) : read.text;
    const int32_t number = AddSessionFile({TextFromWide(path.data(), path.size()), read.form, read.stamp,
                                           FingerprintOf(shown), read.counts.unknownBytes + read.counts.replaced,
                                           read.counts.unknownBytes, false});
    SetFileOfBox(box.windowId, box.unitId, number);
}

void BoxFileFact(CommandArg* result, int32_t argCount, CommandArg* args) {
    const BoxUnit box = BoxAt(argCount, args);
    const int32_t number = FileOfBox(box.windowId, box.unitId);
    const SessionFile* file = SessionFileAt(number);
    int32_t fact = 0;
    switch (static_cast<int32_t>(ArgumentAt(argCount, args, 1).low)) {
    case FileFact::Number: fact = number; break;
    case FileFact::Differs: fact = BoxDiffersFromFile(box.window, box.windowId, box.unitId) ? 1 : 0; break;
    case FileFact::UnknownBytes: fact = file != nullptr ? static_cast<int32_t>(file->unknownBytes) : 0; break;
    case FileFact::Encoding: fact = EncodingOfKind(file != nullptr ? file->form.kind : NewTextKind(box.window)); break;
    default: break;
    }
    *result = {static_cast<uint32_t>(fact), 0, 0};
}

void SetBoxFile(CommandArg*, int32_t argCount, CommandArg* args) {
    const BoxUnit box = BoxAt(argCount, args);
    SetFileOfBox(box.windowId, box.unitId, static_cast<int32_t>(ArgumentAt(argCount, args, 1).low));
}

void BoxFileName(CommandArg* result, int32_t argCount, CommandArg* args) {
    const BoxUnit box = BoxAt(argCount, args);
    const SessionFile* file = SessionFileAt(FileOfBox(box.windowId, box.unitId));
    const char* path = file != nullptr ? file->path.c_str() : "";
    if (ArgumentAt(argCount, args, 1).low != 0) path += FindLastPathSeparator(path) + 1;
    *result = {Word(CopyText(path)), 0, 0};
}

}  // namespace quillet::commands

namespace quillet::commands {

void SaveBoxFile(CommandArg* result, int32_t argCount, CommandArg* args) {
    const BoxUnit box = BoxAt(argCount, args);
    const CommandArg& encoding = ArgumentAt(argCount, args, 3);
    const SaveAnswer answer = Save(box, static_cast<int32_t>(ArgumentAt(argCount, args, 1).low),
                                   TextArgument(ArgumentAt(argCount, args, 2)),
                                   IsOmitted(encoding) ? -1 : static_cast<int32_t>(encoding.low));
    if (!answer.text.empty()) StoreText(VariableAt<char*>(argCount, args, 4), answer.text.data(), answer.text.size());
    if (int32_t* number = VariableAt<int32_t>(argCount, args, 5)) *number = answer.number;
    *result = {static_cast<uint32_t>(answer.status), 0, 0};
}

}  // namespace quillet::commands
