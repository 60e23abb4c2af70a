#include "audio/beside.h"

#include <dirent.h>
#include <fcntl.h>
#include <libexif/exif-data.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "platform/file.h"

namespace {

constexpr unsigned char kMarkerLead = 0xFF;
constexpr unsigned char kApp1 = 0xE1;
constexpr unsigned char kStartOfScan = 0xDA;
constexpr unsigned char kExifHead[6] = {'E', 'x', 'i', 'f', 0, 0};
// The Exif segment comes among the first few; a walk stops looking after these.
constexpr int kSegmentsToExif = 16;
// RelatedSoundFile (0xA004), type ASCII (2), in either byte order.
constexpr unsigned char kTagMotorola[4] = {0xA0, 0x04, 0x00, 0x02};
constexpr unsigned char kTagIntel[4] = {0x04, 0xA0, 0x02, 0x00};
// A listing younger than this against the folder's change time is read
// again: a change within the same clock tick leaves the time unchanged.
constexpr int64_t kSettleNs = 50'000'000;

bool IsWavName(std::string_view name)
{
    return name.size() > 4 && name[name.size() - 4] == '.' && (name[name.size() - 3] | 0x20) == 'w'
        && (name[name.size() - 2] | 0x20) == 'a' && (name[name.size() - 1] | 0x20) == 'v';
}

int64_t Nanoseconds(const timespec& t)
{
    return int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

// One folder's WAV files by base name, kept per thread and read again when
// the folder changes.
class CFolderWavs {
public:
    CString Find(const CString& folder, const CString& base)
    {
        struct stat st {};
        if (::stat(folder.empty() ? "." : folder.c_str(), &st) != 0)
            return {};
        if (!Current(folder, st))
            Read(folder, st);
        const auto found = m_byBase.find(base);
        if (found == m_byBase.end())
            return {};
        struct stat file {};
        return ::fstatat(m_dir.Get(), found->second.c_str(), &file, 0) == 0 && S_ISREG(file.st_mode) ? found->second
                                                                                                   : CString();
    }

    bool IsRegularFile(const CString& folder, const CString& name)
    {
        struct stat st {};
        return ::stat((folder + name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }

private:
    bool Current(const CString& folder, const struct stat& st) const
    {
        return m_dir.IsOpen() && folder == m_folder && st.st_dev == m_dev && st.st_ino == m_ino
            && Nanoseconds(st.st_mtim) == m_changed && m_readAt - m_changed > kSettleNs;
    }

    void Read(const CString& folder, const struct stat& st)
    {
        m_byBase.clear();
        m_folder = folder;
        m_dev = st.st_dev;
        m_ino = st.st_ino;
        m_changed = Nanoseconds(st.st_mtim);
        timespec now {};
        ::clock_gettime(CLOCK_REALTIME, &now);
        m_readAt = Nanoseconds(now);
        m_dir = CUniqueFd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!m_dir.IsOpen())
            return;
        DIR* dir = ::fdopendir(::dup(m_dir.Get()));
        if (!dir)
            return;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name = entry->d_name;
            if (IsWavName(name))
                m_byBase.emplace(CString(name.substr(0, name.size() - 4)), CString(name)); // the first one stays
        }
        ::closedir(dir);
    }

    CString m_folder;
    dev_t m_dev = 0;
    ino_t m_ino = 0;
    int64_t m_changed = 0;
    int64_t m_readAt = 0;
    CUniqueFd m_dir;
    std::unordered_map<CString, CString> m_byBase;
};

struct ExifUnref {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

bool IsPlainName(const CString& name)
{
    return !name.empty() && name.find('/') == CString::npos && name.find("..") == CString::npos && name != ".";
}

// The bytes of the picture's Exif segment, from "Exif\0\0" on; empty when
// there is none among its first segments.
std::vector<unsigned char> ExifSegment(const CSourceFile& picture)
{
    int64_t offset = 2;
    for (int i = 0; i < kSegmentsToExif; ++i) {
        unsigned char head[4 + sizeof kExifHead];
        const long got = picture.ReadAt(offset, head, sizeof head);
        if (got < 4 || head[0] != kMarkerLead || head[1] == kStartOfScan)
            break;
        const size_t length = size_t{head[2]} << 8 | head[3];
        if (length < 2)
            break;
        if (head[1] == kApp1 && got == static_cast<long>(sizeof head)
            && std::memcmp(head + 4, kExifHead, sizeof kExifHead) == 0) {
            std::vector<unsigned char> segment(length - 2);
            const long read = picture.ReadAt(offset + 4, segment.data(), segment.size());
            segment.resize(read > 0 ? static_cast<size_t>(read) : 0);
            return segment;
        }
        offset += static_cast<int64_t>(length) + 2;
    }
    return {};
}

} // namespace

CString ReadRelatedSoundFile(const CSourceFile& picture)
{
    const std::vector<unsigned char> segment = ExifSegment(picture);
    // Most pictures have no such tag: libexif is asked only when its bytes
    // are there at all.
    const auto holds = [&](const unsigned char(&tag)[4]) {
        return std::search(segment.begin(), segment.end(), tag, tag + 4) != segment.end();
    };
    if (segment.empty() || (!holds(kTagMotorola) && !holds(kTagIntel)))
        return {};
    const std::unique_ptr<ExifData, ExifUnref> data(exif_data_new());
    if (!data)
        return {};
    // The tag is read as written: nothing is added, fixed or interpreted.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_option(data.get(), EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    exif_data_load_data(data.get(), segment.data(), static_cast<unsigned>(segment.size()));
    ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_EXIF], EXIF_TAG_RELATED_SOUND_FILE);
    if (!entry || !entry->data || entry->format != EXIF_FORMAT_ASCII)
        return {};
    CString name(reinterpret_cast<const char*>(entry->data), entry->size);
    name = name.substr(0, name.find('\0'));
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return IsPlainName(name) ? name : CString();
}

CString FindBesideSoundFile(const CString& path, const CSourceFile& picture)
{
    thread_local CFolderWavs folderWavs;
    const size_t slash = path.rfind('/');
    const CString folder = slash == CString::npos ? CString() : path.substr(0, slash + 1);
    const CString name = path.substr(folder.size());
    const size_t dot = name.rfind('.');
    const CString base = dot == CString::npos || dot == 0 ? name : name.substr(0, dot);
    CString beside = folderWavs.Find(folder, base);
    if (beside.empty() || beside == name) {
        beside = ReadRelatedSoundFile(picture);
        if (beside.empty() || beside == name || !folderWavs.IsRegularFile(folder, beside))
            return {};
    }
    return beside;
}
