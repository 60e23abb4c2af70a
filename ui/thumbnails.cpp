#include "ui/thumbnails.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QStandardPaths>
#include <QTransform>

#include <libexif/exif-data.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/qt/text.h"
#include "ui/preview.h"

namespace {

// The Exif segment is at most 64 KB and comes first but for a JFIF header.
constexpr size_t kExifHeadBytes = 70'000;
constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;

struct ExifUnref {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

// The trailing separator off, so that folders compare whatever way they were given.
CString WithoutSlash(CString folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// A folder is ours when it is no link, belongs to us and may be written by
// its owner. Root may write anywhere: the owner's write bit is what tells
// a folder somebody made read-only on purpose.
bool IsOurFolder(const CString& folder, bool forWriting)
{
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    return !forWriting || ((info.st_mode & S_IWUSR) && ::access(folder.c_str(), W_OK) == 0);
}

// Makes the folder if it is missing, as the standard asks: for us alone.
bool MakeOurFolder(const CString& folder)
{
    if (::mkdir(folder.c_str(), kFolderMode) != 0 && errno != EEXIST)
        return false;
    return IsOurFolder(folder, true);
}

CString RealPath(const CString& path)
{
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? CString(real.get()) : CString();
}

CString HashName(const QByteArray& uri)
{
    return CString(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex().constData()) + ".png";
}

// Exif orientations 1 to 8 as the picture must be mirrored and turned to stand upright.
QImage Upright(QImage image, int orientation)
{
    switch (orientation) {
    case 2: return image.mirrored(true, false);
    case 3: return image.mirrored(true, true);
    case 4: return image.mirrored(false, true);
    case 5: return image.mirrored(false, true).transformed(QTransform().rotate(90));
    case 6: return image.transformed(QTransform().rotate(90));
    case 7: return image.mirrored(true, false).transformed(QTransform().rotate(90));
    case 8: return image.transformed(QTransform().rotate(270));
    default: return image;
    }
}

// The small picture of a camera's Exif data, upright; null when there is none.
QImage ExifThumbnail(const CSourceFile& source)
{
    std::vector<unsigned char> head(kExifHeadBytes);
    const long got = source.ReadAt(0, head.data(), head.size());
    if (got < 4 || head[0] != 0xFF || head[1] != 0xD8)
        return {};
    // libexif finds the Exif segment among the JPEG's first segments.
    const std::unique_ptr<ExifData, ExifUnref> data(exif_data_new_from_data(head.data(), static_cast<unsigned>(got)));
    if (!data || !data->data || data->size == 0)
        return {};
    QByteArray bytes(reinterpret_cast<const char*>(data->data), static_cast<qsizetype>(data->size));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    if (!buffer.open(QIODevice::ReadOnly) || !FitsPictureBudget(reader))
        return {};
    QImage image = reader.read();
    if (image.isNull())
        return {};
    int orientation = 1;
    if (ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
        entry && entry->format == EXIF_FORMAT_SHORT && entry->size >= 2)
        orientation = exif_get_short(entry->data, exif_data_get_byte_order(data.get()));
    return Upright(std::move(image), orientation);
}

} // namespace

QByteArray ThumbnailUri(const CString& path)
{
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    return "file://" + bytes.toPercentEncoding("!$&'()*+,/:=@");
}

CThumbnailCache::CThumbnailCache(CString folder) : m_strFolder(WithoutSlash(std::move(folder)))
{
    if (m_strFolder.empty())
        m_strFolder = FromDisplay(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
                    + "/thumbnails";
}

bool CThumbnailCache::Trusted() const
{
    return IsOurFolder(m_strFolder, false);
}

QImage CThumbnailCache::Find(const CString& path, const CFileInformation& info, int size) const
{
    if (!Trusted())
        return {};
    const CString name = HashName(ThumbnailUri(path));
    // A large thumbnail serves scaled down; a normal one would show blurred
    // where a large one is asked for.
    const std::vector<const char*> kinds
        = size > kThumbnailNormal ? std::vector{"/large/"} : std::vector{"/normal/", "/large/"};
    for (const char* kind : kinds) {
        CSourceFile source;
        QFile file;
        if (!source.Open(m_strFolder + kind + name)
            || !file.open(source.Descriptor(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
            continue;
        QImageReader reader(&file);
        if (!FitsPictureBudget(reader))
            continue;
        // The keys may follow the picture's data: they are known once it is read.
        QImage image = reader.read();
        // A thumbnail is valid for the file as it was when it was made.
        const QString bytes = image.text(QStringLiteral("Thumb::Size"));
        if (image.isNull() || image.text(QStringLiteral("Thumb::MTime")) != QString::number(info.tLastWrite.GetTime())
            || (!bytes.isEmpty() && bytes != QString::number(info.nSize)))
            continue;
        return image;
    }
    return {};
}

bool CThumbnailCache::Store(const CString& path, const CFileInformation& info, const QImage& image) const
{
    // A thumbnail of a thumbnail would only grow the cache.
    const CString real = RealPath(path);
    const CString realCache = RealPath(m_strFolder);
    if (real.empty() || (!realCache.empty() && real.compare(0, realCache.size() + 1, realCache + "/") == 0))
        return false;
    const size_t slash = m_strFolder.rfind('/');
    if (slash != CString::npos && slash > 0)
        MakeOurFolder(m_strFolder.substr(0, slash));
    const bool large = image.width() > kThumbnailNormal || image.height() > kThumbnailNormal;
    const CString folder = m_strFolder + (large ? "/large" : "/normal");
    if (!MakeOurFolder(m_strFolder) || !MakeOurFolder(folder))
        return false;
    // Written by its folder's descriptor: a folder swapped for a link after
    // the check above gets nothing.
    const CUniqueFd sized(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat opened {};
    if (!sized.IsOpen() || ::fstat(sized.Get(), &opened) != 0 || opened.st_uid != ::geteuid())
        return false;

    const QByteArray uri = ThumbnailUri(path);
    QImage thumbnail = image;
    thumbnail.setText(QStringLiteral("Thumb::URI"), QString::fromLatin1(uri));
    thumbnail.setText(QStringLiteral("Thumb::MTime"), QString::number(info.tLastWrite.GetTime()));
    thumbnail.setText(QStringLiteral("Thumb::Size"), QString::number(info.nSize));
    thumbnail.setText(QStringLiteral("Software"), QStringLiteral("Vocaline"));
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !QImageWriter(&buffer, "png").write(thumbnail))
        return false;
    // The file appears under its name only when whole, so that another
    // program never reads half a thumbnail.
    COutputFile output;
    return output.CreateIn(sized.Get(), HashName(uri), kFileMode) && output.Write(png.constData(), png.size())
        && output.Commit();
}

CThumbnail LoadThumbnail(const CString& path, const CThumbnailCache& cache, int size, const KeepGoing& keepGoing)
{
    CThumbnail thumbnail;
    CFileInformation info;
    if (!GetFileInformation(path, info))
        return thumbnail;
    // Only a regular file is read: a FIFO named like a picture would hold
    // the reader for good.
    CSourceFile source;
    if (QImage cached = cache.Find(path, info, size); !cached.isNull()) {
        thumbnail.image = std::move(cached);
        thumbnail.source = ThumbnailSource::Cache;
    } else if (QImage exif = source.Open(path) ? ExifThumbnail(source) : QImage(); !exif.isNull()) {
        thumbnail.image = std::move(exif);
        thumbnail.source = ThumbnailSource::Exif;
    } else {
        // One of the cache's sizes, whatever the size asked: the file is for every program.
        const int stored = size > kThumbnailNormal ? kThumbnailLarge : kThumbnailNormal;
        const QImage decoded = ReadPicture(path, QSize(stored, stored), keepGoing);
        if (decoded.isNull() || (keepGoing && !keepGoing()))
            return thumbnail;
        cache.Store(path, info, decoded);
        thumbnail.image = decoded;
        thumbnail.source = ThumbnailSource::Decoded;
    }
    if (thumbnail.image.width() > size || thumbnail.image.height() > size)
        thumbnail.image = thumbnail.image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return thumbnail;
}
