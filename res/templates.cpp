#include "res/templates.h"

namespace res {

namespace {

using enum ControlKind;
using namespace ControlStyle;

constexpr unsigned kEdit = Border | AutoHScroll | TabStop;
constexpr unsigned kSizeEdit = Number | Disabled | Border | AutoHScroll | TabStop;
constexpr unsigned kLabel = CenterVertically;
constexpr unsigned kAboutLabel = WordWrap;

const DialogTemplate kMainDialog{
    "Vocaline", 362, 270, "MS Sans Serif", 8, true,
    {
        {IDC_LOOKIN, Edit, "", 83, 15, 177, 12, kEdit},
        {IDC_BROWSE, PushButton, "Browse ...", 273, 15, 42, 12, TabStop},
        {IDC_FILEMASK, Edit, "", 83, 31, 83, 12, kEdit},
        {IDC_CONTAINING, Edit, "", 251, 31, 82, 12, kEdit},
        {IDC_SUBFOLDERS, CheckBox, "Search in subdirectories", 12, 64, 94, 12, TabStop},
        {IDC_CHECKSOUND, CheckBox, "Check for sound", 124, 64, 81, 13, TabStop},
        {IDC_ONLYWITHSOUND, CheckBox, "Only list files with sound", 223, 64, 83, 9, TabStop},
        {IDC_SIZERANGE, CheckBox, "Size between (in KB) ...", 12, 81, 102, 12, TabStop},
        {IDC_SIZEMIN, Edit, "", 126, 81, 50, 12, kSizeEdit},
        {IDC_SIZEMAX, Edit, "", 208, 81, 50, 12, kSizeEdit},
        {IDC_REPLACE, RadioButton, "Replace list", 15, 108, 75, 12, Group},
        {IDC_ADD, RadioButton, "Add to list", 100, 108, 75, 12, 0},
        {IDC_REMOVE, RadioButton, "Remove from list", 185, 108, 75, 12, 0},
        {IDOK, PushButton, "Search", 2, 129, 50, 11, DefaultButton | Group | TabStop},
        {IDC_EXTRACT, PushButton, "Extract Sound", 60, 129, 50, 11, TabStop},
        {IDC_ABOUT, PushButton, "About", 142, 151, 36, 15, TabStop},
        {IDC_LOG, ListView, "", 186, 129, 169, 40, SmallIcon | SingleSel | Border | TabStop},
        {IDC_RESULTS, ListView, "", 2, 176, 354, 89, Report | ShowSelAlways | NoSortHeader | Border | TabStop},
        {IDC_STATIC, GroupBox, "Define search", 2, 2, 360, 48, 0},
        {IDC_STATIC, Label, "Look in", 15, 15, 63, 12, kLabel},
        {IDC_STATIC, Label, "For files named", 15, 31, 63, 12, kLabel},
        {IDC_STATIC, Label, "Containing text", 183, 31, 63, 12, kLabel},
        {IDC_STATIC, GroupBox, "Search options", 2, 54, 360, 46, 0},
        {IDC_STATIC, Label, "and", 183, 81, 24, 12, kLabel},
        {IDC_STATUS, Label, "0 items found", 10, 144, 123, 28, WordWrap},
        {IDC_STATIC, EtchedFrame, "", 2, 104, 360, 19, 0},
        {IDC_EXTRACTPLAY, PushButton, "Extract and play", 118, 129, 55, 11, TabStop},
    },
};

const DialogTemplate kAboutBox{
    "About Vocaline", 242, 248, "MS Sans Serif", 8, false,
    {
        {IDC_STATIC, Icon, ":/icons/128-32.png", 11, 17, 20, 20, 0},
        {IDC_STATIC, Label, "Vocaline Version 1.0", 40, 10, 119, 8, NoPrefix | kAboutLabel},
        {IDC_STATIC, Label, "Written by its author, 2003", 40, 25, 119, 8, kAboutLabel},
        {IDOK, PushButton, "OK", 185, 7, 50, 14, DefaultButton | Group | TabStop},
        {IDC_ABOUT_PURPOSE, Label, "Sound Extractor for HP 618 camera jpg files.", 16, 39, 207, 14, kAboutLabel},
        {IDC_ABOUT_NAMING, Label,
         "The audio section of the HP 618 EXIF jpg file can be extracted to a .wav file. The .wav file name will be "
         "the source filename + .wav eg the wav file for pic.jpg will be pic.jpg.wav",
         16, 56, 207, 27, kAboutLabel},
        {IDC_ABOUT_TESTED, Label,
         "This program is only tested with the HP 618 camera files, it may or most likely wont be able to extract "
         "audio from other manufacturers files.",
         16, 86, 207, 21, kAboutLabel},
        {IDC_ABOUT_CREDITS, Label,
         "The search function is based on a folder-search sample program published with a programming magazine "
         "article; credit for it goes to that sample's author and its publisher.",
         16, 110, 207, 33, kAboutLabel},
        {IDC_STATIC, Label, "This software is provided as is, without any warranty.", 16, 222, 207, 16,
         kAboutLabel},
        {IDC_ABOUT_PLAYING, Label,
         "To play the wav files on a PC you need to have the Microsoft IMA ADPCM audio compression CODEC installed.  "
         "This is a standard CODEC that comes with Windows and it is normally installed by default.",
         16, 146, 207, 36, kAboutLabel},
        {IDC_ABOUT_LIBRARIES, Label,
         "This programs uses a couple of DLLs (mfc42.dll and msvcrt.dll) they are not supplied with this program (it "
         "has no installer) but 99% of people probably already have them installed.",
         16, 185, 207, 27, kAboutLabel},
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
