#include "ui/preview.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
#include "ui/resultslist.h"

namespace {

// Enough to step back and forth over a few rows without reading again.
constexpr size_t kCacheSize = 8;
// The pane is read again at its new size once resizing rests.
constexpr int kResizeRestMs = 150;
constexpr int kSoundPollMs = 100;

QString Minutes(double seconds)
{
    const int whole = static_cast<int>(std::lround(std::max(0.0, seconds)));
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

CPreview ReadPreview(const CString& path, const QSize& box)
{
    CPreview preview;
    preview.strPath = path;
    preview.box = box;
    // Only a regular file is read: a FIFO named like a picture would hold
    // the reader, and with it the closing window, for good.
    QFile file;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd >= 0
        && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)
            || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)))
        ::close(fd);
    if (file.isOpen()) {
        QImageReader reader(&file);
        reader.setAutoTransform(true);
        const QSize stored = reader.size();
        if (stored.isValid() && box.isValid()) {
            // The size asked for is the stored picture's; a turned one fits
            // the box turned.
            const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
            const QSize fit = turned ? box.transposed() : box;
            if (stored.width() > fit.width() || stored.height() > fit.height())
                reader.setScaledSize(stored.scaled(fit, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
        }
        preview.picture = reader.read();
    }
    // One read gives the sound to play and what it is.
    std::vector<CMemo> memos;
    if (ReadMemos(path, memos) == SoundCheck::Yes && memos.front().bComplete) {
        preview.bMemo = true;
        WavInfo info;
        if (ParseWavInfo(memos.front().bytes, info)) {
            preview.strFacts = DescribeMemo(memos.front(), info);
            preview.dSeconds = info.dSeconds;
        }
        preview.wav = std::move(memos.front().bytes);
    }
    return preview;
}

CPreviewPane::CPreviewPane(QWidget* parent)
    : QWidget(parent), m_picture(new QLabel(this)), m_memo(new QGroupBox(tr("Memo"), this)),
      m_facts(new QLabel(m_memo)), m_play(new QPushButton(tr("Play"), m_memo)), m_position(new QLabel(m_memo))
{
    m_picture->setAccessibleName(tr("Picture"));
    m_picture->setObjectName("picture");
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setMinimumSize(64, 48);
    m_picture->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_picture->setWordWrap(true);
    m_memo->setAccessibleName(tr("Memo"));
    // Room for the memo's facts from the start, line by line (a wrapped
    // label's height would not count in the window's minimum).
    m_facts->setTextFormat(Qt::PlainText);
    m_facts->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_facts->setMinimumHeight(m_facts->fontMetrics().lineSpacing() * 3);
    m_facts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // What the pane shows must never widen it: the list beside it keeps its
    // width whatever row is selected.
    m_facts->setWordWrap(true);
    m_facts->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_play->setAccessibleName(tr("Play"));
    m_play->setAutoDefault(false);
    m_play->setEnabled(false);
    m_position->setAccessibleName(tr("Position"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_play);
    buttons->addWidget(m_position, 1);
    auto* memo = new QVBoxLayout(m_memo);
    memo->addWidget(m_facts);
    memo->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_picture, 1);
    layout->addWidget(m_memo);

    // One picture at a time: holding a key down over many rows never
    // queues up more than the newest.
    m_readers.setMaxThreadCount(1);
    m_soundTimer.setInterval(kSoundPollMs);
    connect(&m_soundTimer, &QTimer::timeout, this, &CPreviewPane::FollowSound);
    m_resizeTimer.setSingleShot(true);
    m_resizeTimer.setInterval(kResizeRestMs);
    connect(&m_resizeTimer, &QTimer::timeout, this, [this] {
        if (m_shown && m_shown->box != PictureBox())
            Request(m_strPath);
    });
    connect(m_play, &QPushButton::clicked, this, &CPreviewPane::OnPlayStop);
    ShowFile({});
}

CPreviewPane::~CPreviewPane()
{
    // A read in progress reports to this pane: it ends first.
    ++*m_generation;
    m_readers.clear();
    m_readers.waitForDone();
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
        m_facts->clear();
        m_play->setEnabled(false);
        FollowSound();
        return;
    }
    for (const auto& cached : m_cache) {
        if (cached->strPath == path && cached->box == PictureBox()) {
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
        if (*current != generation)
            return;
        auto preview = std::make_shared<const CPreview>(ReadPreview(path, box));
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
    if (m_shown->picture.isNull()) {
        m_picture->setText(tr("No preview"));
    } else {
        QPixmap pixmap = QPixmap::fromImage(m_shown->picture);
        pixmap.setDevicePixelRatio(m_picture->devicePixelRatioF());
        m_picture->setPixmap(pixmap);
    }
    m_facts->setText(m_shown->bMemo ? ToDisplay(m_shown->strFacts) : tr("No memo"));
    FollowSound();
}

void CPreviewPane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_shown)
        m_resizeTimer.start();
}

void CPreviewPane::OnPlayStop()
{
    if (services::GetSoundState().bPlaying) {
        services::StopSound();
        FollowSound();
        return;
    }
    if (m_shown && m_shown->bMemo)
        emit playRequested(m_shown->strPath, m_shown->wav);
}

void CPreviewPane::SoundStarted()
{
    m_soundTimer.start();
    FollowSound();
}

void CPreviewPane::FollowSound()
{
    const services::SoundState sound = services::GetSoundState();
    if (!sound.bPlaying)
        m_soundTimer.stop();
    const QString action = sound.bPlaying ? tr("Stop") : tr("Play");
    if (m_play->text() != action) {
        m_play->setText(action);
        m_play->setAccessibleName(action);
    }
    m_play->setEnabled(sound.bPlaying || (m_shown && m_shown->bMemo));
    if (sound.bPlaying)
        m_position->setText(Minutes(sound.dPosition) + " / " + Minutes(sound.dLength));
    else if (m_shown && m_shown->bMemo)
        m_position->setText(Minutes(0) + " / " + Minutes(m_shown->dSeconds));
    else
        m_position->clear();
}
