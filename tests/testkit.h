#pragma once
// Helpers shared by the tests: temporary folders, camera-file builders,
// descriptor counting.
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes. Its path ends in '/'.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

void WriteFile(const std::string& path, const Bytes& bytes);
void WriteText(const std::string& path, const std::string& text);
Bytes ReadFile(const std::string& path);
bool Exists(const std::string& path);
void MakeDir(const std::string& path);
std::string DataPath(const std::string& name); // the project's test data

// Builds a JPEG file segment by segment, the way the camera lays one out.
class JpegBuilder {
public:
    JpegBuilder(); // FF D8
    JpegBuilder& Raw(const Bytes& bytes);
    // A segment FF <marker> with length field L = data.size() + 2.
    JpegBuilder& Segment(unsigned char marker, const Bytes& data);
    JpegBuilder& App1(size_t dataSize = 20);
    JpegBuilder& App2(size_t dataSize = 30);
    // The fifth APP2: a 41-byte head, then the sound (which should begin "RIFF").
    JpegBuilder& AudioFirst(const Bytes& sound);
    // A later APP2: a 13-byte head, then the sound.
    JpegBuilder& AudioNext(const Bytes& sound);
    JpegBuilder& Dqt();
    const Bytes& bytes() const { return m_bytes; }
    void Save(const std::string& path) const { WriteFile(path, m_bytes); }

private:
    Bytes m_bytes;
};

// Sound bytes of a given size starting with "RIFF", distinct per seed, with
// a RIFF size field of 0 (any length is a whole memo).
Bytes SoundBytes(size_t size, unsigned seed = 1, bool riff = true);
Bytes Concat(const Bytes& a, const Bytes& b);

// A camera file with APP1, four plain APP2s, the first audio piece and
// extra later pieces, then DQT.
Bytes CameraFile(const Bytes& first, const std::vector<Bytes>& later = {});

// Descriptors this process has open now.
std::vector<std::string> OpenDescriptors();
