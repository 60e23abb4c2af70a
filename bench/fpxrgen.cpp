#include "bench/fpxrgen.h"

#include <algorithm>

namespace fpxrgen {

namespace {

constexpr unsigned char kApp2 = 0xE2;
constexpr unsigned char kApp4 = 0xE4;
constexpr unsigned char kComment = 0xFE;
constexpr size_t kStreamHeader = 28;

void Append(Bytes& to, const Bytes& bytes)
{
    to.insert(to.end(), bytes.begin(), bytes.end());
}

void Put16Big(Bytes& to, unsigned value)
{
    to.push_back(static_cast<unsigned char>(value >> 8));
    to.push_back(static_cast<unsigned char>(value));
}

void Put32Big(Bytes& to, uint32_t value)
{
    Put16Big(to, value >> 16);
    Put16Big(to, value & 0xFFFF);
}

void Put16(Bytes& to, unsigned value)
{
    to.push_back(static_cast<unsigned char>(value));
    to.push_back(static_cast<unsigned char>(value >> 8));
}

void Put32(Bytes& to, uint32_t value)
{
    Put16(to, value & 0xFFFF);
    Put16(to, value >> 16);
}

void PutText(Bytes& to, const std::string& text)
{
    to.insert(to.end(), text.begin(), text.end());
}

// A stream as it lies in the contents list: the 28-byte header, then the memo.
Bytes AudioStream(const Bytes& memo)
{
    Bytes stream(kStreamHeader, 0);
    stream[0] = 0x01; // the header's content is not read
    Append(stream, memo);
    return stream;
}

struct Piece {
    unsigned index;
    uint32_t offset;
    Bytes bytes;
};

// Cuts a stream into pieces of at most `size` bytes; each piece after the
// first starts `overlap` bytes early.
std::vector<Piece> Cut(unsigned index, const Bytes& stream, size_t size, size_t overlap = 0)
{
    std::vector<Piece> pieces;
    for (size_t at = 0; at < stream.size();) {
        const size_t from = at == 0 ? 0 : at - overlap;
        const size_t to = std::min(stream.size(), from + size);
        pieces.push_back({index, static_cast<uint32_t>(from),
                          Bytes(stream.begin() + static_cast<long>(from), stream.begin() + static_cast<long>(to))});
        at = to;
    }
    return pieces;
}

// A small JPEG standing in for a FlashPix thumbnail.
Bytes Thumbnail(size_t size)
{
    Bytes thumb{0xFF, 0xD8, 0xFF, 0xDB};
    Append(thumb, Noise(size - 6, 7));
    thumb.push_back(0xFF);
    thumb.push_back(0xD9);
    return thumb;
}

struct Stream {
    std::string path;
    Bytes bytes;
};

} // namespace

Bytes Noise(size_t size, unsigned seed)
{
    Bytes out(size);
    uint32_t value = seed * 2654435761u + 1;
    for (auto& byte : out) {
        value ^= value << 13;
        value ^= value >> 17;
        value ^= value << 5;
        byte = static_cast<unsigned char>(value >> 24);
    }
    return out;
}

Bytes Segment(unsigned char marker, const Bytes& data)
{
    Bytes out{0xFF, marker};
    Put16Big(out, static_cast<unsigned>(data.size() + 2));
    Append(out, data);
    return out;
}

Bytes StreamPiece(unsigned index, uint32_t offset, const Bytes& bytes)
{
    Bytes data{'F', 'P', 'X', 'R', 0, 0, 2};
    Put16Big(data, index);
    Put32Big(data, offset);
    Append(data, bytes);
    return data;
}

Bytes ContentsList(const std::vector<std::pair<std::string, uint32_t>>& entries)
{
    Bytes data{'F', 'P', 'X', 'R', 0, 0, 1};
    Put16Big(data, static_cast<unsigned>(entries.size()));
    for (const auto& [path, size] : entries) {
        const bool storage = path.back() == '/';
        Put32Big(data, storage ? 0xFFFFFFFF : size);
        data.push_back(0); // default value
        const std::string name = storage && path.size() > 1 ? path.substr(0, path.size() - 1) : path;
        for (const char c : name)
            Put16(data, static_cast<unsigned char>(c));
        Put16(data, 0);
        if (storage)
            Append(data, Bytes(16, 0x5A)); // class id
    }
    return data;
}

Bytes StartOfImage()
{
    return {0xFF, 0xD8};
}

Bytes ExifApp1()
{
    Bytes data;
    PutText(data, std::string("Exif\0\0", 6));
    PutText(data, "MM");
    Append(data, {0x00, 0x2A, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
    return Segment(0xE1, data);
}

Bytes PictureTail()
{
    Bytes tail = Segment(0xDB, Noise(65, 3));
    Append(tail, Segment(0xC0, {8, 0, 16, 0, 16, 1, 1, 0x11, 0}));
    Append(tail, Segment(0xDA, {1, 1, 0, 0, 0x3F, 0}));
    Append(tail, Noise(300, 4));
    Append(tail, {0xFF, 0xD9});
    return tail;
}

Sample MakeSample(Layout layout, const Bytes& memo, const Bytes& second)
{
    Sample sample;
    const Bytes thumbInfo = Noise(40, 11);
    const Bytes thumbData = layout == Layout::AudioThird ? Thumbnail(5000) : Noise(60, 12);
    const Bytes thumbMisc = Noise(24, 13);
    std::vector<Stream> streams{{"/", {}},
                                {"/Thumb Info 000000", thumbInfo},
                                {"/Thumb Data 000000", thumbData},
                                {"/Thumb Misc 000000", thumbMisc}};
    const unsigned audio = 5;
    if (layout != Layout::ThumbnailOnly) {
        streams.push_back({"/Audio_000000/", {}});
        streams.push_back({"/Audio_000000/Audio Stream 000000", AudioStream(memo)});
        sample.memos.push_back(memo);
    }
    if (layout == Layout::TwoMemos) {
        streams.push_back({"/Audio_000001/", {}});
        streams.push_back({"/Audio_000001/Audio Stream 000001", AudioStream(second)});
        sample.memos.push_back(second);
    }
    std::vector<std::pair<std::string, uint32_t>> entries;
    for (const Stream& stream : streams)
        entries.emplace_back(stream.path, static_cast<uint32_t>(stream.bytes.size()));

    std::vector<Piece> pieces;
    const auto add = [&](const std::vector<Piece>& more) { pieces.insert(pieces.end(), more.begin(), more.end()); };
    const size_t pieceSize = 4000;
    switch (layout) {
    case Layout::AudioThird: {
        const Bytes& stream = streams[audio].bytes;
        add(Cut(1, thumbInfo, pieceSize));
        add(Cut(audio, stream, (stream.size() + 1) / 2));
        add(Cut(2, thumbData, 1000));
        add(Cut(3, thumbMisc, pieceSize));
        break;
    }
    case Layout::Overlapping:
        add(Cut(1, thumbInfo, pieceSize));
        add(Cut(2, thumbData, pieceSize));
        add(Cut(3, thumbMisc, pieceSize));
        add(Cut(audio, streams[audio].bytes, 1000, 100));
        break;
    case Layout::TwoMemos: {
        add(Cut(1, thumbInfo, pieceSize));
        add(Cut(2, thumbData, pieceSize));
        add(Cut(3, thumbMisc, pieceSize));
        const auto first = Cut(audio, streams[audio].bytes, 1500);
        const auto other = Cut(audio + 2, streams[audio + 2].bytes, 1500);
        for (size_t i = 0; i < std::max(first.size(), other.size()); ++i) {
            if (i < first.size())
                pieces.push_back(first[i]);
            if (i < other.size())
                pieces.push_back(other[i]);
        }
        break;
    }
    default:
        add(Cut(1, thumbInfo, pieceSize));
        add(Cut(2, thumbData, pieceSize));
        add(Cut(3, thumbMisc, pieceSize));
        if (layout != Layout::ThumbnailOnly)
            add(Cut(audio, streams[audio].bytes, pieceSize));
        break;
    }

    Bytes& file = sample.file;
    file = StartOfImage();
    Append(file, ExifApp1());
    const unsigned char marker = layout == Layout::App4 ? kApp4 : kApp2;
    switch (layout) {
    case Layout::Plain:
        sample.name = "Plain";
        sample.memos.clear();
        Append(file, PictureTail());
        return sample;
    case Layout::IccAhead: {
        Bytes icc;
        PutText(icc, std::string("ICC_PROFILE\0\x01\x01", 14));
        Bytes profile(132, 0); // an empty but well-formed profile
        profile[3] = 132;
        std::copy_n("acsp", 4, profile.begin() + 36);
        Append(icc, profile);
        Append(file, Segment(kApp2, icc));
        break;
    }
    case Layout::CommentAhead:
        Append(file, Segment(kComment, Bytes{'A', ' ', 'n', 'o', 't', 'e'}));
        break;
    default:
        break;
    }
    Append(file, Segment(marker, ContentsList(entries)));
    for (const Piece& piece : pieces)
        Append(file, Segment(marker, StreamPiece(piece.index, piece.offset, piece.bytes)));
    Append(file, PictureTail());

    static const char* const names[] = {"Hp",       "AudioThird",  "App4",         "IccAhead", "CommentAhead",
                                        "Overlapping", "TwoMemos", "ThumbnailOnly", "Plain"};
    sample.name = names[static_cast<int>(layout)];
    return sample;
}

Bytes MakeWav(const WavParams& params)
{
    Bytes fmt;
    Put16(fmt, params.nFormatTag);
    Put16(fmt, params.nChannels);
    Put32(fmt, params.nSampleRate);
    const bool ima = params.nFormatTag == 0x11;
    const unsigned samplesPerBlock = ima ? (params.nBlockAlign - 4u * params.nChannels) * 8 / (4u * params.nChannels) + 1 : 1;
    Put32(fmt, ima ? params.nSampleRate * params.nBlockAlign / samplesPerBlock
                   : params.nSampleRate * params.nBlockAlign);
    Put16(fmt, params.nBlockAlign);
    Put16(fmt, params.nBitsPerSample);
    if (ima) {
        Put16(fmt, 2);
        Put16(fmt, samplesPerBlock);
    }

    Bytes body;
    PutText(body, "WAVE");
    const auto chunk = [&](const char* id, const Bytes& data) {
        PutText(body, id);
        Put32(body, static_cast<uint32_t>(data.size()));
        Append(body, data);
        if (data.size() & 1)
            body.push_back(0);
    };
    chunk("fmt ", fmt);
    if (params.bExifChunk) {
        Bytes exif;
        PutText(exif, "exif");
        const auto text = [&](const char* id, const std::string& value) {
            PutText(exif, id);
            Put32(exif, static_cast<uint32_t>(value.size() + 1));
            PutText(exif, value);
            exif.push_back(0);
            if ((value.size() + 1) & 1)
                exif.push_back(0);
        };
        PutText(exif, "ever");
        Put32(exif, 4);
        PutText(exif, "0220");
        text("erel", "IM000101.JPG");
        text("etim", "11:09:23.00");
        // Padded, as cameras pad them.
        text("ecor", "HP  ");
        text("emdl", "HP 618    ");
        chunk("LIST", exif);
    }
    chunk("data", params.data);

    Bytes wav;
    PutText(wav, "RIFF");
    Put32(wav, static_cast<uint32_t>(body.size()));
    Append(wav, body);
    return wav;
}

} // namespace fpxrgen
