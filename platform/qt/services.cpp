#include "platform/qt/services.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "platform/qt/text.h"

namespace services {

namespace {

Choice RealChoiceBox(QWidget* owner, const CString& text, const std::vector<Choice>& buttons)
{
    // A zero-width space after each separator lets a long path wrap there.
    QString shown = ToDisplay(text);
    shown.replace(u'/', QStringLiteral("/\u200B"));
    const bool warning = std::find(buttons.begin(), buttons.end(), Choice::Ok) != buttons.end();
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Question, QCoreApplication::applicationName(), shown,
                    QMessageBox::NoButton, owner);
    box.setTextFormat(Qt::PlainText);
    std::vector<std::pair<QAbstractButton*, Choice>> made;
    for (const Choice choice : buttons) {
        QAbstractButton* button = nullptr;
        switch (choice) {
        case Choice::Ok:
            button = box.addButton(QMessageBox::Ok);
            break;
        case Choice::Yes:
            button = box.addButton(QMessageBox::Yes);
            break;
        case Choice::No:
            button = box.addButton(QMessageBox::No);
            break;
        case Choice::SkipAll:
            button = box.addButton(QCoreApplication::translate("services", "Skip All"), QMessageBox::RejectRole);
            button->setAccessibleName(QStringLiteral("Skip All"));
            break;
        }
        made.emplace_back(button, choice);
    }
    if (made.empty())
        return Choice::Ok;
    box.setDefaultButton(qobject_cast<QPushButton*>(made.front().first));
    const auto dismiss = std::find_if(made.begin(), made.end(), [](const auto& button) {
        return button.second == Choice::Ok || button.second == Choice::No;
    });
    const auto& escape = dismiss != made.end() ? *dismiss : made.back();
    box.setEscapeButton(escape.first);
    // Above the window at once, whatever had the focus when it came.
    QTimer::singleShot(0, &box, [&box] {
        box.raise();
        box.activateWindow();
    });
    box.exec();
    for (const auto& [button, choice] : made)
        if (box.clickedButton() == button)
            return choice;
    return escape.second;
}

void RealMessageBox(QWidget* owner, const CString& text)
{
    RealChoiceBox(owner, text, {Choice::Ok});
}

std::optional<CString> RealFolderPicker(QWidget* owner, const CString& title, const CString& start)
{
    const QString folder = QFileDialog::getExistingDirectory(owner, ToDisplay(title), ToDisplay(start),
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return FromDisplay(folder);
}

std::optional<CString> RealSaveFilePicker(QWidget* owner, const CString& title, const CString& start,
                                          const CString& filter)
{
    const QString path = QFileDialog::getSaveFileName(owner, ToDisplay(title), ToDisplay(start), ToDisplay(filter));
    if (path.isEmpty())
        return std::nullopt;
    return FromDisplay(path);
}

bool RealShellOpen(const CString& path)
{
    return QDesktopServices::openUrl(FileUrl(path));
}

// A file manager that is being started may take a few seconds to answer.
constexpr int kShowItemsTimeoutMs = 10000;

// The freedesktop.org file-manager interface, which Dolphin, Nautilus,
// Nemo, Caja and Thunar implement: the folder opens with the file selected.
void RealShowInFolder(const CString& path)
{
    const CString folder = path.substr(0, path.rfind('/') + 1);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        ShellOpen(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                                       "org.freedesktop.FileManager1", "ShowItems");
    call << QStringList{FileUrl(path).toString(QUrl::FullyEncoded)} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kShowItemsTimeoutMs), QCoreApplication::instance());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [folder](QDBusPendingCallWatcher* done) {
        if (done->isError())
            ShellOpen(folder);
        done->deleteLater();
    });
}

bool NoSoundPlayer(const CString& path)
{
    qWarning("No sound player is installed; %s is not played", path.c_str());
    return false;
}

bool NoSoundDataPlayer(const std::vector<unsigned char>&, double)
{
    qWarning("No sound player is installed; the memo is not played");
    return false;
}

void NothingPlays() {}

void NothingToSeek(double) {}

SoundState Silence()
{
    return {};
}

// The function each service goes through now: the real one unless a test
// put its own in place.
struct Slots {
    MessageBoxFunction messageBox = RealMessageBox;
    ChoiceBoxFunction choiceBox = RealChoiceBox;
    FolderPickerFunction folderPicker = RealFolderPicker;
    SaveFilePickerFunction saveFilePicker = RealSaveFilePicker;
    ShellOpenFunction shellOpen = RealShellOpen;
    ShowInFolderFunction showInFolder = RealShowInFolder;
    PlaySoundFunction playSound = NoSoundPlayer;
    PlaySoundDataFunction playSoundData = NoSoundDataPlayer;
    StopSoundFunction stopSound = NothingPlays;
    SeekSoundFunction seekSound = NothingToSeek;
    SoundStateFunction soundState = Silence;
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
ChoiceBoxFunction SetChoiceBox(ChoiceBoxFunction function)
{
    return Replace(Current().choiceBox, std::move(function), ChoiceBoxFunction(RealChoiceBox));
}
FolderPickerFunction SetFolderPicker(FolderPickerFunction function)
{
    return Replace(Current().folderPicker, std::move(function), FolderPickerFunction(RealFolderPicker));
}
SaveFilePickerFunction SetSaveFilePicker(SaveFilePickerFunction function)
{
    return Replace(Current().saveFilePicker, std::move(function), SaveFilePickerFunction(RealSaveFilePicker));
}
ShellOpenFunction SetShellOpen(ShellOpenFunction function)
{
    return Replace(Current().shellOpen, std::move(function), ShellOpenFunction(RealShellOpen));
}
ShowInFolderFunction SetShowInFolder(ShowInFolderFunction function)
{
    return Replace(Current().showInFolder, std::move(function), ShowInFolderFunction(RealShowInFolder));
}
PlaySoundFunction SetPlaySound(PlaySoundFunction function)
{
    return Replace(Current().playSound, std::move(function), PlaySoundFunction(NoSoundPlayer));
}

PlaySoundDataFunction SetPlaySoundData(PlaySoundDataFunction function)
{
    return Replace(Current().playSoundData, std::move(function), PlaySoundDataFunction(NoSoundDataPlayer));
}
StopSoundFunction SetStopSound(StopSoundFunction function)
{
    return Replace(Current().stopSound, std::move(function), StopSoundFunction(NothingPlays));
}
SeekSoundFunction SetSeekSound(SeekSoundFunction function)
{
    return Replace(Current().seekSound, std::move(function), SeekSoundFunction(NothingToSeek));
}

SoundStateFunction SetSoundState(SoundStateFunction function)
{
    return Replace(Current().soundState, std::move(function), SoundStateFunction(Silence));
}

void MessageBox(QWidget* owner, const CString& text)
{
    Current().messageBox(owner, text);
}

Choice ChoiceBox(QWidget* owner, const CString& text, const std::vector<Choice>& buttons)
{
    return Current().choiceBox(owner, text, buttons);
}

std::optional<CString> BrowseForFolder(QWidget* owner, const CString& title, const CString& start)
{
    return Current().folderPicker(owner, title, start);
}

std::optional<CString> BrowseForSaveFile(QWidget* owner, const CString& title, const CString& start,
                                         const CString& filter)
{
    return Current().saveFilePicker(owner, title, start, filter);
}

bool ShellOpen(const CString& path)
{
    return Current().shellOpen(path);
}

void ShowInFolder(const CString& path)
{
    Current().showInFolder(path);
}

bool PlaySound(const CString& path)
{
    return Current().playSound(path);
}

bool PlaySoundData(const std::vector<unsigned char>& wav, double start)
{
    return Current().playSoundData(wav, start);
}

void StopSound()
{
    Current().stopSound();
}

void SeekSound(double seconds)
{
    Current().seekSound(seconds);
}

SoundState GetSoundState()
{
    return Current().soundState();
}

} // namespace services
