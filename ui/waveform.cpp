#include "ui/waveform.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <cmath>

namespace {

// The slider takes the keys, the clicks and the screen reader; the drawing
// beneath it is the waveform's, so it paints only where it has the focus.
class CPositionSlider final : public QSlider {
public:
    using QSlider::QSlider;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!hasFocus())
            return;
        QPainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
};

} // namespace

CWaveform::CWaveform(QWidget* parent) : QWidget(parent), m_slider(new CPositionSlider(Qt::Horizontal, this))
{
    setAccessibleName(tr("Waveform"));
    m_slider->setAccessibleName(tr("Position"));
    m_slider->setFocusPolicy(Qt::StrongFocus);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(5);
    m_slider->setRange(0, 0);
    m_slider->installEventFilter(this);
    // Keys move the slider a second at a time; the sound follows.
    connect(m_slider, &QAbstractSlider::actionTriggered, this, [this] {
        SeekTo(m_slider->sliderPosition());
    });
}

QSize CWaveform::sizeHint() const
{
    return {240, fontMetrics().height() * 3};
}

QSize CWaveform::minimumSizeHint() const
{
    return {60, fontMetrics().height() * 2};
}

void CWaveform::SetMemo(std::vector<WavePeak> peaks, double seconds)
{
    m_peaks = std::move(peaks);
    m_dSeconds = std::max(0.0, seconds);
    // A memo is drawn to the height of its loud parts, so that a camera's
    // quiet recording still shows where the voice is; a click of the
    // camera's button, louder than all, is cut at the edge.
    // Some cameras record with an offset: the line is drawn about the
    // memo's own middle.
    double middle = 0;
    for (const WavePeak& peak : m_peaks)
        middle += (peak.nLow + peak.nHigh) / 2.0;
    m_nMiddle = m_peaks.empty() ? 0 : static_cast<int>(middle / static_cast<double>(m_peaks.size()));
    std::vector<int> loudness;
    loudness.reserve(m_peaks.size());
    for (const WavePeak& peak : m_peaks)
        loudness.push_back(std::max(m_nMiddle - peak.nLow, peak.nHigh - m_nMiddle));
    m_nLoudest = 1;
    if (!loudness.empty()) {
        const auto loud = loudness.begin() + static_cast<long>(loudness.size() * 95 / 100);
        std::nth_element(loudness.begin(), loud, loudness.end());
        m_nLoudest = std::max(1, *loud);
    }
    m_slider->setRange(0, static_cast<int>(std::ceil(m_dSeconds)));
    m_slider->setEnabled(!m_peaks.empty());
    SetPosition(0);
}

void CWaveform::SetPosition(double seconds)
{
    m_dPosition = std::clamp(seconds, 0.0, m_dSeconds);
    const QSignalBlocker quiet(m_slider);
    m_slider->setValue(static_cast<int>(std::floor(m_dPosition)));
    update();
}

void CWaveform::SeekTo(double seconds)
{
    SetPosition(seconds);
    emit seekRequested(m_dPosition);
}

void CWaveform::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_slider->setGeometry(rect());
}

bool CWaveform::eventFilter(QObject* watched, QEvent* event)
{
    // Left and Right step a second from where the sound is, not from the
    // whole second the slider counts.
    if (watched == m_slider && event->type() == QEvent::KeyPress && !m_peaks.empty()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Left || key->key() == Qt::Key_Right) && key->modifiers() == Qt::NoModifier) {
            SeekTo(m_dPosition + (key->key() == Qt::Key_Right ? 1 : -1));
            return true;
        }
    }
    // A click or drag anywhere on the drawing goes to that point of the memo.
    if (watched == m_slider && !m_peaks.empty() && width() > 0
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->buttons() & Qt::LeftButton) {
            m_slider->setFocus(Qt::MouseFocusReason);
            SeekTo(m_dSeconds * std::clamp(mouse->position().x() / width(), 0.0, 1.0));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CWaveform::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = rect().adjusted(1, 1, -1, -1);
    painter.fillRect(area, palette().base());
    if (m_peaks.empty() || area.width() <= 0)
        return;
    // Each pixel column shows the peaks of the stretch of the memo under it;
    // what has played is drawn in the highlight colour.
    const double middle = area.center().y() + 0.5;
    const double half = area.height() / 2.0;
    const int played = area.left() + static_cast<int>(area.width() * (m_dSeconds > 0 ? m_dPosition / m_dSeconds : 0));
    const size_t count = m_peaks.size();
    for (int x = 0; x < area.width(); ++x) {
        const size_t first = count * static_cast<size_t>(x) / static_cast<size_t>(area.width());
        const size_t end = std::max(first + 1, count * static_cast<size_t>(x + 1) / static_cast<size_t>(area.width()));
        int low = m_nMiddle, high = m_nMiddle;
        for (size_t i = first; i < std::min(end, count); ++i) {
            low = std::min<int>(low, m_peaks[i].nLow);
            high = std::max<int>(high, m_peaks[i].nHigh);
        }
        painter.setPen(area.left() + x < played ? palette().highlight().color() : palette().mid().color());
        const auto height = [&](int sample) {
            return std::clamp(static_cast<double>(sample - m_nMiddle) / m_nLoudest, -1.0, 1.0);
        };
        const int top = static_cast<int>(middle - half * height(high));
        const int bottom = static_cast<int>(middle - half * height(low));
        painter.drawLine(area.left() + x, top, area.left() + x, std::max(top, bottom));
    }
    painter.setPen(palette().text().color());
    painter.drawLine(played, area.top(), played, area.bottom());
}
