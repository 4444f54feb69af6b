// Menu items, toolbar buttons and the right-button popup that start a
// command or run an edit of the view. A "menu" start makes its command the
// last one first; a toolbar "toggle" ends its command when it runs already.

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/MainFrameLink.h"
#include "app/frame_resources.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/View3D.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/afx_ids.h"
#include "platform/ui/popup_menu.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"

namespace {

struct MenuStart {
    UINT id;
    int command;
    bool toggle;
};

const MenuStart kMenuStarts[] = {
    {32780, kCmdLine, true},        {32881, kCmdLine, false},
    {32785, kCmdRectangle, true},   {32912, kCmdRectangle, false},
    {32786, kCmdEllipse, true},     {32914, kCmdEllipse, false},
    {32791, kCmdEllipseArc, true},  {32915, kCmdEllipseArc, false},
    {32783, kCmdCircle, true},      {32910, kCmdCircle, false},
    {32784, kCmdArc, true},         {32911, kCmdArc, false},
    {32782, kCmdPolyline, true},    {32908, kCmdPolyline, false},
    {32787, kCmdPolygon, true},     {32913, kCmdPolygon, false},
    {32781, kCmdSpline, true},      {32909, kCmdSpline, false},
    {32944, kCmdWaveLine, false},   {32981, kCmdToolPoint, false},
    {32820, kCmdMove, true},        {32967, kCmdMove, false},
    {32824, kCmdMirror, true},      {32970, kCmdMirror, false},
    {32772, kCmdTrim, true},        {32968, kCmdTrim, false},
    {32822, kCmdBreak, true},       {32969, kCmdBreak, false},
    {32828, kCmdRotate, true},      {32974, kCmdRotate, false},
    {32827, kCmdScale, true},       {32973, kCmdScale, false},
    {32825, kCmdExtend, true},      {32975, kCmdExtend, false},
    {32823, kCmdAlign, true},       {32976, kCmdAlign, false},
    {32826, kCmdFillet, true},      {32971, kCmdFillet, false},
    {32978, kCmdArray, false},      {65025, kCmdArray, false},
    {32831, kCmdChamfer, true},     {32972, kCmdChamfer, false},
    {32841, kCmdTangent, true},     {32977, kCmdTangent, false},
    {32852, kCmdExplode, true},     {32979, kCmdExplode, false},
    {32849, kCmdErase, true},       {32966, kCmdErase, false},
    {32984, kCmdOriginOffset, false}, {65028, kCmdOriginOffset, false},
    {33004, kCmdQueryPoint, false}, {33005, kCmdQueryDistance, false},
    {33007, kCmdQueryPerimeter, false}, {33006, kCmdQueryAngle, false},
    {33008, kCmdQueryCentre, false},
    {33014, kCmdOffset, false},     {65027, kCmdOffset, true},
};

const MenuStart* FindMenuStart(UINT id)
{
    for (const MenuStart& s : kMenuStarts)
        if (s.id == id)
            return &s;
    return nullptr;
}

constexpr int kPopupOffsetX = 10;
constexpr int kPopupOffsetY = 280;

} // namespace

void CZorvaView::OnMenuStart(UINT id)
{
    const MenuStart* s = FindMenuStart(id);
    if (s == nullptr)
        return;
    if (s->toggle && g_lastCommand == s->command) {
        SetCommand(0);
        return;
    }
    if (!s->toggle)
        g_lastCommand = s->command;
    if (s->command == kCmdOffset)
        Reset3DView();
    g_cmdSubFlag = 0;
    SetCommand(s->command);
}

void CZorvaView::OnUpdateMenuStart(CCmdUI* ui)
{
    const MenuStart* s = FindMenuStart(ui->m_nID);
    if (s == nullptr)
        return;
    ui->Enable(TRUE);
    if (s->toggle)
        ui->SetCheck(g_lastCommand == s->command ? 1 : 0);
}

void CZorvaView::OnEditCommand(UINT id)
{
    switch (id) {
    case ID_EDIT_COPY:
    case 65014:
        CopySelected();
        break;
    case ID_EDIT_CUT:
    case 65016:
        CutSelected();
        break;
    case ID_EDIT_PASTE:
    case 65015:
        PasteClipboard();
        break;
    case 32788:
    case 65012:
        UndoOrRedoByKey(false);
        break;
    case 32790:
    case 65013:
        UndoOrRedoByKey(true);
        break;
    default:
        break;
    }
}

void CZorvaView::OnUpdateEditCommand(CCmdUI* ui)
{
    switch (ui->m_nID) {
    case 32788:
    case 65012:
        ui->Enable(g_undoCount != 0);
        break;
    case 32790:
    case 65013:
        ui->Enable(g_redoCount != 0);
        break;
    default:
        ui->Enable(TRUE);
        break;
    }
}

// The main toolbar's file and view buttons.
void CZorvaView::OnPanelButton(UINT id)
{
    CZorvaDoc* doc = GetZorvaDoc();
    switch (id) {
    case 65008:
        g_drawingModified = 1;
        if (CWnd* main = AfxGetMainWnd())
            main->SendMessage(WM_COMMAND, ID_FILE_NEW, 0);
        break;
    case 65009:
        if (doc != nullptr)
            doc->OnFileOpen();
        break;
    case 65010:
        if (doc != nullptr)
            doc->OnFileSaveAs();
        break;
    case 65020:
    case 65021:
        ZoomAt(id == 65020 ? 0 : 1, m_mousePixel.x, m_mousePixel.y);
        break;
    case 65022:
        g_ViewOriginX = g_defaultOriginX;
        g_ViewOriginY = g_defaultOriginY;
        if (doc != nullptr)
            doc->FitViewToDrawing();
        UpdateViewCorners();
        RedrawNow();
        break;
    case 65024:
        FrameLink().Toggle3DView();
        break;
    default:
        break;
    }
}

void CZorvaView::OnUpdatePanelButton(CCmdUI* ui)
{
    ui->Enable(TRUE);
    if (ui->m_nID == 65024)
        ui->SetCheck(g_lastCommand == kCmdPathView3D ? 1 : 0);
}

// Divide from the popup: the first selected line, or arc or circle,
// becomes the entity to divide, and the count is asked at once.
void CZorvaView::OnPopupDivide()
{
    m_pPickedUnit = nullptr;
    CUnit* found = nullptr;
    if (g_pDoc != nullptr) {
        for (CUnit* u : g_pDoc->m_unitList) {
            if (u->deleted || u->role != kRoleDrawing || u->gearKind != 0)
                continue;
            const int type = u->GetType();
            if ((type == 1 && u->selected) || type == 7 || type == 8) {
                found = u;
                break;
            }
        }
    }
    g_lastCommand = kCmdBreak;
    SetCommandMode(1, kCmdBreak - 1);
    SetCommand(kCmdBreak);
    if (found != nullptr) {
        m_pPickedUnit = found;
        found->selected = 1;
        m_subStep = 1;
        ShowPrompt(CString(), 0);
    }
    RedrawNow();
}

// The popup at the cursor, its bottom at the given offset below it.
void CZorvaView::ShowRightButtonMenu(POINT cursor)
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_RIGHTBUTTON))
        return;
    CMenu* popup = menu.GetSubMenu(0);
    if (popup == nullptr)
        return;
    g_rightButtonState = 10;
    POINT at{cursor.x + kPopupOffsetX, cursor.y + kPopupOffsetY};
    ClientToScreen(&at);
    ::TrackPopupMenu(popup, TPM_BOTTOMALIGN | TPM_LEFTALIGN, at.x, at.y, this);
}
