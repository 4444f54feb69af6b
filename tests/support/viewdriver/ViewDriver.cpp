#include "tests/support/viewdriver/ViewDriver.h"

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CUnit.h"
#include "geometry/DrawingSettings.h"
#include "geometry/GeometryState.h"
#include "geometry/view_transform.h"
#include "platform/testing/ui_harness.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CStatic.h"
#include "platform/ui/control_styles.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"

namespace {

// The stand-in command bar: a plain window that owns its controls.
class StandInBar : public CWnd {
public:
    bool Build()
    {
        if (!Create(nullptr, CString(u"命令栏"), WS_OVERLAPPED, RECT{0, 0, 900, 160}, nullptr, 0))
            return false;
        const DWORD child = WS_CHILD | WS_VISIBLE;
        return output.Create(child | LBS_NOINTEGRALHEIGHT, RECT{0, 0, 600, 100}, this, kIdOutputList)
            && prompt.Create(CString(), child | SS_LEFT, RECT{0, 100, 600, 118}, this, kIdPrompt)
            && edit.Create(child | ES_AUTOHSCROLL, RECT{0, 120, 300, 140}, this, kIdCommandEdit)
            && modes.Create(child | CBS_DROPDOWNLIST, RECT{310, 120, 500, 300}, this, kIdModeCombo)
            && coords.Create(CString(), child | SS_LEFT, RECT{610, 0, 890, 18}, this, kIdCoords)
            && fileName.Create(CString(), child | SS_LEFT, RECT{610, 20, 890, 38}, this, kIdFileName);
    }
    CListBox output;
    CStatic prompt;
    CEdit edit;
    CComboBox modes;
    CStatic coords;
    CStatic fileName;
};

} // namespace

ViewDriver::ViewDriver(int width, int height)
{
    harness::InitGui();
    harness::UseVirtualClock(true);
    harness::ResetKeyboard();
    harness::PumpPosted();
    ResetGeometryState();
    ResetAppState();
    ResetViewState();
    SetDefaultDrawingSettings();        // the factory colours, as at start-up
    auto bar = std::make_unique<StandInBar>();
    if (bar->Build())
        g_commandBar = bar.get();
    m_bar = std::move(bar);
    g_screenWidth = width;
    g_screenHeight = height + 260;      // the scale bar sits 40 pixels above the bottom
    g_undoStep = 1;
    doc = new CZorvaDoc;
    g_pDoc = doc;
    view = new CZorvaView;
    view->Create(nullptr, CString(u"视图"), WS_OVERLAPPED, RECT{0, 0, width, height}, nullptr, 0xE900);
    view->m_pDocument = doc;
    view->ShowWindow(SW_SHOW);
    harness::PumpPosted();
    view->OnInitialUpdate();
    Settle();
}

ViewDriver::~ViewDriver()
{
    Settle();
    view->DestroyWindow();
    delete view;
    delete doc;
    g_pDoc = nullptr;
    if (m_bar)
        m_bar->DestroyWindow();
    g_commandBar = nullptr;
    harness::PumpPosted();
}

void ViewDriver::SetView(double scale, int originX, int originY)
{
    g_ViewScale = scale;
    g_ViewOriginX = originX;
    g_ViewOriginY = originY;
    view->UpdateDashLengths();
    view->UpdateViewCorners();
    view->RedrawNow();
    Settle();
}

void ViewDriver::Settle()
{
    for (int i = 0; i < 20 && (harness::PendingTimers() > 0 || harness::PumpPosted() > 0); ++i)
        harness::AdvanceTime(5);
    harness::PumpPosted();
}

void ViewDriver::Start(int command)
{
    view->SetCommand(command);
    Settle();
}

void ViewDriver::SelectMode(int index)
{
    auto* combo = dynamic_cast<CComboBox*>(g_commandBar->GetDlgItem(kIdModeCombo));
    combo->SetCurSel(index);
    view->OnModeChanged();
    Settle();
}

void ViewDriver::SetCommandEdit(const CString& text)
{
    g_commandBar->SetDlgItemText(kIdCommandEdit, text);
}

void ViewDriver::Type(const CString& text)
{
    SetCommandEdit(text);
    PressKey(13);
}

CString ViewDriver::CommandEdit() const
{
    CString text;
    g_commandBar->GetDlgItemText(kIdCommandEdit, text);
    return text;
}

void ViewDriver::PressKey(int key)
{
    view->DispatchKey(key);
    Settle();
}

void ViewDriver::MoveToPixel(POINT pixel)
{
    Settle();
    harness::MouseMove(view, CPoint(pixel.x, pixel.y));
    m_lastPixel = pixel;
    Settle();
}

void ViewDriver::MoveTo(const x_Vector& world)
{
    MoveToPixel(Pixel(world));
}

void ViewDriver::ClickAtPixel(POINT pixel)
{
    MoveToPixel(pixel);
    harness::MouseDown(view, CPoint(pixel.x, pixel.y));
    harness::MouseUp(view, CPoint(pixel.x, pixel.y));
    Settle();
}

void ViewDriver::ClickAt(const x_Vector& world)
{
    ClickAtPixel(Pixel(world));
}

void ViewDriver::RightClick()
{
    harness::MouseDown(view, CPoint(m_lastPixel.x, m_lastPixel.y), MK_RBUTTON);
    harness::MouseUp(view, CPoint(m_lastPixel.x, m_lastPixel.y), MK_RBUTTON);
    Settle();
}

void ViewDriver::DragWindow(const x_Vector& from, const x_Vector& to)
{
    const POINT a = Pixel(from), b = Pixel(to);
    MoveToPixel(a);
    harness::MouseDown(view, CPoint(a.x, a.y));
    Settle();
    harness::MouseMove(view, CPoint(b.x, b.y), MK_LBUTTON);
    Settle();
    harness::MouseUp(view, CPoint(b.x, b.y));
    m_lastPixel = b;
    Settle();
}

void ViewDriver::MiddleDrag(POINT from, POINT to)
{
    MoveToPixel(from);
    harness::MouseDown(view, CPoint(from.x, from.y), MK_MBUTTON);
    harness::MouseMove(view, CPoint(to.x, to.y), MK_MBUTTON);
    Settle();
    harness::MouseUp(view, CPoint(to.x, to.y), MK_MBUTTON);
    m_lastPixel = to;
    Settle();
}

void ViewDriver::ZoomAt(int direction, POINT pixel)
{
    view->ZoomAt(direction, pixel.x, pixel.y);
    Settle();
}

std::vector<CString> ViewDriver::Output() const
{
    std::vector<CString> lines;
    auto* list = dynamic_cast<CListBox*>(g_commandBar->GetDlgItem(kIdOutputList));
    for (int i = 0; list != nullptr && i < list->GetCount(); ++i) {
        CString text;
        list->GetText(i, text);
        lines.push_back(text);
    }
    return lines;
}

CString ViewDriver::Prompt() const
{
    CString text;
    g_commandBar->GetDlgItemText(kIdPrompt, text);
    return text;
}

CString ViewDriver::Coordinates() const
{
    CString text;
    g_commandBar->GetDlgItemText(kIdCoords, text);
    return text;
}

std::vector<CUnit*> ViewDriver::LiveEntities() const
{
    std::vector<CUnit*> live;
    for (CUnit* u : doc->m_unitList)
        if (!u->deleted)
            live.push_back(u);
    return live;
}

int ViewDriver::Command() const { return g_curCommand; }
int ViewDriver::Step() const { return g_cmdStep; }
int ViewDriver::PointCount() const { return g_cmdPointCount; }

POINT ViewDriver::Pixel(const x_Vector& world) const
{
    return WorldToScreen(world);
}

bool ViewDriver::Snapshot(const CString& path)
{
    Settle();
    return harness::SnapshotPng(view, path);
}
