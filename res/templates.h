#pragma once
// This program's dialog templates and version block, as data.
#include "platform/dlgtemplate.h"
#include "res/ids.h"

namespace res {

// Template IDD_VOCALINE_DIALOG: the main window.
const DialogTemplate& MainDialogTemplate();
// Template IDD_ABOUTBOX: the About box.
const DialogTemplate& AboutBoxTemplate();

// The version block.
struct VersionInfo {
    int fileVersion[4];
    int productVersion[4];
    const char* fileDescription;
    const char* fileVersionText;
    const char* internalName;
    const char* legalTrademarks;
    const char* originalFilename;
    const char* privateBuild;
    const char* productName;
    const char* productVersionText;
    const char* companyName;
    const char* legalCopyright;
};
const VersionInfo& GetVersionInfo();

} // namespace res
