#include "runtime/errors/rescue_file.h"

#include <cstring>

#include "runtime/errors/error_report.h"
#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

// Part of the program's image, so there whatever memory is left: one rescue
// runs at a time (the first fatal report's).
constexpr size_t BufferBytes = 64 * 1024;
char outBuffer[BufferBytes];
wchar_t wideScratch[RescueScratchUnits];

RescueWrite writeBytes = WriteFile;

constexpr uint32_t ReplacementCharacter = 0xFFFD;
constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";
constexpr int32_t MostNamesTried = 99;

bool IsHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
uint32_t Combined(uint32_t high, uint32_t low) { return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00); }

// A path put together piece by piece; too long a path is no path.
class PathBuilder {
public:
    PathBuilder(wchar_t* out, size_t room) : out_(out), room_(room) { out_[0] = L'\0'; }
    PathBuilder& Add(const wchar_t* text, size_t count) {
        if (length_ + count >= room_) fits_ = false;
        for (size_t i = 0; fits_ && i < count; ++i) out_[length_++] = text[i];
        if (fits_) out_[length_] = L'\0';
        return *this;
    }
    PathBuilder& Add(const wchar_t* text) { return Add(text, static_cast<size_t>(lstrlenW(text))); }
    bool Fits() const { return fits_; }

private:
    wchar_t* out_;
    size_t room_;
    size_t length_ = 0;
    bool fits_ = true;
};

// The program's folder with its backslash, and its name without the extension.
struct ProgramName {
    wchar_t module[2 * MAX_PATH];
    size_t folderLength = 0;  // up to and with the last backslash
    const wchar_t* name = L"rescue";
    size_t nameLength = 6;
};

void ReadProgramName(ProgramName* program) {
    const DWORD length = GetModuleFileNameW(nullptr, program->module, 2 * MAX_PATH);
    if (length == 0 || length >= 2 * MAX_PATH) return;
    size_t slash = length, dot = length;
    for (size_t i = length; i-- > 0 && slash == length;) {
        if (program->module[i] == L'\\') slash = i;
        if (program->module[i] == L'.' && dot == length) dot = i;
    }
    if (slash == length) return;
    program->folderLength = slash + 1;
    program->name = program->module + slash + 1;
    program->nameLength = (dot > slash ? dot : length) - slash - 1;
}

}  // namespace

RescueFile::~RescueFile() {
    if (!finished_) Finish();
}

bool RescueFile::Open() {
    ProgramName program;
    ReadProgramName(&program);
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[32];
    wsprintfW(stamp, L"-rescue-%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
              now.wSecond);
    wchar_t temporary[MAX_PATH + 1];
    const wchar_t* folder = program.module;
    size_t folderLength = program.folderLength;
    if (folder_ == RescueFolder::Temporary) {
        const DWORD length = GetTempPathW(MAX_PATH + 1, temporary);
        folder = temporary;
        folderLength = length <= MAX_PATH ? length : 0;
    }
    for (int32_t n = 1; folderLength > 0 && n <= MostNamesTried; ++n) {
        wchar_t serial[16] = L"";
        if (n > 1) wsprintfW(serial, L"-%d", n);
        PathBuilder path(path_, 2 * MAX_PATH);
        path.Add(folder, folderLength).Add(program.name, program.nameLength).Add(stamp).Add(serial).Add(L".txt");
        if (!path.Fits()) break;
        file_ = CreateFileW(path_, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file_ != INVALID_HANDLE_VALUE) {
            PutBytes(ByteOrderMark, 3);
            return true;
        }
        // Taken: the next name. Anything else: this folder takes no file.
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    path_[0] = L'\0';
    return false;
}

bool RescueFile::BeginSection(const char* title) {
    const bool first = !attempted_;
    attempted_ = true;
    if (first && !Open()) return false;
    if (!Opened()) return false;
    if (inSection_) {
        EndSection();
        PutBytes("\r\n", 2);
    }
    PutBytes("==== ", 5);
    AppendText(title, std::strlen(title));
    PutBytes(" ====\r\n", 7);
    inSection_ = true;
    return true;
}

void RescueFile::AppendWide(const wchar_t* units, size_t count) {
    if (!Opened() || writeFailed_) return;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t unit = units[i];
        if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(units[i + 1]))
            Put(Combined(unit, units[++i]));
        else
            Put(IsHighSurrogate(unit) || IsLowSurrogate(unit) ? ReplacementCharacter : unit);
    }
}

void RescueFile::AppendText(const char* text, size_t size) {
    if (!Opened() || writeFailed_ || text == nullptr) return;
    for (size_t at = 0; at < size;) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            Put(static_cast<unsigned char>(text[at++]));
            continue;
        }
        const TextCharacter c = CharacterAt(text, size, at);
        Put(c.codePoint);
        at += c.bytes;
    }
}

void RescueFile::Put(uint32_t codePoint) {
    if (buffered_ + 4 > BufferBytes) Flush();
    char* out = outBuffer + buffered_;
    if (codePoint < 0x80) {
        out[0] = static_cast<char>(codePoint);
        buffered_ += 1;
    } else if (codePoint < 0x800) {
        out[0] = static_cast<char>(0xC0 | (codePoint >> 6));
        out[1] = static_cast<char>(0x80 | (codePoint & 0x3F));
        buffered_ += 2;
    } else if (codePoint < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (codePoint >> 12));
        out[1] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (codePoint & 0x3F));
        buffered_ += 3;
    } else {
        out[0] = static_cast<char>(0xF0 | (codePoint >> 18));
        out[1] = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out[2] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out[3] = static_cast<char>(0x80 | (codePoint & 0x3F));
        buffered_ += 4;
    }
}

// Bytes as they are: the byte-order mark, and the ASCII of titles and breaks.
void RescueFile::PutBytes(const char* bytes, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        if (buffered_ == BufferBytes) Flush();
        outBuffer[buffered_++] = bytes[i];
    }
}

// After a failed write nothing more is written: the file stays what it was
// up to there, with no gap in its middle.
void RescueFile::Flush() {
    for (size_t at = 0; at < buffered_ && !writeFailed_;) {
        DWORD written = 0;
        if (!writeBytes(file_, outBuffer + at, static_cast<DWORD>(buffered_ - at), &written, nullptr) || written == 0)
            writeFailed_ = true;
        at += written;
        written_ += written;
    }
    buffered_ = 0;
}

void RescueFile::EndSection() {
    PutBytes("\r\n", 2);
    inSection_ = false;
}

bool RescueFile::Finish() {
    if (!finished_ && Opened()) {
        if (inSection_) EndSection();
        Flush();
        if (!FlushFileBuffers(file_)) writeFailed_ = true;
        CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }
    finished_ = true;
    return Opened() && complete_ && !writeFailed_;
}

void RescueFile::Discard() {
    if (!finished_ || !Opened()) return;
    DeleteFileW(path_);
    path_[0] = L'\0';
}

void SetRescueFileWrite(RescueWrite write) { writeBytes = write != nullptr ? write : WriteFile; }

wchar_t* RescueWideBuffer(size_t* units) {
    *units = RescueScratchUnits;
    return wideScratch;
}

void AppendWidePath(const wchar_t* path, ReportText* text) {
    char bytes[4 * 2 * MAX_PATH + 1];
    size_t length = 0;
    for (size_t i = 0; path[i] != L'\0' && length + 4 < sizeof bytes; ++i) {
        uint32_t codePoint = path[i];
        if (IsHighSurrogate(codePoint) && IsLowSurrogate(path[i + 1])) codePoint = Combined(codePoint, path[++i]);
        length += EncodeCharacter(codePoint, bytes + length);
    }
    bytes[length] = '\0';
    text->Append(bytes);
}

void PrepareRescueFile() {
    // The converter makes its table from UTF-16 to bytes at its first use.
    char bytes[4];
    EncodeCharacter(0x6587, bytes);
}

}  // namespace quillet
