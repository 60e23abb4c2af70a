#pragma once
// The services that ask a person or another program: each goes through one
// replaceable function, so tests can answer as a user would and record what
// the program asked for, with no modal window left open.
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "platform/cstring.h"

class QWidget;

namespace services {

// A modal box with an OK button, captioned with the executable's name.
using MessageBoxFunction = std::function<void(QWidget* owner, const CString& text)>;
// The folder picker: the chosen folder's path, or nothing when cancelled.
using FolderPickerFunction = std::function<std::optional<CString>(QWidget* owner, const CString& title)>;
// Opens a file or folder with its default program, without waiting.
using ShellOpenFunction = std::function<void(const CString& path)>;
// Starts playing a WAV file and returns at once; false when it cannot start.
using PlaySoundFunction = std::function<bool(const CString& path)>;

// Each setter installs a replacement and answers the one it replaced; an
// empty function restores the real service.
MessageBoxFunction SetMessageBox(MessageBoxFunction function);
FolderPickerFunction SetFolderPicker(FolderPickerFunction function);
ShellOpenFunction SetShellOpen(ShellOpenFunction function);
PlaySoundFunction SetPlaySound(PlaySoundFunction function);

void MessageBox(QWidget* owner, const CString& text);
std::optional<CString> BrowseForFolder(QWidget* owner, const CString& title);
void ShellOpen(const CString& path);
bool PlaySound(const CString& path);

// Handles every pending user-interface event before returning.
void PumpMessages();

// Shows the wait cursor for its lifetime.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// Text as the widgets show it and back: file names are bytes, decoded from
// the locale for display.
QString ToDisplay(const CString& bytes);
CString FromDisplay(const QString& text);

// While it lives, the window repaints at most once per interval: a search
// pumps events after every file, and painting the whole window each time
// would cost far more than the search itself. What changed in between is
// painted at the next tick, and once more when the throttle goes.
class CPaintThrottle {
public:
    CPaintThrottle(QWidget* window, int intervalMs);
    ~CPaintThrottle();
    CPaintThrottle(const CPaintThrottle&) = delete;
    CPaintThrottle& operator=(const CPaintThrottle&) = delete;

private:
    class Filter;
    std::unique_ptr<Filter> m_filter;
};

} // namespace services
