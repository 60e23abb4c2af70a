#pragma once
// Plays a WAV file in the background through SDL: the call returns at once,
// a new request replaces the sound playing, and nothing is waited for. Its
// owner keeps it as long as sound may play; going, it releases the device.
#include <cstdint>
#include <vector>

#include "platform/cstring.h"

struct SDL_RWops;

class CSoundPlayer {
public:
    CSoundPlayer() = default;
    ~CSoundPlayer();
    CSoundPlayer(const CSoundPlayer&) = delete;
    CSoundPlayer& operator=(const CSoundPlayer&) = delete;

    /// Returns true when playback started; false when the file is missing or
    /// cannot be decoded (the camera's IMA ADPCM is decoded), or no device
    /// opens. Every failure is logged with SDL's reason.
    bool Play(const CString& path);
    // The same for a WAV file held in memory; nothing is written anywhere.
    bool PlayData(const std::vector<unsigned char>& wav);
    // Stops the sound and releases the device.
    void Stop();
    /// Returns whether the sound still plays and how far it is (seconds of
    /// seconds). A sound that has ended releases the device here.
    bool State(double& position, double& length);

private:
    // Plays what SDL_LoadWAV_RW reads from source (which it closes); name
    // says what it is in the log.
    bool PlayFrom(SDL_RWops* source, const char* name);

    bool m_bAudioReady = false;
    uint32_t m_device = 0;
    // The sound queued, in bytes and in bytes per second.
    uint32_t m_nQueued = 0;
    double m_dBytesPerSecond = 0;
};
