// Core benchmarks, each against a baseline measured in the same run:
//   presence test over 10,000 camera files   vs open + pread of the same header bytes
//   the finder over a 100,000-entry tree      vs find TREE -iname '*.jpg'
//   vocaline-extract over 1,000 camera files  vs cat of the same files to one output
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "audio/jpegaudio.h"
#include "bench/benchkit.h"
#include "bench/camera_tree.h"
#include "search/filesearch.h"

namespace {

// The offsets whose four bytes the presence test reads in a file of these
// bytes: the walk's headers, then the signature of the fifth APP2.
std::vector<off_t> HeaderOffsets(const std::vector<unsigned char>& bytes)
{
    std::vector<off_t> offsets{0};
    size_t offset = 2;
    int app2 = 0;
    while (true) {
        offsets.push_back(static_cast<off_t>(offset));
        if (offset + 4 > bytes.size())
            break;
        if (bytes[offset] == 0xFF && bytes[offset + 1] == 0xE2 && ++app2 == 5) {
            offsets.push_back(static_cast<off_t>(offset + 45));
            break;
        }
        offset += (bytes[offset + 2] << 8 | bytes[offset + 3]) + 2;
    }
    return offsets;
}

void Presence()
{
    TreeSpec spec;
    spec.cameraFiles = 10000;
    const Tree tree = MakeCameraTree(spec);
    const auto withSound = HeaderOffsets(CameraFileWithSound());
    const auto withoutSound = HeaderOffsets(CameraFileWithoutSound());
    int yes = 0;
    const auto ours = [&] {
        yes = 0;
        for (const std::string& path : tree.jpegs)
            yes += HasSound("", path);
    };
    const auto baseline = [&] {
        unsigned char header[4];
        for (size_t i = 0; i < tree.jpegs.size(); ++i) {
            const int fd = ::open(tree.jpegs[i].c_str(), O_RDONLY);
            for (off_t offset : i % 2 ? withoutSound : withSound) {
                if (::pread(fd, header, sizeof header, offset) < 0)
                    break;
            }
            ::close(fd);
        }
    };
    Report("presence test, 10,000 camera files", Compare(ours, baseline), 1.5);
    std::printf("  (%d of %zu with sound)\n", yes, tree.jpegs.size());
    RemoveTree(tree);
}

void Finder()
{
    TreeSpec spec;
    spec.cameraFiles = 90000;
    spec.otherFiles = 9000;
    spec.tiny = true;
    const Tree tree = MakeCameraTree(spec);
    int hits = 0;
    const auto ours = [&] {
        CFileSearch finder;
        CSearchOptions options;
        options.Reset();
        options.strBaseFolder = tree.root;
        options.bSubfolders = 1;
        hits = finder.FindFiles(options);
    };
    const auto baseline = [&] { RunProgram({"/usr/bin/find", tree.root, "-iname", "*.jpg"}); };
    Report("finder, " + std::to_string(tree.entries) + "-entry tree, *.jpg", Compare(ours, baseline), 1.2);
    std::printf("  (%d hits)\n", hits);
    RemoveTree(tree);
}

void Extract()
{
    TreeSpec spec;
    spec.cameraFiles = 1000;
    const Tree tree = MakeCameraTree(spec);
    std::vector<std::string> extract{VOCALINE_EXTRACT};
    std::vector<std::string> cat{"/bin/cat"};
    extract.insert(extract.end(), tree.jpegs.begin(), tree.jpegs.end());
    cat.insert(cat.end(), tree.jpegs.begin(), tree.jpegs.end());
    const std::string catOutput = tree.root + "all.out";
    const auto ours = [&] { RunProgram(extract); };
    const auto baseline = [&] { RunProgram(cat, catOutput); };
    Report("vocaline-extract, 1,000 camera files", Compare(ours, baseline), 2.0);
    // Each source needs a WAV file of its own; cat writes one file in all.
    // What creating 1,000 files costs on this file system alone:
    const double creating = SecondsOf([&] {
        for (const std::string& path : tree.jpegs)
            ::close(::open((path + ".new").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    });
    std::printf("  (creating 1,000 empty files here takes %.4f s by itself)\n", creating);
    RemoveTree(tree);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string only = argc > 1 ? argv[1] : "";
    if (only.empty() || only == "presence")
        Presence();
    if (only.empty() || only == "finder")
        Finder();
    if (only.empty() || only == "extract")
        Extract();
    return 0;
}
