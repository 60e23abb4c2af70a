#pragma once
// The search as a bar above the pictures: where to look, which names and
// Search on top, the other options in a panel that folds away behind
// "Search options". The controls stay the dialog's own (ids, exchange,
// commands); the bar only arranges them.
#include <QWidget>

#include "ui/foldbutton.h"

class CDialog;

class CSearchBar : public QWidget {
    Q_OBJECT
public:
    // Takes the form's controls of dlg into the bar.
    CSearchBar(CDialog& dlg, QWidget* parent);

    bool IsFolded() const { return !m_options->IsOpen(); }
    void SetFolded(bool folded) { m_options->SetOpen(!folded); }
    QToolButton* OptionsButton() const { return m_options; }

private:
    CFoldButton* m_options;
};
