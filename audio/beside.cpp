#include "audio/beside.h"

#include <dirent.h>
#include <fcntl.h>
#include <libexif/exif-data.h>
#include <strings.h>
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
// A listing read within this time of the folder's last change is read
// again: a change within the same clock tick leaves the time unchanged.
constexpr int64_t kSettleNs = 50'000'000;
// How long a quiet folder's listing is trusted after a check.
constexpr int64_t kTrustNs = 1'000'000;

bool IsWavName(std::string_view name)
{
    return name.size() > 4 && name[name.size() - 4] == '.' && (name[name.size() - 3] | 0x20) == 'w'
        && (name[name.size() - 2] | 0x20) == 'a' && (name[name.size() - 1] | 0x20) == 'v';
}

int64_t Nanoseconds(const timespec& t)
{
    return int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

// One folder's WAV files, by base name and by name without regard to case,
// kept per thread and read again when the folder changes.
class CFolderWavs {
public:
    /// Opens the folder's listing; false when the folder holds no WAV file.
    /// The listing held is checked on its descriptor, which costs no path
    /// walk: a file added or removed changes the folder's time, a rename of
    /// the folder itself its change time.
    /// A listing that has been quiet a while is trusted for a moment after
    /// each check, as if that picture had been looked at a moment earlier.
    bool Load(const CString& folder)
    {
        // A relative folder names another one after a change of the
        // current folder: it is looked up again each time.
        struct stat st {};
        const bool relative = folder.empty() || folder.front() != '/';
        if (relative && (::stat(folder.empty() ? "." : folder.c_str(), &st) != 0 || st.st_dev != m_dev || st.st_ino != m_ino))
            m_dir.Reset();
        const int64_t now = Now();
        if (folder == m_folder && m_dir.IsOpen() && m_readAt - m_changed > kSettleNs && now - m_checkedAt < kTrustNs)
            return !m_byBase.empty();
        if (folder != m_folder || !m_dir.IsOpen() || ::fstat(m_dir.Get(), &st) != 0 || !Current(st))
            Read(folder);
        m_checkedAt = now;
        return !m_byBase.empty();
    }
    // The WAV named base + ".wav" in any case.
    CString ByBase(const CString& base) const { return Regular(m_byBase, base); }
    // The WAV of this name, in any case (a memory card may show it in either).
    CString ByName(const CString& name) const { return Regular(m_byFolded, Folded(name)); }
    // True when the folder lists this name in any case, whatever it is.
    bool Lists(const CString& name) const { return m_byFolded.contains(Folded(name)); }

private:
    bool Current(const struct stat& st) const
    {
        return Changed(st) == m_changed && m_readAt - m_changed > kSettleNs;
    }

    static int64_t Now()
    {
        timespec now {};
        ::clock_gettime(CLOCK_REALTIME, &now);
        return Nanoseconds(now);
    }

    static int64_t Changed(const struct stat& st) { return std::max(Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim)); }

    void Read(const CString& folder)
    {
        m_byBase.clear();
        m_byFolded.clear();
        m_folder = folder;
        m_dir = CUniqueFd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        struct stat st {};
        if (!m_dir.IsOpen() || ::fstat(m_dir.Get(), &st) != 0) {
            m_dir.Reset();
            return;
        }
        m_changed = Changed(st);
        m_dev = st.st_dev;
        m_ino = st.st_ino;
        m_readAt = Now();
        DIR* dir = ::fdopendir(::dup(m_dir.Get()));
        if (!dir)
            return;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name = entry->d_name;
            if (!IsWavName(name))
                continue;
            // Of two that differ in case only, the first listed stays.
            m_byBase.emplace(CString(name.substr(0, name.size() - 4)), CString(name));
            m_byFolded.emplace(Folded(CString(name)), CString(name));
        }
        ::closedir(dir);
    }

    static CString Folded(CString name)
    {
        for (char& c : name)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
        return name;
    }

    // The one fstatat a picture costs, and only when a name matched.
    CString Regular(const std::unordered_map<CString, CString>& names, const CString& key) const
    {
        const auto found = names.find(key);
        struct stat st {};
        if (found == names.end() || ::fstatat(m_dir.Get(), found->second.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0
            || !S_ISREG(st.st_mode))
            return {};
        return found->second;
    }

    CString m_folder;
    dev_t m_dev = 0;
    ino_t m_ino = 0;
    int64_t m_changed = 0;
    int64_t m_readAt = 0;
    int64_t m_checkedAt = 0;
    CUniqueFd m_dir;
    std::unordered_map<CString, CString> m_byBase;
    std::unordered_map<CString, CString> m_byFolded;
};

// Each thread keeps the listing of the folder it looked at last.
CFolderWavs& FolderWavs()
{
    thread_local CFolderWavs folderWavs;
    return folderWavs;
}

// The folder part of path, with its '/'; empty for a bare name.
CString FolderOf(const CString& path)
{
    const size_t slash = path.rfind('/');
    return slash == CString::npos ? CString() : path.substr(0, slash + 1);
}

struct ExifUnref {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

bool IsPlainName(const CString& name)
{
    return !name.empty() && name.find('/') == CString::npos && name.find("..") == CString::npos && name != ".";
}

// Cameras without a memo fill the tag with spaces, or with the tag's own
// name; neither names a file.
bool IsPlaceholder(const CString& name)
{
    return ::strcasecmp(name.c_str(), "RelatedSoundFile") == 0 || ::strcasecmp(name.c_str(), "RelatedSound") == 0;
}

// The name with the spaces cameras pad it with taken off either end.
CString Trimmed(const CString& name)
{
    const size_t first = name.find_first_not_of(' ');
    return first == CString::npos ? CString() : name.substr(first, name.find_last_not_of(' ') - first + 1);
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
        return ::memmem(segment.data(), segment.size(), tag, sizeof tag) != nullptr;
    };
    if (segment.empty() || (!holds(kTagMotorola) && !holds(kTagIntel)))
        return {};
    const std::unique_ptr<ExifData, ExifUnref> data(exif_data_new());
    if (!data)
        return {};
    // The tag is read as written: nothing is added, fixed or interpreted.
    // Some cameras put it in the Interoperability IFD, where libexif drops
    // it as unknown unless told to keep what it does not know.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    exif_data_set_option(data.get(), EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    exif_data_load_data(data.get(), segment.data(), static_cast<unsigned>(segment.size()));
    ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_EXIF], EXIF_TAG_RELATED_SOUND_FILE);
    if (!entry)
        entry = exif_content_get_entry(data->ifd[EXIF_IFD_INTEROPERABILITY], EXIF_TAG_RELATED_SOUND_FILE);
    if (!entry || !entry->data || entry->format != EXIF_FORMAT_ASCII)
        return {};
    CString name(reinterpret_cast<const char*>(entry->data), entry->size);
    name = Trimmed(name.substr(0, name.find('\0')));
    return IsPlainName(name) && !IsPlaceholder(name) ? name : CString();
}

CString FindBesideSoundFile(const CString& path, const CSourceFile& picture)
{
    CFolderWavs& folderWavs = FolderWavs();
    const CString folder = FolderOf(path);
    // Most folders of pictures hold no WAV at all: then nothing more is read.
    if (!folderWavs.Load(folder))
        return {};
    const CString name = path.substr(folder.size());
    const size_t dot = name.rfind('.');
    const CString base = dot == CString::npos || dot == 0 ? name : name.substr(0, dot);
    CString beside = folderWavs.ByBase(base);
    if (beside.empty() || beside == name) {
        const CString related = ReadRelatedSoundFile(picture);
        beside = related.empty() ? CString() : folderWavs.ByName(related);
        if (beside == name)
            return {};
    }
    return beside;
}

CString FindMissingMemo(const CString& path)
{
    CSourceFile picture;
    if (!picture.Open(path))
        return {};
    const CString name = ReadRelatedSoundFile(picture);
    if (name.empty())
        return {};
    const CString folder = FolderOf(path);
    // Whatever lies there under that name (a link, a folder) is not gone,
    // even when it is no memo.
    struct stat st {};
    if (::lstat((folder + name).c_str(), &st) == 0)
        return {};
    if (IsWavName(name)) {
        CFolderWavs& folderWavs = FolderWavs();
        return folderWavs.Load(folder) && folderWavs.Lists(name) ? CString() : name;
    }
    // A sound file of another kind: rare enough to list the folder for.
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
    if (!dir)
        return {};
    while (const dirent* entry = ::readdir(dir.get())) {
        if (::strcasecmp(entry->d_name, name.c_str()) == 0)
            return {};
    }
    return name;
}
