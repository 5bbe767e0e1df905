#include "runtime/units/sound_player.h"

#include <mmsystem.h>

#include <cstdio>
#include <cstring>

namespace quillet {
namespace {

constexpr char NotifyClassName[] = "QuilletSoundNotify";

// PlaySound plays one sound per process: the player whose sound it is.
SoundPlayer* waveOwner = nullptr;

LRESULT CALLBACK NotifyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case MM_MCINOTIFY: {
        auto* player = reinterpret_cast<SoundPlayer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (player != nullptr) player->MidiPlayEnded(wParam == MCI_NOTIFY_SUCCESSFUL);
        return 0;
    }
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

// A message-only window for one player's sequencer notices.
HWND MakeNotifyWindow(SoundPlayer* player) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = NotifyWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = NotifyClassName;
    WNDCLASSA existing;
    if (!GetClassInfoA(windowClass.hInstance, NotifyClassName, &existing) && RegisterClassA(&windowClass) == 0)
        return nullptr;
    HWND window = CreateWindowExA(0, NotifyClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
    if (window != nullptr) SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(player));
    return window;
}

bool SendMci(const std::string& command, HWND notify = nullptr) {
    return mciSendStringA(command.c_str(), nullptr, 0, notify) == 0;
}

// A new temporary file holding the bytes; empty when none can be written.
std::string WriteTemporaryFile(const std::vector<uint8_t>& bytes) {
    char folder[MAX_PATH];
    char name[MAX_PATH];
    const DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder || GetTempFileNameA(folder, "qlt", 0, name) == 0) return {};
    HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(name);
        return {};
    }
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!wrote || written != bytes.size()) {
        DeleteFileA(name);
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
    if (PlaySoundA(reinterpret_cast<LPCSTR>(bytes_.data()), nullptr, flags)) return true;
    waveOwner = nullptr;
    return false;
}

void SoundPlayer::StopWave() {
    if (waveOwner != this) return;
    // Returns once the player no longer reads our bytes.
    PlaySoundA(nullptr, nullptr, 0);
    waveOwner = nullptr;
}

bool SoundPlayer::PlayMidi(bool repeat) {
    if (repeat && notifyWindow_ == nullptr) notifyWindow_ = MakeNotifyWindow(this);
    midiFile_ = WriteTemporaryFile(bytes_);
    if (midiFile_.empty()) return false;
    char alias[32];
    std::snprintf(alias, sizeof alias, "qltmidi%p", static_cast<void*>(this));
    if (!SendMci("open \"" + midiFile_ + "\" type sequencer alias " + alias)) return false;
    midiAlias_ = alias;
    return StartMidiPlay();
}

bool SoundPlayer::StartMidiPlay() {
    if (repeat_ && notifyWindow_ != nullptr) return SendMci("play " + midiAlias_ + " from 0 notify", notifyWindow_);
    return SendMci("play " + midiAlias_ + " from 0");
}

void SoundPlayer::MidiPlayEnded(bool successfully) {
    // Aborted or superseded plays end with other codes: only a play that ran to
    // its end starts again.
    if (successfully && repeat_ && format_ == SoundFormat::Midi && !midiAlias_.empty()) StartMidiPlay();
}

void SoundPlayer::StopMidi() {
    if (!midiAlias_.empty()) {
        SendMci("close " + midiAlias_);
        midiAlias_.clear();
    }
    if (!midiFile_.empty()) {
        DeleteFileA(midiFile_.c_str());
        midiFile_.clear();
    }
}

}  // namespace quillet
