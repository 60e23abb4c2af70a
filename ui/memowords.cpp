#include "ui/memowords.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>

#include <cmath>

#include "audio/report.h"
#include "platform/qt/text.h"
#include "search/pathparts.h"
#include "ui/translate.h"

namespace {

QString Tr(const char* text, int n = -1)
{
    return QCoreApplication::translate("CMemoWords", text, nullptr, n);
}

QString Length(double seconds)
{
    // A memo under a second would read "0 seconds".
    if (seconds < 0.95)
        return Tr(QT_TRANSLATE_NOOP("CMemoWords", "Voice memo, under a second"));
    const int whole = static_cast<int>(std::lround(seconds));
    return whole == 1 ? Tr(QT_TRANSLATE_NOOP("CMemoWords", "Voice memo, 1 second"))
                      : Tr(QT_TRANSLATE_N_NOOP("CMemoWords", "Voice memo, %n seconds"), whole);
}

// "2021-11-16T09:04:04" in the locale's long date and short time; a bare
// "11:09:23" as a time alone.
QString Taken(const CString& iso)
{
    const QLocale locale;
    const QString text = QString::fromLatin1(iso.c_str());
    if (text.size() == 8)
        return locale.toString(QTime::fromString(text, Qt::ISODate), QLocale::ShortFormat);
    const QDateTime when = QDateTime::fromString(text, Qt::ISODate);
    if (!when.isValid())
        return {};
    return locale.toString(when.date(), QLocale::LongFormat) + " " + locale.toString(when.time(), QLocale::ShortFormat);
}

QString Codec(const WavInfo& info)
{
    const QLocale locale;
    const QString channels = info.nChannels == 1 ? Tr(QT_TRANSLATE_NOOP("CMemoWords", "mono"))
                           : info.nChannels == 2 ? Tr(QT_TRANSLATE_NOOP("CMemoWords", "stereo"))
                                                 : Tr(QT_TRANSLATE_N_NOOP("CMemoWords", "%n channels"),
                                                      static_cast<int>(info.nChannels));
    return Tr(QT_TRANSLATE_NOOP("CMemoWords", "%1, %2 Hz, %3"))
        .arg(ToDisplay(info.strFormat), locale.toString(info.nSampleRate), channels);
}

} // namespace

QStringList CMemoWords::Facts() const
{
    QStringList lines{strLength};
    if (!strTaken.isEmpty())
        lines << strTaken;
    lines << strPlace;
    return lines;
}

QString CMemoWords::ToolTip() const
{
    return (Facts() << strCodec).join(u'\n');
}

CMemoWords DescribeMemoWords(const CString& path, const CMemo& memo, const WavInfo& info)
{
    CMemoWords words;
    words.strLength = Length(info.dSeconds);
    const CMemoOrigin origin = MemoOrigin(path, info);
    QStringList taken;
    if (const QString when = Taken(origin.strRecorded); !when.isEmpty())
        taken << when;
    if (const CString camera = CameraName(origin.strMake, origin.strModel); !camera.empty())
        taken << ToDisplay(camera);
    words.strTaken = taken.join(QStringLiteral(" \u00B7 "));
    words.strPlace = ToDisplay(TrMemoPlace(DescribeMemoPlace(memo)));
    words.strCodec = Codec(info);
    return words;
}

CString DescribeMemo(const CString& path, const KeepGoing& keepGoing, CString* beside)
{
    std::vector<CMemo> memos;
    WavInfo info;
    if (beside)
        beside->clear();
    if (ReadMemos(path, memos, nullptr, keepGoing) != SoundCheck::Yes || !ParseWavInfo(memos.front().bytes, info))
        return {};
    if (beside)
        *beside = memos.front().strBesideName;
    return FromDisplay(DescribeMemoWords(path, memos.front(), info).ToolTip());
}

CMemoStamp StampMemo(const CString& path, const CString& beside)
{
    const CString folder = CPathParts(path.c_str()).GetLocation();
    return {GetFileStamp(path), GetFileStamp(folder), beside.empty() ? CFileStamp{} : GetFileStamp(folder + beside)};
}
