#pragma once
// The two dialog templates as data: every control with its id, kind, text,
// rectangle in dialog units and style, in template order (the tab order).
#include <vector>

namespace res {

enum class Kind { Edit, PushButton, CheckBox, RadioButton, ListView, GroupBox, Label, EtchedFrame, Icon };

enum Style : unsigned {
    TabStop = 1u << 0,
    Group = 1u << 1,        // first control of a group
    Disabled = 1u << 2,
    Number = 1u << 3,       // edit takes digits only
    DefaultButton = 1u << 4,
    Border = 1u << 5,
    AutoHScroll = 1u << 6,
    SmallIcon = 1u << 7,    // list view: small-icon view
    Report = 1u << 8,       // list view: report view
    ShowSelAlways = 1u << 9,
    NoSortHeader = 1u << 10,
    SingleSel = 1u << 11,
    WordWrap = 1u << 12,
    CenterVertically = 1u << 13,
    NoPrefix = 1u << 14,    // ampersands shown as typed
};

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDC_STATIC = -1;

struct ControlTemplate {
    int id;
    Kind kind;
    const char* text;
    int x, y, cx, cy;
    unsigned style;
};

struct DialogTemplate {
    int id;
    const char* title;
    int cx, cy;
    const char* fontFace;
    int fontPoints;
    bool resizable; // the sizing frame the main window asks for when created
    std::vector<ControlTemplate> controls;
};

// The template with this resource id, or nullptr.
const DialogTemplate* FindDialogTemplate(int id);

constexpr int IDD_ABOUTBOX = 100;
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDD_VOCALINE_DIALOG = 102;
constexpr int IDR_MAINFRAME = 128;
constexpr int IDI_SPEAKER = 131;

// String 101 of the string table.
const char* LoadString(int id);

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
