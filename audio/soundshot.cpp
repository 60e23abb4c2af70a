#include "audio/soundshot.h"

#include <cstdint>
#include <cstring>

#include "audio/wav.h"

namespace {

constexpr size_t kTailBytes = 8;        // directory length, "SEFT"
constexpr size_t kDirectoryHead = 12;   // "SEFH", version, count
constexpr size_t kEntryBytes = 12;
constexpr uint32_t kMaxDirectory = 0x10000; // more than any phone writes
constexpr unsigned kTypeAudio = 0x0100;
constexpr size_t kBlockHead = 8;        // u16 0, u16 type, u32 name length
constexpr size_t kWaveHead = 12;        // "RIFF" size "WAVE"

uint32_t Little32(const unsigned char* p)
{
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

unsigned Little16(const unsigned char* p)
{
    return unsigned{p[0]} | unsigned{p[1]} << 8;
}

bool ReadExactly(const CSourceFile& file, int64_t offset, unsigned char* buffer, size_t n, bool& error)
{
    const long got = file.ReadAt(offset, buffer, n);
    error = got < 0;
    return got == static_cast<long>(n);
}

} // namespace

TrailerRead ReadSoundShotMemo(const CSourceFile& file, std::vector<unsigned char>* bytes)
{
    const int64_t size = file.GetSize();
    if (size < static_cast<int64_t>(kTailBytes + kDirectoryHead))
        return TrailerRead::NoMemo;
    bool error = false;
    const auto fail = [&] { return error ? TrailerRead::ReadError : TrailerRead::NoMemo; };
    unsigned char tail[kTailBytes];
    if (!ReadExactly(file, size - static_cast<int64_t>(kTailBytes), tail, sizeof tail, error))
        return fail();
    if (std::memcmp(tail + 4, "SEFT", 4) != 0)
        return TrailerRead::NoMemo;
    const uint32_t length = Little32(tail);
    if (length < kDirectoryHead || length > kMaxDirectory
        || int64_t{length} > size - static_cast<int64_t>(kTailBytes))
        return TrailerRead::NoMemo;
    const int64_t directoryAt = size - static_cast<int64_t>(kTailBytes) - length;
    std::vector<unsigned char> directory(length);
    if (!ReadExactly(file, directoryAt, directory.data(), directory.size(), error))
        return fail();
    const uint32_t count = Little32(&directory[8]);
    if (std::memcmp(directory.data(), "SEFH", 4) != 0 || count > (length - kDirectoryHead) / kEntryBytes)
        return TrailerRead::NoMemo;

    for (uint32_t i = 0; i < count; ++i) {
        const unsigned char* entry = &directory[kDirectoryHead + i * kEntryBytes];
        const uint32_t back = Little32(entry + 4);
        const uint32_t blockSize = Little32(entry + 8);
        if (Little16(entry + 2) != kTypeAudio || back > directoryAt || blockSize > back || blockSize < kBlockHead)
            continue;
        const int64_t blockAt = directoryAt - back;
        unsigned char head[kBlockHead];
        if (!ReadExactly(file, blockAt, head, sizeof head, error)) {
            if (error)
                return TrailerRead::ReadError;
            continue;
        }
        // A block starts as its entry: a directory that points anywhere
        // else (into the picture, say) names no block.
        const uint32_t nameLength = Little32(head + 4);
        if (std::memcmp(head, entry, 4) != 0 || nameLength > blockSize - kBlockHead)
            continue;
        const int64_t payloadAt = blockAt + static_cast<int64_t>(kBlockHead) + nameLength;
        const size_t payloadSize = blockSize - kBlockHead - nameLength;
        unsigned char wave[kWaveHead];
        if (payloadSize < kWaveHead || !ReadExactly(file, payloadAt, wave, sizeof wave, error)) {
            if (error)
                return TrailerRead::ReadError;
            continue;
        }
        if (std::memcmp(wave, "RIFF", 4) != 0 || std::memcmp(wave + 8, "WAVE", 4) != 0)
            continue;
        if (bytes && static_cast<int64_t>(payloadSize) > MAX_MEMO_BYTES)
            return TrailerRead::TooLarge;
        if (bytes) {
            bytes->resize(payloadSize);
            if (!ReadExactly(file, payloadAt, bytes->data(), payloadSize, error)) {
                bytes->clear();
                return fail();
            }
        }
        return TrailerRead::Memo;
    }
    return TrailerRead::NoMemo;
}
