#include "ui/resultsviews.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QShortcut>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/resultslist.h"
#include "ui/thumbgrid.h"

namespace {

QToolButton* SwitchButton(const QString& text, const QKeySequence& key, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setAccessibleName(text);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setToolTip(QStringLiteral("%1 (%2)").arg(text, key.toString(QKeySequence::NativeText)));
    // A key of the window's, not the button's own, which clicks only after
    // showing the button pressed.
    QObject::connect(new QShortcut(key, parent), &QShortcut::activated, button, &QToolButton::click);
    // Not a stop of Tab, as a toolbar's buttons are not: the keys switch.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

CResultsViews::CResultsViews(CResultsList& results, const QIcon& badge, QWidget* parent)
    : QWidget(parent), m_results(results), m_stack(new QStackedWidget(this)),
      m_grid(new CThumbGrid(results, badge, m_stack)),
      m_listButton(SwitchButton(tr("List"), QKeySequence(Qt::CTRL | Qt::Key_1), this)),
      m_gridButton(SwitchButton(tr("Thumbnails"), QKeySequence(Qt::CTRL | Qt::Key_2), this))
{
    CListView* list = results.View();
    m_stack->addWidget(list);
    m_stack->addWidget(m_grid);
    // The window hears the grid as it hears the list.
    connect(m_grid, &CThumbGrid::rowActivated, list, &CListView::rowActivated);
    connect(m_grid, &CThumbGrid::contextMenuAt, list, &CListView::contextMenuAt);

    auto* group = new QButtonGroup(this);
    group->addButton(m_listButton);
    group->addButton(m_gridButton);
    m_listButton->setChecked(true);
    connect(m_listButton, &QToolButton::clicked, this, [this] { ShowThumbnails(false); });
    connect(m_gridButton, &QToolButton::clicked, this, [this] { ShowThumbnails(true); });

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    buttons->addWidget(m_listButton);
    buttons->addWidget(m_gridButton);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(buttons);
    layout->addWidget(m_stack, 1);
}

bool CResultsViews::ShowsThumbnails() const
{
    return m_stack->currentWidget() == m_grid;
}

void CResultsViews::ShowThumbnails(bool thumbnails)
{
    QAbstractItemView* from = ShowsThumbnails() ? static_cast<QAbstractItemView*>(m_grid) : m_results.View();
    QAbstractItemView* to = thumbnails ? static_cast<QAbstractItemView*>(m_grid) : m_results.View();
    (thumbnails ? m_gridButton : m_listButton)->setChecked(true);
    if (from == to)
        return;
    const bool focused = from->hasFocus();
    m_stack->setCurrentWidget(to);
    // Whatever gives the rows the keyboard gives it to the rows shown.
    m_results.View()->setFocusProxy(thumbnails ? m_grid : nullptr);
    // The row in hand stays in sight, whichever view shows it.
    if (to->currentIndex().isValid())
        to->scrollTo(to->currentIndex());
    if (focused)
        to->setFocus();
}
