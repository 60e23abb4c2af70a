#pragma once
// The application object: its life is the main window's modal run.
class CMainApp {
public:
    CMainApp() = default;
    virtual ~CMainApp() = default;
    // Runs the main window modally; always answers false, so the program
    // ends when the window closes.
    virtual bool InitInstance();
};

extern CMainApp theApp;
