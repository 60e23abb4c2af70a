#pragma once
// The services that ask a person or another program: each goes through one
// replaceable function, so tests can answer as a user would and record what
// the program asked for, with no modal window left open.
#include <functional>
#include <optional>
#include <vector>

#include "platform/cstring.h"

class QWidget;

namespace services {

// A modal box with an OK button and the warning icon, captioned with the
// application's name; long paths wrap rather than run off the box.
using MessageBoxFunction = std::function<void(QWidget* owner, const CString& text)>;
// A modal box that offers a choice: the buttons in the order given, the
// first the default; Escape or closing the box answers OK, or else No.
// Warning icon when OK is among them, question icon otherwise.
enum class Choice { Ok, SkipAll, Yes, No };
using ChoiceBoxFunction
    = std::function<Choice(QWidget* owner, const CString& text, const std::vector<Choice>& buttons)>;
// The folder picker, opened at start: the chosen folder's path, or nothing
// when cancelled.
using FolderPickerFunction
    = std::function<std::optional<CString>(QWidget* owner, const CString& title, const CString& start)>;
// The save dialog, opened at start (a folder, or a file name in one) and
// offering the file types of filter ("CSV files (*.csv)"): the path to
// write, or nothing when cancelled. Replacing a file is confirmed there.
using SaveFilePickerFunction = std::function<std::optional<CString>(
    QWidget* owner, const CString& title, const CString& start, const CString& filter)>;
// Opens a file or folder with its default program, without waiting; false
// when no program could be asked to.
using ShellOpenFunction = std::function<bool(const CString& path)>;
// Shows a file selected in its folder, in the file manager, without
// waiting; where no file manager takes the request, opens the folder.
using ShowInFolderFunction = std::function<void(const CString& path)>;
// Starts playing a WAV file and returns at once; false when it cannot start.
using PlaySoundFunction = std::function<bool(const CString& path)>;
// The same for a WAV file held in memory (copied; the caller may let it go),
// from start seconds on: the device starts there, so nothing of the
// beginning is heard first.
using PlaySoundDataFunction = std::function<bool(const std::vector<unsigned char>& wav, double start)>;
// Stops whatever plays.
using StopSoundFunction = std::function<void()>;
// Moves the sound playing to that many seconds from its start.
using SeekSoundFunction = std::function<void(double seconds)>;
// Whether a sound plays, and where it is: seconds played of seconds in all;
// and why the last sound asked for could not play, in the sound system's words.
struct SoundState {
    bool bPlaying = false;
    double dPosition = 0;
    double dLength = 0;
    CString strError;
};
using SoundStateFunction = std::function<SoundState()>;

// Each setter installs a replacement and answers the one it replaced; an
// empty function restores the real service. Playing needs a player, which
// its owner installs (see CSoundPlayer): without one, nothing plays.
MessageBoxFunction SetMessageBox(MessageBoxFunction function);
ChoiceBoxFunction SetChoiceBox(ChoiceBoxFunction function);
FolderPickerFunction SetFolderPicker(FolderPickerFunction function);
SaveFilePickerFunction SetSaveFilePicker(SaveFilePickerFunction function);
ShellOpenFunction SetShellOpen(ShellOpenFunction function);
ShowInFolderFunction SetShowInFolder(ShowInFolderFunction function);
PlaySoundFunction SetPlaySound(PlaySoundFunction function);
PlaySoundDataFunction SetPlaySoundData(PlaySoundDataFunction function);
StopSoundFunction SetStopSound(StopSoundFunction function);
SeekSoundFunction SetSeekSound(SeekSoundFunction function);
SoundStateFunction SetSoundState(SoundStateFunction function);

void MessageBox(QWidget* owner, const CString& text);
Choice ChoiceBox(QWidget* owner, const CString& text, const std::vector<Choice>& buttons);
std::optional<CString> BrowseForFolder(QWidget* owner, const CString& title, const CString& start = {});
std::optional<CString> BrowseForSaveFile(QWidget* owner, const CString& title, const CString& start,
                                         const CString& filter);
bool ShellOpen(const CString& path);
void ShowInFolder(const CString& path);
bool PlaySound(const CString& path);
bool PlaySoundData(const std::vector<unsigned char>& wav, double start = 0);
void StopSound();
void SeekSound(double seconds);
SoundState GetSoundState();

} // namespace services
