// FlashPix benchmarks, each against a baseline measured in the same run:
//   presence test over 10,000 camera files, half of them in other FlashPix
//     orders                       vs open + one pread of the head bytes it needs
//   1,000 memos written as 16-bit PCM vs the same memos written as stored
//   1M and 10M overlapping memo pieces: vocaline-extract --check and the
//     extraction, against goals in seconds (cat of the file for scale)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <tuple>

#include "audio/flashpix.h"
#include "audio/wav.h"
#include "bench/benchkit.h"
#include "bench/camera_tree.h"
#include "platform/file.h"
#include "bench/fpxrgen.h"

namespace {

using Bytes = std::vector<unsigned char>;

struct Files {
    std::string root;
    std::vector<std::string> paths;
    std::vector<size_t> headBytes; // per file: up to the end of "RIFF" size "WAVE"
};

// Where the proof of the first memo ends: what the presence test must read.
size_t HeadBytes(const Bytes& file)
{
    for (size_t at = 0; at + 12 <= file.size(); ++at) {
        if (std::memcmp(&file[at], "RIFF", 4) == 0 && std::memcmp(&file[at + 8], "WAVE", 4) == 0)
            return at + 12;
    }
    throw std::runtime_error("no memo in a benchmark file");
}

Files MakeFiles(int count, bool otherOrders)
{
    Files files;
    files.root = MakeBenchFolder();

    // The HP sample, and the same memo in every other order the reader knows.
    const Bytes& hp = CameraFileWithSound();
    CSourceFile sample;
    std::vector<FpxrMemo> memos;
    if (!sample.Open(VOCALINE_SAMPLE) || !ReadFlashPixMemos(sample, memos) || memos.empty())
        throw std::runtime_error("the sample camera file has no memo");
    std::vector<Bytes> kinds{hp};
    if (otherOrders) {
        for (const fpxrgen::Layout layout : {fpxrgen::Layout::AudioThird, fpxrgen::Layout::App4,
                                             fpxrgen::Layout::IccAhead, fpxrgen::Layout::CommentAhead,
                                             fpxrgen::Layout::Overlapping})
            kinds.push_back(fpxrgen::MakeSample(layout, memos[0].bytes).file);
    }
    for (int i = 0; i < count; ++i) {
        const std::string folder = files.root + "d" + std::to_string(i / 100) + "/";
        if (i % 100 == 0)
            ::mkdir(folder.c_str(), 0755);
        // Half HP, the other half spread over the other orders.
        const Bytes& bytes = i % 2 || kinds.size() == 1 ? hp : kinds[1 + (i / 2) % (kinds.size() - 1)];
        const std::string path = folder + "IM" + std::to_string(100000 + i) + ".JPG";
        FILE* out = std::fopen(path.c_str(), "wb");
        if (!out || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fclose(out) != 0)
            throw std::runtime_error("cannot write " + path);
        files.paths.push_back(path);
        files.headBytes.push_back(HeadBytes(bytes));
    }
    return files;
}

void Presence()
{
    const Files files = MakeFiles(10000, true);
    int yes = 0;
    const auto ours = [&] {
        yes = 0;
        for (const std::string& path : files.paths) {
            CSourceFile file;
            if (file.Open(path)) {
                file.SetReadAhead(4096);
                yes += HasFlashPixMemo(file);
            }
        }
    };
    Bytes buffer(1 << 16);
    const auto baseline = [&] {
        for (size_t i = 0; i < files.paths.size(); ++i) {
            const int fd = ::open(files.paths[i].c_str(), O_RDONLY | O_CLOEXEC);
            if (::pread(fd, buffer.data(), files.headBytes[i], 0) < 0)
                std::perror("pread");
            ::close(fd);
        }
    };
    Report("FlashPix presence test, 10,000 camera files", Compare(ours, baseline), 1.5);
    std::printf("  (%d of %zu with a memo)\n", yes, files.paths.size());
    // The source is checked to be a regular file on its descriptor before it
    // is read; what that check adds here by itself:
    const double fstats = SecondsOf([&] {
        struct stat st {};
        for (const std::string& path : files.paths) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            ::fstat(fd, &st);
            ::close(fd);
        }
    });
    std::printf("  (open + fstat + close of 10,000 files here takes %.4f s by itself)\n", fstats);
    std::filesystem::remove_all(files.root);
}

// Reads the memo of each file and writes it beside it, converted or not.
void WriteMemos(const Files& files, bool pcm)
{
    std::vector<FpxrMemo> memos;
    Bytes converted;
    for (const std::string& path : files.paths) {
        CSourceFile source;
        if (!source.Open(path) || !ReadFlashPixMemos(source, memos) || memos.empty())
            throw std::runtime_error("no memo in " + path);
        const Bytes* out = &memos[0].bytes;
        if (pcm) {
            if (ConvertToPcm16(memos[0].bytes, converted) != PcmConversion::Converted)
                throw std::runtime_error("cannot convert the memo of " + path);
            out = &converted;
        }
        COutputFile wav;
        if (!wav.Create(path + ".wav", 0644) || !wav.Write(out->data(), out->size()) || !wav.Commit())
            throw std::runtime_error("cannot write " + path + ".wav");
    }
}

void Pcm()
{
    const Files files = MakeFiles(1000, false);
    WavInfo info;
    CSourceFile sample;
    std::vector<FpxrMemo> memos;
    if (sample.Open(VOCALINE_SAMPLE) && ReadFlashPixMemos(sample, memos) && !memos.empty()
        && ParseWavInfo(memos[0].bytes, info))
        std::printf("  (each memo: %.1f s, %s %u Hz)\n", info.dSeconds, info.strFormat.c_str(), info.nSampleRate);
    Report("1,000 memos as 16-bit PCM vs as stored",
           Compare([&] { WriteMemos(files, true); }, [&] { WriteMemos(files, false); }), 2.0);
    Bytes pcm;
    const double decoding = SecondsOf([&] {
        for (int i = 0; i < 1000; ++i)
            ConvertToPcm16(memos[0].bytes, pcm);
    });
    std::printf("  (decoding 1,000 memos in memory takes %.4f s by itself)\n", decoding);
    std::filesystem::remove_all(files.root);
}

// A picture whose memo comes in `count` pieces of 8 bytes, each starting a
// few bytes after the one before and so overlapping its neighbours; the
// contents list comes last, so the proof needs the whole walk.
std::string WriteOverlappingPieces(const std::string& folder, size_t count)
{
    const Bytes memo = fpxrgen::MakeWav({.data = fpxrgen::Noise(24000, 5)});
    Bytes stream(28, 0);
    stream.insert(stream.end(), memo.begin(), memo.end());
    const std::string path = folder + "pieces-" + std::to_string(count) + ".jpg";
    FILE* out = std::fopen(path.c_str(), "wb");
    const auto put = [&](const Bytes& bytes) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size())
            throw std::runtime_error("cannot write " + path);
    };
    if (!out)
        throw std::runtime_error("cannot write " + path);
    put(fpxrgen::StartOfImage());
    put(fpxrgen::ExifApp1());
    constexpr size_t kPiece = 8;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = i * (stream.size() - kPiece) / (count - 1);
        const Bytes bytes(stream.begin() + static_cast<long>(at), stream.begin() + static_cast<long>(at + kPiece));
        put(fpxrgen::Segment(0xE2, fpxrgen::StreamPiece(1, static_cast<uint32_t>(at), bytes)));
    }
    put(fpxrgen::Segment(0xE2, fpxrgen::ContentsList({{"/", 0},
                                                       {"/Audio Stream 000000", static_cast<uint32_t>(stream.size())}})));
    put(fpxrgen::PictureTail());
    if (std::fclose(out) != 0)
        throw std::runtime_error("cannot write " + path);
    return path;
}

void Pieces()
{
    const std::string folder = MakeBenchFolder();
    for (const auto& [count, checkGoal, extractGoal] : {std::tuple{1000000, 0.2, 0.5}, std::tuple{10000000, 2.0, 5.0}}) {
        const std::string path = WriteOverlappingPieces(folder, static_cast<size_t>(count));
        struct stat st {};
        ::stat(path.c_str(), &st);
        const auto median = [](const std::function<void()>& work) {
            std::vector<double> times;
            for (int round = 0; round < 3; ++round)
                times.push_back(SecondsOf(work));
            std::sort(times.begin(), times.end());
            return times[1];
        };
        const double cat = median([&] { RunProgram({"/bin/cat", path}); });
        const double check = median([&] { RunProgram({VOCALINE_EXTRACT, "--check", path}); });
        const double extract = median([&] {
            if (RunProgram({VOCALINE_EXTRACT, path}) != 0)
                throw std::runtime_error("no memo extracted from " + path);
        });
        std::printf("%d overlapping pieces (%.0f MB): --check %.3f s (goal < %.1f) %s, extraction %.3f s "
                    "(goal < %.1f) %s; cat %.3f s\n",
                    count, st.st_size / 1e6, check, checkGoal, check < checkGoal ? "met" : "MISSED", extract,
                    extractGoal, extract < extractGoal ? "met" : "MISSED", cat);
        std::fflush(stdout);
        std::filesystem::remove(path);
        std::filesystem::remove(path + ".wav");
    }
    std::filesystem::remove_all(folder);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string only = argc > 1 ? argv[1] : "";
    if (only.empty() || only == "presence")
        Presence();
    if (only.empty() || only == "pcm")
        Pcm();
    if (only.empty() || only == "pieces")
        Pieces();
    return 0;
}
