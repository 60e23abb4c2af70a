#pragma once
// Helpers shared by the tests: temporary folders, files, camera files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "bench/fpxrgen.h"

using fpxrgen::Bytes;

// A fresh folder under the temporary folder, removed with all it holds when the object goes. Its path ends in
// '/'.
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
inline void WriteText(const std::string& path, const std::string& text) { WriteFile(path, Bytes(text.begin(), text.end())); }
Bytes ReadFile(const std::string& path);
bool Exists(const std::string& path);
inline void MakeDir(const std::string& path) { std::filesystem::create_directories(path); }
void SetModified(const std::string& path, time_t utc);
// The project's test data.
inline std::string DataPath(const std::string& name) { return std::string(VOCALINE_TEST_DATA) + "/" + name; }
// A copy of that sample at path, its folders made as needed; the path.
std::string CopySample(const std::string& path, const std::string& sample = "IM000101.JPG");
// The permission bits of the file at path; 0 where there is none.
unsigned Mode(const std::string& path);
Bytes Concat(const Bytes& a, const Bytes& b);

// arg as one shell word.
std::string Quote(const std::string& arg);
// Standard output of a shell command, its standard error dropped; trimmed of trailing line breaks unless raw.
std::string Shell(const std::string& command, bool raw = false);
// Whether each of these programs (separated by spaces) is installed.
bool Have(const std::string& programs);

// The camera's fixed layout segment by segment, on the same segment maker as the FlashPix layouts.
class JpegBuilder {
public:
    JpegBuilder& Raw(const Bytes& bytes);
    JpegBuilder& Segment(unsigned char marker, const Bytes& data) { return Raw(fpxrgen::Segment(marker, data)); }
    JpegBuilder& App1(size_t size = 20) { return Segment(0xE1, Bytes(size, 0x11)); }
    JpegBuilder& App2(size_t size = 30) { return Segment(0xE2, Bytes(size, 0x22)); }
    // The fifth APP2: a 41-byte head, then the sound; a later one: 13 bytes.
    JpegBuilder& AudioFirst(const Bytes& sound) { return Segment(0xE2, Concat(Bytes(41, 0x41), sound)); }
    JpegBuilder& AudioNext(const Bytes& sound) { return Segment(0xE2, Concat(Bytes(13, 0x13), sound)); }
    JpegBuilder& Dqt() { return Segment(0xDB, Bytes(65, 0x07)); }
    const Bytes& bytes() const { return m_bytes; }

private:
    Bytes m_bytes = fpxrgen::StartOfImage();
};

// Sound bytes starting "RIFF" (or "RIFX"), distinct per seed, with a RIFF size of 0: any length is a whole
// memo.
Bytes SoundBytes(size_t size, unsigned seed = 1, bool riff = true);

// APP1, four plain APP2s, the first audio piece and later ones, then DQT.
Bytes CameraFile(const Bytes& first, const std::vector<Bytes>& later = {});

// A picture whose Exif (written by libexif, big-endian as Minolta writes it) holds RelatedSoundFile with
// exactly these bytes and a NUL, in the Exif IFD or the Interoperability IFD; behind a JFIF APP0 when asked.
Bytes PictureNamingSound(const std::string& tag, bool interoperability = false, bool jfif = false);

// Descriptors this process has open now.
std::vector<std::string> OpenDescriptors();
