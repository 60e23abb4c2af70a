#pragma once
// The log of the last extraction as a panel at the foot of the window,
// titled "Activity": folded out of the way until something is written to
// it. The extraction commands sit on its title line, so they are there
// whether it is open or not.
#include <QWidget>

#include "ui/foldbutton.h"

class CActivityPanel : public QWidget {
    Q_OBJECT
public:
    // log: the list the rows go to; commands: buttons for the title line.
    CActivityPanel(QWidget* log, std::initializer_list<QWidget*> commands, QWidget* parent);

    bool IsOpen() const { return m_title->IsOpen(); }
    void SetOpen(bool open) { m_title->SetOpen(open); }
    QToolButton* TitleButton() const { return m_title; }

private:
    CFoldButton* m_title;
};
