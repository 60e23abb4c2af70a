#pragma once
// Thumbnails of pictures as the desktop shares them: the freedesktop.org
// thumbnail cache first (what a file manager made is reused), then the
// small picture a camera stores in the Exif data, then a decode at the
// thumbnail's size, which goes back into the cache. Nothing here needs a
// window; any thread may ask.
#include <QByteArray>
#include <QImage>

#include "platform/cstring.h"
#include "platform/file.h"

// The sizes of the cache's folders "normal" and "large": the longer side.
constexpr int kThumbnailNormal = 128;
constexpr int kThumbnailLarge = 256;

/// Returns the URI the cache names a file by: "file://" and the path's
/// bytes, percent-encoded as GLib encodes them, so that the names agree
/// with those every other program of the desktop gives.
QByteArray ThumbnailUri(const CString& path);

class CThumbnailCache {
public:
    // folder is the cache's "thumbnails" folder; empty: the desktop's own,
    // $XDG_CACHE_HOME/thumbnails.
    explicit CThumbnailCache(CString folder = {});
    const CString& Folder() const { return m_strFolder; }

    /// Returns the cached thumbnail of the file at path as it stands now
    /// (its modification time and, where noted, its size), from "large"
    /// or, when size is at most 128, from "normal"; a null image when none
    /// is valid.
    QImage Find(const CString& path, const CFileInformation& info, int size = kThumbnailNormal) const;
    /// Stores image as the thumbnail of path, in "normal" or in "large" by
    /// its size; false when it was
    /// not written: path lies in the cache itself, or the cache folder is
    /// not ours to write (a link, another user's, not writable).
    bool Store(const CString& path, const CFileInformation& info, const QImage& image) const;
    /// True when the cache folder may be read: a real folder of ours. A
    /// link or another user's folder could hand us any picture.
    bool Trusted() const;

private:
    CString m_strFolder;
};

enum class ThumbnailSource { None, Cache, Exif, Decoded };

struct CThumbnail {
    QImage image; // null: a placeholder stands for the picture
    ThumbnailSource source = ThumbnailSource::None;
};

/// Returns the thumbnail of the picture at path, at most size pixels on
/// its longer side: from the cache, the Exif thumbnail or a scaled decode
/// (stored back into the cache, "large" when size is over 128). A picture that cannot be decoded, is no
/// regular file or is beyond the picture budget gets a null image;
/// keepGoing false abandons the decoding.
CThumbnail LoadThumbnail(const CString& path, const CThumbnailCache& cache, int size = kThumbnailNormal,
                         const KeepGoing& keepGoing = {});
