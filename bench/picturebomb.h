#pragma once
// A few hundred bytes that claim a side x side (46000 x 46000) progressive
// JPEG: a decoder would want gigabytes for it. Shared by the window tests and the
// window benchmarks.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

inline QByteArray PictureBomb(int side = 46000)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(image);
    // The progressive frame's height and width.
    const qsizetype frame = jpeg.indexOf("\xFF\xC2");
    for (const qsizetype at : {frame + 5, frame + 7}) {
        if (frame > 0 && at + 1 < jpeg.size()) {
            jpeg[at] = static_cast<char>(side >> 8);
            jpeg[at + 1] = static_cast<char>(side & 0xFF);
        }
    }
    return jpeg;
}
