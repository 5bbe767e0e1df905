// Commands on files.
#include <windows.h>

#include <new>
#include <string>

#include "runtime/commands/command_list.h"
#include "runtime/commands/unit_window.h"
#include "runtime/errors/crash_report.h"
#include "runtime/units/edit/edit_text.h"
#include "runtime/units/notify_runtime.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/values/text_encoding.h"
#include "runtime/values/text_file.h"

namespace quillet::commands {
namespace {

// A file's bytes in one block of the runtime heap, freed with this object.
class FileBytes {
public:
    FileBytes() = default;
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;
    ~FileBytes() { Release(); }

    // Reads the whole file; the status says why not. Opened for reading only,
    // shared with readers and writers (an editor may hold it open), and never
    // written.
    int32_t Read(const char* path) {
        if (IsEmptyPath(path)) return LoadTextFileStatus::Unreadable;
        HANDLE file = CreateFileW(WideFromText(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE) return LoadTextFileStatus::Unreadable;
        const int32_t status = ReadOpen(file);
        CloseHandle(file);
        return status;
    }

    const uint8_t* Data() const { return data_; }
    size_t Size() const { return size_; }
    void Release() {
        RawFree(data_);
        data_ = nullptr;
        size_ = 0;
    }

private:
    static bool IsEmptyPath(const char* path) { return path == nullptr || path[0] == '\0'; }

    int32_t ReadOpen(HANDLE file) {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file, &size)) return LoadTextFileStatus::Unreadable;
        // Decided before a byte is read: a file too large costs nothing.
        if (size.QuadPart > LargestTextFile) return LoadTextFileStatus::TooLarge;
        const auto wanted = static_cast<size_t>(size.QuadPart);
        data_ = static_cast<uint8_t*>(RawAllocate(wanted > 0 ? wanted : 1));
        if (data_ == nullptr) return LoadTextFileStatus::TooLarge;  // the heap has no room for it now
        // A file that shrinks meanwhile gives what it still holds; one that
        // grows, the bytes it had when it was measured.
        while (size_ < wanted) {
            const size_t rest = wanted - size_;
            const DWORD chunk = rest > (1u << 24) ? (1u << 24) : static_cast<DWORD>(rest);
            DWORD got = 0;
            if (!ReadFile(file, data_ + size_, chunk, &got, nullptr)) return LoadTextFileStatus::Unreadable;
            if (got == 0) break;
            size_ += got;
        }
        return LoadTextFileStatus::Loaded;
    }

    uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

// The file's text, or why there is none; *replaced: how many U+FFFD stand for
// bytes that were no character. Memory that runs out while decoding counts as
// a file too large: the box could not hold it now either.
int32_t DecodedText(const FileBytes& bytes, std::string* text, size_t* replaced) {
    const AllocationMayFail mayFail;  // no crash: this refusal is the answer
    try {
        text->reserve(bytes.Size());
        if (!DecodeTextFile(bytes.Data(), bytes.Size(), text, nullptr, replaced)) return LoadTextFileStatus::NotText;
    } catch (const std::bad_alloc&) {
        return LoadTextFileStatus::TooLarge;
    }
    // A UTF-16 file's text can take twice its bytes.
    return text->size() > LargestTextFile ? LoadTextFileStatus::TooLarge : LoadTextFileStatus::Loaded;
}

int32_t LoadInto(HWND box, const char* path, size_t* replaced) {
    std::string text;
    {
        FileBytes bytes;
        const int32_t read = bytes.Read(path);
        if (read != LoadTextFileStatus::Loaded) return read;
        const int32_t decoded = DecodedText(bytes, &text, replaced);
        if (decoded != LoadTextFileStatus::Loaded) return decoded;
    }  // the file's bytes go before the box takes its copy of the text
    return ReplaceEditBoxText(box, text.c_str()) ? LoadTextFileStatus::Loaded : LoadTextFileStatus::NotEditBox;
}

}  // namespace

// The unit must be loaded (a fatal error otherwise, as for every unit command).
// The box's text is written as a Content write writes it, so the box's handlers
// see one ContentChanged; on any other status the box is left as it was.
void LoadTextFile(CommandArg* result, int32_t argCount, CommandArg* args) {
    const CommandArg& unit = ArgumentAt(argCount, args, 0);
    auto box = reinterpret_cast<HWND>(UnitWindowHandle(NotifyRuntime(ServiceCode::FindUnitOrFail, unit.low, unit.high)));
    size_t replaced = 0;
    result->low = static_cast<uint32_t>(LoadInto(box, TextArgument(ArgumentAt(argCount, args, 1)), &replaced));
    result->high = result->low == static_cast<uint32_t>(LoadTextFileStatus::Loaded) ? static_cast<uint32_t>(replaced) : 0;
}

}  // namespace quillet::commands
