#include "platform/qt/services.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "platform/qt/text.h"

namespace services {

namespace {

void RealMessageBox(QWidget* owner, const CString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), ToDisplay(text), QMessageBox::Ok,
                    owner);
    box.exec();
}

std::optional<CString> RealFolderPicker(QWidget* owner, const CString& title)
{
    const QString folder = QFileDialog::getExistingDirectory(owner, ToDisplay(title), QString(),
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return FromDisplay(folder);
}

void RealShellOpen(const CString& path)
{
    // Percent-encoding the bytes keeps a name that is not valid in the
    // locale's encoding naming the same file.
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    QDesktopServices::openUrl(QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/")));
}

bool NoSoundPlayer(const CString& path)
{
    qWarning("No sound player is installed; %s is not played", path.c_str());
    return false;
}

// The function each service goes through now: the real one unless a test
// put its own in place.
struct Slots {
    MessageBoxFunction messageBox = RealMessageBox;
    FolderPickerFunction folderPicker = RealFolderPicker;
    ShellOpenFunction shellOpen = RealShellOpen;
    PlaySoundFunction playSound = NoSoundPlayer;
};

Slots& Current()
{
    static Slots current;
    return current;
}

template <typename F>
F Replace(F& slot, F function, F real)
{
    F old = std::move(slot);
    slot = function ? std::move(function) : std::move(real);
    return old;
}

} // namespace

MessageBoxFunction SetMessageBox(MessageBoxFunction function)
{
    return Replace(Current().messageBox, std::move(function), MessageBoxFunction(RealMessageBox));
}
FolderPickerFunction SetFolderPicker(FolderPickerFunction function)
{
    return Replace(Current().folderPicker, std::move(function), FolderPickerFunction(RealFolderPicker));
}
ShellOpenFunction SetShellOpen(ShellOpenFunction function)
{
    return Replace(Current().shellOpen, std::move(function), ShellOpenFunction(RealShellOpen));
}
PlaySoundFunction SetPlaySound(PlaySoundFunction function)
{
    return Replace(Current().playSound, std::move(function), PlaySoundFunction(NoSoundPlayer));
}

void MessageBox(QWidget* owner, const CString& text)
{
    Current().messageBox(owner, text);
}

std::optional<CString> BrowseForFolder(QWidget* owner, const CString& title)
{
    return Current().folderPicker(owner, title);
}

void ShellOpen(const CString& path)
{
    Current().shellOpen(path);
}

bool PlaySound(const CString& path)
{
    return Current().playSound(path);
}

} // namespace services
