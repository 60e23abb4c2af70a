#pragma once
// The About box: the program's name, version and notes, from its template.
#include "platform/qt/dialog.h"

class CAboutDlg : public CDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
