#pragma once
// Background sounds of units: WAVE file bytes played by the system's sound
// player from memory, MIDI file bytes by the MIDI sequencer from a temporary
// file; once or repeating until stopped. Bytes of neither kind, or a device
// that refuses them, give no sound and no error.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

enum class SoundFormat { None, Wave, Midi };

// By the file header: "RIFF" … "WAVE", or "MThd".
SoundFormat SoundFormatOf(const void* bytes, uint32_t length);

class SoundPlayer {
public:
    SoundPlayer() = default;
    ~SoundPlayer();  // stops the sound
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Stops what plays, then starts the bytes (copied). False when they are no
    // sound or the device refuses them.
    bool Play(const void* bytes, uint32_t length, bool repeat);
    void Stop();
    // True from a successful Play until Stop (a sound played once stays "playing"
    // after its end, until stopped).
    bool IsStarted() const { return format_ != SoundFormat::None; }

    // The sequencer reports the end of a MIDI play here (MM_MCINOTIFY).
    void MidiPlayEnded(bool successfully);

private:
    bool PlayWave(bool repeat);
    bool PlayMidi(bool repeat);
    bool StartMidiPlay();
    void StopWave();
    void StopMidi();

    SoundFormat format_ = SoundFormat::None;  // what is playing; None when nothing
    std::vector<uint8_t> bytes_;              // the WAVE file the system player reads while it plays
    bool repeat_ = false;                     // start again at the end
    std::wstring midiFile_;                   // temporary file the sequencer reads; empty when none
    std::wstring midiAlias_;                  // the sequencer device's alias while open
    HWND notifyWindow_ = nullptr;             // receives the sequencer's end-of-play notices
};

}  // namespace quillet
