#include "platform/ui/CFrameWnd.h"

#include "platform/ui/CCmdUI.h"
#include "platform/ui/CControlBar.h"
#include "platform/ui/CCreateContext.h"
#include "platform/ui/CDocument.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CStatusBar.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/afx_ids.h"
#include "platform/ui/menu_qt.h"
#include "platform/ui/ui_runtime.h"

#include <QApplication>
#include <QDockWidget>
#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

IMPLEMENT_DYNAMIC(CFrameWnd, CWnd)

namespace {

// A menu item asked for its state by an update handler.
class CMenuCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override
    {
        CCmdUI::Enable(on);
        m_pMenu->EnableMenuItem(m_nID, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    }
    void SetCheck(int check) override
    {
        CCmdUI::SetCheck(check);
        m_pMenu->CheckMenuItem(m_nID, MF_BYCOMMAND | (check != 0 ? MF_CHECKED : MF_UNCHECKED));
    }
    void SetText(const CString& text) override
    {
        if (CMenu::Item* item = m_pMenu->FindItem(m_nID, MF_BYCOMMAND))
            item->text = text;
    }
};

Qt::ToolBarArea ToolBarArea(DWORD style)
{
    if (style & CBRS_ALIGN_LEFT)
        return Qt::LeftToolBarArea;
    if (style & CBRS_ALIGN_RIGHT)
        return Qt::RightToolBarArea;
    if (style & CBRS_ALIGN_BOTTOM)
        return Qt::BottomToolBarArea;
    return Qt::TopToolBarArea;
}

Qt::DockWidgetArea DockArea(DWORD style)
{
    if (style & CBRS_ALIGN_LEFT)
        return Qt::LeftDockWidgetArea;
    if (style & CBRS_ALIGN_RIGHT)
        return Qt::RightDockWidgetArea;
    if (style & CBRS_ALIGN_BOTTOM)
        return Qt::BottomDockWidgetArea;
    return Qt::TopDockWidgetArea;
}

DWORD StyleOfDockBar(UINT dockBarId)
{
    switch (dockBarId) {
    case AFX_IDW_DOCKBAR_LEFT: return CBRS_ALIGN_LEFT;
    case AFX_IDW_DOCKBAR_RIGHT: return CBRS_ALIGN_RIGHT;
    case AFX_IDW_DOCKBAR_BOTTOM: return CBRS_ALIGN_BOTTOM;
    case AFX_IDW_DOCKBAR_TOP: return CBRS_ALIGN_TOP;
    default: return 0;
    }
}

// First part of a command's resource string: its prompt.
CString PromptOf(UINT id)
{
    CString s = LoadResourceString(id);
    const int nl = s.Find(u'\n');
    return nl >= 0 ? s.Left(nl) : s;
}

} // namespace

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd()
{
    m_bAutoDelete = false; // already being deleted
    if (m_hWnd != nullptr)
        DestroyWindow();
    for (CView* v : m_ownedViews)
        delete v;
}

HWND CFrameWnd::CreateWidget(const CREATESTRUCT& cs, CWnd* parent)
{
    auto* w = new QMainWindow(parent != nullptr ? parent->m_hWnd : nullptr);
    w->setDockOptions(QMainWindow::AnimatedDocks);
    if (cs.cx <= 0 || cs.cy <= 0)
        w->resize(800, 600);
    return w;
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    m_nIDHelp = resourceId;
    auto menu = std::make_unique<CMenu>();
    if (menu->LoadMenu(resourceId))
        m_loadedMenu = std::move(menu);
    m_accel = FindAcceleratorResource(resourceId);
    if (m_strTitle.IsEmpty()) {
        // The window title is the first part of the resource string.
        m_strTitle = LoadResourceString(resourceId);
        if (const int nl = m_strTitle.Find(u'\n'); nl >= 0)
            m_strTitle = m_strTitle.Left(nl);
    }
    const RECT none{};
    if (!Create(nullptr, m_strTitle, style, none, parent, 0, context))
        return FALSE;
    if (m_loadedMenu != nullptr)
        SetMenu(m_loadedMenu.get());
    OnUpdateFrameTitle(TRUE);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs)
{
    auto* context = static_cast<CCreateContext*>(cs->lpCreateParams);
    return OnCreateClient(cs, context) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* context)
{
    auto* main = static_cast<QMainWindow*>(m_hWnd);
    if (context == nullptr || context->m_pNewViewClass == nullptr) {
        main->setCentralWidget(new QWidget);
        return TRUE;
    }
    return CreateView(context, AFX_IDW_PANE_FIRST) != nullptr;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT nID)
{
    CObject* object = context->m_pNewViewClass->CreateObject();
    auto* view = dynamic_cast<CView*>(object);
    if (view == nullptr) {
        delete object;
        return nullptr;
    }
    context->m_pCurrentFrame = this;
    const RECT none{};
    if (!view->Create(nullptr, CString(), WS_CHILD | WS_VISIBLE, none, this, nID, context)) {
        delete view;
        return nullptr;
    }
    static_cast<QMainWindow*>(m_hWnd)->setCentralWidget(view->m_hWnd);
    m_ownedViews.push_back(view);
    if (m_pActiveView == nullptr)
        m_pActiveView = view;
    return view;
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pActiveView != nullptr ? m_pActiveView->GetDocument() : nullptr;
}

BOOL CFrameWnd::SetMenu(CMenu* menu)
{
    m_pMenu = menu;
    DrawMenuBar();
    return TRUE;
}

void CFrameWnd::DrawMenuBar()
{
    auto* main = static_cast<QMainWindow*>(m_hWnd);
    if (main == nullptr)
        return;
    if (m_pMenu == nullptr) {
        main->menuBar()->clear();
        main->menuBar()->hide();
        return;
    }
    std::shared_ptr<WndLife> life = GetLife();
    MenuSink sink;
    sink.command = [life](UINT id) {
        if (CWnd* w = life->wnd)
            w->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    };
    sink.hover = [life](UINT id) {
        if (auto* f = dynamic_cast<CFrameWnd*>(life->wnd))
            f->SetMessageText(PromptOf(id != 0 ? id : AFX_IDS_IDLEMESSAGE));
    };
    sink.opening = [life](CMenu* menu) {
        if (auto* f = dynamic_cast<CFrameWnd*>(life->wnd))
            f->UpdateMenuCmdUI(menu);
    };
    FillQMenuBar(main->menuBar(), m_pMenu, sink);
    main->menuBar()->show();
}

void CFrameWnd::UpdateMenuCmdUI(CMenu* menu)
{
    if (menu == nullptr)
        return;
    for (int i = 0; i < menu->GetMenuItemCount(); ++i) {
        const CMenu::Item& item = menu->Items()[size_t(i)];
        if (item.separator || item.popup != nullptr)
            continue;
        CMenuCmdUI ui;
        ui.m_nID = item.id;
        ui.m_nIndex = UINT(i);
        ui.m_pMenu = menu;
        ui.DoUpdate(this, m_bAutoMenuEnable ? TRUE : FALSE);
    }
}

void CFrameWnd::AddControlBar(CControlBar* bar)
{
    if (std::find(m_bars.begin(), m_bars.end(), bar) == m_bars.end())
        m_bars.push_back(bar);
    auto* main = static_cast<QMainWindow*>(m_hWnd);
    QWidget* w = bar->m_hWnd;
    if (main == nullptr || w == nullptr)
        return;
    if (auto* tb = qobject_cast<QToolBar*>(w)) {
        main->addToolBar(ToolBarArea(bar->GetBarStyle()), tb);
    } else if (auto* sb = qobject_cast<QStatusBar*>(w)) {
        main->setStatusBar(sb);
    } else {
        auto* dock = qobject_cast<QDockWidget*>(w->parentWidget());
        if (dock == nullptr) {
            dock = new QDockWidget(main);
            dock->setTitleBarWidget(new QWidget(dock));
            dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
            dock->setWidget(w);
        }
        main->addDockWidget(DockArea(bar->GetBarStyle()), dock);
        dock->setVisible(!w->isHidden());
    }
}

void CFrameWnd::RemoveControlBar(CControlBar* bar)
{
    m_bars.erase(std::remove(m_bars.begin(), m_bars.end(), bar), m_bars.end());
}

void CFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId, LPCRECT)
{
    if (bar == nullptr)
        return;
    if (const DWORD side = StyleOfDockBar(dockBarId); side != 0)
        bar->SetBarStyle((bar->GetBarStyle() & ~CBRS_ALIGN_ANY) | side);
    AddControlBar(bar);
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL)
{
    if (bar == nullptr || bar->m_hWnd == nullptr)
        return;
    bar->ShowWindow(show ? SW_SHOW : SW_HIDE);
    if (auto* dock = qobject_cast<QDockWidget*>(bar->m_hWnd->parentWidget()))
        dock->setVisible(show != FALSE);
}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_hWnd != nullptr)
        m_hWnd->updateGeometry();
}

CStatusBar* CFrameWnd::GetMessageBar() const
{
    for (CControlBar* bar : m_bars) {
        if (auto* sb = dynamic_cast<CStatusBar*>(bar))
            return sb;
    }
    return nullptr;
}

void CFrameWnd::SetMessageText(const CString& text)
{
    if (CStatusBar* sb = GetMessageBar())
        sb->SetPaneText(0, text);
}

void CFrameWnd::SetMessageText(UINT id)
{
    SetMessageText(PromptOf(id));
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    if (m_hWnd == nullptr)
        return;
    CString title = m_strTitle;
    CDocument* doc = GetActiveDocument();
    if (addToTitle && (m_style & FWS_ADDTOTITLE) != 0 && doc != nullptr) {
        if ((m_style & FWS_PREFIXTITLE) != 0)
            title = doc->GetTitle() + u" - " + m_strTitle;
        else
            title = m_strTitle + u" - " + doc->GetTitle();
    }
    m_hWnd->setWindowTitle(uirt::ToQ(title));
}

// The views get their size before their initial update, as they would in
// a frame already on screen (maximised when the style says so).
void CFrameWnd::LayOutHidden()
{
    if (m_hWnd == nullptr || m_hWnd->isVisible())
        return;
    if ((m_style & WS_MAXIMIZE) != 0) {
        if (QScreen* screen = QGuiApplication::primaryScreen())
            m_hWnd->setGeometry(screen->availableGeometry());
    }
    if (QLayout* layout = m_hWnd->layout())
        layout->activate();
    for (CView* v : m_ownedViews)
        v->ResizeFrontImage();
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible)
{
    LayOutHidden();
    if (doc != nullptr) {
        for (CView* v : std::vector<CView*>(doc->Views())) {
            if (v->GetParentFrame() == this)
                v->OnInitialUpdate();
        }
    }
    OnUpdateFrameTitle(TRUE);
    if (makeVisible)
        ActivateFrame();
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1)
        nCmdShow = (m_style & WS_MAXIMIZE) != 0 ? SW_SHOWMAXIMIZED : SW_SHOW;
    ShowWindow(nCmdShow);
    BringWindowToTop();
}

void CFrameWnd::UpdateCommandUI()
{
    for (CControlBar* bar : std::vector<CControlBar*>(m_bars))
        bar->OnUpdateCmdUI(this, TRUE);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (m_pActiveView != nullptr && m_pActiveView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// Menu items and accelerators carry no control: they are plain commands.
BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int code = lParam == 0 ? CN_COMMAND : int(HIWORD(wParam));
    const BOOL handled = OnCmdMsg(LOWORD(wParam), code, nullptr, nullptr);
    if (lParam == 0)
        SetMessageText(LoadResourceString(AFX_IDS_IDLEMESSAGE));
    return handled;
}

UINT CFrameWnd::FindAccelerator(UINT vk) const
{
    if (m_accel == nullptr)
        return 0;
    const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
    for (const ACCEL& a : *m_accel) {
        if (a.key != vk)
            continue;
        if (((a.fVirt & FCONTROL) != 0) == ctrl && ((a.fVirt & FSHIFT) != 0) == shift && ((a.fVirt & FALT) != 0) == alt)
            return a.cmd;
    }
    return 0;
}

// Key presses matching the accelerator table become commands.
BOOL CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)
        return FALSE;
    const UINT cmd = FindAccelerator(UINT(msg->wParam));
    if (cmd == 0)
        return FALSE;
    SendMessage(WM_COMMAND, MAKEWPARAM(cmd, 1), 0);
    return TRUE;
}

void CFrameWnd::OnClose()
{
    if (CDocument* doc = GetActiveDocument(); doc != nullptr && !doc->SaveModified())
        return;
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        QCoreApplication::exit(0);
    }
}

void CFrameWnd::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}
