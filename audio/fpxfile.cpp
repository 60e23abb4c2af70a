#include "audio/fpxfile.h"

#include <gsf/gsf.h>

#include <cstring>
#include <memory>

#include "audio/flashpix.h"

namespace {

constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr size_t kStreamHead = 28;
constexpr size_t kWaveHead = 12;
// Storages nest a few levels in a FlashPix file; deeper ones are not searched.
constexpr int kMaxDepth = 8;

struct Unref {
    void operator()(void* object) const { g_object_unref(object); }
};
using InputPtr = std::unique_ptr<GsfInput, Unref>;
using InfilePtr = std::unique_ptr<GsfInfile, Unref>;

// A damaged compound file is an ordinary case here, not one to tell the
// user about on standard error.
void QuietGsf()
{
    static const bool once = [] {
        g_log_set_handler("libgsf:msole", static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK),
                          [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
        return true;
    }();
    (void)once;
}

bool StartsWave(const guint8* bytes)
{
    return std::memcmp(bytes, "RIFF", 4) == 0 && std::memcmp(bytes + 8, "WAVE", 4) == 0;
}

// The memo stream of one audio storage, when it holds one.
bool ReadAudioStorage(GsfInfile* storage, std::vector<unsigned char>* bytes)
{
    const int count = gsf_infile_num_children(storage);
    for (int i = 0; i < count; ++i) {
        const char* name = gsf_infile_name_by_index(storage, i);
        if (!name || !IsFlashPixAudioStream(name))
            continue;
        const InputPtr stream(gsf_infile_child_by_index(storage, i));
        if (!stream)
            continue;
        const gsf_off_t size = gsf_input_size(stream.get());
        if (size < static_cast<gsf_off_t>(kStreamHead + kWaveHead))
            continue;
        const guint8* head = gsf_input_read(stream.get(), kStreamHead + kWaveHead, nullptr);
        if (!head || !StartsWave(head + kStreamHead))
            continue;
        // Even the presence test reads the stream to its end: a sector chain
        // that breaks off or loops gives no memo, to both alike.
        std::vector<unsigned char> local;
        std::vector<unsigned char>& memo = bytes ? *bytes : local;
        memo.resize(static_cast<size_t>(size) - kStreamHead);
        std::memcpy(memo.data(), head + kStreamHead, kWaveHead);
        if (!gsf_input_read(stream.get(), memo.size() - kWaveHead, memo.data() + kWaveHead)) {
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
bool FindAudioStorage(GsfInfile* storage, std::vector<unsigned char>* bytes, int depth)
{
    if (depth > kMaxDepth)
        return false;
    const int count = gsf_infile_num_children(storage);
    for (int i = 0; i < count; ++i) {
        const char* name = gsf_infile_name_by_index(storage, i);
        const InputPtr child(gsf_infile_child_by_index(storage, i));
        if (!name || !child || !GSF_IS_INFILE(child.get()) || gsf_infile_num_children(GSF_INFILE(child.get())) < 0)
            continue;
        GsfInfile* sub = GSF_INFILE(child.get());
        if (std::strncmp(name, "Audio", 5) == 0 ? ReadAudioStorage(sub, bytes)
                                                : FindAudioStorage(sub, bytes, depth + 1))
            return true;
    }
    return false;
}

} // namespace

bool IsCompoundFile(const CSourceFile& file)
{
    unsigned char head[sizeof kSignature];
    return file.ReadAt(0, head, sizeof head) == static_cast<long>(sizeof head)
        && std::memcmp(head, kSignature, sizeof head) == 0;
}

FpxRead ReadNativeFlashPixMemo(const CSourceFile& file, std::vector<unsigned char>* bytes)
{
    if (!IsCompoundFile(file) || file.GetSize() > MAX_FPX_FILE_BYTES)
        return FpxRead::NoMemo;
    std::vector<unsigned char> whole(static_cast<size_t>(file.GetSize()));
    const long got = file.ReadAt(0, whole.data(), whole.size());
    if (got < 0)
        return FpxRead::ReadError;
    whole.resize(static_cast<size_t>(got));
    QuietGsf();
    const InputPtr input(gsf_input_memory_new(whole.data(), static_cast<gsf_off_t>(whole.size()), FALSE));
    if (!input)
        return FpxRead::NoMemo;
    const InfilePtr root(gsf_infile_msole_new(input.get(), nullptr));
    if (!root)
        return FpxRead::NoMemo;
    return FindAudioStorage(root.get(), bytes, 0) ? FpxRead::Memo : FpxRead::NoMemo;
}
