#include "ui/thumbgrid.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <algorithm>

#include "platform/qt/text.h"

namespace {

constexpr int kTile = kThumbnailNormal;
constexpr int kPad = 6;
constexpr int kBadge = 20;
// About a thousand thumbnails at hand; scrolled back further, the cache
// on disk gives them again.
constexpr int kKeptKB = 64 * 1024;
// A memo's description is read when first asked; the tooltip asks again
// this often while it shows the bare "Yes".
constexpr int kToolTipRetryMs = 150;
constexpr int kToolTipAttempts = 20;

using Column = CResultsList::Column;
using Sound = CResultsList::Sound;

// A tile is marked for a memo, a missing one, and sound that cannot be known.
bool Marked(Sound sound)
{
    return sound != Sound::No && sound != Sound::Unchecked;
}

// Thumbnails are known by their picture's path, as bytes.
QByteArray Key(const CString& path)
{
    return {path.data(), static_cast<qsizetype>(path.size())};
}

} // namespace

// Paints a tile: the thumbnail centred above the name, the badge on the
// thumbnail's corner, the selection as the style draws it.
class CThumbGrid::Delegate : public QStyledItemDelegate {
public:
    explicit Delegate(CThumbGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {kTile + 2 * kPad, kTile + 3 * kPad + option.fontMetrics.height()};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QWidget* widget = item.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        item.text.clear();
        item.icon = QIcon();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

        const QRect box(option.rect.x() + (option.rect.width() - kTile) / 2, option.rect.y() + kPad, kTile, kTile);
        const QImage* image = nullptr;
        const State state = m_grid->Thumbnail(index, &image);
        if (state == State::Ready) {
            const QSize stored = image->deviceIndependentSize().toSize();
            const QSize shown = stored.scaled(box.size(), Qt::KeepAspectRatio).boundedTo(stored);
            painter->drawImage(QRect(box.center() - QPoint(shown.width() / 2, shown.height() / 2), shown), *image);
        } else {
            // A picture that cannot be shown gets a file's mark; one on its
            // way an empty frame.
            painter->save();
            painter->setPen(option.palette.color(QPalette::Mid));
            painter->drawRect(box.adjusted(kPad, kPad, -kPad - 1, -kPad - 1));
            painter->restore();
            if (state == State::Failed)
                style->standardIcon(QStyle::SP_FileIcon, nullptr, widget).paint(painter, box.adjusted(32, 32, -32, -32));
        }
        if (const Sound sound = m_grid->SoundMark(index); Marked(sound)) {
            const QRect corner(box.right() - kBadge - 1, box.bottom() - kBadge - 1, kBadge, kBadge);
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(Qt::NoPen);
            painter->setBrush(option.palette.color(QPalette::Base));
            painter->drawEllipse(corner.adjusted(-2, -2, 2, 2));
            // A memo that is gone: the speaker greyed; sound that cannot be
            // known: a question mark. Neither calls for alarm.
            if (sound == Sound::Unknown) {
                QFont font = painter->font();
                font.setBold(true);
                painter->setFont(font);
                painter->setPen(option.palette.color(QPalette::Text));
                painter->drawText(corner, Qt::AlignCenter, QStringLiteral("?"));
            }
            painter->restore();
            if (sound != Sound::Unknown)
                m_grid->m_badge.paint(painter, corner.adjusted(2, 2, -2, -2), Qt::AlignCenter,
                                      sound == Sound::Yes ? QIcon::Normal : QIcon::Disabled);
        }
        const QRect text(option.rect.x() + kPad, box.bottom() + kPad, option.rect.width() - 2 * kPad,
                         option.fontMetrics.height());
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(text, Qt::AlignCenter,
                          option.fontMetrics.elidedText(index.data().toString(), Qt::ElideMiddle, text.width()));
        painter->restore();
    }

private:
    CThumbGrid* m_grid;
};

CThumbGrid::CThumbGrid(CResultsList& results, const QIcon& badge, QWidget* parent)
    : QListView(parent), m_results(results), m_badge(badge), m_images(kKeptKB)
{
    CListView* list = results.View();
    setModel(list->model());
    setSelectionModel(list->selectionModel());
    setModelColumn(static_cast<int>(Column::Name));
    setItemDelegate(new Delegate(this));
    setAccessibleName(tr("Thumbnails"));
    // A wrapped flow of tiles of one size: laid out by arithmetic, so ten
    // thousand rows cost no more than a hundred.
    setViewMode(QListView::ListMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setMovement(QListView::Static);
    setSpacing(2);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalScrollBar()->setSingleStep(kTile / 4);
    // Rows drag out as the list's do: the shared model makes their data.
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);

    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    m_dispatch.setSingleShot(true);
    m_dispatch.setInterval(0);
    connect(&m_dispatch, &QTimer::timeout, this, &CThumbGrid::Dispatch);
    // A new search may find the same paths with new pictures.
    connect(model(), &QAbstractItemModel::modelReset, this, &CThumbGrid::Forget);
}

CThumbGrid::~CThumbGrid()
{
    *m_closing = true;
    m_pool.clear();
    m_pool.waitForDone();
}

int CThumbGrid::ProgramRow(const QModelIndex& index) const
{
    return m_results.View()->ProgramRow(index);
}

CResultsList::Sound CThumbGrid::SoundMark(const QModelIndex& index) const
{
    const int row = ProgramRow(index);
    return row >= 0 ? m_results.GetSound(row) : Sound::Unchecked;
}

CThumbGrid::State CThumbGrid::Thumbnail(const QModelIndex& index, const QImage** image)
{
    const int row = ProgramRow(index);
    if (row < 0)
        return State::Waiting;
    const QByteArray key = Key(m_results.GetRowPath(row));
    if (const QImage* made = m_images.object(key)) {
        *image = made;
        return made->isNull() ? State::Failed : State::Ready;
    }
    if (!m_pending.count(key))
        m_dispatch.start();
    return State::Waiting;
}

std::pair<int, int> CThumbGrid::VisibleRows() const
{
    // Tiles not laid out yet have no place: nothing is visible until they have.
    const_cast<CThumbGrid*>(this)->executeDelayedItemsLayout();
    const QAbstractItemModel* shown = model();
    const int count = shown->rowCount();
    const QRect room = viewport()->rect();
    const auto rect = [&](int v) { return visualRect(shown->index(v, modelColumn())); };
    // Tiles follow the rows' order line by line: the first visible one is
    // found by halving, the rest follow it.
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (rect(middle).bottom() < room.top())
            low = middle + 1;
        else
            high = middle;
    }
    int last = low;
    while (last < count && rect(last).isValid() && rect(last).top() <= room.bottom())
        ++last;
    return {low, last};
}

bool CThumbGrid::VisibleDone() const
{
    const auto [first, last] = VisibleRows();
    for (int v = first; v < last; ++v) {
        const int row = ProgramRow(model()->index(v, modelColumn()));
        if (row >= 0 && !m_images.contains(Key(m_results.GetRowPath(row))))
            return false;
    }
    return true;
}

void CThumbGrid::Dispatch()
{
    // What waits for a thread but scrolled away is dropped; what a thread
    // has begun is finished, and kept.
    m_pool.clear();
    std::erase_if(m_pending, [](const auto& pending) { return !*pending.second; });
    if (!isVisible())
        return;
    // On a screen of scale 2 a tile shows twice the pixels: the cache's large size.
    const qreal scale = std::min<qreal>(devicePixelRatioF(), qreal{kThumbnailLarge} / kTile);
    const auto [first, last] = VisibleRows();
    for (int v = first; v < last; ++v) {
        const int row = ProgramRow(model()->index(v, modelColumn()));
        if (row < 0)
            continue;
        const CString path = m_results.GetRowPath(row);
        const QByteArray key = Key(path);
        if (m_images.contains(key) || m_pending.count(key))
            continue;
        auto started = std::make_shared<std::atomic<bool>>(false);
        m_pending[key] = started;
        m_pool.start([this, path, key, started, scale, closing = m_closing, cache = m_cache] {
            *started = true;
            if (*closing)
                return;
            QImage image = LoadThumbnail(path, cache, qRound(kTile * scale), [&] { return !*closing; }).image;
            if (!image.isNull()) {
                image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
                image.setDevicePixelRatio(scale);
            }
            // The grid waits for its threads as it goes, so it is there to hear.
            QMetaObject::invokeMethod(this, [this, key, image] { Done(key, image); }, Qt::QueuedConnection);
        });
    }
}

void CThumbGrid::Done(const QByteArray& key, const QImage& image)
{
    m_pending.erase(key);
    m_images.insert(key, new QImage(image), std::max<qsizetype>(1, image.sizeInBytes() / 1024));
    viewport()->update();
}

void CThumbGrid::Forget()
{
    m_pool.clear();
    m_pending.clear();
    m_images.clear();
}

void CThumbGrid::keyPressEvent(QKeyEvent* event)
{
    if (const QModelIndex open = EnterTarget(*this, *event); open.isValid()) {
        event->accept();
        emit rowActivated(ProgramRow(open));
        return;
    }
    QListView::keyPressEvent(event);
}

void CThumbGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListView::mouseDoubleClickEvent(event);
    if (const QModelIndex under = DoubleClickTarget(*this, *event); under.isValid())
        emit rowActivated(ProgramRow(under));
}

void CThumbGrid::contextMenuEvent(QContextMenuEvent* event)
{
    QPoint where;
    const QModelIndex at = MenuTarget(*this, *event, where);
    event->accept();
    emit contextMenuAt(ProgramRow(at), where);
}

bool CThumbGrid::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QListView::viewportEvent(event);
    ShowToolTip(static_cast<QHelpEvent*>(event)->pos(), 0);
    return true;
}

// The Sound column's tooltip over a tile with a mark; the whole name over
// the others, whose tiles may cut it.
void CThumbGrid::ShowToolTip(const QPoint& at, int attempt)
{
    const QModelIndex index = indexAt(at);
    if (!index.isValid()) {
        QToolTip::hideText();
        return;
    }
    QString tip = index.data().toString();
    if (Marked(SoundMark(index))) {
        tip = index.siblingAtColumn(static_cast<int>(Column::Sound)).data(Qt::ToolTipRole).toString();
        // Still the bare "Yes": the description is on its way.
        if (tip == ToDisplay(m_results.YesText()) && attempt < kToolTipAttempts) {
            QTimer::singleShot(kToolTipRetryMs, this, [this, at, attempt] {
                if (viewport()->mapFromGlobal(QCursor::pos()) == at || QToolTip::isVisible())
                    ShowToolTip(at, attempt + 1);
            });
        }
    }
    if (attempt == 0 || QToolTip::isVisible())
        QToolTip::showText(viewport()->mapToGlobal(at), tip, viewport(), visualRect(index));
}
