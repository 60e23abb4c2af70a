#include "ui/foldbutton.h"

CFoldButton::CFoldButton(const QString& text, QWidget* content, QWidget* parent)
    : QToolButton(parent), m_content(content)
{
    setText(text);
    setAccessibleName(text);
    setCheckable(true);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setAutoRaise(true);
    connect(this, &QToolButton::toggled, this, &CFoldButton::SetOpen);
    SetOpen(false);
}

void CFoldButton::SetOpen(bool open)
{
    setChecked(open);
    setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    m_content->setVisible(open);
}
