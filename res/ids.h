#pragma once
// The one home of this program's resource and control ids: the templates
// and the dialogs both name them from here.

// Dialog templates, icons.
enum {
    IDD_ABOUTBOX = 100,
    IDD_VOCALINE_DIALOG = 102,
    IDR_MAINFRAME = 128,
    IDI_SPEAKER = 131,
};

// Controls of the main window.
enum {
    IDC_SUBFOLDERS = 1000,
    IDC_FILEMASK = 1001,
    IDC_LOOKIN = 1002,
    IDC_CONTAINING = 1003,
    IDC_BROWSE = 1004,
    IDC_RESULTS = 1006,
    IDC_SIZERANGE = 1007,
    IDC_SIZEMIN = 1008,
    IDC_SIZEMAX = 1009,
    IDC_STATUS = 1011,
    IDC_REPLACE = 1013,
    IDC_ADD = 1014,
    IDC_REMOVE = 1015,
    IDC_EXTRACT = 1016,
    IDC_LOG = 1018,
    IDC_ABOUT = 1020,
    IDC_ONLYWITHSOUND = 1021,
    IDC_CHECKSOUND = 1022,
    IDC_EXTRACTPLAY = 1023,
    IDC_EXTRACTTO = 1024,
    // The frames, named so that the window can lay them out.
    IDC_OPTIONSGROUP = 1031,
    IDC_MODEFRAME = 1032,
};

// Labels of the About box; no operation uses them, and they may share
// numbers with the main window's controls, since each template has its own.
enum {
    IDC_ABOUT_PURPOSE = 1019,
    IDC_ABOUT_NAMING = 1020,
    IDC_ABOUT_TESTED = 1021,
    IDC_ABOUT_CREDITS = 1022,
    IDC_ABOUT_PLAYING = 1024,
    IDC_ABOUT_LIBRARIES = 1025,
};
