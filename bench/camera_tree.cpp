#include "bench/camera_tree.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

void Put(const std::string& path, const std::vector<unsigned char>& bytes, size_t limit = 0)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot create " + path);
    std::fwrite(bytes.data(), 1, limit ? std::min(limit, bytes.size()) : bytes.size(), file);
    std::fclose(file);
}

} // namespace

const std::vector<unsigned char>& CameraFileWithSound()
{
    static const std::vector<unsigned char> bytes = [] {
        std::ifstream in(VOCALINE_SAMPLE, std::ios::binary);
        return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    return bytes;
}

const std::vector<unsigned char>& CameraFileWithoutSound()
{
    // The same picture with its Exif segment only: SOI, APP1, then the
    // picture from its DQT segment on.
    static const std::vector<unsigned char> bytes = [] {
        const auto& with = CameraFileWithSound();
        if (with.size() < 25000)
            throw std::runtime_error("the sample camera file is missing");
        std::vector<unsigned char> out(with.size() - 25000 + 84);
        std::copy(with.begin(), with.begin() + 84, out.begin());
        std::copy(with.begin() + 25000, with.end(), out.begin() + 84);
        return out;
    }();
    return bytes;
}

std::string MakeBenchFolder()
{
    // VOCALINE_BENCH_DIR picks the file system to measure on.
    const char* base = std::getenv("VOCALINE_BENCH_DIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/vocaline-bench-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed in " + pattern);
    return pattern + "/";
}

Tree MakeCameraTree(const TreeSpec& spec)
{
    Tree tree;
    tree.root = MakeBenchFolder();
    const std::vector<unsigned char> tinyBytes{0x42};

    const int total = spec.cameraFiles + spec.otherFiles;
    int made = 0;
    int folderNumber = 0;
    while (made < total) {
        // Leaf folders two levels down: root/aNN/bNN/
        const int top = folderNumber / spec.fanout;
        const int sub = folderNumber % spec.fanout;
        const std::string topPath = tree.root + "a" + std::to_string(top) + "/";
        const std::string leaf = topPath + "b" + std::to_string(sub) + "/";
        if (sub == 0) {
            ::mkdir(topPath.c_str(), 0755);
            ++tree.entries;
        }
        ::mkdir(leaf.c_str(), 0755);
        ++tree.entries;
        for (int i = 0; i < spec.perFolder && made < total; ++i, ++made) {
            // Spread the other files evenly: exactly spec.otherFiles of them.
            const bool other = static_cast<long>(made + 1) * spec.otherFiles / total
                != static_cast<long>(made) * spec.otherFiles / total;
            char name[32];
            std::snprintf(name, sizeof name, other ? "NOTE%05d.TXT" : "IM%06d.JPG", made);
            const std::string path = leaf + name;
            if (spec.tiny || other)
                Put(path, tinyBytes);
            else
                Put(path, made % 2 && !spec.allWithSound ? CameraFileWithoutSound() : CameraFileWithSound(),
                    spec.headBytes);
            if (!other)
                tree.jpegs.push_back(path);
            ++tree.entries;
        }
        ++folderNumber;
    }
    return tree;
}

void RemoveTree(const Tree& tree)
{
    std::error_code ignored;
    std::filesystem::remove_all(tree.root, ignored);
}
