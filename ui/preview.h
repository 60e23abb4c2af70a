#pragma once
// The picture of the selected row, turned upright and scaled to the pane,
// and under it its memo: what and where it is, and Play/Stop with the
// position. Pictures are read on a thread of the pane's own, only at the
// size shown, and the last few are kept.
#include <QImage>
#include <QLabel>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <deque>
#include <memory>
#include <vector>

#include "audio/wav.h"
#include "platform/cstring.h"
#include "platform/file.h"
#include "ui/memowords.h"

class CMemoPanel;

class QImageReader;

// What the pane shows of one file, read off the user-interface thread. The
// memo's bytes are not kept: Play reads them again.
struct CPreview {
    CString strPath;
    QSize box;            // the size it was read for
    QImage picture;       // null: the picture cannot be decoded
    bool bMemo = false;
    QStringList facts;    // the memo in words, line by line
    std::vector<WavePeak> peaks; // its waveform
    double dSeconds = 0;
    CString strBeside;    // the WAV beside the picture that gave the memo
    CMemoStamp stamp;     // the files as they were read
};

/// True when the picture reader's declared width x height x components
/// is within the budget of 100 million, asked before anything is decoded.
bool FitsPictureBudget(QImageReader& reader);
/// Returns the picture at path, upright, fitted into box (when valid);
/// null when it cannot be decoded, is no regular file or is beyond the
/// budget. keepGoing false ends the decoding early.
QImage ReadPicture(const CString& path, const QSize& box, const KeepGoing& keepGoing = {});

/// Reads what the pane shows of path, the picture fitted into box;
/// keepGoing false ends the decoding early (the picture then is not used).
CPreview ReadPreview(const CString& path, const QSize& box, const KeepGoing& keepGoing = {});

class CPreviewPane : public QWidget {
    Q_OBJECT
public:
    explicit CPreviewPane(QWidget* parent = nullptr);
    ~CPreviewPane() override;

    // Shows the file at path (empty: nothing), at once from the cache, else
    // as soon as it has been read.
    void ShowFile(const CString& path);
    // A sound started somewhere in the window: Play/Stop follows it.
    void SoundStarted();
    // Plays the memo shown, or stops what plays.
    void PlayOrStop();
    // Whether the pane shows path with everything read.
    bool Shows(const CString& path) const { return m_shown && m_shown->strPath == path; }
    const CString& Path() const { return m_strPath; }
    // Where playing path starts: the line the user put on the shown memo's
    // waveform, else its beginning.
    double StartOf(const CString& path) const;

signals:
    // Play pressed: the memo to play, as bytes of a WAV file.
    void playRequested(const CString& path, const std::vector<unsigned char>& wav);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Show(std::shared_ptr<const CPreview> preview);
    void Request(const CString& path);
    void Play();
    QSize PictureBox() const;

    QLabel* m_picture;
    CMemoPanel* m_memo;
    QTimer m_resizeTimer;

    CString m_strPath;
    std::shared_ptr<const CPreview> m_shown;
    std::deque<std::shared_ptr<const CPreview>> m_cache;
    // Only the newest request is read; older ones still waiting are dropped.
    std::shared_ptr<std::atomic<unsigned>> m_generation = std::make_shared<std::atomic<unsigned>>(0);
    std::shared_ptr<std::atomic<bool>> m_closing = std::make_shared<std::atomic<bool>>(false);
    QThreadPool m_readers;
    // Play's read of the memo, apart from the pictures' reads.
    QThreadPool m_player;
};
