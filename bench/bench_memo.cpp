// Memo sources, against a baseline measured in the same run:
//   presence test over 10,000 plain camera JPEGs without any memo, every
//   source on (trailer, native FlashPix, a WAV beside the picture, Exif
//   RelatedSoundFile)      vs the fixed layout and FlashPix segments alone
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "audio/memo.h"
#include "bench/benchkit.h"
#include "bench/camera_tree.h"

namespace {

// A real camera's picture head (its Exif segment with the thumbnail), cut
// short and ended: what the presence test reads of a plain picture.
std::vector<unsigned char> PlainPicture()
{
    FILE* in = std::fopen(VOCALINE_PLAIN_PICTURE, "rb");
    if (!in)
        throw std::runtime_error("cannot read " VOCALINE_PLAIN_PICTURE);
    std::vector<unsigned char> bytes(20000);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), in));
    std::fclose(in);
    bytes.insert(bytes.end(), {0xFF, 0xD9});
    return bytes;
}

void Presence()
{
    const std::string root = MakeBenchFolder();
    const std::vector<unsigned char> picture = PlainPicture();
    std::vector<std::string> paths;
    for (int i = 0; i < 10000; ++i) {
        const std::string folder = root + "d" + std::to_string(i / 100) + "/";
        if (i % 100 == 0)
            ::mkdir(folder.c_str(), 0755);
        paths.push_back(folder + "P" + std::to_string(1000000 + i) + ".JPG");
        FILE* out = std::fopen(paths.back().c_str(), "wb");
        if (!out || std::fwrite(picture.data(), 1, picture.size(), out) != picture.size() || std::fclose(out) != 0)
            throw std::runtime_error("cannot write " + paths.back());
    }
    int yes = 0;
    const auto check = [&](MemoSources sources) {
        yes = 0;
        for (const std::string& path : paths)
            yes += CheckSound(path, nullptr, {}, sources) == SoundCheck::Yes;
    };
    const MemoSources inside = SourceBit(MemoSource::FixedLayout) | SourceBit(MemoSource::FlashPixSegments);
    Report("presence test, 10,000 plain JPEGs: every source vs FlashPix segments alone",
           Compare([&] { check(ALL_MEMO_SOURCES); }, [&] { check(inside); }, 7), 1.3);
    std::printf("  (%d of %zu with a memo)\n", yes, paths.size());
    std::filesystem::remove_all(root);
}

} // namespace

int main()
{
    Presence();
    return 0;
}
