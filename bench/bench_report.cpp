// The archive report against what it adds to the presence test, measured in
// the same run: `vocaline-extract --check --format=json -r` over 10,000
// camera files (half with a memo) vs plain `--check -r` on the same tree
// plus `sha256sum` over the same memos' bytes, kept as files of their own.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/benchkit.h"
#include "bench/camera_tree.h"

namespace {

const char* const kMemoDigest = "0c295a9fca9f18cf27b182bec4a03a0c3cd73734ae10354e7498088dea0475f6";

} // namespace

int main()
{
    TreeSpec spec;
    spec.cameraFiles = 10000;
    const Tree tree = MakeCameraTree(spec);

    // The memo of every camera file with sound, byte for byte, as a file.
    const std::string sample = VOCALINE_SAMPLE;
    const std::string wav = sample.substr(0, sample.rfind('/') + 1) + "expected/IM000101.JPG.wav";
    std::vector<unsigned char> memo(24380);
    FILE* in = std::fopen(wav.c_str(), "rb");
    if (!in || std::fread(memo.data(), 1, memo.size(), in) != memo.size())
        std::printf("warning: cannot read %s\n", wav.c_str());
    if (in)
        std::fclose(in);
    const std::string memos = tree.root + "memos/";
    std::vector<std::string> sha256sum{"/usr/bin/sha256sum"};
    RunProgram({"/bin/mkdir", memos});
    for (size_t i = 0; i < tree.jpegs.size(); i += 2) {
        const std::string path = memos + std::to_string(i) + ".wav";
        FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(memo.data(), 1, memo.size(), file);
        std::fclose(file);
        sha256sum.push_back(path);
    }
    const std::string sums = tree.root + "sums.txt";
    RunProgram(sha256sum, sums);
    FILE* check = std::fopen(sums.c_str(), "r");
    char digest[65] = {};
    if (!check || std::fscanf(check, "%64s", digest) != 1 || std::string(digest) != kMemoDigest)
        std::printf("warning: the memo files are not the sample's memo\n");
    if (check)
        std::fclose(check);

    const auto ours = [&] { RunProgram({VOCALINE_EXTRACT, "--check", "--format=json", "-r", tree.root}); };
    const auto baseline = [&] {
        RunProgram({VOCALINE_EXTRACT, "--check", "-r", tree.root});
        RunProgram(sha256sum);
    };
    Report("--check --format=json, 10,000 camera files, vs --check + sha256sum of the 5,000 memos", Compare(ours, baseline),
           1.3);
    RemoveTree(tree);
    return 0;
}
