#include "audio/flashpix.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "audio/wav.h"
#include "platform/file.h"

namespace {

constexpr unsigned char kMarkerLead = 0xFF;
constexpr unsigned char kStartOfImage = 0xD8;
constexpr unsigned char kApp2 = 0xE2;
constexpr unsigned char kApp4 = 0xE4;
constexpr unsigned char kStartOfScan = 0xDA;
constexpr unsigned char kEndOfImage = 0xD9;

// Segment data: "FPXR" 0, version, type; then per type.
constexpr unsigned char kSignature[5] = {'F', 'P', 'X', 'R', 0};
constexpr int kTypeContents = 1;
constexpr int kTypeStream = 2;
constexpr size_t kContentsEntriesAt = 9;
constexpr size_t kPieceDataAt = 13; // index at 7, offset at 9
constexpr uint32_t kStorageSize = 0xFFFFFFFF;
constexpr size_t kClassIdSize = 16;
constexpr unsigned kFreeIndex = 255;

// A memo stream: its header, then "RIFF" size "WAVE".
constexpr int64_t kStreamHeader = 28;
constexpr int64_t kMemoProof = kStreamHeader + 12;

// Marker and length, then the 13 bytes that tell an FPXR piece.
constexpr size_t kHeadRead = 4 + kPieceDataAt;
// How often a long walk asks whether to go on: every this many segments.
constexpr unsigned kStepsPerCheck = 1 << 16;

uint32_t Big32(const unsigned char* p)
{
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

unsigned Big16(const unsigned char* p)
{
    return unsigned{p[0]} << 8 | p[1];
}

struct Entry {
    CString strName; // after the last '/'
    int64_t nSize = 0;
    bool bAudio = false;
};

struct Piece {
    int64_t nStreamOffset = 0;
    int64_t nFileOffset = 0;
    int64_t nLength = 0; // bytes present in the file
};

struct Stream {
    std::vector<Piece> pieces; // in file order
    uint64_t proofMask = 0;    // which of the first kMemoProof bytes are held
};

constexpr uint64_t kProofComplete = (uint64_t{1} << kMemoProof) - 1;

bool IsAudioStreamName(const CString& name)
{
    static const CString prefix = "Audio Stream ";
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    return std::all_of(name.begin() + static_cast<long>(prefix.size()), name.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// Parses a contents list; false (and no entries) when it is malformed.
bool ParseContents(const std::vector<unsigned char>& data, std::vector<Entry>& result)
{
    result.clear();
    std::vector<Entry> entries;
    if (data.size() < kContentsEntriesAt)
        return false;
    const unsigned count = Big16(&data[7]);
    size_t pos = kContentsEntriesAt;
    for (unsigned i = 0; i < count; ++i) {
        if (data.size() - pos < 5 + 4) // size, default value, "/" and two zero bytes at least
            return false;
        const uint32_t size = Big32(&data[pos]);
        pos += 5;
        if (data[pos] != '/' || data[pos + 1] != 0)
            return false;
        Entry entry;
        for (;; pos += 2) {
            if (data.size() - pos < 2)
                return false;
            const unsigned unit = data[pos] | unsigned{data[pos + 1]} << 8;
            if (unit == 0)
                break;
            if (unit == '/')
                entry.strName.clear(); // keep the name after the last '/'
            else
                entry.strName += unit < 0x80 ? static_cast<char>(unit) : '?';
        }
        pos += 2;
        if (size == kStorageSize) {
            if (data.size() - pos < kClassIdSize)
                return false;
            pos += kClassIdSize;
        }
        entry.nSize = size == kStorageSize ? 0 : size;
        entry.bAudio = size != kStorageSize && IsAudioStreamName(entry.strName);
        entries.push_back(std::move(entry));
    }
    result = std::move(entries);
    return true;
}

// Bytes [0, end) of a stream, each from the first piece in file order that
// holds it: the pieces are read last to first, each over the ones after it.
bool Assemble(const CSourceFile& file, const Stream& stream, int64_t end, std::vector<unsigned char>& out)
{
    out.assign(static_cast<size_t>(end), 0);
    for (auto piece = stream.pieces.rbegin(); piece != stream.pieces.rend(); ++piece) {
        const int64_t from = piece->nStreamOffset;
        const int64_t to = std::min(end, from + piece->nLength);
        if (from >= to)
            continue;
        const auto count = static_cast<size_t>(to - from);
        if (file.ReadAt(piece->nFileOffset, out.data() + from, count) != static_cast<long>(count))
            return false;
    }
    return true;
}

// Where a stream's bytes run out: its first missing byte.
int64_t ContiguousEnd(const Stream& stream)
{
    std::vector<std::pair<int64_t, int64_t>> spans;
    spans.reserve(stream.pieces.size());
    for (const Piece& piece : stream.pieces)
        spans.emplace_back(piece.nStreamOffset, piece.nStreamOffset + piece.nLength);
    std::sort(spans.begin(), spans.end());
    int64_t end = 0;
    for (const auto& [from, to] : spans) {
        if (from > end)
            break;
        end = std::max(end, to);
    }
    return end;
}

bool IsMemoStart(const std::vector<unsigned char>& stream)
{
    return stream.size() >= static_cast<size_t>(kMemoProof)
        && std::memcmp(&stream[kStreamHeader], "RIFF", 4) == 0
        && std::memcmp(&stream[kStreamHeader + 8], "WAVE", 4) == 0;
}

// One pass over the marker segments of the file head, gathering the first
// contents list and where each piece of each stream lies.
class CFlashPixHead {
public:
    enum class Result { Walked, FoundMemo, ReadError };

    explicit CFlashPixHead(const CSourceFile& file) : m_file(file) {}

    /// With bStopAtMemo the walk ends at the first memo it can prove: a
    /// later segment cannot change bytes that an earlier piece holds.
    Result Walk(bool bStopAtMemo, const KeepGoing& keepGoing = {});

    const std::vector<Entry>& Entries() const { return m_entries; }
    const Stream* StreamOf(size_t index) const
    {
        const auto found = m_streams.find(static_cast<unsigned>(index));
        return found == m_streams.end() ? nullptr : &found->second;
    }

private:
    /// The offset of the first byte at or after offset that is not a fill
    /// byte (0xFF), the file's size when none is; -1 on a read error or a stop.
    int64_t SkipFill(int64_t offset, const KeepGoing& keepGoing) const;
    bool AddContents(int64_t dataAt, int64_t dataLength);
    void AddPiece(const unsigned char* data, int64_t dataAt, int64_t dataLength, unsigned& touched);
    // Whether the stream of this index is a memo; false until it is proven.
    bool ProvesMemo(unsigned index, bool& bReadError) const;

    const CSourceFile& m_file;
    bool m_bHaveContents = false;
    std::vector<Entry> m_entries;
    std::map<unsigned, Stream> m_streams;
};

CFlashPixHead::Result CFlashPixHead::Walk(bool bStopAtMemo, const KeepGoing& keepGoing)
{
    unsigned char head[kHeadRead];
    const long soi = m_file.ReadAt(0, head, 2);
    if (soi < 0)
        return Result::ReadError;
    if (soi < 2 || head[0] != kMarkerLead || head[1] != kStartOfImage)
        return Result::Walked;

    const int64_t fileSize = m_file.GetSize();
    int64_t offset = 2;
    for (unsigned steps = 1;; ++steps) {
        // A damaged file can hold a billion tiny segments: the caller may
        // want to stop.
        if (steps % kStepsPerCheck == 0 && keepGoing && !keepGoing())
            return Result::Walked;
        const long got = m_file.ReadAt(offset, head, sizeof head);
        if (got < 0)
            return Result::ReadError;
        if (got < 4 || head[0] != kMarkerLead)
            return Result::Walked;
        if (head[1] == kMarkerLead) { // fill bytes before a marker
            const int64_t next = SkipFill(offset + 1, keepGoing);
            if (next < 0)
                return m_file.GetError() != 0 ? Result::ReadError : Result::Walked;
            offset = next - 1;
            continue;
        }
        if (head[1] == kStartOfScan || head[1] == kEndOfImage)
            return Result::Walked;
        const unsigned length = Big16(&head[2]);
        if (length < 2)
            return Result::Walked;
        const int64_t dataAt = offset + 4;
        const int64_t dataLength = std::min<int64_t>(length - 2, std::max<int64_t>(fileSize - dataAt, 0));
        const bool fpxr = (head[1] == kApp2 || head[1] == kApp4) && got >= static_cast<long>(4 + 7)
            && dataLength >= 7 && std::memcmp(&head[4], kSignature, sizeof kSignature) == 0;
        if (fpxr) {
            const int type = head[4 + 6];
            unsigned touched = kFreeIndex; // the stream whose first bytes grew, if any
            bool check = false;
            if (type == kTypeContents && !m_bHaveContents) {
                if (!AddContents(dataAt, dataLength))
                    return Result::ReadError;
                check = m_bHaveContents;
            } else if (type == kTypeStream && got == static_cast<long>(kHeadRead)
                       && dataLength >= static_cast<int64_t>(kPieceDataAt)) {
                AddPiece(&head[4], dataAt, dataLength, touched);
                check = touched != kFreeIndex;
            }
            if (bStopAtMemo && check) {
                bool bReadError = false;
                bool found = false;
                if (touched != kFreeIndex) {
                    found = ProvesMemo(touched, bReadError);
                } else {
                    for (unsigned i = 0; i < m_entries.size() && !found && !bReadError; ++i)
                        found = ProvesMemo(i, bReadError);
                }
                if (bReadError)
                    return Result::ReadError;
                if (found)
                    return Result::FoundMemo;
            }
        }
        offset += int64_t{length} + 2;
    }
}

int64_t CFlashPixHead::SkipFill(int64_t offset, const KeepGoing& keepGoing) const
{
    unsigned char chunk[4096];
    for (;;) {
        if (keepGoing && !keepGoing())
            return -1;
        const long got = m_file.ReadAt(offset, chunk, sizeof chunk);
        if (got < 0)
            return -1;
        if (got == 0)
            return offset;
        const auto end = chunk + got;
        const auto* other = std::find_if(chunk, end, [](unsigned char c) { return c != kMarkerLead; });
        if (other != end)
            return offset + (other - chunk);
        offset += got;
    }
}

bool CFlashPixHead::AddContents(int64_t dataAt, int64_t dataLength)
{
    std::vector<unsigned char> data(static_cast<size_t>(dataLength));
    if (m_file.ReadAt(dataAt, data.data(), data.size()) != static_cast<long>(data.size()))
        return false;
    m_bHaveContents = ParseContents(data, m_entries);
    return true;
}

void CFlashPixHead::AddPiece(const unsigned char* data, int64_t dataAt, int64_t dataLength, unsigned& touched)
{
    const unsigned index = Big16(&data[7]);
    if (index == kFreeIndex)
        return;
    Stream& stream = m_streams[index];
    Piece piece;
    piece.nStreamOffset = stream.pieces.empty() ? 0 : Big32(&data[9]);
    piece.nFileOffset = dataAt + static_cast<int64_t>(kPieceDataAt);
    piece.nLength = dataLength - static_cast<int64_t>(kPieceDataAt);
    stream.pieces.push_back(piece);

    // Track which of the bytes that prove a memo are now held: the proof
    // is checked once, when the last of them arrives.
    if (stream.proofMask == kProofComplete || piece.nStreamOffset >= kMemoProof)
        return;
    const int64_t to = std::min(kMemoProof, piece.nStreamOffset + piece.nLength);
    uint64_t mask = stream.proofMask;
    for (int64_t i = piece.nStreamOffset; i < to; ++i)
        mask |= uint64_t{1} << i;
    if (mask == kProofComplete)
        touched = index;
    stream.proofMask = mask;
}

bool CFlashPixHead::ProvesMemo(unsigned index, bool& bReadError) const
{
    if (!m_bHaveContents || index >= m_entries.size() || !m_entries[index].bAudio
        || m_entries[index].nSize < kMemoProof)
        return false;
    const Stream* stream = StreamOf(index);
    if (!stream || stream->proofMask != kProofComplete)
        return false;
    std::vector<unsigned char> bytes;
    if (!Assemble(m_file, *stream, kMemoProof, bytes)) {
        bReadError = true;
        return false;
    }
    return IsMemoStart(bytes);
}

} // namespace

bool ReadFlashPixMemos(const CSourceFile& file, std::vector<FpxrMemo>& memos)
{
    memos.clear();
    CFlashPixHead head(file);
    if (head.Walk(false) == CFlashPixHead::Result::ReadError)
        return false;
    const std::vector<Entry>& entries = head.Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const Stream* stream = head.StreamOf(i);
        if (!entries[i].bAudio || !stream)
            continue;
        // Never more than the pieces hold, so a listed size cannot make us
        // allocate more than the file's own size.
        const int64_t end = std::min(entries[i].nSize, ContiguousEnd(*stream));
        if (end < kMemoProof)
            continue;
        std::vector<unsigned char> bytes;
        if (!Assemble(file, *stream, end, bytes)) {
            memos.clear();
            return false;
        }
        if (!IsMemoStart(bytes))
            continue;
        FpxrMemo memo;
        memo.strName = entries[i].strName;
        memo.bytes = std::move(bytes);
        memo.bytes.erase(memo.bytes.begin(), memo.bytes.begin() + kStreamHeader);
        memo.bComplete = IsWholeRiff(memo.bytes);
        memos.push_back(std::move(memo));
    }
    return true;
}

bool HasFlashPixMemo(const CSourceFile& file, const KeepGoing& keepGoing)
{
    CFlashPixHead head(file);
    return head.Walk(true, keepGoing) == CFlashPixHead::Result::FoundMemo;
}

bool IsFlashPixAudioStream(const CString& name)
{
    return IsAudioStreamName(name);
}
