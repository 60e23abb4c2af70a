#pragma once
#include "platform/qt/dialog.h"

// The About box: the program's name, version and notes, from its template.
class CAboutDlg : public CDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

// Shows the About box modally over its owner.
void ShowAboutBox(QWidget* owner);
