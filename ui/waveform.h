#pragma once
// A memo drawn as its waveform, with the playing position as a line. Over
// it lies the position control a keyboard and a screen reader use: a
// slider named "Position" whose value is the second played. A click or a
// drag moves the sound there; Left and Right step a second.
#include <QSlider>
#include <QWidget>

#include <vector>

#include "audio/wav.h"

class CWaveform : public QWidget {
    Q_OBJECT
public:
    explicit CWaveform(QWidget* parent);

    // The memo to draw (no peaks: none) and its length.
    void SetMemo(std::vector<WavePeak> peaks, double seconds);
    // Where the line stands, in seconds; says nothing back.
    void SetPosition(double seconds);
    double Position() const { return m_dPosition; }
    QSlider* Slider() const { return m_slider; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user moved the position (click, drag or key).
    void seekRequested(double seconds);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SeekTo(double seconds);

    QSlider* m_slider;
    std::vector<WavePeak> m_peaks;
    double m_dSeconds = 0;
    double m_dPosition = 0;
    int m_nLoudest = 1;
    int m_nMiddle = 0;
};
