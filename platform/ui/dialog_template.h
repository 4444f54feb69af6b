#pragma once

// Dialog templates declared in code: each control has an id, a kind, a
// caption, style bits and a place in dialog units. Templates are registered
// by id; CDialog builds its widgets from them.

#include "platform/core/CString.h"
#include "platform/ui/control_styles.h"

#include <vector>

enum class CtlKind {
    Button,   // push, default, check, radio, group box, owner-drawn (BS_ type bits)
    Edit,     // single or multi-line (ES_MULTILINE)
    Static,   // text or picture (SS_ICON, SS_BITMAP)
    ComboBox, // CBS_DROPDOWN (editable) or CBS_DROPDOWNLIST
    ListBox,
    ListView, // LVS_REPORT or icon view
    Tab,
};

struct DlgItemTemplate {
    int id = 0;
    CtlKind kind = CtlKind::Static;
    CString caption;
    unsigned style = 0; // WS_ and kind-specific bits
    int x = 0, y = 0, cx = 0, cy = 0; // dialog units
};

struct DlgTemplate {
    unsigned id = 0;
    CString caption;
    unsigned style = 0; // WS_CHILD: a page without frame
    int cx = 0, cy = 0;  // dialog units
    std::vector<DlgItemTemplate> items;
};

// Dialog units to pixels: a dialog unit is a quarter of the dialog font's
// mean character width across and an eighth of its height down; the fixed
// base of 6 x 12 pixels is that of the 9-point CJK dialog font.
constexpr int kDialogBaseUnitX = 6;
constexpr int kDialogBaseUnitY = 12;
inline int DialogUnitsToPixelsX(int dlu) { return (dlu * kDialogBaseUnitX + 2) / 4; }
inline int DialogUnitsToPixelsY(int dlu) { return (dlu * kDialogBaseUnitY + 4) / 8; }

// Registers (or replaces) a template under its id.
void RegisterDialogTemplate(const DlgTemplate& tmpl);
// The template of that id, or null.
const DlgTemplate* FindDialogTemplate(unsigned id);

// Registers a template at start-up: a file-level object next to the
// dialog class that uses it.
struct DialogTemplateRegistrar {
    explicit DialogTemplateRegistrar(const DlgTemplate& tmpl) { RegisterDialogTemplate(tmpl); }
};

// Template lines in the manner of a resource script. Every control gets
// WS_CHILD | WS_VISIBLE plus the usual defaults of its kind; extra adds bits.
namespace dlg {
DlgItemTemplate PushButton(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra = 0);
DlgItemTemplate DefPushButton(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra = 0);
DlgItemTemplate OwnerDrawButton(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra = 0);
DlgItemTemplate CheckBox(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra = 0);
DlgItemTemplate AutoCheckBox(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra = 0);
DlgItemTemplate RadioButton(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra = 0);
DlgItemTemplate AutoRadioButton(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra = 0);
DlgItemTemplate GroupBox(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra = 0);
DlgItemTemplate EditText(int id, int x, int y, int cx, int cy, unsigned extra = 0);
DlgItemTemplate LText(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra = 0);
DlgItemTemplate CText(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra = 0);
DlgItemTemplate Picture(int id, int x, int y, int cx, int cy, unsigned extra = 0);
DlgItemTemplate ComboBox(int id, int x, int y, int cx, int cy, unsigned extra = CBS_DROPDOWNLIST);
DlgItemTemplate ListBox(int id, int x, int y, int cx, int cy, unsigned extra = 0);
DlgItemTemplate ListView(int id, int x, int y, int cx, int cy, unsigned extra = LVS_REPORT);
DlgItemTemplate Tab(int id, int x, int y, int cx, int cy, unsigned extra = 0);
} // namespace dlg
