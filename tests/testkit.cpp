#include "testkit.h"

#include <libexif/exif-data.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "bench/memogen.h"

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

std::string CopySample(const std::string& path, const std::string& sample)
{
    MakeDir(std::filesystem::path(path).parent_path());
    WriteFile(path, ReadFile(DataPath(sample)));
    return path;
}

unsigned Mode(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

void SetModified(const std::string& path, time_t utc)
{
    const struct timespec times[2] = {{utc, 0}, {utc, 0}};
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
        throw std::runtime_error("cannot set the time of " + path);
}

Bytes Concat(const Bytes& a, const Bytes& b)
{
    Bytes out(a);
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

JpegBuilder& JpegBuilder::Raw(const Bytes& bytes)
{
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    return *this;
}

Bytes SoundBytes(size_t size, unsigned seed, bool riff)
{
    Bytes out = fpxrgen::Noise(size, seed);
    const unsigned char head[8] = {'R', 'I', 'F', static_cast<unsigned char>(riff ? 'F' : 'X'), 0, 0, 0, 0};
    std::memcpy(out.data(), head, std::min(size, sizeof head));
    return out;
}

Bytes CameraFile(const Bytes& first, const std::vector<Bytes>& later)
{
    JpegBuilder jpeg;
    jpeg.App1().App2().App2().App2().App2().AudioFirst(first);
    for (const Bytes& piece : later)
        jpeg.AudioNext(piece);
    return jpeg.Dqt().bytes();
}

std::vector<std::string> OpenDescriptors()
{
    std::vector<std::string> out;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error; // the iterator's own descriptor is gone when read
        const auto target = std::filesystem::read_symlink(entry.path(), error);
        if (!error)
            out.push_back(entry.path().filename().string() + " -> " + target.string());
    }
    return out;
}

std::string Quote(const std::string& arg)
{
    std::string out = "'";
    for (char c : arg)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string Shell(const std::string& command, bool raw)
{
    std::string out;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    ::pclose(pipe);
    while (!raw && !out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

bool Have(const std::string& programs)
{
    return Shell("for p in " + programs + "; do command -v $p || echo missing; done").find("missing") == std::string::npos;
}

Bytes PictureNamingSound(const std::string& tag, bool interoperability, bool jfif)
{
    const std::unique_ptr<ExifData, void (*)(ExifData*)> data(exif_data_new(), exif_data_unref);
    exif_data_set_byte_order(data.get(), EXIF_BYTE_ORDER_MOTOROLA);
    ExifEntry* entry = exif_entry_new();
    exif_content_add_entry(data->ifd[interoperability ? EXIF_IFD_INTEROPERABILITY : EXIF_IFD_EXIF], entry);
    entry->tag = EXIF_TAG_RELATED_SOUND_FILE;
    entry->format = EXIF_FORMAT_ASCII;
    entry->components = entry->size = static_cast<unsigned>(tag.size() + 1);
    entry->data = static_cast<unsigned char*>(std::calloc(entry->size, 1));
    std::memcpy(entry->data, tag.data(), tag.size());
    exif_entry_unref(entry);
    unsigned char* saved = nullptr;
    unsigned int length = 0;
    exif_data_save_data(data.get(), &saved, &length);
    Bytes exif(saved, saved + length);
    std::free(saved);
    Bytes picture = memogen::JpegWithApp1(exif);
    if (jfif) {
        const Bytes app0 = {0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
        picture.insert(picture.begin() + 2, app0.begin(), app0.end());
    }
    return picture;
}
