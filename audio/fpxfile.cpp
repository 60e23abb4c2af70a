#include "audio/fpxfile.h"

#include <gsf/gsf.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>

#include "audio/flashpix.h"
#include "platform/library.h"

namespace {

constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr size_t kStreamHead = 28;
constexpr size_t kWaveHead = 12;
// Storages nest a few levels in a FlashPix file; deeper ones are not searched.
constexpr int kMaxDepth = 8;
// A camera's file has a few dozen directory entries. libgsf loads them all,
// walks their trees by recursion and sorts each storage's children by
// insertion: a crafted directory of tens of thousands would take it seconds
// or its whole stack. Such a directory is refused before libgsf sees it.
constexpr uint32_t kMaxEntries = 4096;
// How deep the trees may go, siblings and children together: one recursion
// of libgsf each, a few hundred bytes of stack.
constexpr int kMaxTreeDepth = 512;
constexpr size_t kHeaderBytes = 512;
constexpr size_t kEntryBytes = 128;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kNoEntry = 0xFFFFFFFF;
constexpr size_t kHeaderFatSectors = 109;
enum : unsigned char { kTypeStorage = 1, kTypeStream = 2, kTypeRoot = 5 };

// libgsf brings GIO, libxml2 and ICU with its 30 MB of data: about 10 ms in
// the dynamic loader at every start, which a script running vocaline-extract
// once per file would pay each time for the rare compound file. It is
// loaded when the first one is met, and stays.
struct CGsf {
    decltype(&gsf_input_memory_new) input_memory_new;
    decltype(&gsf_infile_msole_new) infile_msole_new;
    decltype(&gsf_infile_num_children) infile_num_children;
    decltype(&gsf_infile_name_by_index) infile_name_by_index;
    decltype(&gsf_infile_child_by_index) infile_child_by_index;
    decltype(&gsf_infile_get_type) infile_get_type;
    decltype(&gsf_input_size) input_size;
    decltype(&gsf_input_read) input_read;
    decltype(&g_type_check_instance_is_a) type_check_instance_is_a;
    decltype(&g_object_unref) object_unref;
    decltype(&g_log_set_handler) log_set_handler;

    // A storage, when child is one.
    GsfInfile* AsStorage(GsfInput* child) const
    {
        auto* instance = reinterpret_cast<GTypeInstance*>(child);
        return type_check_instance_is_a(instance, infile_get_type()) ? reinterpret_cast<GsfInfile*>(child) : nullptr;
    }
};

/// The library, or null when it cannot be loaded (a compound file then
/// holds no memo we can read).
const CGsf* Gsf()
{
    static const CGsf* const loaded = []() -> const CGsf* {
        void* library = LoadLibrary(VOCALINE_GSF_SONAME);
        static CGsf gsf;
        // GLib's functions come with libgsf, which depends on it.
        if (!Resolve(library, gsf.input_memory_new, "gsf_input_memory_new")
            || !Resolve(library, gsf.infile_msole_new, "gsf_infile_msole_new")
            || !Resolve(library, gsf.infile_num_children, "gsf_infile_num_children")
            || !Resolve(library, gsf.infile_name_by_index, "gsf_infile_name_by_index")
            || !Resolve(library, gsf.infile_child_by_index, "gsf_infile_child_by_index")
            || !Resolve(library, gsf.infile_get_type, "gsf_infile_get_type")
            || !Resolve(library, gsf.input_size, "gsf_input_size") || !Resolve(library, gsf.input_read, "gsf_input_read")
            || !Resolve(library, gsf.type_check_instance_is_a, "g_type_check_instance_is_a")
            || !Resolve(library, gsf.object_unref, "g_object_unref")
            || !Resolve(library, gsf.log_set_handler, "g_log_set_handler"))
            return nullptr;
        // A damaged compound file is an ordinary case here, not one to tell
        // the user about on standard error.
        gsf.log_set_handler("libgsf:msole", static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK),
                            [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
        return &gsf;
    }();
    return loaded;
}

struct Unref {
    void operator()(void* object) const { Gsf()->object_unref(object); }
};
using InputPtr = std::unique_ptr<GsfInput, Unref>;
using InfilePtr = std::unique_ptr<GsfInfile, Unref>;

bool StartsWave(const guint8* bytes)
{
    return std::memcmp(bytes, "RIFF", 4) == 0 && std::memcmp(bytes + 8, "WAVE", 4) == 0;
}

// The memo stream of one audio storage, when it holds one.
bool ReadAudioStorage(const CGsf& gsf, GsfInfile* storage, std::vector<unsigned char>* bytes)
{
    const int count = gsf.infile_num_children(storage);
    for (int i = 0; i < count; ++i) {
        const char* name = gsf.infile_name_by_index(storage, i);
        if (!name || !IsFlashPixAudioStream(name))
            continue;
        const InputPtr stream(gsf.infile_child_by_index(storage, i));
        if (!stream)
            continue;
        const gsf_off_t size = gsf.input_size(stream.get());
        if (size < static_cast<gsf_off_t>(kStreamHead + kWaveHead))
            continue;
        const guint8* head = gsf.input_read(stream.get(), kStreamHead + kWaveHead, nullptr);
        if (!head || !StartsWave(head + kStreamHead))
            continue;
        // Even the presence test reads the stream to its end: a sector chain
        // that breaks off or loops gives no memo, to both alike.
        std::vector<unsigned char> local;
        std::vector<unsigned char>& memo = bytes ? *bytes : local;
        memo.resize(static_cast<size_t>(size) - kStreamHead);
        std::memcpy(memo.data(), head + kStreamHead, kWaveHead);
        if (!gsf.input_read(stream.get(), memo.size() - kWaveHead, memo.data() + kWaveHead)) {
            memo.clear();
            continue;
        }
        return true;
    }
    return false;
}

// The audio storage lies below the image's storage ("Data Object Store",
// the resolutions...): storages are searched depth first, "Audio..." ones
// for a memo stream.
bool FindAudioStorage(const CGsf& gsf, GsfInfile* storage, std::vector<unsigned char>* bytes, int depth,
                      const KeepGoing& keepGoing)
{
    if (depth > kMaxDepth)
        return false;
    const int count = gsf.infile_num_children(storage);
    for (int i = 0; i < count; ++i) {
        if (keepGoing && !keepGoing())
            return false;
        const char* name = gsf.infile_name_by_index(storage, i);
        const InputPtr child(gsf.infile_child_by_index(storage, i));
        GsfInfile* sub = child ? gsf.AsStorage(child.get()) : nullptr;
        if (!name || !sub || gsf.infile_num_children(sub) < 0)
            continue;
        if (std::strncmp(name, "Audio", 5) == 0 ? ReadAudioStorage(gsf, sub, bytes)
                                                : FindAudioStorage(gsf, sub, bytes, depth + 1, keepGoing))
            return true;
    }
    return false;
}

uint32_t Le32(const unsigned char* p)
{
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// The compound file's sectors and the allocation table that chains them,
// read from the bytes in memory; every number is checked against them.
class CCompoundSectors {
public:
    explicit CCompoundSectors(std::span<const unsigned char> file) : m_file(file)
    {
        if (file.size() < kHeaderBytes || (file[0x1E] != 9 && file[0x1E] != 12) || file[0x1F] != 0)
            return;
        m_shift = file[0x1E];
        // No more table than the file has sectors to chain.
        const size_t perSector = Size() / 4;
        const size_t fatCount = std::min<size_t>(Le32(&file[0x2C]), file.size() / Size() / perSector + 1);
        for (size_t i = 0; i < kHeaderFatSectors && m_fat.size() < fatCount; ++i)
            m_fat.push_back(Le32(&file[0x4C + 4 * i]));
        // The rest of the table's sectors are listed in a chain of their own;
        // it cannot be longer than the file has sectors.
        uint32_t next = Le32(&file[0x44]);
        for (size_t steps = 0; m_fat.size() < fatCount && steps < file.size() / Size(); ++steps) {
            const unsigned char* sector = At(next);
            if (!sector)
                break;
            for (size_t i = 0; i + 1 < perSector && m_fat.size() < fatCount; ++i)
                m_fat.push_back(Le32(sector + 4 * i));
            next = Le32(sector + 4 * (perSector - 1));
        }
    }
    bool IsValid() const { return m_shift != 0; }
    size_t Size() const { return size_t{1} << m_shift; }
    // The sector's bytes, or null when the file does not hold it whole.
    const unsigned char* At(uint32_t sector) const
    {
        const uint64_t at = (uint64_t{sector} + 1) << m_shift;
        return sector < kEndOfChain && at + Size() <= m_file.size() ? &m_file[at] : nullptr;
    }
    // The sector after this one in its chain; kNoEntry when the table does not say.
    uint32_t Next(uint32_t sector) const
    {
        const size_t perSector = Size() / 4;
        const unsigned char* table = sector / perSector < m_fat.size() ? At(m_fat[sector / perSector]) : nullptr;
        return table ? Le32(table + 4 * (sector % perSector)) : kNoEntry;
    }

private:
    std::span<const unsigned char> m_file;
    unsigned m_shift = 0;
    std::vector<uint32_t> m_fat; // the sectors of the allocation table
};

// True when libgsf can load the directory safely: at most kMaxEntries
// entries in a chain that ends, a root, and trees that reach every entry
// at most once (no loop, none shared) and no deeper than kMaxTreeDepth.
bool IsSafeDirectory(std::span<const unsigned char> file)
{
    const CCompoundSectors sectors(file);
    if (!sectors.IsValid())
        return false;
    const size_t perSector = sectors.Size() / kEntryBytes;
    std::vector<const unsigned char*> directory;
    for (uint32_t sector = Le32(&file[0x30]); sector != kEndOfChain; sector = sectors.Next(sector)) {
        const unsigned char* bytes = sectors.At(sector);
        if (!bytes || (directory.size() + 1) * perSector > kMaxEntries)
            return false;
        directory.push_back(bytes);
    }
    const size_t count = directory.size() * perSector;
    const auto entry = [&](size_t i) { return directory[i / perSector] + kEntryBytes * (i % perSector); };
    if (count == 0 || entry(0)[0x42] != kTypeRoot)
        return false;
    std::vector<bool> seen(count);
    std::vector<std::pair<uint32_t, int>> pending{{0, 1}};
    while (!pending.empty()) {
        const auto [index, depth] = pending.back();
        pending.pop_back();
        if (index == kNoEntry)
            continue;
        if (index >= count || seen[index] || depth > kMaxTreeDepth)
            return false;
        seen[index] = true;
        const unsigned char* at = entry(index);
        const unsigned char type = at[0x42];
        if (index != 0 && type != kTypeStorage && type != kTypeStream)
            return false;
        pending.emplace_back(Le32(at + 0x44), depth + 1);
        pending.emplace_back(Le32(at + 0x48), depth + 1);
        if (type != kTypeStream)
            pending.emplace_back(Le32(at + 0x4C), depth + 1);
    }
    return true;
}

} // namespace

bool IsCompoundFile(const CSourceFile& file)
{
    unsigned char head[sizeof kSignature];
    return file.ReadAt(0, head, sizeof head) == static_cast<long>(sizeof head)
        && std::memcmp(head, kSignature, sizeof head) == 0;
}

FpxRead ReadNativeFlashPixMemo(const CSourceFile& file, std::vector<unsigned char>* bytes, const KeepGoing& keepGoing)
{
    if (!IsCompoundFile(file) || file.GetSize() > MAX_FPX_FILE_BYTES)
        return FpxRead::Refused;
    std::vector<unsigned char> whole(static_cast<size_t>(file.GetSize()));
    const long got = file.ReadAt(0, whole.data(), whole.size());
    if (got < 0)
        return FpxRead::ReadError;
    whole.resize(static_cast<size_t>(got));
    if (!IsSafeDirectory(whole))
        return FpxRead::Refused;
    const CGsf* gsf = Gsf();
    if (!gsf || (keepGoing && !keepGoing()))
        return FpxRead::NoMemo;
    const InputPtr input(gsf->input_memory_new(whole.data(), static_cast<gsf_off_t>(whole.size()), FALSE));
    if (!input)
        return FpxRead::NoMemo;
    const InfilePtr root(gsf->infile_msole_new(input.get(), nullptr));
    if (!root)
        return FpxRead::Refused;
    return FindAudioStorage(*gsf, root.get(), bytes, 0, keepGoing) ? FpxRead::Memo : FpxRead::NoMemo;
}
