#include "audio/flashpix.h"

#include <algorithm>
#include <cstdint>
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
constexpr int64_t kNoLimit = INT64_MAX;

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

// Where bytes of a stream lie in the file.
struct Span {
    int64_t nStreamOffset = 0;
    int64_t nFileOffset = 0;
    int64_t nLength = 0;
};

// A stream as its pieces give it, worked out as the walk meets them: each
// byte from the first piece in file order that holds it, so a piece that
// brings nothing new costs one look-up and no memory.
class CStreamBytes {
public:
    // Bytes from limit on are of no interest.
    explicit CStreamBytes(int64_t limit) : m_limit(limit) { m_gaps.emplace(0, limit); }

    /// Takes what the piece at fileOffset adds to bytes [from, from + length).
    void Add(int64_t from, int64_t fileOffset, int64_t length)
    {
        m_bStarted = true;
        const int64_t to = from + length;
        auto gap = m_gaps.upper_bound(from);
        if (gap != m_gaps.begin() && std::prev(gap)->second > from)
            --gap;
        while (gap != m_gaps.end() && gap->first < to) {
            const auto [start, end] = *gap;
            const int64_t takeFrom = std::max(start, from);
            const int64_t takeTo = std::min(end, to);
            m_spans.push_back({takeFrom, fileOffset + (takeFrom - from), takeTo - takeFrom});
            gap = m_gaps.erase(gap);
            if (start < takeFrom)
                m_gaps.emplace(start, takeFrom);
            if (takeTo < end)
                gap = m_gaps.emplace(takeTo, end).first;
        }
    }
    bool Started() const { return m_bStarted; }
    /// Where the bytes run out: the first byte no piece held (the limit
    /// when all up to it are held).
    int64_t ContiguousEnd() const { return m_gaps.empty() ? m_limit : m_gaps.begin()->first; }
    const std::vector<Span>& Spans() const { return m_spans; }

private:
    std::map<int64_t, int64_t> m_gaps; // bytes no piece gave yet: start -> end
    std::vector<Span> m_spans;         // in file order
    int64_t m_limit;
    bool m_bStarted = false;
};

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

enum class Assembly { Done, ReadError, Stopped };

// Bytes [0, limit) of a stream, as far as they run without a hole. The
// spans are read in file order, so the file's read-ahead serves them.
Assembly Assemble(const CSourceFile& file, const CStreamBytes& stream, int64_t limit, std::vector<unsigned char>& out,
                  const KeepGoing& keepGoing = {})
{
    // The spans hold no byte twice, so this is never more than the file holds.
    const int64_t end = std::min(limit, stream.ContiguousEnd());
    out.assign(static_cast<size_t>(std::max<int64_t>(end, 0)), 0);
    size_t steps = 0;
    for (const Span& span : stream.Spans()) {
        if (++steps % kStepsPerCheck == 0 && keepGoing && !keepGoing())
            return Assembly::Stopped;
        if (span.nStreamOffset >= end)
            continue;
        const auto count = static_cast<size_t>(std::min(span.nLength, end - span.nStreamOffset));
        if (file.ReadAt(span.nFileOffset, out.data() + span.nStreamOffset, count) != static_cast<long>(count))
            return Assembly::ReadError;
    }
    return Assembly::Done;
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
    enum class Result { Walked, FoundMemo, ReadError, Stopped };

    explicit CFlashPixHead(const CSourceFile& file) : m_file(file) {}

    /// With bStopAtMemo the walk ends at the first memo it can prove: a
    /// later segment cannot change bytes that an earlier piece holds.
    Result Walk(bool bStopAtMemo, const KeepGoing& keepGoing = {});

    const std::vector<Entry>& Entries() const { return m_entries; }
    const CStreamBytes* StreamOf(size_t index) const
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
    // FoundMemo when the stream of this index is proven a memo; Walked
    // while it is not, Stopped when keepGoing said stop.
    Result ProvesMemo(unsigned index, const KeepGoing& keepGoing) const;

    const CSourceFile& m_file;
    bool m_bHaveContents = false;
    std::vector<Entry> m_entries;
    std::map<unsigned, CStreamBytes> m_streams;
    int64_t m_limit = kNoLimit; // bytes of each stream worth keeping
    unsigned m_lastIndex = kFreeIndex;
    CStreamBytes* m_last = nullptr; // the stream of m_lastIndex: pieces come in runs
};

CFlashPixHead::Result CFlashPixHead::Walk(bool bStopAtMemo, const KeepGoing& keepGoing)
{
    unsigned char head[kHeadRead];
    const long soi = m_file.ReadAt(0, head, 2);
    if (soi < 0)
        return Result::ReadError;
    if (soi < 2 || head[0] != kMarkerLead || head[1] != kStartOfImage)
        return Result::Walked;

    // The presence test needs only the bytes that prove a memo.
    m_limit = bStopAtMemo ? kMemoProof : kNoLimit;
    const int64_t fileSize = m_file.GetSize();
    int64_t offset = 2;
    for (unsigned steps = 1;; ++steps) {
        // A damaged file can hold a billion tiny segments: the caller may
        // want to stop.
        if (steps % kStepsPerCheck == 0 && keepGoing && !keepGoing())
            return Result::Stopped;
        const long got = m_file.ReadAt(offset, head, sizeof head);
        if (got < 0)
            return Result::ReadError;
        if (got < 4 || head[0] != kMarkerLead)
            return Result::Walked;
        if (head[1] == kMarkerLead) { // fill bytes before a marker
            const int64_t next = SkipFill(offset + 1, keepGoing);
            if (next < 0)
                return m_file.GetError() != 0 ? Result::ReadError : Result::Stopped;
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
                Result result = Result::Walked;
                if (touched != kFreeIndex) {
                    result = ProvesMemo(touched, keepGoing);
                } else {
                    for (unsigned i = 0; i < m_entries.size() && result == Result::Walked; ++i)
                        result = ProvesMemo(i, keepGoing);
                }
                if (result != Result::Walked)
                    return result;
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
    if (index != m_lastIndex) {
        m_last = &m_streams.try_emplace(index, m_limit).first->second;
        m_lastIndex = index;
    }
    CStreamBytes& stream = *m_last;
    // The proof is checked once, when the last of its bytes arrives.
    const bool proven = stream.ContiguousEnd() >= kMemoProof;
    stream.Add(stream.Started() ? Big32(&data[9]) : 0, dataAt + static_cast<int64_t>(kPieceDataAt),
               dataLength - static_cast<int64_t>(kPieceDataAt));
    if (!proven && stream.ContiguousEnd() >= kMemoProof)
        touched = index;
}

CFlashPixHead::Result CFlashPixHead::ProvesMemo(unsigned index, const KeepGoing& keepGoing) const
{
    if (!m_bHaveContents || index >= m_entries.size() || !m_entries[index].bAudio
        || m_entries[index].nSize < kMemoProof)
        return Result::Walked;
    const CStreamBytes* stream = StreamOf(index);
    if (!stream || stream->ContiguousEnd() < kMemoProof)
        return Result::Walked;
    std::vector<unsigned char> bytes;
    switch (Assemble(m_file, *stream, kMemoProof, bytes, keepGoing)) {
    case Assembly::ReadError:
        return Result::ReadError;
    case Assembly::Stopped:
        return Result::Stopped;
    case Assembly::Done:
        break;
    }
    return IsMemoStart(bytes) ? Result::FoundMemo : Result::Walked;
}

} // namespace

bool ReadFlashPixMemos(const CSourceFile& file, std::vector<FpxrMemo>& memos, const KeepGoing& keepGoing)
{
    memos.clear();
    CFlashPixHead head(file);
    switch (head.Walk(false, keepGoing)) {
    case CFlashPixHead::Result::ReadError:
    case CFlashPixHead::Result::Stopped:
        return false;
    case CFlashPixHead::Result::Walked:
    case CFlashPixHead::Result::FoundMemo:
        break;
    }
    const std::vector<Entry>& entries = head.Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const CStreamBytes* stream = head.StreamOf(i);
        if (!entries[i].bAudio || !stream)
            continue;
        // A memo over the budget is proven by its first bytes and not read.
        const bool tooLarge
            = std::min<int64_t>(entries[i].nSize, stream->ContiguousEnd()) - kStreamHeader > MAX_MEMO_BYTES;
        std::vector<unsigned char> bytes;
        if (Assemble(file, *stream, tooLarge ? kMemoProof : entries[i].nSize, bytes, keepGoing) != Assembly::Done) {
            memos.clear();
            return false;
        }
        if (!IsMemoStart(bytes))
            continue;
        FpxrMemo memo;
        memo.strName = entries[i].strName;
        memo.bTooLarge = tooLarge;
        if (!tooLarge) {
            memo.bytes = std::move(bytes);
            memo.bytes.erase(memo.bytes.begin(), memo.bytes.begin() + kStreamHeader);
            memo.bComplete = IsWholeRiff(memo.bytes);
        }
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
