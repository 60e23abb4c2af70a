#include "res/templates.h"

#include <QtGlobal>

namespace res {

namespace {

using enum ControlKind;
using namespace ControlStyle;

constexpr unsigned kEdit = Border | AutoHScroll | TabStop;
constexpr unsigned kSizeEdit = Number | Disabled | Border | AutoHScroll | TabStop;
constexpr unsigned kLabel = CenterVertically;
constexpr unsigned kAboutLabel = WordWrap;

// Texts are marked for translation under the class of their dialog, whose
// tr() context it is; the dialog translates them as it builds itself.

// Each label comes just before the field it names, and the template order
// (the Tab order) follows the window: the search bar, its folding options,
// the results, the extraction commands and their log, About, the status line.
// Positions are only the start: the window lays the controls out itself.
const DialogTemplate kMainDialog{
    "Vocaline", 362, 270, "MS Sans Serif", 8, true,
    {
        {IDC_STATIC, Label, QT_TRANSLATE_NOOP("CMainDlg", "&Look in"), 15, 15, 63, 12, kLabel},
        {IDC_LOOKIN, Edit, "", 83, 15, 177, 12, kEdit, nullptr,
         QT_TRANSLATE_NOOP("CMainDlg", "The folder to search; ~ is your home folder")},
        {IDC_BROWSE, PushButton, QT_TRANSLATE_NOOP("CMainDlg", "&Browse ..."), 273, 15, 42, 12, TabStop, nullptr,
         QT_TRANSLATE_NOOP("CMainDlg", "Pick the folder to search")},
        {IDOK, PushButton, QT_TRANSLATE_NOOP("CMainDlg", "&Search"), 2, 129, 50, 11, DefaultButton | Group | TabStop},
        {IDC_STATIC, Label, QT_TRANSLATE_NOOP("CMainDlg", "&For files named"), 15, 31, 63, 12, kLabel},
        {IDC_FILEMASK, Edit, "", 83, 31, 83, 12, kEdit, nullptr,
         QT_TRANSLATE_NOOP("CMainDlg", "A file-name pattern; * and ? are wildcards")},
        {IDC_STATIC, Label, QT_TRANSLATE_NOOP("CMainDlg", "Con&taining text"), 183, 31, 63, 12, kLabel},
        {IDC_CONTAINING, Edit, "", 251, 31, 82, 12, kEdit, nullptr,
         QT_TRANSLATE_NOOP("CMainDlg", "Only files whose contents hold this text")},
        {IDC_OPTIONSGROUP, GroupBox, "", 2, 54, 360, 46, 0},
        {IDC_SUBFOLDERS, CheckBox, QT_TRANSLATE_NOOP("CMainDlg", "Search in sub&directories"), 12, 64, 94, 12, TabStop},
        {IDC_CHECKSOUND, CheckBox, QT_TRANSLATE_NOOP("CMainDlg", "Chec&k for sound"), 124, 64, 81, 13, TabStop},
        {IDC_ONLYWITHSOUND, CheckBox,
         QT_TRANSLATE_NOOP("CMainDlg", "&Only list files with sound"), 223, 64, 83, 9, TabStop},
        {IDC_SIZERANGE, CheckBox, QT_TRANSLATE_NOOP("CMainDlg", "Si&ze between (in KB) ..."), 12, 81, 102, 12, TabStop},
        {IDC_SIZEMIN, Edit, "", 126, 81, 50, 12, kSizeEdit, QT_TRANSLATE_NOOP("CMainDlg", "Smallest size in KB")},
        {IDC_STATIC, Label, QT_TRANSLATE_NOOP("CMainDlg", "and"), 183, 81, 24, 12, kLabel},
        {IDC_SIZEMAX, Edit, "", 208, 81, 50, 12, kSizeEdit, QT_TRANSLATE_NOOP("CMainDlg", "Largest size in KB")},
        {IDC_MODEFRAME, EtchedFrame, "", 2, 104, 360, 19, 0},
        {IDC_REPLACE, RadioButton,
         QT_TRANSLATE_NOOP("CMainDlg", "&Replace list"), 15, 108, 75, 12, Group | TabStop, nullptr,
         QT_TRANSLATE_NOOP("CMainDlg", "The hits of a search take the place of the list")},
        {IDC_ADD, RadioButton, QT_TRANSLATE_NOOP("CMainDlg", "&Add to list"), 100, 108, 75, 12, 0, nullptr,
         QT_TRANSLATE_NOOP("CMainDlg", "The hits not listed yet are added")},
        {IDC_REMOVE, RadioButton, QT_TRANSLATE_NOOP("CMainDlg", "Re&move from list"), 185, 108, 75, 12, 0, nullptr,
         QT_TRANSLATE_NOOP("CMainDlg", "The rows of the hits are taken off the list")},
        {IDC_RESULTS, ListView, "", 2, 176, 354, 89, Report | ShowSelAlways | SortHeader | Border | TabStop | Group,
         QT_TRANSLATE_NOOP("CMainDlg", "Search results"),
         QT_TRANSLATE_NOOP("CMainDlg", "Enter or a double-click opens a row; the context menu has more")},
        {IDC_EXTRACT, PushButton, QT_TRANSLATE_NOOP("CMainDlg", "&Extract Sound"), 60, 129, 50, 11, TabStop, nullptr,
         QT_TRANSLATE_NOOP("CMainDlg", "Writes the memo of each selected row beside its picture")},
        {IDC_EXTRACTTO, PushButton, QT_TRANSLATE_NOOP("CMainDlg", "E&xtract to…"), 60, 129, 50, 11, TabStop,
         QT_TRANSLATE_NOOP("CMainDlg", "Extract to…"),
         QT_TRANSLATE_NOOP("CMainDlg", "Writes the memos of the selected rows to a folder you choose, in the same tree")},
        {IDC_EXTRACTPLAY, PushButton,
         QT_TRANSLATE_NOOP("CMainDlg", "Extract and &play"), 118, 129, 55, 11, TabStop, nullptr,
         QT_TRANSLATE_NOOP("CMainDlg", "Writes the memo of the first selected row and plays it")},
        {IDC_LOG, ListView, "", 186, 129, 169, 40, SmallIcon | SingleSel | Border | TabStop,
         QT_TRANSLATE_NOOP("CMainDlg", "Log"),
         QT_TRANSLATE_NOOP("CMainDlg", "What the last extraction did")},
        {IDC_ABOUT, PushButton, QT_TRANSLATE_NOOP("CMainDlg", "Abo&ut"), 142, 151, 36, 15, TabStop},
        {IDC_STATUS, Label, "", 10, 144, 123, 28, 0},
    },
};

const DialogTemplate kAboutBox{
    QT_TRANSLATE_NOOP("CAboutDlg", "About Vocaline"), 242, 268, "MS Sans Serif", 8, false,
    {
        {IDC_STATIC, Icon, ":/icons/128-32.png", 11, 17, 20, 20, 0},
        {IDC_STATIC, Label,
         QT_TRANSLATE_NOOP("CAboutDlg", "Vocaline Version 1.0"), 40, 10, 119, 8, NoPrefix | kAboutLabel},
        {IDC_STATIC, Label, QT_TRANSLATE_NOOP("CAboutDlg", "Written by its author, 2003"), 40, 25, 119, 8, kAboutLabel},
        {IDOK, PushButton, QT_TRANSLATE_NOOP("CAboutDlg", "OK"), 185, 7, 50, 14, DefaultButton | Group | TabStop},
        {IDC_ABOUT_PURPOSE, Label,
         QT_TRANSLATE_NOOP("CAboutDlg", "Sound Extractor for HP 618 camera jpg files."), 16, 39, 207, 14, kAboutLabel},
        {IDC_ABOUT_NAMING, Label,
         QT_TRANSLATE_NOOP("CAboutDlg",
                           "The audio section of the HP 618 EXIF jpg file can be extracted to a .wav file. The .wav "
                           "file name will be the source filename + .wav eg the wav file for pic.jpg will be "
                           "pic.jpg.wav"),
         16, 56, 207, 27, kAboutLabel},
        {IDC_ABOUT_TESTED, Label,
         QT_TRANSLATE_NOOP("CAboutDlg",
                           "This program was tested with the HP 618 camera files; it also reads the FlashPix voice "
                           "memos of other cameras."),
         16, 86, 207, 24, kAboutLabel},
        {IDC_ABOUT_CREDITS, Label,
         QT_TRANSLATE_NOOP("CAboutDlg",
                           "The search function is based on a folder-search sample program published with a "
                           "programming magazine article; credit for it goes to that sample's author and its "
                           "publisher."),
         16, 110, 207, 33, kAboutLabel},
        {IDC_STATIC, Label,
         QT_TRANSLATE_NOOP("CAboutDlg", "This software is provided as is, without any warranty."), 16, 242, 207, 16,
         kAboutLabel},
        {IDC_ABOUT_PLAYING, Label,
         QT_TRANSLATE_NOOP("CAboutDlg",
                           "The wav files play through this program itself, which decodes the camera's IMA ADPCM "
                           "sound: there is no codec to install. Extract as PCM WAV makes copies that play in any "
                           "player."),
         16, 146, 207, 36, kAboutLabel},
        {IDC_ABOUT_LIBRARIES, Label,
         QT_TRANSLATE_NOOP("CAboutDlg",
                           "This program uses Qt, SDL, libgsf, libexif and OpenSSL's libcrypto, installed with it. "
                           "It is in the menu, and file managers offer it as \"Find voice memos here\" on folders and "
                           "\"Open in Vocaline\" on jpg files."),
         16, 185, 207, 50, kAboutLabel},
    },
};

const VersionInfo kVersion{
    {1, 0, 0, 2},
    {1, 0, 0, 2},
    "Vocaline MFC Application",
    "1, 0, 0, 2",
    "Vocaline",
    "",
    "Vocaline.exe",
    "Only tested with HP 618 camera jpg files.",
    "Vocaline Application",
    "1, 0, 0, 2",
    "",
    "Copyright (C) 2003 the author",
};

} // namespace

const DialogTemplate& MainDialogTemplate()
{
    return kMainDialog;
}

const DialogTemplate& AboutBoxTemplate()
{
    return kAboutBox;
}

const VersionInfo& GetVersionInfo()
{
    return kVersion;
}

} // namespace res
