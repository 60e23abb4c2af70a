#pragma once
// Plays a WAV file in the background through SDL: the call returns at once,
// a new request replaces the sound playing, and nothing is waited for.
#include <cstdint>

#include "platform/cstring.h"

class CSoundPlayer {
public:
    static CSoundPlayer& Instance();
    ~CSoundPlayer();
    CSoundPlayer(const CSoundPlayer&) = delete;
    CSoundPlayer& operator=(const CSoundPlayer&) = delete;

    // True when playback started; false when the file is missing or cannot
    // be decoded (the camera's IMA ADPCM is decoded), or no device opens.
    bool Play(const CString& path);
    // Stops the sound and releases the device.
    void Stop();

private:
    CSoundPlayer() = default;

    bool m_bAudioReady = false;
    uint32_t m_device = 0;
};
