#include "runtime/units/sound_player.h"

#include <mmsystem.h>

#include <cwchar>
#include <cstring>

namespace quillet {
namespace {

constexpr wchar_t NotifyClassName[] = L"QuilletSoundNotify";

// PlaySound plays one sound per process: the player whose sound it is.
SoundPlayer* waveOwner = nullptr;

LRESULT CALLBACK NotifyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case MM_MCINOTIFY: {
        auto* player = reinterpret_cast<SoundPlayer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (player != nullptr) player->MidiPlayEnded(wParam == MCI_NOTIFY_SUCCESSFUL);
        return 0;
    }
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

// A message-only window for one player's sequencer notices.
HWND MakeNotifyWindow(SoundPlayer* player) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = NotifyWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = NotifyClassName;
    WNDCLASSW existing;
    if (!GetClassInfoW(windowClass.hInstance, NotifyClassName, &existing) && RegisterClassW(&windowClass) == 0)
        return nullptr;
    HWND window = CreateWindowExW(0, NotifyClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
    if (window != nullptr) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(player));
    return window;
}

bool SendMci(const std::wstring& command, HWND notify = nullptr) {
    return mciSendStringW(command.c_str(), nullptr, 0, notify) == 0;
}

// A new temporary file holding the bytes; empty when none can be written.
std::wstring WriteTemporaryFile(const std::vector<uint8_t>& bytes) {
    wchar_t folder[MAX_PATH];
    wchar_t name[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH || GetTempFileNameW(folder, L"qlt", 0, name) == 0) return {};
    HANDLE file = CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileW(name);
        return {};
    }
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!wrote || written != bytes.size()) {
        DeleteFileW(name);
        return {};
    }
    return name;
}

}  // namespace

SoundFormat SoundFormatOf(const void* bytes, uint32_t length) {
    const auto* data = static_cast<const char*>(bytes);
    if (data == nullptr) return SoundFormat::None;
    if (length >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WAVE", 4) == 0)
        return SoundFormat::Wave;
    if (length >= 14 && std::memcmp(data, "MThd", 4) == 0) return SoundFormat::Midi;
    return SoundFormat::None;
}

SoundPlayer::~SoundPlayer() {
    Stop();
    if (notifyWindow_ != nullptr) DestroyWindow(notifyWindow_);
}

bool SoundPlayer::Play(const void* bytes, uint32_t length, bool repeat) {
    Stop();
    const SoundFormat format = SoundFormatOf(bytes, length);
    if (format == SoundFormat::None) return false;
    const auto* data = static_cast<const uint8_t*>(bytes);
    bytes_.assign(data, data + length);
    repeat_ = repeat;
    const bool started = format == SoundFormat::Wave ? PlayWave(repeat) : PlayMidi(repeat);
    if (!started) {
        Stop();
        return false;
    }
    format_ = format;
    return true;
}

void SoundPlayer::Stop() {
    StopWave();
    StopMidi();
    format_ = SoundFormat::None;
    bytes_.clear();
}

bool SoundPlayer::PlayWave(bool repeat) {
    const DWORD flags = SND_MEMORY | SND_ASYNC | SND_NODEFAULT | (repeat ? SND_LOOP : 0);
    waveOwner = this;
    if (PlaySoundW(reinterpret_cast<LPCWSTR>(bytes_.data()), nullptr, flags)) return true;
    waveOwner = nullptr;
    return false;
}

void SoundPlayer::StopWave() {
    if (waveOwner != this) return;
    // Returns once the player no longer reads our bytes.
    PlaySoundW(nullptr, nullptr, 0);
    waveOwner = nullptr;
}

bool SoundPlayer::PlayMidi(bool repeat) {
    if (repeat && notifyWindow_ == nullptr) notifyWindow_ = MakeNotifyWindow(this);
    midiFile_ = WriteTemporaryFile(bytes_);
    if (midiFile_.empty()) return false;
    wchar_t alias[32];
    std::swprintf(alias, 32, L"qltmidi%p", static_cast<void*>(this));
    if (!SendMci(L"open \"" + midiFile_ + L"\" type sequencer alias " + alias)) return false;
    midiAlias_ = alias;
    return StartMidiPlay();
}

bool SoundPlayer::StartMidiPlay() {
    if (repeat_ && notifyWindow_ != nullptr) return SendMci(L"play " + midiAlias_ + L" from 0 notify", notifyWindow_);
    return SendMci(L"play " + midiAlias_ + L" from 0");
}

void SoundPlayer::MidiPlayEnded(bool successfully) {
    // Aborted or superseded plays end with other codes: only a play that ran to
    // its end starts again.
    if (successfully && repeat_ && format_ == SoundFormat::Midi && !midiAlias_.empty()) StartMidiPlay();
}

void SoundPlayer::StopMidi() {
    if (!midiAlias_.empty()) {
        SendMci(L"close " + midiAlias_);
        midiAlias_.clear();
    }
    if (!midiFile_.empty()) {
        DeleteFileW(midiFile_.c_str());
        midiFile_.clear();
    }
}

}  // namespace quillet
