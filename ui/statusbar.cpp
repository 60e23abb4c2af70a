#include "ui/statusbar.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

CWorkStatus::CWorkStatus(QWidget* status, QWidget* parent)
    : QStatusBar(parent), m_progress(new QProgressBar(this)), m_stop(new QPushButton(tr("Cancel"), this))
{
    setSizeGripEnabled(false);
    // A long folder in the text must not widen the window.
    status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    if (auto* label = qobject_cast<QLabel*>(status))
        label->setWordWrap(false);
    addWidget(status, 1);
    m_progress->setAccessibleName(tr("Progress"));
    m_progress->setFormat(tr("%v of %m"));
    m_stop->setAutoDefault(false);
    m_stop->setAccessibleName(tr("Cancel"));
    connect(m_stop, &QPushButton::clicked, this, &CWorkStatus::cancelRequested);
    addPermanentWidget(m_progress);
    addPermanentWidget(m_stop);
    SetBusy(false);
}

void CWorkStatus::Start(int total)
{
    m_progress->setRange(0, total);
    m_progress->setValue(0);
}

void CWorkStatus::SetDone(int done)
{
    m_progress->setValue(done);
}

void CWorkStatus::Finish()
{
    m_progress->setValue(m_progress->maximum());
}

void CWorkStatus::SetBusy(bool busy)
{
    m_progress->setVisible(busy);
    m_stop->setVisible(busy);
}
