#pragma once
// A memo in the user's words and numbers: how long, when and with what
// camera, where it is, and (for the tooltip) how it is coded.
#include <QString>
#include <QStringList>

#include "audio/memo.h"
#include "audio/wav.h"
#include "platform/cstring.h"
#include "platform/file.h"

struct CMemoWords {
    QString strLength; // "Voice memo, 6 seconds"
    QString strTaken;  // the date and time taken and the camera; empty when neither is known
    QString strPlace;  // "inside the picture", "beside it: P1010006.WAV"
    QString strCodec;  // "IMA ADPCM, 22,050 Hz, mono"

    /// The memo panel's lines: all but the codec, none empty.
    QStringList Facts() const;
    /// The Sound column's tooltip: every line.
    QString ToolTip() const;
};

/// The words for a memo already read from the picture at path.
CMemoWords DescribeMemoWords(const CString& path, const CMemo& memo, const WavInfo& info);

/// Returns the tooltip of the memo of the picture at path (read when
/// asked); empty when it has none, or keepGoing stopped the read. The WAV
/// beside the picture that gave it goes to *beside (else empty).
CString DescribeMemo(const CString& path, const KeepGoing& keepGoing = {}, CString* beside = nullptr);

// What a memo's description depends on: the picture, its folder (a WAV put
// beside it or taken away), and the WAV beside it that gave the memo. A
// description is kept only while its stamp stays the same.
struct CMemoStamp {
    CFileStamp picture;
    CFileStamp folder;
    CFileStamp beside;
    bool operator==(const CMemoStamp&) const = default;
};
CMemoStamp StampMemo(const CString& path, const CString& beside);
