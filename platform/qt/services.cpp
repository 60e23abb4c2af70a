#include "platform/qt/services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include "platform/qt/soundplayer.h"

namespace services {

namespace {

void RealMessageBox(QWidget* owner, const CString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), ToDisplay(text), QMessageBox::Ok,
                    owner);
    box.exec();
}

std::optional<CString> RealFolderPicker(QWidget* owner, const CString& title)
{
    const QString folder = QFileDialog::getExistingDirectory(owner, ToDisplay(title), QString(),
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return FromDisplay(folder);
}

void RealShellOpen(const CString& path)
{
    // Percent-encoding the bytes keeps a name that is not valid in the
    // locale's encoding naming the same file.
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    QDesktopServices::openUrl(QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/")));
}

bool RealPlaySound(const CString& path)
{
    return CSoundPlayer::Instance().Play(path);
}

// The function each service goes through now: the real one unless a test
// put its own in place.
struct Slots {
    MessageBoxFunction messageBox = RealMessageBox;
    FolderPickerFunction folderPicker = RealFolderPicker;
    ShellOpenFunction shellOpen = RealShellOpen;
    PlaySoundFunction playSound = RealPlaySound;
};

Slots& Current()
{
    static Slots current;
    return current;
}

template <typename F>
F Replace(F& slot, F function, F real)
{
    F old = std::move(slot);
    slot = function ? std::move(function) : std::move(real);
    return old;
}

} // namespace

MessageBoxFunction SetMessageBox(MessageBoxFunction function)
{
    return Replace(Current().messageBox, std::move(function), MessageBoxFunction(RealMessageBox));
}
FolderPickerFunction SetFolderPicker(FolderPickerFunction function)
{
    return Replace(Current().folderPicker, std::move(function), FolderPickerFunction(RealFolderPicker));
}
ShellOpenFunction SetShellOpen(ShellOpenFunction function)
{
    return Replace(Current().shellOpen, std::move(function), ShellOpenFunction(RealShellOpen));
}
PlaySoundFunction SetPlaySound(PlaySoundFunction function)
{
    return Replace(Current().playSound, std::move(function), PlaySoundFunction(RealPlaySound));
}

void MessageBox(QWidget* owner, const CString& text)
{
    Current().messageBox(owner, text);
}

std::optional<CString> BrowseForFolder(QWidget* owner, const CString& title)
{
    return Current().folderPicker(owner, title);
}

void ShellOpen(const CString& path)
{
    Current().shellOpen(path);
}

bool PlaySound(const CString& path)
{
    return Current().playSound(path);
}

void PumpMessages()
{
    // One pass of the event loop handles every event pending now: input,
    // posted events, due timers and paints.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

CWaitCursor::CWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor()
{
    QApplication::restoreOverrideCursor();
}

QString ToDisplay(const CString& bytes)
{
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

CString FromDisplay(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    return CString(bytes.constData(), static_cast<size_t>(bytes.size()));
}

} // namespace services

namespace services {

class CPaintThrottle::Filter : public QObject {
public:
    Filter(QWidget* window, int intervalMs) : m_window(window), m_interval(intervalMs)
    {
        m_clock.start();
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { RequestPaint(); });
        window->installEventFilter(this);
    }
    ~Filter() override
    {
        if (!m_window)
            return;
        m_window->removeEventFilter(this);
        RequestPaint();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::UpdateRequest || m_bLetThrough)
            return false;
        if (m_clock.elapsed() >= m_interval) {
            m_clock.restart();
            return false;
        }
        // Hold it: the dirty region waits for the timer's request.
        if (!m_timer.isActive())
            m_timer.start(static_cast<int>(m_interval - m_clock.elapsed()));
        return true;
    }

private:
    void RequestPaint()
    {
        m_clock.restart();
        m_bLetThrough = true;
        QEvent request(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(m_window, &request);
        m_bLetThrough = false;
    }

    QPointer<QWidget> m_window;
    qint64 m_interval;
    QElapsedTimer m_clock;
    QTimer m_timer;
    bool m_bLetThrough = false;
};

CPaintThrottle::CPaintThrottle(QWidget* window, int intervalMs) : m_filter(std::make_unique<Filter>(window, intervalMs))
{
}

CPaintThrottle::~CPaintThrottle() = default;

} // namespace services
