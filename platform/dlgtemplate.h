#pragma once
// The vocabulary of a dialog template: every control with its id, kind,
// text, rectangle in dialog units and style, in template order (the tab
// order). A program describes its dialogs in these terms; CDialog builds
// the window from them.
#include <vector>

enum class ControlKind { Edit, PushButton, CheckBox, RadioButton, ListView, GroupBox, Label, EtchedFrame, Icon };

namespace ControlStyle {
enum : unsigned {
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
    SortHeader = 1u << 15,  // list view: a click on a heading sorts by that column
};
} // namespace ControlStyle

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDC_STATIC = -1;

// In a text, '&' marks the letter that Alt takes to the control ("&&" is
// one ampersand). A label so marked names the control that follows it in
// template order: Alt and its letter go there, and so does a screen
// reader's name for it.
struct ControlTemplate {
    int id;
    ControlKind kind;
    // For an icon: the resource path of its image.
    const char* text;
    int x, y, cx, cy;
    unsigned style;
    // The name a screen reader gives a control that shows none of its own
    // (a list, a field without a label); and a longer description.
    const char* accessibleName = nullptr;
    const char* description = nullptr;
};

struct DialogTemplate {
    const char* title;
    int cx, cy;
    const char* fontFace;
    int fontPoints;
    bool resizable; // a sizing frame in place of the fixed one
    std::vector<ControlTemplate> controls;
};
