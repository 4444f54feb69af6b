#include "platform/core/CArchive.h"
#include "platform/core/CFile.h"
#include "platform/gdi/CBrush.h"
#include "platform/testing/ui_harness.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialogBar.h"
#include "platform/ui/CDocTemplate.h"
#include "platform/ui/CDocument.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CScrollView.h"
#include "platform/ui/CStatusBar.h"
#include "platform/ui/CToolBar.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/afx_ids.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/resources.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QToolButton>

#include <cstdlib>
#include <map>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr UINT kResource = 300;
constexpr UINT kBarTemplate = 400;
constexpr UINT ID_ORTHO = 33001;    // check state from the view's update handler
constexpr UINT ID_ZOOM = 33002;     // handled by the view
constexpr UINT ID_DOC_CMD = 33003;  // handled by the document
constexpr UINT ID_NO_HANDLER = 33004;
constexpr UINT ID_APP_CMD = 33005;  // handled by the application
constexpr UINT IDC_SNAP = 1014;
constexpr UINT IDC_LINESTYLE = 1281;

std::vector<std::string> g_log;

class TestDoc : public CDocument {
    DECLARE_DYNCREATE(TestDoc)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsLoading())
            ar >> text;
        else
            ar << text;
    }
    void OnDocCmd() { g_log.push_back("doc cmd"); }
    CString text;
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestDoc, CDocument)
BEGIN_MESSAGE_MAP(TestDoc, CDocument)
    ON_COMMAND(ID_DOC_CMD, OnDocCmd)
END_MESSAGE_MAP()

class TestView : public CScrollView {
    DECLARE_DYNCREATE(TestView)
public:
    void OnInitialUpdate() override
    {
        SetScrollSizes(MM_TEXT, CSize(100, 100));
        GetClientRect(&initialClient);
        g_log.push_back("initial update");
    }
    void OnDraw(CDC* dc) override
    {
        CRect rc;
        GetClientRect(&rc);
        dc->FillSolidRect(&rc, RGB(0, 0, 0));
        dc->FillSolidRect(CRect(10, 10, 60, 40), RGB(255, 0, 0));
    }
    void OnOrtho() { ortho = !ortho; }
    void OnUpdateOrtho(CCmdUI* ui) { ui->SetCheck(ortho ? 1 : 0); }
    void OnZoom() { g_log.push_back("zoom"); }
    void OnKeyDown(UINT vk, UINT, UINT) override { g_log.push_back("view key " + std::to_string(vk)); }
    bool ortho = false;
    CRect initialClient;
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestView, CScrollView)
BEGIN_MESSAGE_MAP(TestView, CScrollView)
    ON_COMMAND(ID_ORTHO, OnOrtho)
    ON_UPDATE_COMMAND_UI(ID_ORTHO, OnUpdateOrtho)
    ON_COMMAND(ID_ZOOM, OnZoom)
END_MESSAGE_MAP()

class TestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(TestFrame)
public:
    int OnCreate(LPCREATESTRUCT cs) override
    {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        if (!toolBar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER)
            || !toolBar.LoadToolBar(kResource))
            return -1;
        // The last button becomes a wide separator that hosts the combo.
        const int last = toolBar.GetCount() - 1;
        toolBar.SetButtonInfo(last, IDC_LINESTYLE, TBBS_SEPARATOR, 300);
        CRect rc;
        toolBar.GetItemRect(last, &rc);
        rc.left += 20;
        rc.right = rc.left + 150;
        rc.bottom += 200;
        if (!combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, rc, &toolBar, IDC_LINESTYLE))
            return -1;
        combo.AddString(CString(u"—————————"));
        combo.AddString(CString(u"－·－·－·－"));
        combo.SetCurSel(0);
        const UINT panes[] = {ID_SEPARATOR, ID_INDICATOR_CAPS};
        if (!statusBar.Create(this) || !statusBar.SetIndicators(panes, 2))
            return -1;
        if (!commandBar.Create(this, kBarTemplate, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, kBarTemplate))
            return -1;
        return 0;
    }
    void OnSnap() { g_log.push_back("snap clicked"); }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYUP) {
            CWnd* to = CWnd::FromHandle(msg->hwnd);
            g_log.push_back("frame key up " + std::to_string(msg->wParam) + " to "
                            + std::to_string(to != nullptr ? to->GetDlgCtrlID() : 0));
        }
        return CFrameWnd::PreTranslateMessage(msg);
    }
    BOOL OnMouseWheel(UINT, short delta, CPoint screen) override
    {
        CPoint client = screen;
        GetActiveView()->ScreenToClient(&client);
        g_log.push_back("frame wheel " + std::to_string(delta) + " at " + std::to_string(client.x) + ","
                        + std::to_string(client.y));
        return TRUE;
    }
    CToolBar toolBar;
    CComboBox combo;
    CStatusBar statusBar;
    CDialogBar commandBar;
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
    ON_BN_CLICKED(IDC_SNAP, OnSnap)
END_MESSAGE_MAP()

class TestApp : public CWinApp {
public:
    void OnAppCmd() { g_log.push_back("app cmd"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestApp, CWinApp)
    ON_COMMAND(ID_APP_CMD, OnAppCmd)
    ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
END_MESSAGE_MAP()

void RegisterResources()
{
    RegisterMenuResource(kResource, {
        menu::Popup(u"文件(&F)", {menu::Item(u"新建(&N)\tCtrl+N", ID_FILE_NEW), menu::Separator(),
                                  menu::Item(u"退出(&X)", ID_APP_EXIT)}),
        menu::Popup(u"绘制(&W)", {menu::Popup(u"基本曲线(&B)", {menu::Item(u"直线(&L)", ID_ORTHO)}),
                                  menu::Item(u"无处理(&Q)", ID_NO_HANDLER)}),
    });
    RegisterAcceleratorResource(kResource, {{FVIRTKEY | FCONTROL, 'K', ID_ZOOM}});
    // Icon ids of no picture: each button gets a placeholder picture.
    RegisterToolBarResource(kResource, {{ID_ORTHO, ID_SEPARATOR, ID_ZOOM, ID_NO_HANDLER, ID_SEPARATOR},
                                        {u"正交", u"", u"缩放", u"无"}, 16, 15, {1, 0, 1, 1, 0}});
    RegisterResourceString(kResource, u"Zorva图形编程工具\n\nZorva\n");
    RegisterResourceString(ID_ZOOM, u"放大视图\n缩放");
    DlgTemplate bar;
    bar.id = kBarTemplate;
    bar.style = WS_CHILD;
    bar.cx = 300;
    bar.cy = 30;
    bar.items = {dlg::LText(1010, u"命令：请输入第一个点", 4, 4, 120, 10),
                 dlg::AutoCheckBox(IDC_SNAP, u"捕捉", 130, 4, 40, 10),
                 dlg::EditText(1025, 180, 2, 100, 12)};
    RegisterDialogTemplate(bar);
}

class Frame : public testing::Test {
protected:
    void SetUp() override
    {
        harness::InitGui();
        harness::ResetKeyboard();
        RegisterResources();
        g_log.clear();
    }
    void TearDown() override { harness::PumpPosted(); }

    // A document file holding text, as the test document writes it.
    static CString WriteDocFile(const CString& name, const CString& text)
    {
        const CString path = harness::TempPath(name);
        CFile f;
        EXPECT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite));
        CArchive ar(&f, CArchive::store);
        CString copy = text;
        ar << copy;
        ar.Close();
        f.Close();
        return path;
    }
};

TEST_F(Frame, CommandLineFileOpensThroughTheTemplateWithDocFrameAndView)
{
    const CString path = WriteDocFile(u"图纸.dat", u"内容");
    TestApp app;
    app.m_args = {CString(u"-x"), path};
    app.AddDocTemplate(new CSingleDocTemplate(kResource, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(TestFrame),
                                              RUNTIME_CLASS(TestView)));
    CCommandLineInfo info;
    app.ParseCommandLine(info);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    ASSERT_TRUE(app.ProcessShellCommand(info));

    auto* frame = dynamic_cast<TestFrame*>(AfxGetMainWnd());
    ASSERT_NE(frame, nullptr);
    auto* view = dynamic_cast<TestView*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    auto* doc = dynamic_cast<TestDoc*>(view->GetDocument());
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->text, CString(u"内容"));
    EXPECT_EQ(doc->GetTitle(), CString(u"图纸.dat"));
    EXPECT_EQ(g_log, (std::vector<std::string>{"initial update"}));
    // The view had its place in the frame (minus menu, bars) before showing.
    CRect frameRect;
    frame->GetClientRect(&frameRect);
    EXPECT_EQ(view->initialClient.Width(), frameRect.Width());
    EXPECT_GT(view->initialClient.Height(), frameRect.Height() / 2);
    EXPECT_LT(view->initialClient.Height(), frameRect.Height() - 40);
    CString caption;
    frame->GetWindowText(caption);
    EXPECT_EQ(caption, CString(u"Zorva图形编程工具 - 图纸.dat"));

    // Commands go to the view, then the document, then the frame, then the application.
    frame->SendMessage(WM_COMMAND, ID_DOC_CMD);
    frame->SendMessage(WM_COMMAND, ID_APP_CMD);
    frame->SendMessage(WM_COMMAND, ID_ZOOM);
    EXPECT_EQ(g_log, (std::vector<std::string>{"initial update", "doc cmd", "app cmd", "zoom"}));

    // The new-document command runs the initial update again on the same view.
    frame->SendMessage(WM_COMMAND, ID_FILE_NEW);
    EXPECT_EQ(frame->GetActiveView(), view);
    EXPECT_EQ(doc->GetTitle(), CString(u"无标题"));
    EXPECT_EQ(g_log.back(), "initial update");
}

TEST_F(Frame, MissingFileFailsTheShellCommand)
{
    TestApp app;
    app.m_args = {harness::TempPath(u"none.dat")};
    app.AddDocTemplate(new CSingleDocTemplate(kResource, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(TestFrame),
                                              RUNTIME_CLASS(TestView)));
    CCommandLineInfo info;
    app.ParseCommandLine(info);
    EXPECT_FALSE(app.ProcessShellCommand(info));
}

class FrameWindow : public Frame {
protected:
    void SetUp() override
    {
        Frame::SetUp();
        app.AddDocTemplate(tmpl = new CSingleDocTemplate(kResource, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(TestFrame),
                                                         RUNTIME_CLASS(TestView)));
        app.OnFileNew();
        frame = dynamic_cast<TestFrame*>(AfxGetMainWnd());
        ASSERT_NE(frame, nullptr);
        view = dynamic_cast<TestView*>(frame->GetActiveView());
        ASSERT_NE(view, nullptr);
        frame->MoveWindow(0, 0, 760, 420);
        frame->ShowWindow(SW_SHOW);
        harness::PumpPosted();
        g_log.clear();
    }
    TestApp app;
    CSingleDocTemplate* tmpl = nullptr;
    TestFrame* frame = nullptr;
    TestView* view = nullptr;
};

TEST_F(FrameWindow, ToolbarCheckFollowsTheUpdateHandler)
{
    CToolBarCtrl& ctrl = frame->toolBar.GetToolBarCtrl();
    harness::RunIdle(frame);
    EXPECT_FALSE(ctrl.IsButtonChecked(ID_ORTHO));
    view->ortho = true;
    EXPECT_FALSE(ctrl.IsButtonChecked(ID_ORTHO)); // shown state changes at the next idle
    harness::RunIdle(frame);
    EXPECT_TRUE(ctrl.IsButtonChecked(ID_ORTHO));
    // A click runs the view's command; the handler then unchecks it.
    frame->toolBar.PressButton(frame->toolBar.CommandToIndex(ID_ORTHO));
    EXPECT_FALSE(view->ortho);
    harness::RunIdle(frame);
    EXPECT_FALSE(ctrl.IsButtonChecked(ID_ORTHO));
    // Commands nobody handles are disabled; handled ones stay enabled.
    EXPECT_FALSE(ctrl.IsButtonEnabled(ID_NO_HANDLER));
    EXPECT_TRUE(ctrl.IsButtonEnabled(ID_ZOOM));
    EXPECT_EQ(frame->toolBar.GetButtonText(frame->toolBar.CommandToIndex(ID_ZOOM)), CString(u"缩放"));
}

// The idle update asks every button for its state ten times a second; a
// button repaints only when its state changes. Setting its face again (a
// new icon) repainted every toolbar each time.
TEST_F(FrameWindow, IdleUpdatesRepaintOnlyButtonsThatChange)
{
    class PaintCounter : public QObject {
    public:
        std::map<QObject*, int> paints;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                ++paints[watched];
            return false;
        }
    } counter;
    auto* bar = static_cast<QWidget*>(frame->toolBar.GetSafeHwnd());
    int buttons = 0;
    for (QToolButton* b : bar->findChildren<QToolButton*>()) {
        if (b->property("zorvaToolItem").toBool()) {      // not Qt's extension button
            b->installEventFilter(&counter);
            ++buttons;
        }
    }
    ASSERT_EQ(buttons, 3);
    for (int i = 0; i < 5; ++i) {
        harness::RunIdle(frame);
        QCoreApplication::processEvents();
    }
    counter.paints.clear();
    for (int i = 0; i < 5; ++i) {
        harness::RunIdle(frame);
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(counter.paints.empty());
    view->ortho = true;                         // one button's check changes
    harness::RunIdle(frame);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints.size(), 1u);
    EXPECT_EQ(counter.paints.count(bar->findChild<QToolButton*>(QString::number(ID_ORTHO))), 1u);
}

TEST_F(FrameWindow, PointingAtAToolbarButtonShowsItsPrompt)
{
    CRect rc;
    frame->toolBar.GetItemRect(frame->toolBar.CommandToIndex(ID_ZOOM), &rc);
    harness::MouseMove(&frame->toolBar, rc.CenterPoint());
    EXPECT_EQ(frame->GetMessageBar()->GetPaneText(0), CString(u"放大视图"));
    harness::MouseLeave();
    EXPECT_EQ(frame->GetMessageBar()->GetPaneText(0), CString());
}

TEST_F(FrameWindow, MenuItemsTakeTheirStateFromUpdateHandlers)
{
    CMenu* bar = frame->GetMenu();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetMenuItemCount(), 2);
    CString text;
    bar->GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, CString(u"文件(&F)"));
    bar->GetSubMenu(0)->GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, CString(u"新建(&N)\tCtrl+N"));
    EXPECT_EQ(bar->GetSubMenu(0)->GetMenuItemID(1), 0u); // separator

    CMenu* curves = bar->GetSubMenu(1)->GetSubMenu(0);
    view->ortho = true;
    frame->UpdateMenuCmdUI(curves);
    EXPECT_EQ(curves->GetMenuState(ID_ORTHO, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    frame->UpdateMenuCmdUI(bar->GetSubMenu(1));
    EXPECT_EQ(bar->GetMenuState(ID_NO_HANDLER, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);

    // Chosen through the Qt menus: a handled item runs, an unhandled one is grey.
    EXPECT_TRUE(harness::ChooseMenuItem(frame, ID_ORTHO));
    EXPECT_FALSE(view->ortho);
    EXPECT_FALSE(harness::ChooseMenuItem(frame, ID_NO_HANDLER));
}

TEST_F(FrameWindow, AcceleratorTurnsAKeyPressIntoACommand)
{
    harness::KeyDown(view, 'K', harness::kCtrl);
    harness::KeyUp(view, 'K', harness::kCtrl);
    harness::KeyDown(view, 'K');
    // The press became the command; the release passes, a plain K reaches the view.
    EXPECT_EQ(g_log, (std::vector<std::string>{"zoom", "frame key up 75 to 59648", "view key 75"}));
    EXPECT_EQ(frame->GetMessageBar()->GetPaneText(0), CString());
}

TEST_F(FrameWindow, DialogBarControlsNotifyTheFrame)
{
    CWnd* snap = frame->commandBar.GetDlgItem(IDC_SNAP);
    ASSERT_NE(snap, nullptr);
    EXPECT_EQ(frame->GetDlgItem(IDC_SNAP), snap);
    harness::Click(snap, CPoint(3, 3));
    EXPECT_EQ(g_log, (std::vector<std::string>{"snap clicked"}));
    frame->commandBar.SetDlgItemText(1025, u"l");
    CString typed;
    frame->commandBar.GetDlgItemText(1025, typed);
    EXPECT_EQ(typed, CString(u"l"));
}

TEST_F(FrameWindow, KeysOfTheViewAndTheCommandBarReachTheFrameAddressedToTheirWindow)
{
    harness::KeyUp(view, VK_LEFT);
    harness::KeyUp(frame->commandBar.GetDlgItem(1025), VK_LEFT);
    EXPECT_EQ(g_log, (std::vector<std::string>{"frame key up 37 to 59648", "frame key up 37 to 1025"}));
}

TEST_F(FrameWindow, WheelOverTheViewZoomsInTheFrame)
{
    harness::Wheel(view, CPoint(40, 30), 120);
    EXPECT_EQ(g_log, (std::vector<std::string>{"frame wheel 120 at 40,30"}));
}

TEST_F(FrameWindow, ViewPaintsIntoItsFrontImage)
{
    view->UpdateWindow();
    CClientDC dc(view);
    EXPECT_EQ(dc.GetPixel(20, 20), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(5, 5), RGB(0, 0, 0));
}

TEST_F(FrameWindow, StatusPanesAndTheCapsIndicator)
{
    CStatusBar& sb = frame->statusBar;
    EXPECT_EQ(sb.GetCount(), 2);
    EXPECT_EQ(sb.CommandToIndex(ID_INDICATOR_CAPS), 1);
    sb.SetPaneText(0, u"就绪");
    EXPECT_EQ(sb.GetPaneText(0), CString(u"就绪"));
    harness::RunIdle(frame);
    EXPECT_EQ(sb.GetPaneText(1), CString());
    harness::PressKey(view, VK_CAPITAL);
    harness::RunIdle(frame);
    EXPECT_EQ(sb.GetPaneText(1), CString(u"CAP"));
    harness::PressKey(view, VK_CAPITAL);
    harness::RunIdle(frame);
    EXPECT_EQ(sb.GetPaneText(1), CString());
}

TEST_F(Frame, StatusBarOfADialogSitsAtTheBottomOfItsClientArea)
{
    CWnd owner;
    ASSERT_TRUE(owner.Create(nullptr, CString(u"对话"), WS_OVERLAPPED, RECT{0, 0, 300, 200}, nullptr, 0));
    CStatusBar sb;
    ASSERT_TRUE(sb.Create(&owner));
    const UINT panes[] = {ID_SEPARATOR, ID_SEPARATOR};
    ASSERT_TRUE(sb.SetIndicators(panes, 2));
    owner.RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, 0);
    CRect rc;
    sb.GetWindowRect(&rc);
    owner.ScreenToClient(&rc);
    EXPECT_EQ(rc.bottom, 200);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.right, 300);
    EXPECT_GT(rc.Height(), 0);
}

TEST_F(FrameWindow, SnapshotShowsMenuToolbarStatusAndCommandBar)
{
    view->ortho = true;
    harness::RunIdle(frame);
    frame->statusBar.SetPaneText(0, u"就绪：坐标 12.5000 , 30.0000");
    const CString path = harness::TempPath(u"frame.png");
    ASSERT_TRUE(harness::SnapshotPng(frame, path));
    const std::filesystem::path file(path.ToUtf8());
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_GT(std::filesystem::file_size(file), 2000u);
    if (const char* keep = std::getenv("ZORVA_KEEP_SNAPSHOTS"))
        std::filesystem::copy_file(file, std::filesystem::path(keep) / "frame.png",
                                   std::filesystem::copy_options::overwrite_existing);
}

} // namespace
