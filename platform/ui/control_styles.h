#pragma once

// Style bits, notification codes and records of the dialog controls.

#include "platform/gdi/gdi_types.h"
#include "platform/ui/wintypes.h"

#include <cstdint>

class CWnd;

// Button styles: the low four bits are the button type.
constexpr unsigned BS_PUSHBUTTON = 0x0;
constexpr unsigned BS_DEFPUSHBUTTON = 0x1;
constexpr unsigned BS_CHECKBOX = 0x2;
constexpr unsigned BS_AUTOCHECKBOX = 0x3;
constexpr unsigned BS_RADIOBUTTON = 0x4;
constexpr unsigned BS_3STATE = 0x5;
constexpr unsigned BS_AUTO3STATE = 0x6;
constexpr unsigned BS_GROUPBOX = 0x7;
constexpr unsigned BS_AUTORADIOBUTTON = 0x9;
constexpr unsigned BS_OWNERDRAW = 0xB;
constexpr unsigned BS_TYPEMASK = 0xF;
constexpr unsigned BS_LEFTTEXT = 0x20;
constexpr unsigned BS_PUSHLIKE = 0x1000;
constexpr unsigned BS_MULTILINE = 0x2000;

// Edit styles.
constexpr unsigned ES_LEFT = 0x0;
constexpr unsigned ES_CENTER = 0x1;
constexpr unsigned ES_RIGHT = 0x2;
constexpr unsigned ES_MULTILINE = 0x4;
constexpr unsigned ES_PASSWORD = 0x20;
constexpr unsigned ES_AUTOVSCROLL = 0x40;
constexpr unsigned ES_AUTOHSCROLL = 0x80;
constexpr unsigned ES_READONLY = 0x800;
constexpr unsigned ES_WANTRETURN = 0x1000;
constexpr unsigned ES_NUMBER = 0x2000;

// Static styles: the low five bits are the static type.
constexpr unsigned SS_LEFT = 0x0;
constexpr unsigned SS_CENTER = 0x1;
constexpr unsigned SS_RIGHT = 0x2;
constexpr unsigned SS_ICON = 0x3;
constexpr unsigned SS_BITMAP = 0xE;
constexpr unsigned SS_TYPEMASK = 0x1F;
constexpr unsigned SS_NOTIFY = 0x100;
constexpr unsigned SS_CENTERIMAGE = 0x200;
constexpr unsigned SS_SUNKEN = 0x1000;

// Combo box styles.
constexpr unsigned CBS_SIMPLE = 0x1;
constexpr unsigned CBS_DROPDOWN = 0x2;
constexpr unsigned CBS_DROPDOWNLIST = 0x3;
constexpr unsigned CBS_AUTOHSCROLL = 0x40;
constexpr unsigned CBS_SORT = 0x100;
constexpr unsigned CBS_HASSTRINGS = 0x200;
constexpr unsigned CBS_NOINTEGRALHEIGHT = 0x400;

// List box styles.
constexpr unsigned LBS_NOTIFY = 0x1;
constexpr unsigned LBS_SORT = 0x2;
constexpr unsigned LBS_MULTIPLESEL = 0x8;
constexpr unsigned LBS_NOINTEGRALHEIGHT = 0x100;
constexpr unsigned LBS_EXTENDEDSEL = 0x800;

// List view styles, extended styles, item states and flags.
constexpr unsigned LVS_ICON = 0x0;
constexpr unsigned LVS_REPORT = 0x1;
constexpr unsigned LVS_SMALLICON = 0x2;
constexpr unsigned LVS_LIST = 0x3;
constexpr unsigned LVS_TYPEMASK = 0x3;
constexpr unsigned LVS_SINGLESEL = 0x4;
constexpr unsigned LVS_SHOWSELALWAYS = 0x8;
constexpr unsigned LVS_NOSORTHEADER = 0x8000;
constexpr unsigned LVS_EX_GRIDLINES = 0x1;
constexpr unsigned LVS_EX_CHECKBOXES = 0x4;
constexpr unsigned LVS_EX_FULLROWSELECT = 0x20;
constexpr unsigned LVIS_FOCUSED = 0x1;
constexpr unsigned LVIS_SELECTED = 0x2;
constexpr unsigned LVNI_ALL = 0x0;
constexpr unsigned LVNI_FOCUSED = 0x1;
constexpr unsigned LVNI_SELECTED = 0x2;
constexpr int LVCFMT_LEFT = 0;
constexpr int LVCFMT_RIGHT = 1;
constexpr int LVCFMT_CENTER = 2;
constexpr int LVSIL_NORMAL = 0;
constexpr int LVSIL_SMALL = 1;
constexpr int LVIR_BOUNDS = 0;
constexpr int LVIR_ICON = 1;
constexpr int LVIR_LABEL = 2;

constexpr int CB_ERR = -1;
constexpr int LB_ERR = -1;

// Check states.
constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;
constexpr int BST_INDETERMINATE = 2;

// Dialog codes of a control.
constexpr unsigned DLGC_DEFPUSHBUTTON = 0x10;
constexpr unsigned DLGC_UNDEFPUSHBUTTON = 0x20;
constexpr unsigned DLGC_BUTTON = 0x2000;

// Control-colour kinds.
constexpr unsigned CTLCOLOR_MSGBOX = 0;
constexpr unsigned CTLCOLOR_EDIT = 1;
constexpr unsigned CTLCOLOR_LISTBOX = 2;
constexpr unsigned CTLCOLOR_BTN = 3;
constexpr unsigned CTLCOLOR_DLG = 4;
constexpr unsigned CTLCOLOR_SCROLLBAR = 5;
constexpr unsigned CTLCOLOR_STATIC = 6;

// Command notifications (the code travels with the control id).
constexpr int BN_CLICKED = 0;
constexpr int BN_DOUBLECLICKED = 5;
constexpr int EN_SETFOCUS = 0x100;
constexpr int EN_KILLFOCUS = 0x200;
constexpr int EN_CHANGE = 0x300;
constexpr int CBN_SELCHANGE = 1;
constexpr int CBN_DBLCLK = 2;
constexpr int CBN_EDITCHANGE = 5;
constexpr int CBN_DROPDOWN = 7;
constexpr int CBN_CLOSEUP = 8;
constexpr int CBN_SELENDOK = 9;
constexpr int LBN_SELCHANGE = 1;
constexpr int LBN_DBLCLK = 2;

// Notify-record codes.
constexpr int NM_CLICK = -2;
constexpr int NM_DBLCLK = -3;
constexpr int NM_RETURN = -4;
constexpr int NM_RCLICK = -5;
constexpr int NM_CUSTOMDRAW = -12;
constexpr int LVN_ITEMCHANGED = -101;
constexpr int LVN_COLUMNCLICK = -108;
constexpr int LVN_KEYDOWN = -155;
constexpr int TCN_SELCHANGE = -551;

// Tab control: tabs drawn as buttons, wrapped onto as many rows as needed.
constexpr unsigned TCS_BUTTONS = 0x0100;
constexpr unsigned TCS_MULTILINE = 0x0200;
constexpr int TCN_SELCHANGING = -552;

// Custom-draw stages and answers.
constexpr unsigned CDDS_PREPAINT = 0x1;
constexpr unsigned CDDS_POSTPAINT = 0x2;
constexpr unsigned CDDS_ITEM = 0x10000;
constexpr unsigned CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT;
constexpr unsigned CDDS_SUBITEM = 0x20000;
constexpr long CDRF_DODEFAULT = 0x0;
constexpr long CDRF_NEWFONT = 0x2;
constexpr long CDRF_SKIPDEFAULT = 0x4;
constexpr long CDRF_NOTIFYPOSTPAINT = 0x10;
constexpr long CDRF_NOTIFYITEMDRAW = 0x20;
constexpr long CDRF_NOTIFYSUBITEMDRAW = 0x20;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;

// Owner drawing.
constexpr unsigned ODT_BUTTON = 4;
constexpr unsigned ODA_DRAWENTIRE = 0x1;
constexpr unsigned ODA_SELECT = 0x2;
constexpr unsigned ODA_FOCUS = 0x4;
constexpr unsigned ODS_SELECTED = 0x1;
constexpr unsigned ODS_GRAYED = 0x2;
constexpr unsigned ODS_DISABLED = 0x4;
constexpr unsigned ODS_CHECKED = 0x8;
constexpr unsigned ODS_FOCUS = 0x10;

// Messages of buttons and of the dialog manager.
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_CANCELMODE = 0x001F;
constexpr UINT WM_DRAWITEM = 0x002B;
constexpr UINT WM_GETDLGCODE = 0x0087;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_MOUSELEAVE = 0x02A3;
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_GETSTATE = 0x00F2;
constexpr UINT BM_SETSTATE = 0x00F3;
constexpr UINT BM_SETSTYLE = 0x00F4;
constexpr UINT BM_CLICK = 0x00F5;
constexpr UINT WA_INACTIVE = 0;

// Header of every notify record.
struct NMHDR {
    HWND hwndFrom = nullptr;
    std::uintptr_t idFrom = 0;
    int code = 0;
};

// List click and double click.
struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    unsigned uNewState = 0;
    unsigned uOldState = 0;
    unsigned uChanged = 0;
    POINT ptAction;
    std::intptr_t lParam = 0;
    unsigned uKeyFlags = 0;
};

// List item change and column click.
struct NMLISTVIEW {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    unsigned uNewState = 0;
    unsigned uOldState = 0;
    unsigned uChanged = 0;
    POINT ptAction;
    std::intptr_t lParam = 0;
};

struct NMCUSTOMDRAW {
    NMHDR hdr;
    unsigned dwDrawStage = 0;
    CDC* hdc = nullptr;
    RECT rc;
    std::uintptr_t dwItemSpec = 0; // the row
    unsigned uItemState = 0;
    std::intptr_t lItemlParam = 0; // the row's item data
};

// A list's custom draw: set clrText / clrTextBk at the item stage.
struct NMLVCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    COLORREF clrText = CLR_DEFAULT;
    COLORREF clrTextBk = CLR_DEFAULT;
    int iSubItem = 0;
};

struct DRAWITEMSTRUCT {
    unsigned CtlType = ODT_BUTTON;
    unsigned CtlID = 0;
    unsigned itemID = 0;
    unsigned itemAction = ODA_DRAWENTIRE;
    unsigned itemState = 0;
    HWND hwndItem = nullptr;
    CDC* hDC = nullptr;
    RECT rcItem;
    std::uintptr_t itemData = 0;
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;
