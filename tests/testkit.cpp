#include "testkit.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

TempDir::TempDir()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/vocaline-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern + "/";
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

void WriteText(const std::string& path, const std::string& text)
{
    WriteFile(path, Bytes(text.begin(), text.end()));
}

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

void MakeDir(const std::string& path)
{
    std::filesystem::create_directories(path);
}

std::string DataPath(const std::string& name)
{
    return std::string(VOCALINE_TEST_DATA) + "/" + name;
}

JpegBuilder::JpegBuilder() : m_bytes{0xFF, 0xD8} {}

JpegBuilder& JpegBuilder::Raw(const Bytes& bytes)
{
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    return *this;
}

JpegBuilder& JpegBuilder::Segment(unsigned char marker, const Bytes& data)
{
    const size_t length = data.size() + 2;
    Raw({0xFF, marker, static_cast<unsigned char>(length >> 8), static_cast<unsigned char>(length & 0xFF)});
    return Raw(data);
}

JpegBuilder& JpegBuilder::App1(size_t dataSize)
{
    return Segment(0xE1, Bytes(dataSize, 0x11));
}

JpegBuilder& JpegBuilder::App2(size_t dataSize)
{
    return Segment(0xE2, Bytes(dataSize, 0x22));
}

JpegBuilder& JpegBuilder::AudioFirst(const Bytes& sound)
{
    return Segment(0xE2, Concat(Bytes(41, 0x41), sound));
}

JpegBuilder& JpegBuilder::AudioNext(const Bytes& sound)
{
    return Segment(0xE2, Concat(Bytes(13, 0x13), sound));
}

JpegBuilder& JpegBuilder::Dqt()
{
    return Segment(0xDB, Bytes(65, 0x07));
}

Bytes SoundBytes(size_t size, unsigned seed, bool riff)
{
    Bytes out(size);
    unsigned value = seed * 2654435761u;
    for (size_t i = 0; i < size; ++i) {
        value = value * 1103515245u + 12345u;
        out[i] = static_cast<unsigned char>(value >> 16);
    }
    const char* tag = riff ? "RIFF" : "RIFX";
    for (size_t i = 0; i < 4 && i < size; ++i)
        out[i] = static_cast<unsigned char>(tag[i]);
    // A RIFF size of 0 makes any memo that starts with these bytes whole.
    for (size_t i = 4; i < 8 && i < size; ++i)
        out[i] = 0;
    return out;
}

Bytes Concat(const Bytes& a, const Bytes& b)
{
    Bytes out(a);
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

Bytes CameraFile(const Bytes& first, const std::vector<Bytes>& later)
{
    JpegBuilder jpeg;
    jpeg.App1().App2().App2().App2().App2().AudioFirst(first);
    for (const Bytes& piece : later)
        jpeg.AudioNext(piece);
    jpeg.Dqt();
    return jpeg.bytes();
}

std::vector<std::string> OpenDescriptors()
{
    std::vector<std::string> out;
    DIR* dir = ::opendir("/proc/self/fd");
    if (!dir)
        return out;
    const int own = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || name == std::to_string(own))
            continue;
        char target[4096];
        const ssize_t n = ::readlink(("/proc/self/fd/" + name).c_str(), target, sizeof target - 1);
        out.push_back(name + " -> " + std::string(target, n > 0 ? static_cast<size_t>(n) : 0));
    }
    ::closedir(dir);
    return out;
}
