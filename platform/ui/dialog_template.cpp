#include "platform/ui/dialog_template.h"

#include "platform/ui/wintypes.h"

#include <map>

namespace {

std::map<unsigned, DlgTemplate>& Registry()
{
    static std::map<unsigned, DlgTemplate> registry;
    return registry;
}

DlgItemTemplate Item(int id, CtlKind kind, const CString& text, unsigned style, int x, int y, int cx, int cy)
{
    DlgItemTemplate item;
    item.id = id;
    item.kind = kind;
    item.caption = text;
    item.style = WS_CHILD | WS_VISIBLE | style;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    return item;
}

} // namespace

void RegisterDialogTemplate(const DlgTemplate& tmpl)
{
    Registry()[tmpl.id] = tmpl;
}

const DlgTemplate* FindDialogTemplate(unsigned id)
{
    const auto it = Registry().find(id);
    return it == Registry().end() ? nullptr : &it->second;
}

namespace dlg {

DlgItemTemplate PushButton(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra)
{
    return Item(id, CtlKind::Button, text, BS_PUSHBUTTON | WS_TABSTOP | extra, x, y, cx, cy);
}

DlgItemTemplate DefPushButton(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra)
{
    return Item(id, CtlKind::Button, text, BS_DEFPUSHBUTTON | WS_TABSTOP | extra, x, y, cx, cy);
}

DlgItemTemplate OwnerDrawButton(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra)
{
    return Item(id, CtlKind::Button, text, BS_OWNERDRAW | WS_TABSTOP | extra, x, y, cx, cy);
}

DlgItemTemplate CheckBox(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra)
{
    return Item(id, CtlKind::Button, text, BS_CHECKBOX | WS_TABSTOP | extra, x, y, cx, cy);
}

DlgItemTemplate AutoCheckBox(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra)
{
    return Item(id, CtlKind::Button, text, BS_AUTOCHECKBOX | WS_TABSTOP | extra, x, y, cx, cy);
}

DlgItemTemplate RadioButton(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra)
{
    return Item(id, CtlKind::Button, text, BS_RADIOBUTTON | extra, x, y, cx, cy);
}

DlgItemTemplate AutoRadioButton(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra)
{
    return Item(id, CtlKind::Button, text, BS_AUTORADIOBUTTON | extra, x, y, cx, cy);
}

DlgItemTemplate GroupBox(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra)
{
    return Item(id, CtlKind::Button, text, BS_GROUPBOX | extra, x, y, cx, cy);
}

DlgItemTemplate EditText(int id, int x, int y, int cx, int cy, unsigned extra)
{
    return Item(id, CtlKind::Edit, CString(), ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | extra, x, y, cx, cy);
}

DlgItemTemplate LText(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra)
{
    return Item(id, CtlKind::Static, text, SS_LEFT | extra, x, y, cx, cy);
}

DlgItemTemplate CText(int id, const CString& text, int x, int y, int cx, int cy, unsigned extra)
{
    return Item(id, CtlKind::Static, text, SS_CENTER | extra, x, y, cx, cy);
}

DlgItemTemplate Picture(int id, int x, int y, int cx, int cy, unsigned extra)
{
    return Item(id, CtlKind::Static, CString(), SS_ICON | extra, x, y, cx, cy);
}

DlgItemTemplate ComboBox(int id, int x, int y, int cx, int cy, unsigned extra)
{
    return Item(id, CtlKind::ComboBox, CString(), WS_VSCROLL | WS_TABSTOP | extra, x, y, cx, cy);
}

DlgItemTemplate ListBox(int id, int x, int y, int cx, int cy, unsigned extra)
{
    return Item(id, CtlKind::ListBox, CString(), LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP | extra,
                x, y, cx, cy);
}

DlgItemTemplate ListView(int id, int x, int y, int cx, int cy, unsigned extra)
{
    return Item(id, CtlKind::ListView, CString(), WS_BORDER | WS_TABSTOP | extra, x, y, cx, cy);
}

DlgItemTemplate Tab(int id, int x, int y, int cx, int cy, unsigned extra)
{
    return Item(id, CtlKind::Tab, CString(), WS_TABSTOP | extra, x, y, cx, cy);
}

} // namespace dlg
