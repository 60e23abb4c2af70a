#include "bench/memogen.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace memogen {

namespace {

void Put16(Bytes& out, unsigned value, bool big = false)
{
    const auto hi = static_cast<unsigned char>(value >> 8), lo = static_cast<unsigned char>(value);
    out.insert(out.end(), {big ? hi : lo, big ? lo : hi});
}

void Put32(Bytes& out, uint32_t value, bool big = false)
{
    Put16(out, big ? value >> 16 : value & 0xFFFF, big);
    Put16(out, big ? value & 0xFFFF : value >> 16, big);
}

void PutText(Bytes& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
}

} // namespace

std::vector<TrailerEntry> EntriesFor(const std::vector<TrailerBlock>& blocks)
{
    std::vector<TrailerEntry> entries;
    uint32_t total = 0;
    for (const TrailerBlock& block : blocks)
        total += static_cast<uint32_t>(8 + block.name.size() + block.payload.size());
    uint32_t at = 0;
    for (const TrailerBlock& block : blocks) {
        const auto size = static_cast<uint32_t>(8 + block.name.size() + block.payload.size());
        entries.push_back({block.type, total - at, size});
        at += size;
    }
    return entries;
}

Bytes WithTrailer(const Bytes& jpeg, const std::vector<TrailerBlock>& blocks)
{
    return WithTrailer(jpeg, blocks, EntriesFor(blocks));
}

Bytes WithTrailer(const Bytes& jpeg, const std::vector<TrailerBlock>& blocks, const std::vector<TrailerEntry>& entries)
{
    Bytes out = jpeg;
    for (const TrailerBlock& block : blocks) {
        Put16(out, 0);
        Put16(out, block.type);
        Put32(out, static_cast<uint32_t>(block.name.size()));
        PutText(out, block.name);
        out.insert(out.end(), block.payload.begin(), block.payload.end());
    }
    PutText(out, "SEFH");
    Put32(out, 101);
    Put32(out, static_cast<uint32_t>(entries.size()));
    for (const TrailerEntry& entry : entries) {
        Put16(out, 0);
        Put16(out, entry.type);
        Put32(out, entry.back);
        Put32(out, entry.size);
    }
    Put32(out, static_cast<uint32_t>(12 + 12 * entries.size()));
    PutText(out, "SEFT");
    return out;
}

Bytes PhoneWav(size_t samples, unsigned seed)
{
    const auto dataBytes = static_cast<uint32_t>(2 * samples);
    Bytes wav;
    PutText(wav, "RIFF");
    Put32(wav, 36 + dataBytes);
    PutText(wav, "WAVEfmt ");
    Put32(wav, 16);
    Put16(wav, 1);
    Put16(wav, 1);
    Put32(wav, 44100);
    Put32(wav, 88200);
    Put16(wav, 2);
    Put16(wav, 16);
    PutText(wav, "data");
    Put32(wav, dataBytes);
    uint32_t state = seed * 2654435761u + 1;
    for (size_t i = 0; i < samples; ++i) {
        state = state * 1103515245u + 12345u;
        Put16(wav, (state >> 16) & 0xFFFF);
    }
    return wav;
}

Bytes ExifWithRelatedSoundFile(const std::string& name, bool big)
{
    std::string text = name;
    text.resize(std::max<size_t>(text.size() + 1, 13), '\0'); // Exif gives it 13 bytes
    Bytes out;
    PutText(out, std::string("Exif\0\0", 6));
    PutText(out, big ? "MM" : "II");
    Put16(out, 42, big);
    Put32(out, 8, big);
    // IFD0 at 8: the Exif IFD pointer alone.
    constexpr uint32_t exifIfd = 8 + 2 + 12 + 4;
    Put16(out, 1, big);
    Put16(out, 0x8769, big);
    Put16(out, 4, big);
    Put32(out, 1, big);
    Put32(out, exifIfd, big);
    Put32(out, 0, big);
    // The Exif IFD: RelatedSoundFile, its text behind the IFD.
    Put16(out, 1, big);
    Put16(out, 0xA004, big);
    Put16(out, 2, big);
    Put32(out, static_cast<uint32_t>(text.size()), big);
    Put32(out, exifIfd + 2 + 12 + 4, big);
    Put32(out, 0, big);
    PutText(out, text);
    return out;
}

Bytes JpegWithApp1(const Bytes& app1Data)
{
    Bytes out{0xFF, 0xD8, 0xFF, 0xE1};
    Put16(out, static_cast<unsigned>(app1Data.size() + 2), true);
    out.insert(out.end(), app1Data.begin(), app1Data.end());
    // A quantisation table, a frame, a scan of a few bytes, the end.
    out.insert(out.end(), {0xFF, 0xDB, 0x00, 0x43, 0x00});
    out.insert(out.end(), 64, 1);
    out.insert(out.end(), {0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x08, 0x00, 0x08, 0x01, 0x01, 0x11, 0x00});
    out.insert(out.end(), {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00, 0x12, 0x34, 0xFF, 0xD9});
    return out;
}

Bytes CompoundFile(size_t entries, bool chain, unsigned shift)
{
    constexpr uint32_t none = 0xFFFFFFFF, end = 0xFFFFFFFE;
    const size_t count = entries + 1;
    const uint32_t perFat = (1u << shift) / 4, perDirectory = (1u << shift) / 128;
    const auto directorySectors = static_cast<uint32_t>((count + perDirectory - 1) / perDirectory);
    uint32_t fatSectors = 1;
    while (fatSectors * perFat < fatSectors + directorySectors)
        ++fatSectors;
    Bytes file = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    file.resize(24, 0);
    Put16(file, 0x3E);
    Put16(file, shift == 12 ? 4 : 3);
    Put16(file, 0xFFFE);
    Put16(file, shift);
    Put16(file, 6);
    file.resize(0x2C, 0);
    Put32(file, fatSectors);
    Put32(file, fatSectors); // the directory follows the table
    Put32(file, 0);
    Put32(file, 4096);
    Put32(file, end);
    Put32(file, 0);
    Put32(file, end);
    Put32(file, 0);
    for (uint32_t i = 0; i < 109; ++i)
        Put32(file, i < fatSectors ? i : none);
    file.resize(size_t{1} << shift, 0); // the header takes a whole sector
    for (uint32_t i = 0; i < fatSectors * perFat; ++i)
        Put32(file, i < fatSectors ? 0xFFFFFFFD
                    : i + 1 < fatSectors + directorySectors ? i + 1
                    : i + 1 == fatSectors + directorySectors ? end : none);
    // Children of the root by index 1..entries; a balanced tree takes the
    // middle of each range as its top.
    std::vector<uint32_t> left(count, none), right(count, none);
    uint32_t top = entries ? 1 : none;
    if (chain) {
        for (uint32_t i = 1; i < entries; ++i)
            right[i] = i + 1;
    } else {
        const auto build = [&](auto& self, uint32_t from, uint32_t to) -> uint32_t {
            if (from >= to)
                return none;
            const uint32_t middle = from + (to - from) / 2;
            left[middle] = self(self, from, middle);
            right[middle] = self(self, middle + 1, to);
            return middle;
        };
        top = build(build, 1, static_cast<uint32_t>(count));
    }
    for (size_t i = 0; i < directorySectors * perDirectory; ++i) {
        const size_t at = file.size();
        const std::string name = i == 0 ? "Root Entry" : "s" + std::to_string(i - 1);
        for (const char c : name)
            Put16(file, static_cast<unsigned char>(c));
        file.resize(at + 0x40, 0);
        Put16(file, i < count ? static_cast<unsigned>(2 * name.size() + 2) : 0);
        file.push_back(i == 0 ? 5 : i < count ? (chain ? 2 : 1) : 0);
        file.push_back(1);
        Put32(file, i < count ? left[i] : none);
        Put32(file, i < count ? right[i] : none);
        Put32(file, i == 0 ? top : none);
        file.resize(at + 0x74, 0);
        Put32(file, end);
        Put32(file, 0);
        Put32(file, 0);
    }
    return file;
}

void WriteSparseTrailerMemo(const std::string& path, uint64_t claimed)
{
    const auto le = [](Bytes& out, uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<unsigned char>(value >> (8 * i)));
    };
    const std::string name = "SoundShot_000";
    Bytes head = {0xFF, 0xD8, 0xFF, 0xD9, 0, 0, 0x00, 0x01}; // a JPEG, then the block: 0, type 0x0100
    le(head, name.size(), 4);
    head.insert(head.end(), name.begin(), name.end());
    head.insert(head.end(), {'R', 'I', 'F', 'F'});
    le(head, claimed - 8, 4);
    head.insert(head.end(), {'W', 'A', 'V', 'E'});
    const uint64_t block = 8 + name.size() + claimed;
    Bytes directory = {'S', 'E', 'F', 'H', 0x6A, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0x00, 0x01};
    le(directory, block, 4); // back from the directory to the block, which lies right before it
    le(directory, block, 4);
    le(directory, 24, 4);
    directory.insert(directory.end(), {'S', 'E', 'F', 'T'});
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool written = fd >= 0 && ::pwrite(fd, head.data(), head.size(), 0) == static_cast<ssize_t>(head.size())
        && ::pwrite(fd, directory.data(), directory.size(), static_cast<off_t>(4 + block))
            == static_cast<ssize_t>(directory.size());
    if (fd >= 0)
        ::close(fd);
    if (!written)
        std::perror(path.c_str());
}

} // namespace memogen
