#pragma once
// The memo of the picture shown: what it is in words, its waveform with the
// playing position, Play/Stop and the time. It follows whatever plays.
#include <QGroupBox>
#include <QTimer>

#include <array>
#include <vector>

#include "audio/wav.h"

class QLabel;
class QPushButton;
class CWaveform;

class CMemoPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit CMemoPanel(QWidget* parent);

    // A memo: its lines of facts, its waveform and length.
    void ShowMemo(const QStringList& facts, std::vector<WavePeak> peaks, double seconds);
    // No memo: text says why ("No memo"), or nothing.
    void ShowNone(const QString& text);
    // A sound started: Play/Stop, the time and the line follow it.
    void SoundStarted();
    void FollowSound();
    CWaveform* Waveform() const { return m_waveform; }

signals:
    // Play pressed while nothing plays.
    void playClicked();

private:
    void OnPlayStop();
    void OnSeek(double seconds);
    void SetFacts(const QStringList& lines);

    std::array<QLabel*, 3> m_facts{};
    CWaveform* m_waveform;
    QPushButton* m_play;
    QLabel* m_time;
    QTimer m_soundTimer;
    bool m_bMemo = false;
    double m_dSeconds = 0;
};
