#pragma once
// Plays a WAV file in the background through SDL: the call returns at once,
// a new request replaces the sound playing, and nothing is waited for. Its
// owner keeps it as long as sound may play; going, it releases the device.
#include <cstdint>
#include <vector>

#include "platform/cstring.h"
#include "platform/qt/services.h"

class CSoundPlayer {
public:
    CSoundPlayer() = default;
    ~CSoundPlayer();
    CSoundPlayer(const CSoundPlayer&) = delete;
    CSoundPlayer& operator=(const CSoundPlayer&) = delete;

    /// Returns true when playback started; false when the file is missing,
    /// no regular file, or cannot be decoded (the camera's IMA ADPCM is
    /// decoded), when its rate is below 1,000 Hz or above 384 kHz, or no
    /// device opens. The file is read whole first; SDL never sees the path.
    /// Every failure is logged with its reason. Neither this nor Stop waits
    /// longer than one short buffer of sound.
    bool Play(const CString& path);
    // The same for a WAV file held in memory, from start seconds on;
    // nothing is written anywhere.
    bool PlayData(const std::vector<unsigned char>& wav, double start = 0);
    // Stops the sound and releases the device.
    void Stop();
    // Moves the sound playing to that many seconds from its start.
    void Seek(double seconds);
    /// Returns whether the sound still plays and how far it is (seconds of
    /// seconds). A sound that has ended releases the device here.
    bool State(double& position, double& length);
    /// Why the last Play or PlayData failed, in SDL's words ("no sound
    /// device" where SDL gives none); empty after one that started.
    const CString& LastError() const { return m_strError; }

private:
    // name says what wav is in the log.
    bool PlayFrom(const std::vector<unsigned char>& wav, const char* name, double start);
    // Queues the sound from that many seconds on; false when SDL refuses.
    bool Queue(double seconds);
    bool Fail(const CString& reason);

    bool m_bAudioReady = false;
    uint32_t m_device = 0;
    // The whole sound in the device's format, kept for seeking; where the
    // queue started in it; its bytes per second and per frame.
    std::vector<uint8_t> m_sound;
    uint32_t m_nStart = 0;
    double m_dBytesPerSecond = 0;
    uint32_t m_nFrameBytes = 1;
    CString m_strError;
};

// While it lives, the sound services (play, stop, seek, state) go to player;
// the ones in place before come back when it goes.
class CSoundServices {
public:
    explicit CSoundServices(CSoundPlayer& player);
    ~CSoundServices();
    CSoundServices(const CSoundServices&) = delete;
    CSoundServices& operator=(const CSoundServices&) = delete;

private:
    services::PlaySoundFunction m_play;
    services::PlaySoundDataFunction m_playData;
    services::StopSoundFunction m_stop;
    services::SeekSoundFunction m_seek;
    services::SoundStateFunction m_state;
};
