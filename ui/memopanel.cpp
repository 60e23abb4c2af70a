#include "ui/memopanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "platform/qt/services.h"
#include "ui/waveform.h"

namespace {

// The line moves smoothly enough at this pace, and a poll costs nothing.
constexpr int kSoundPollMs = 50;

// "0:06", or "0:00.3" for what is shorter than ten seconds, so that a
// short memo never reads 0:00.
QString Minutes(double seconds, bool tenths)
{
    const double at = std::max(0.0, seconds);
    if (tenths) {
        const long whole = std::lround(at * 10);
        return QStringLiteral("%1:%2.%3").arg(whole / 600).arg(whole / 10 % 60, 2, 10, QLatin1Char('0')).arg(whole % 10);
    }
    const long whole = std::lround(at);
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

CMemoPanel::CMemoPanel(QWidget* parent)
    : QGroupBox(tr("Memo"), parent), m_waveform(new CWaveform(this)), m_play(new QPushButton(tr("Play"), this)),
      m_time(new QLabel(this))
{
    setAccessibleName(tr("Memo"));
    auto* layout = new QVBoxLayout(this);
    for (QLabel*& fact : m_facts) {
        fact = new QLabel(this);
        fact->setTextFormat(Qt::PlainText);
        fact->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // A long fact wraps: the pane never widens for it.
        fact->setWordWrap(true);
        fact->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        layout->addWidget(fact);
    }
    m_play->setAccessibleName(tr("Play"));
    m_play->setAutoDefault(false);
    // Room for either word and for the longest time from the start: what
    // the panel shows must never change the width the viewer asks for.
    const QFontMetrics metrics = fontMetrics();
    m_play->setMinimumWidth(m_play->sizeHint().width()
                            + std::max(0, metrics.horizontalAdvance(tr("Stop")) - metrics.horizontalAdvance(tr("Play"))));
    m_time->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("00:00.0 / 00:00.0")));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_play);
    buttons->addWidget(m_waveform, 1);
    buttons->addWidget(m_time);
    layout->addLayout(buttons);

    m_soundTimer.setInterval(kSoundPollMs);
    connect(&m_soundTimer, &QTimer::timeout, this, &CMemoPanel::FollowSound);
    connect(m_play, &QPushButton::clicked, this, &CMemoPanel::OnPlayStop);
    connect(m_waveform, &CWaveform::seekRequested, this, &CMemoPanel::OnSeek);
    ShowNone({});
}

void CMemoPanel::SetFacts(const QStringList& lines)
{
    // Each line is its own label, named by its text: a screen reader reads
    // the facts themselves. Empty lines keep their room, so that the picture
    // above keeps its size from row to row.
    for (size_t i = 0; i < m_facts.size(); ++i) {
        const QString text = static_cast<qsizetype>(i) < lines.size() ? lines[static_cast<qsizetype>(i)] : QString();
        m_facts[i]->setText(text);
        m_facts[i]->setAccessibleName(text);
    }
}

void CMemoPanel::ShowMemo(const QStringList& facts, std::vector<WavePeak> peaks, double seconds)
{
    m_bMemo = true;
    m_dSeconds = seconds;
    SetFacts(facts);
    m_waveform->SetMemo(std::move(peaks), seconds);
    FollowSound();
}

void CMemoPanel::ShowNone(const QString& text)
{
    m_bMemo = false;
    m_dSeconds = 0;
    SetFacts({text});
    m_waveform->SetMemo({}, 0);
    FollowSound();
}

void CMemoPanel::OnPlayStop()
{
    if (services::GetSoundState().bPlaying) {
        services::StopSound();
        FollowSound();
    } else if (m_bMemo) {
        emit playClicked();
    }
}

void CMemoPanel::OnSeek(double seconds)
{
    // While nothing plays, the line marks where Play starts.
    if (services::GetSoundState().bPlaying)
        services::SeekSound(seconds);
    FollowSound();
}

void CMemoPanel::SoundStarted()
{
    m_soundTimer.start();
    FollowSound();
}

void CMemoPanel::FollowSound()
{
    const services::SoundState sound = services::GetSoundState();
    if (!sound.bPlaying && m_soundTimer.isActive()) {
        // Played out or stopped: the next Play starts from the beginning.
        m_soundTimer.stop();
        m_waveform->SetPosition(0);
    }
    const QString action = sound.bPlaying ? tr("Stop") : tr("Play");
    if (m_play->text() != action) {
        m_play->setText(action);
        m_play->setAccessibleName(action);
    }
    m_play->setEnabled(sound.bPlaying || m_bMemo);
    const double length = sound.bPlaying ? sound.dLength : m_dSeconds;
    const bool tenths = length < 10;
    if (sound.bPlaying)
        m_waveform->SetPosition(sound.dPosition);
    const double position = sound.bPlaying ? sound.dPosition : m_waveform->Position();
    m_time->setText(sound.bPlaying || m_bMemo ? Minutes(position, tenths) + " / " + Minutes(length, tenths) : QString());
    m_time->setAccessibleName(m_time->text());
}
