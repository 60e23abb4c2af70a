#include "ui/activity.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

CActivityPanel::CActivityPanel(QWidget* log, std::initializer_list<QWidget*> commands, QWidget* parent)
    : QWidget(parent), m_title(new CFoldButton(tr("Activity"), log, this))
{
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
}
