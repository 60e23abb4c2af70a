#include "res/templates.h"

#include <cstring>

namespace res {

namespace {

constexpr unsigned kEdit = Border | AutoHScroll | TabStop;
constexpr unsigned kSizeEdit = Number | Disabled | Border | AutoHScroll | TabStop;
constexpr unsigned kLabel = CenterVertically;
constexpr unsigned kAboutLabel = WordWrap;

const DialogTemplate kMainDialog{
    IDD_VOCALINE_DIALOG, "Vocaline", 362, 270, "MS Sans Serif", 8, true,
    {
        {1002, Kind::Edit, "", 83, 15, 177, 12, kEdit},
        {1004, Kind::PushButton, "Browse ...", 273, 15, 42, 12, TabStop},
        {1001, Kind::Edit, "", 83, 31, 83, 12, kEdit},
        {1003, Kind::Edit, "", 251, 31, 82, 12, kEdit},
        {1000, Kind::CheckBox, "Search in subdirectories", 12, 64, 94, 12, TabStop},
        {1022, Kind::CheckBox, "Check for sound", 124, 64, 81, 13, TabStop},
        {1021, Kind::CheckBox, "Only list files with sound", 223, 64, 83, 9, TabStop},
        {1007, Kind::CheckBox, "Size between (in KB) ...", 12, 81, 102, 12, TabStop},
        {1008, Kind::Edit, "", 126, 81, 50, 12, kSizeEdit},
        {1009, Kind::Edit, "", 208, 81, 50, 12, kSizeEdit},
        {1013, Kind::RadioButton, "Replace list", 15, 108, 75, 12, Group},
        {1014, Kind::RadioButton, "Add to list", 100, 108, 75, 12, 0},
        {1015, Kind::RadioButton, "Remove from list", 185, 108, 75, 12, 0},
        {IDOK, Kind::PushButton, "Search", 2, 129, 50, 11, DefaultButton | Group | TabStop},
        {1016, Kind::PushButton, "Extract Sound", 60, 129, 50, 11, TabStop},
        {1020, Kind::PushButton, "About", 142, 151, 36, 15, TabStop},
        {1018, Kind::ListView, "", 186, 129, 169, 40, SmallIcon | SingleSel | Border | TabStop},
        {1006, Kind::ListView, "", 2, 176, 354, 89, Report | ShowSelAlways | NoSortHeader | Border | TabStop},
        {IDC_STATIC, Kind::GroupBox, "Define search", 2, 2, 360, 48, 0},
        {IDC_STATIC, Kind::Label, "Look in", 15, 15, 63, 12, kLabel},
        {IDC_STATIC, Kind::Label, "For files named", 15, 31, 63, 12, kLabel},
        {IDC_STATIC, Kind::Label, "Containing text", 183, 31, 63, 12, kLabel},
        {IDC_STATIC, Kind::GroupBox, "Search options", 2, 54, 360, 46, 0},
        {IDC_STATIC, Kind::Label, "and", 183, 81, 24, 12, kLabel},
        {1011, Kind::Label, "0 items found", 10, 144, 123, 28, WordWrap},
        {IDC_STATIC, Kind::EtchedFrame, "", 2, 104, 360, 19, 0},
        {1023, Kind::PushButton, "Extract and play", 118, 129, 55, 11, TabStop},
    },
};

const DialogTemplate kAboutBox{
    IDD_ABOUTBOX, "About Vocaline", 242, 248, "MS Sans Serif", 8, false,
    {
        {IDC_STATIC, Kind::Icon, "128", 11, 17, 20, 20, 0},
        {IDC_STATIC, Kind::Label, "Vocaline Version 1.0", 40, 10, 119, 8, NoPrefix | kAboutLabel},
        {IDC_STATIC, Kind::Label, "Written by its author, 2003", 40, 25, 119, 8, kAboutLabel},
        {IDOK, Kind::PushButton, "OK", 185, 7, 50, 14, DefaultButton | Group | TabStop},
        {1019, Kind::Label, "Sound Extractor for HP 618 camera jpg files.", 16, 39, 207, 14, kAboutLabel},
        {1020, Kind::Label,
         "The audio section of the HP 618 EXIF jpg file can be extracted to a .wav file. The .wav file name will be "
         "the source filename + .wav eg the wav file for pic.jpg will be pic.jpg.wav",
         16, 56, 207, 27, kAboutLabel},
        {1021, Kind::Label,
         "This program is only tested with the HP 618 camera files, it may or most likely wont be able to extract "
         "audio from other manufacturers files.",
         16, 86, 207, 21, kAboutLabel},
        {1022, Kind::Label,
         "The search function is based on a folder-search sample program published with a programming magazine "
         "article; credit for it goes to that sample's author and its publisher.",
         16, 110, 207, 33, kAboutLabel},
        {IDC_STATIC, Kind::Label, "This software is provided as is, without any warranty.", 16, 222, 207, 16,
         kAboutLabel},
        {1024, Kind::Label,
         "To play the wav files on a PC you need to have the Microsoft IMA ADPCM audio compression CODEC installed.  "
         "This is a standard CODEC that comes with Windows and it is normally installed by default.",
         16, 146, 207, 36, kAboutLabel},
        {1025, Kind::Label,
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

const DialogTemplate* FindDialogTemplate(int id)
{
    if (id == IDD_VOCALINE_DIALOG)
        return &kMainDialog;
    if (id == IDD_ABOUTBOX)
        return &kAboutBox;
    return nullptr;
}

const char* LoadString(int id)
{
    return id == IDS_ABOUTBOX ? "&About Vocaline" : nullptr;
}

const VersionInfo& GetVersionInfo()
{
    return kVersion;
}

} // namespace res
