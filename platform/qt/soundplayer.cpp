#include "platform/qt/soundplayer.h"

#include <QtGlobal>
#include <SDL.h>

#include <algorithm>
#include <memory>

namespace {

struct WavFree {
    void operator()(Uint8* buffer) const { SDL_FreeWAV(buffer); }
};

} // namespace

CSoundPlayer::~CSoundPlayer()
{
    Stop();
    if (m_bAudioReady)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void CSoundPlayer::Stop()
{
    if (m_device != 0) {
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
    }
}

bool CSoundPlayer::Play(const CString& path)
{
    return PlayFrom(SDL_RWFromFile(path.c_str(), "rb"), path.c_str());
}

bool CSoundPlayer::PlayData(const std::vector<unsigned char>& wav)
{
    return PlayFrom(SDL_RWFromConstMem(wav.data(), static_cast<int>(wav.size())), "the memo");
}

bool CSoundPlayer::PlayFrom(SDL_RWops* source, const char* name)
{
    SDL_AudioSpec spec{};
    Uint8* raw = nullptr;
    Uint32 length = 0;
    if (source == nullptr || SDL_LoadWAV_RW(source, 1, &spec, &raw, &length) == nullptr) {
        qWarning("Cannot load %s: %s", name, SDL_GetError());
        return false;
    }
    const std::unique_ptr<Uint8, WavFree> samples(raw);

    Stop();
    if (!m_bAudioReady) {
        // SIGINT and SIGTERM stay the process's own: they end it as usual.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            qWarning("Cannot start SDL audio: %s", SDL_GetError());
            return false;
        }
        m_bAudioReady = true;
    }
    // The device takes the file's own format; SDL converts if the hardware
    // needs another. The whole sound is queued, so nothing stays to feed.
    spec.callback = nullptr;
    spec.userdata = nullptr;
    m_device = SDL_OpenAudioDevice(nullptr, 0, &spec, nullptr, 0);
    if (m_device == 0) {
        qWarning("Cannot open an audio device for %s: %s", name, SDL_GetError());
        return false;
    }
    if (SDL_QueueAudio(m_device, samples.get(), length) != 0) {
        qWarning("Cannot queue the sound of %s: %s", name, SDL_GetError());
        Stop();
        return false;
    }
    m_nQueued = length;
    m_dBytesPerSecond = static_cast<double>(spec.freq) * spec.channels * (SDL_AUDIO_BITSIZE(spec.format) / 8);
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

bool CSoundPlayer::State(double& position, double& length)
{
    position = length = 0;
    if (m_device == 0 || m_dBytesPerSecond <= 0)
        return false;
    const Uint32 left = SDL_GetQueuedAudioSize(m_device);
    if (left == 0) {
        // Played out: nothing keeps the device busy with silence.
        Stop();
        return false;
    }
    length = m_nQueued / m_dBytesPerSecond;
    position = (m_nQueued - std::min(left, m_nQueued)) / m_dBytesPerSecond;
    return true;
}
