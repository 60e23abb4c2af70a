#pragma once
// The search as a bar above the pictures: where to look, which names and
// Search on top, the other options in a panel that folds away behind
// "Search options". The controls stay the dialog's own (ids, exchange,
// commands); the bar only arranges them.
#include <QWidget>

class CDialog;
class QToolButton;

class CSearchBar : public QWidget {
    Q_OBJECT
public:
    // Takes the form's controls of dlg into the bar.
    CSearchBar(CDialog& dlg, QWidget* parent);

    bool IsFolded() const;
    void SetFolded(bool folded);
    QToolButton* OptionsButton() const { return m_options; }

private:
    QToolButton* m_options;
    QWidget* m_panel;
};
