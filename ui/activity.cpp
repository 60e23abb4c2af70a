#include "ui/activity.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

CActivityPanel::CActivityPanel(QWidget* log, std::initializer_list<QWidget*> commands, QWidget* parent)
    : QWidget(parent), m_title(new QToolButton(this)), m_log(log)
{
    m_title->setText(tr("Activity"));
    m_title->setAccessibleName(tr("Activity"));
    m_title->setCheckable(true);
    m_title->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_title->setAutoRaise(true);
    connect(m_title, &QToolButton::toggled, this, &CActivityPanel::SetOpen);

    auto* title = new QHBoxLayout;
    title->addWidget(m_title);
    title->addStretch(1);
    for (QWidget* command : commands)
        title->addWidget(command);
    // A few rows of the log, never so many that the pictures lose their room.
    const int line = log->fontMetrics().height();
    log->setMinimumHeight(line * 3 + 8);
    log->setMaximumHeight(line * 8);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(title);
    layout->addWidget(log);
    SetOpen(false);
}

bool CActivityPanel::IsOpen() const
{
    return m_title->isChecked();
}

void CActivityPanel::SetOpen(bool open)
{
    m_title->setChecked(open);
    m_title->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    m_log->setVisible(open);
}
