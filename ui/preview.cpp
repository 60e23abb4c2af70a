#include "ui/preview.h"

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <QHBoxLayout>
#include <QPointer>

#include <cmath>

#include "audio/extract.h"
#include "audio/wav.h"
#include "platform/qt/services.h"
#include "platform/qt/text.h"
#include "search/pathparts.h"
#include "ui/memopanel.h"
#include "ui/memowords.h"
#include "ui/waveform.h"

namespace {

// Enough to step back and forth over a few rows without reading again.
constexpr size_t kCacheSize = 8;
// The pane is read again at its new size once resizing rests.
constexpr int kResizeRestMs = 150;
// Columns of a memo's waveform, drawn into however many pixels it has.
constexpr size_t kWaveColumns = 1024;
// A picture whose decoding would take gigabytes and many seconds (a few
// hundred bytes can claim 46000 x 46000) is not decoded: a camera's
// largest is a few tens of millions.
constexpr qint64 kMaxPictureComponents = 100'000'000;

// A file that gives nothing more once its read is no longer wanted: the
// decoder then ends at once, as at a picture cut short.
class CStoppableFile final : public QFile {
public:
    explicit CStoppableFile(const KeepGoing& keepGoing) : m_keepGoing(keepGoing) {}

protected:
    qint64 readData(char* data, qint64 max) override
    {
        return !m_keepGoing || m_keepGoing() ? QFile::readData(data, max) : -1;
    }

private:
    const KeepGoing& m_keepGoing;
};

} // namespace

bool FitsPictureBudget(QImageReader& reader)
{
    const QSize size = reader.size();
    if (!size.isValid())
        return false;
    const QImage::Format format = reader.imageFormat();
    const int components = format == QImage::Format_Grayscale8 || format == QImage::Format_Grayscale16
            || format == QImage::Format_Indexed8 || format == QImage::Format_Mono || format == QImage::Format_MonoLSB
        ? 1
        : QImage::toPixelFormat(format).alphaUsage() == QPixelFormat::UsesAlpha ? 4 : 3;
    return qint64{size.width()} * size.height() * components <= kMaxPictureComponents;
}

QImage ReadPicture(const CString& path, const QSize& box, const KeepGoing& keepGoing)
{
    // Only a regular file is opened, its type checked before the open: a
    // FIFO named like a picture would hold the reader (or release a writer
    // waiting on it), and a device is no picture.
    CSourceFile source;
    CStoppableFile file(keepGoing);
    if (!source.Open(path) || !file.open(source.Descriptor(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return {};
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    if (!FitsPictureBudget(reader))
        return {};
    const QSize stored = reader.size();
    if (box.isValid()) {
        // The size asked for is the stored picture's; a turned one
        // fits the box turned.
        const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
        const QSize fit = turned ? box.transposed() : box;
        if (stored.width() > fit.width() || stored.height() > fit.height())
            reader.setScaledSize(stored.scaled(fit, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    }
    return reader.read();
}

CPreview ReadPreview(const CString& path, const QSize& box, const KeepGoing& keepGoing)
{
    CPreview preview;
    preview.strPath = path;
    preview.box = box;
    preview.picture = ReadPicture(path, box, keepGoing);
    // The memo's facts; its bytes are read again when it is played.
    std::vector<CMemo> memos;
    WavInfo info;
    if (ReadMemos(path, memos, nullptr, keepGoing) == SoundCheck::Yes && memos.front().bComplete) {
        preview.bMemo = true;
        preview.strBeside = memos.front().strBesideName;
        if (ParseWavInfo(memos.front().bytes, info)) {
            preview.facts = DescribeMemoWords(path, memos.front(), info).Facts();
            preview.dSeconds = info.dSeconds;
            preview.peaks = WavePeaks(memos.front().bytes, kWaveColumns);
        }
    }
    preview.stamp = StampMemo(path, preview.strBeside);
    return preview;
}

CPreviewPane::CPreviewPane(QWidget* parent)
    : QWidget(parent), m_picture(new QLabel(this)), m_memo(new CMemoPanel(this))
{
    m_picture->setAccessibleName(tr("Picture"));
    m_picture->setObjectName("picture");
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setMinimumSize(64, 48);
    m_picture->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_picture->setWordWrap(true);
    connect(m_memo, &CMemoPanel::playClicked, this, &CPreviewPane::Play);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_picture, 1);
    layout->addWidget(m_memo);

    // One picture at a time: holding a key down over many rows never
    // queues up more than the newest.
    m_readers.setMaxThreadCount(1);
    m_resizeTimer.setSingleShot(true);
    m_resizeTimer.setInterval(kResizeRestMs);
    connect(&m_resizeTimer, &QTimer::timeout, this, [this] {
        if (m_shown && m_shown->box != PictureBox())
            Request(m_strPath);
    });
    ShowFile({});
}

CPreviewPane::~CPreviewPane()
{
    // A read in progress reports to this pane: it is told to stop, and ends
    // first (a decoding at once, its file giving no more bytes).
    ++*m_generation;
    *m_closing = true;
    m_readers.clear();
    m_player.clear();
    m_readers.waitForDone();
    m_player.waitForDone();
}

QSize CPreviewPane::PictureBox() const
{
    return m_picture->size() * m_picture->devicePixelRatioF();
}

void CPreviewPane::ShowFile(const CString& path)
{
    m_strPath = path;
    if (path.empty()) {
        ++*m_generation;
        m_shown.reset();
        m_picture->setText(tr("Select a picture to see it and hear its memo"));
        m_picture->setAccessibleDescription(m_picture->text());
        m_memo->ShowNone({});
        return;
    }
    for (const auto& cached : m_cache) {
        if (cached->strPath == path && cached->box == PictureBox()
            && cached->stamp == StampMemo(path, cached->strBeside)) {
            ++*m_generation;
            Show(cached);
            return;
        }
    }
    Request(path);
}

void CPreviewPane::Request(const CString& path)
{
    const unsigned generation = ++*m_generation;
    const QSize box = PictureBox();
    QPointer<CPreviewPane> self(this);
    m_readers.start([self, generation, current = m_generation, path, box] {
        // A read that a newer one overtook stops, and is not kept: it may
        // lack what it stopped before.
        const KeepGoing newest = [&] { return *current == generation; };
        if (!newest())
            return;
        auto preview = std::make_shared<const CPreview>(ReadPreview(path, box, newest));
        if (!newest())
            return;
        // The pane waits for this read before it goes, so it is there to
        // be told.
        QMetaObject::invokeMethod(self.data(), [self, generation, current, preview] {
            if (!self)
                return;
            self->m_cache.push_front(preview);
            if (self->m_cache.size() > kCacheSize)
                self->m_cache.pop_back();
            if (*current == generation)
                self->Show(preview);
        }, Qt::QueuedConnection);
    });
}

void CPreviewPane::Show(std::shared_ptr<const CPreview> preview)
{
    m_shown = std::move(preview);
    // A screen reader hears what the pane shows: the picture's name, or why
    // there is none.
    if (m_shown->picture.isNull()) {
        m_picture->setText(tr("No preview"));
        m_picture->setAccessibleDescription(m_picture->text());
    } else {
        QPixmap pixmap = QPixmap::fromImage(m_shown->picture);
        pixmap.setDevicePixelRatio(m_picture->devicePixelRatioF());
        m_picture->setPixmap(pixmap);
        m_picture->setAccessibleDescription(ToDisplay(CPathParts(m_shown->strPath.c_str()).GetFileName()));
    }
    if (m_shown->bMemo)
        m_memo->ShowMemo(m_shown->facts, m_shown->peaks, m_shown->dSeconds);
    else
        m_memo->ShowNone(tr("No memo"));
}

void CPreviewPane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_shown)
        m_resizeTimer.start();
}

void CPreviewPane::PlayOrStop()
{
    if (services::GetSoundState().bPlaying) {
        services::StopSound();
        m_memo->FollowSound();
    } else {
        Play();
    }
}

void CPreviewPane::Play()
{
    if (!m_shown || !m_shown->bMemo)
        return;
    // The memo is read again, off the window's thread; what cannot be read
    // any more plays nothing, and the window says so.
    QPointer<CPreviewPane> self(this);
    m_player.start([self, path = m_shown->strPath, closing = m_closing] {
        auto wav = std::make_shared<std::vector<unsigned char>>();
        ReadMemo(path, *wav, [&] { return !*closing; });
        QMetaObject::invokeMethod(qApp, [self, path, wav] {
            if (self)
                emit self->playRequested(path, *wav);
        }, Qt::QueuedConnection);
    });
}

double CPreviewPane::StartOf(const CString& path) const
{
    return Shows(path) ? m_memo->Waveform()->Position() : 0;
}

void CPreviewPane::SoundStarted()
{
    m_memo->SoundStarted();
}
