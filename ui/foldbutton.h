#pragma once
// A titled switch that shows or folds away a part of the window, with the
// arrow a file manager's side panel has: right when folded, down when open.
#include <QToolButton>

class CFoldButton : public QToolButton {
    Q_OBJECT
public:
    // text is also the accessible name; content is what it shows and folds.
    CFoldButton(const QString& text, QWidget* content, QWidget* parent);

    bool IsOpen() const { return isChecked(); }
    void SetOpen(bool open);

private:
    QWidget* m_content;
};
