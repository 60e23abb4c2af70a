#pragma once
// The results as a grid of thumbnails: the same rows, order and selection
// as the list (its model and selection model are shared), each picture
// with its name and a speaker mark when it carries a memo (greyed when the
// memo is missing, a "?" when the file cannot be read). Thumbnails are
// made on a pool of threads, the visible ones only: those scrolled away
// before their turn are dropped.
#include <QCache>
#include <QIcon>
#include <QListView>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <map>
#include <memory>

#include "ui/resultslist.h"
#include "ui/thumbnails.h"

class CThumbGrid : public QListView {
    Q_OBJECT
public:
    // Shows the rows of results, marking with badge those whose sound was
    // found, and with it greyed those whose memo is missing.
    CThumbGrid(CResultsList& results, const QIcon& badge, QWidget* parent = nullptr);
    ~CThumbGrid() override;

    // Where thumbnails are looked up and stored; the desktop's cache by default.
    void SetCache(const CThumbnailCache& cache) { m_cache = cache; }
    // The program's row shown at a view index, or -1.
    int ProgramRow(const QModelIndex& index) const;
    // True once every visible picture has its thumbnail or its placeholder.
    bool VisibleDone() const;

signals:
    // As the list's: a row opened, and the row menu asked for.
    void rowActivated(int row);
    void contextMenuAt(int row, const QPoint& globalPos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    class Delegate;
    enum class State { Waiting, Ready, Failed };
    // The thumbnail of the row at index, when made; asks for it otherwise.
    State Thumbnail(const QModelIndex& index, const QImage** image);
    // What the Sound column says of the row at index.
    CResultsList::Sound SoundMark(const QModelIndex& index) const;
    // The rows the viewport shows, in the order shown.
    std::pair<int, int> VisibleRows() const;
    // Starts the thumbnails of the visible rows; drops the others waiting.
    void Dispatch();
    void Done(const QByteArray& key, const QImage& image);
    void Forget();
    void ShowToolTip(const QPoint& at, int attempt);

    CResultsList& m_results;
    QIcon m_badge;
    CThumbnailCache m_cache;
    // Made thumbnails by path, their cost in kilobytes; failures cost one.
    QCache<QByteArray, QImage> m_images;
    // Requests given to the pool, by path; the flag says it began.
    std::map<QByteArray, std::shared_ptr<std::atomic<bool>>> m_pending;
    std::shared_ptr<std::atomic<bool>> m_closing = std::make_shared<std::atomic<bool>>(false);
    QThreadPool m_pool;
    QTimer m_dispatch;
};
