// Thumbnails as the desktop's cache holds them, without a window: the cache's names and checks, what is written
// back and where nothing is.

#include <QCryptographicHash>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QTransform>

#include "../bench/picturebomb.h"
#include "testkit.h"
#include "ui/preview.h"
#include "ui/thumbnails.h"

namespace {

std::string CacheName(const std::string& path)
{
    return QCryptographicHash::hash(ThumbnailUri(path), QCryptographicHash::Md5).toHex().toStdString() + ".png";
}

// A one-colour thumbnail that claims to be of the file at path, as it was at mtime.
void Plant(const std::string& file, const std::string& path, time_t mtime, Qt::GlobalColor colour)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(colour);
    image.setText("Thumb::URI", QString::fromLatin1(ThumbnailUri(path)));
    image.setText("Thumb::MTime", QString::number(mtime));
    MakeDir(std::filesystem::path(file).parent_path());
    ASSERT_TRUE(QImageWriter(QString::fromStdString(file), "png").write(image));
}

// Whether two pictures look alike at a glance: each quarter as bright within a few steps.
bool Alike(const QImage& a, const QImage& b)
{
    const QImage x = a.scaled(2, 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage y = b.scaled(2, 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int difference = 0;
    for (int i = 0; i < 4; ++i)
        difference += std::abs(qGray(x.pixel(i % 2, i / 2)) - qGray(y.pixel(i % 2, i / 2)));
    return difference < 12;
}

class Thumbnails : public ::testing::Test {
protected:
    TempDir dir;
    std::string folder = dir / "cache/thumbnails";
    CThumbnailCache cache{folder};
    static constexpr time_t kTaken = 1051268400;

    std::string Picture(const std::string& name, const std::string& sample = "IM000101.JPG")
    {
        SetModified(CopySample(dir / name, sample), kTaken);
        return dir / name;
    }
    std::string Stored(const std::string& path) const { return folder + "/normal/" + CacheName(path); }
};

// The names every program of the desktop gives: the standard's own example, and the characters GLib leaves as
// they are.
TEST(ThumbnailUri, AsTheDesktopNamesFiles)
{
    EXPECT_EQ(CacheName("/home/jens/photos/me.png"), "c6ee772d9e49320e97ec29a7eb5b1697.png");
    EXPECT_EQ(ThumbnailUri("/tmp/a b#%\xC3\xA9!$&'()*+,-.:=@_~[]?.jpg").toStdString(),
              "file:///tmp/a%20b%23%25%C3%A9!$&'()*+,-.:=@_~%5B%5D%3F.jpg");
}

// A picture without an Exif thumbnail is decoded at 128 pixels and stored as the standard asks; the next time
// the cache gives it. A thumbnail planted with the right URI and time is used, a stale one is not.
TEST_F(Thumbnails, DecodedStoredThenFoundAndStaleOnesRefused)
{
    const std::string picture = Picture("IM000101.JPG");
    CThumbnail made = LoadThumbnail(picture, cache);
    ASSERT_EQ(made.source, ThumbnailSource::Decoded);
    EXPECT_EQ(made.image.size(), QSize(128, 96));
    const QImage stored(QString::fromStdString(Stored(picture)));
    EXPECT_EQ(stored.text("Thumb::URI").toStdString(), "file://" + picture);
    EXPECT_EQ(stored.text("Thumb::MTime").toLongLong(), kTaken);
    for (const auto& [path, mode] : {std::pair{Stored(picture), 0600u}, {folder, 0700u}, {folder + "/normal", 0700u}})
        EXPECT_EQ(Mode(path), mode) << path;
    EXPECT_EQ(LoadThumbnail(picture, cache).source, ThumbnailSource::Cache);

    for (const time_t planted : {kTaken, kTaken + 1}) {
        Plant(Stored(picture), picture, planted, Qt::red);
        made = LoadThumbnail(picture, cache);
        EXPECT_EQ(made.image.pixelColor(10, 10) == Qt::red, planted == kTaken) << planted;
    }
    // The stale one was made again, for the file as it is.
    EXPECT_EQ(QImage(QString::fromStdString(Stored(picture))).text("Thumb::MTime").toLongLong(), kTaken);
    // Where the tile has twice the pixels (scale 2), the large size, in its own folder.
    EXPECT_EQ(LoadThumbnail(picture, cache, kThumbnailLarge).image.size(), QSize(256, 192));
    EXPECT_EQ(QImage(QString::fromStdString(folder + "/large/" + CacheName(picture))).size(), QSize(256, 192));
    // A panorama's is large by its width alone.
    QImage wide(800, 200, QImage::Format_RGB32);
    wide.fill(Qt::gray);
    ASSERT_TRUE(QImageWriter(QString::fromStdString(dir / "wide.jpg"), "jpeg").write(wide));
    EXPECT_EQ(LoadThumbnail(dir / "wide.jpg", cache, kThumbnailLarge).image.size(), QSize(256, 64));
    EXPECT_TRUE(Exists(folder + "/large/" + CacheName(dir / "wide.jpg")));
    // A file manager's large thumbnail serves as well, scaled down.
    std::filesystem::remove(Stored(picture));
    Plant(folder + "/large/" + CacheName(picture), picture, kTaken, Qt::blue);
    made = LoadThumbnail(picture, cache);
    EXPECT_EQ(made.source, ThumbnailSource::Cache);
    EXPECT_EQ(made.image.pixelColor(10, 10), QColor(Qt::blue));
}

// A camera's Exif thumbnail is shown without decoding the picture (cut off behind its Exif here). What cannot
// be decoded gets nothing and never hangs: FlashPix, a FIFO, a picture that claims 46000 x 46000 pixels.
TEST_F(Thumbnails, ExifThumbnailWithoutDecodingAndNothingForWhatCannotBeShown)
{
    const std::string picture = Picture("cut.jpg", "real/hp-photosmart-433/IM000959.JPG");
    Bytes bytes = ReadFile(picture);
    bytes.resize(4 + (size_t{bytes[4]} << 8 | bytes[5]) + 100);
    WriteFile(picture, bytes);
    EXPECT_EQ(LoadThumbnail(picture, cache).source, ThumbnailSource::Exif);
    EXPECT_TRUE(ReadPicture(picture, {}).isNull());
    // Turned as the picture stands: its Orientation (Intel order, a SHORT) patched to 3, 6 and 8.
    const QImage plain = LoadThumbnail(picture, cache).image;
    EXPECT_EQ(plain.size(), QSize(128, 96)); // from 160 x 120
    const Bytes tag = {0x12, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01};
    const auto value = std::search(bytes.begin(), bytes.end(), tag.begin(), tag.end()) + 8;
    ASSERT_LT(value, bytes.end());
    EXPECT_FALSE(Alike(plain, plain.transformed(QTransform().rotate(180)))); // else turning would not show
    for (const auto& [orientation, degrees] : {std::pair{3, 180}, {6, 90}, {8, 270}}) {
        *value = static_cast<unsigned char>(orientation);
        WriteFile(dir / (std::to_string(orientation) + ".jpg"), bytes);
        EXPECT_TRUE(Alike(LoadThumbnail(dir / (std::to_string(orientation) + ".jpg"), cache).image,
                          plain.transformed(QTransform().rotate(degrees)))) << orientation;
    }

    // The budget counts each pixel's colours: 6000 x 6000 in colour is over it, 5000 x 5000 is not.
    for (const auto& [side, fits] : {std::pair{6000, false}, {5000, true}}) {
        QByteArray claimed = PictureBomb(side);
        QBuffer buffer(&claimed);
        QImageReader reader(&buffer);
        EXPECT_EQ(buffer.open(QIODevice::ReadOnly) && FitsPictureBudget(reader), fits) << side;
    }
    const QByteArray bomb = PictureBomb();
    WriteFile(dir / "bomb.jpg", Bytes(bomb.begin(), bomb.end()));
    ASSERT_EQ(::mkfifo((dir / "fifo.jpg").c_str(), 0600), 0);
    for (const std::string& path : {Picture("P0004794.FPX", "real/kodak-dc260/P0004794.FPX"), dir / "bomb.jpg",
                                    dir / "fifo.jpg", dir / "missing.jpg"})
        EXPECT_EQ(LoadThumbnail(path, cache).source, ThumbnailSource::None) << path;
}

// Nothing is written into a cache folder that is a link, another user's or read-only, nor for a picture inside
// the cache; what such a folder holds is not trusted either, and the thumbnails are made all the same.
TEST_F(Thumbnails, NothingWrittenWhereTheCacheIsNotOurs)
{
    const std::string picture = Picture("IM000101.JPG");
    const std::string elsewhere = dir / "elsewhere";
    MakeDir(elsewhere);
    MakeDir(dir / "cache");
    ASSERT_EQ(::symlink(elsewhere.c_str(), folder.c_str()), 0);
    Plant(elsewhere + "/normal/" + CacheName(picture), picture, kTaken, Qt::red);
    for (const std::string kind : {"a link", "another user's", "read-only"}) {
        if (kind == "another user's") {
            ASSERT_EQ(::unlink(folder.c_str()), 0);
            std::filesystem::rename(elsewhere, folder);
            if (::geteuid() != 0 || ::chown(folder.c_str(), 65534, 65534) != 0)
                continue; // only root can give a folder away
        } else if (kind == "read-only") {
            ASSERT_EQ(::chown(folder.c_str(), ::geteuid(), ::getegid()), 0);
            ASSERT_EQ(::chmod(folder.c_str(), 0500), 0);
            std::filesystem::remove(folder + "/normal/" + CacheName(picture));
        }
        const CThumbnail made = LoadThumbnail(picture, cache);
        EXPECT_EQ(made.source, ThumbnailSource::Decoded) << kind;
        EXPECT_NE(made.image.pixelColor(10, 10), QColor(Qt::red)) << kind;
        // What was planted stays as it was, and nothing is added.
        EXPECT_EQ(Exists(Stored(picture)), kind != "read-only") << kind;
        if (kind != "read-only") {
            EXPECT_EQ(QImage(QString::fromStdString(Stored(picture))).pixelColor(10, 10), QColor(Qt::red)) << kind;
        }
    }
    ::chmod(folder.c_str(), 0700);

    // Under the cache itself.
    CThumbnailCache ours(dir / "ours");
    MakeDir(dir / "ours/normal");
    WriteFile(dir / "ours/normal/x.png", ReadFile(picture));
    EXPECT_EQ(LoadThumbnail(dir / "ours/normal/x.png", ours).source, ThumbnailSource::Decoded);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "ours/normal"), {}), 1);
}

} // namespace
