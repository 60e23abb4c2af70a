#pragma once
// The application object: its life is the main window's modal run.
#include "platform/cstring.h"
#include "ui/maindlg.h"

class QSettings;

// The form as the last run left it in settings; what is missing there
// takes the first-use defaults.
CFormMemory LoadForm(QSettings& settings);
void SaveForm(QSettings& settings, const CFormMemory& form);

class CMainApp {
public:
    CMainApp() = default;
    virtual ~CMainApp() = default;
    // Runs the main window modally, its form as the last run left it (the
    // folder given on the command line first); always answers false, so
    // the program ends when the window closes.
    virtual bool InitInstance();

    // The FOLDER argument (or a picture in it), searched at once; empty when
    // none was given.
    CString m_strStartFolder;
};

extern CMainApp theApp;

// Puts the program's texts and Qt's own into the language of the default
// locale (the user's, unless changed); English where there is no
// translation. Needs the application object; may be called again.
void InstallTranslations();
