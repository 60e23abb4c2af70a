#include "platform/qt/soundplayer.h"

#include <QtGlobal>
#include <SDL.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "platform/file.h"

namespace {

struct WavFree {
    void operator()(Uint8* buffer) const { SDL_FreeWAV(buffer); }
};

struct StreamFree {
    void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
};

// Rates a memo can truly have. Outside them a header is damaged or hostile,
// and a device asked for such a rate can take minutes to open or to close.
constexpr int kLowestRate = 1000;
constexpr int kHighestRate = 384000;
// A WAV file played as it is is read on the window's thread: no larger
// than any memo is read (one claiming gigabytes is refused unread).
constexpr int64_t kLargestFile = 256 * 1024 * 1024;

// About 20 to 40 ms of sound: the audio thread never sleeps longer than
// one buffer, so closing the device never waits longer.
Uint16 BufferFrames(int rate)
{
    Uint16 frames = 64;
    while (frames < rate / 50)
        frames = static_cast<Uint16>(frames * 2);
    return frames;
}

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
    std::vector<uint8_t>().swap(m_sound);
}

bool CSoundPlayer::Play(const CString& path)
{
    // Opened as a picture is: a FIFO or device named like a WAV is refused
    // by its type, never waited on.
    CSourceFile file;
    if (!file.Open(path))
        return Fail(FormatText("cannot read %s: %s", path.c_str(), DescribeError(file.GetError())));
    if (file.GetSize() > kLargestFile)
        return Fail(FormatText("%s is larger than 256 MB", path.c_str()));
    std::vector<unsigned char> wav(static_cast<size_t>(file.GetSize()));
    const long got = file.ReadAt(0, wav.data(), wav.size());
    if (got < 0)
        return Fail(FormatText("cannot read %s: %s", path.c_str(), DescribeError(file.GetError())));
    wav.resize(static_cast<size_t>(got));
    return PlayFrom(wav, path.c_str(), 0);
}

bool CSoundPlayer::PlayData(const std::vector<unsigned char>& wav, double start)
{
    return PlayFrom(wav, "the memo", start);
}

bool CSoundPlayer::PlayFrom(const std::vector<unsigned char>& wav, const char* name, double start)
{
    if (wav.size() > INT_MAX)
        return Fail(FormatText("%s is larger than 2 GB", name));
    SDL_AudioSpec spec{};
    Uint8* raw = nullptr;
    Uint32 length = 0;
    SDL_RWops* source = SDL_RWFromConstMem(wav.data(), static_cast<int>(wav.size()));
    if (source == nullptr || SDL_LoadWAV_RW(source, 1, &spec, &raw, &length) == nullptr)
        return Fail(FormatText("cannot load %s: %s", name, SDL_GetError()));
    const std::unique_ptr<Uint8, WavFree> samples(raw);
    if (spec.freq < kLowestRate || spec.freq > kHighestRate)
        return Fail(FormatText("the sample rate of %d Hz is outside %d Hz to %d Hz", spec.freq, kLowestRate,
                               kHighestRate));

    Stop();
    if (!m_bAudioReady) {
        // SIGINT and SIGTERM stay the process's own: they end it as usual.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return Fail(*SDL_GetError() ? SDL_GetError() : "no sound device");
        m_bAudioReady = true;
    }
    // The device is asked for the memo's format and may answer with its
    // own; the sound is then converted to what it took. The whole sound is
    // queued, so nothing stays to feed.
    SDL_AudioSpec wanted = spec;
    wanted.samples = BufferFrames(spec.freq);
    wanted.callback = nullptr;
    wanted.userdata = nullptr;
    SDL_AudioSpec device{};
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &device, SDL_AUDIO_ALLOW_ANY_CHANGE);
    if (m_device == 0)
        return Fail(*SDL_GetError() ? SDL_GetError() : "no sound device");
    // Kept in the device's format, converted or not, so that a seek can
    // queue it again from anywhere.
    if (device.freq != spec.freq || device.format != spec.format || device.channels != spec.channels) {
        const std::unique_ptr<SDL_AudioStream, StreamFree> stream(
            SDL_NewAudioStream(spec.format, spec.channels, spec.freq, device.format, device.channels, device.freq));
        if (!stream || SDL_AudioStreamPut(stream.get(), samples.get(), static_cast<int>(length)) != 0
            || SDL_AudioStreamFlush(stream.get()) != 0) {
            Stop();
            return Fail(FormatText("cannot convert the sound: %s", SDL_GetError()));
        }
        m_sound.resize(static_cast<size_t>(SDL_AudioStreamAvailable(stream.get())));
        const int got = SDL_AudioStreamGet(stream.get(), m_sound.data(), static_cast<int>(m_sound.size()));
        m_sound.resize(static_cast<size_t>(std::max(got, 0)));
    } else {
        m_sound.assign(samples.get(), samples.get() + length);
    }
    m_nFrameBytes = std::max(1u, static_cast<unsigned>(device.channels * (SDL_AUDIO_BITSIZE(device.format) / 8)));
    m_dBytesPerSecond = static_cast<double>(device.freq) * m_nFrameBytes;
    if (!Queue(start)) {
        Stop();
        return Fail(FormatText("cannot queue the sound: %s", SDL_GetError()));
    }
    m_strError.clear();
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

bool CSoundPlayer::Fail(const CString& reason)
{
    qWarning("Cannot play: %s", reason.c_str());
    m_strError = reason;
    return false;
}

void CSoundPlayer::Seek(double seconds)
{
    if (m_device == 0 || m_dBytesPerSecond <= 0)
        return;
    SDL_ClearQueuedAudio(m_device);
    Queue(seconds);
}

bool CSoundPlayer::Queue(double seconds)
{
    const double wanted = std::clamp(seconds * m_dBytesPerSecond, 0.0, static_cast<double>(m_sound.size()));
    m_nStart = static_cast<uint32_t>(wanted) / m_nFrameBytes * m_nFrameBytes;
    return m_nStart >= m_sound.size()
           || SDL_QueueAudio(m_device, m_sound.data() + m_nStart, static_cast<Uint32>(m_sound.size() - m_nStart)) == 0;
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
    const size_t total = m_sound.size();
    length = static_cast<double>(total) / m_dBytesPerSecond;
    position = static_cast<double>(total - std::min<size_t>(left, total)) / m_dBytesPerSecond;
    return true;
}

CSoundServices::CSoundServices(CSoundPlayer& player)
    : m_play(services::SetPlaySound([&player](const CString& path) { return player.Play(path); })),
      m_playData(services::SetPlaySoundData(
          [&player](const std::vector<unsigned char>& wav, double start) { return player.PlayData(wav, start); })),
      m_stop(services::SetStopSound([&player] { player.Stop(); })),
      m_seek(services::SetSeekSound([&player](double seconds) { player.Seek(seconds); })),
      m_state(services::SetSoundState([&player] {
          services::SoundState state;
          state.bPlaying = player.State(state.dPosition, state.dLength);
          state.strError = player.LastError();
          return state;
      }))
{
}

CSoundServices::~CSoundServices()
{
    services::SetSoundState(m_state);
    services::SetSeekSound(m_seek);
    services::SetStopSound(m_stop);
    services::SetPlaySoundData(m_playData);
    services::SetPlaySound(m_play);
}
