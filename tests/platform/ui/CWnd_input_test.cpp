#include "platform/testing/ui_harness.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/screen.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <string>
#include <vector>

namespace {

struct Log {
    std::vector<std::string> lines;
    void Add(const std::string& s) { lines.push_back(s); }
};

std::string Pt(CPoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

class Child : public CWnd {
public:
    explicit Child(Log* log) : m_log(log) {}
    void OnLButtonDown(UINT f, CPoint p) override
    {
        m_log->Add("L down " + Pt(p) + " f" + std::to_string(f));
        if (destroyOnClick)
            DestroyWindow();
    }
    void OnLButtonUp(UINT f, CPoint p) override { m_log->Add("L up " + Pt(p) + " f" + std::to_string(f)); }
    void OnLButtonDblClk(UINT, CPoint p) override { m_log->Add("L dbl " + Pt(p)); }
    void OnRButtonDown(UINT f, CPoint p) override { m_log->Add("R down " + Pt(p) + " f" + std::to_string(f)); }
    void OnMButtonUp(UINT, CPoint p) override { m_log->Add("M up " + Pt(p)); }
    void OnMouseMove(UINT f, CPoint p) override { m_log->Add("move " + Pt(p) + " f" + std::to_string(f)); }
    BOOL OnSetCursor(CWnd*, UINT hit, UINT msg) override
    {
        m_log->Add("cursor " + std::to_string(hit) + " " + std::to_string(msg));
        SetCursor(nullptr);
        return TRUE;
    }
    void OnKeyDown(UINT vk, UINT, UINT) override
    {
        m_log->Add("key down " + std::to_string(vk) + ((GetKeyState(VK_CONTROL) & 0x8000) ? " ctrl" : ""));
    }
    void OnKeyUp(UINT vk, UINT, UINT) override
    {
        m_log->Add("key up " + std::to_string(vk) + ((GetKeyState(VK_CONTROL) & 0x8000) ? " ctrl" : ""));
    }
    void OnChar(UINT ch, UINT, UINT) override { m_log->Add("char " + std::to_string(ch)); }
    bool destroyOnClick = false;

private:
    Log* m_log;
};

class Parent : public CWnd {
public:
    explicit Parent(Log* log) : m_log(log) {}
    BOOL PreTranslateMessage(MSG* msg) override
    {
        CWnd* target = CWnd::FromHandle(msg->hwnd);
        m_log->Add("pre " + std::to_string(msg->message) + " to " + std::to_string(target ? target->GetDlgCtrlID() : 0)
                   + " w" + std::to_string(msg->wParam));
        return msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE;
    }
    BOOL OnMouseWheel(UINT, short delta, CPoint screen) override
    {
        m_log->Add("wheel " + std::to_string(delta) + " at " + Pt(screen));
        return TRUE;
    }

private:
    Log* m_log;
};

class WindowInput : public testing::Test {
protected:
    void SetUp() override
    {
        harness::InitGui();
        harness::ResetKeyboard();
        ASSERT_TRUE(parent.Create(nullptr, CString(u"输入"), WS_OVERLAPPED, RECT{0, 0, 200, 100}, nullptr, 10));
        ASSERT_TRUE(child.Create(nullptr, CString(), WS_CHILD | WS_VISIBLE, RECT{20, 10, 120, 60}, &parent, 11));
        parent.ShowWindow(SW_SHOW);
    }
    void TearDown() override { harness::PumpPosted(); }
    Log log;
    Parent parent{&log};
    Child child{&log};
};

TEST_F(WindowInput, MouseReachesHandlersInClientCoordinatesAfterPreTranslation)
{
    // A point of the parent inside the child lands in the child.
    harness::MouseDown(&parent, CPoint(25, 17));
    harness::MouseUp(&child, CPoint(5, 7));
    harness::MouseDown(&child, CPoint(1, 2), MK_RBUTTON, harness::kShift);
    harness::MouseUp(&child, CPoint(3, 4), MK_MBUTTON);
    const std::vector<std::string> want = {
        "pre 513 to 11 w1", "L down 5,7 f1",  "pre 514 to 11 w0", "L up 5,7 f0",
        "pre 516 to 11 w6", "R down 1,2 f6", "pre 520 to 11 w0", "M up 3,4",
    };
    EXPECT_EQ(log.lines, want);
}

TEST_F(WindowInput, DoubleClickAndMoveWithCursorQuestionFirst)
{
    harness::DoubleClick(&child, CPoint(8, 9));
    EXPECT_NE(std::find(log.lines.begin(), log.lines.end(), "L dbl 8,9"), log.lines.end());
    log.lines.clear();
    harness::MouseMove(&child, CPoint(30, 40), MK_LBUTTON);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"pre 512 to 11 w1", "cursor 1 512", "move 30,40 f1"}));
    EXPECT_EQ(GetCursor(), nullptr);
}

TEST_F(WindowInput, KeysGiveKeyDownCharAndKeyUpWithKeyState)
{
    harness::PressKey(&child, 'A');
    harness::KeyDown(&child, 'Z', harness::kCtrl);
    harness::KeyUp(&child, 'Z');
    const std::vector<std::string> want = {
        "pre 256 to 11 w65", "key down 65", "pre 258 to 11 w97", "char 97", "pre 257 to 11 w65", "key up 65",
        "pre 256 to 11 w90", "key down 90 ctrl", "pre 257 to 11 w90", "key up 90",
    };
    EXPECT_EQ(log.lines, want);
}

TEST_F(WindowInput, PreTranslationThatTakesAKeyStopsIt)
{
    harness::KeyDown(&child, VK_ESCAPE);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"pre 256 to 11 w27"}));
}

TEST_F(WindowInput, SystemKeysComeWithAlt)
{
    harness::KeyDown(&child, 'F', harness::kAlt);
    ASSERT_FALSE(log.lines.empty());
    EXPECT_EQ(log.lines.front(), "pre 260 to 11 w70");
}

TEST_F(WindowInput, WheelNotTakenByTheChildGoesToItsParentWithTheScreenPoint)
{
    CPoint screen(7, 8);
    child.ClientToScreen(&screen);
    harness::Wheel(&child, CPoint(7, 8), -120);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"wheel -120 at " + Pt(screen)}));
    CPoint cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor, screen);
}

TEST_F(WindowInput, WindowDestroyedInItsHandlerGetsNothingMore)
{
    child.destroyOnClick = true;
    harness::Click(&child, CPoint(5, 5));
    harness::PumpPosted();
    harness::Click(&parent, CPoint(25, 15));
    EXPECT_EQ(std::count(log.lines.begin(), log.lines.end(), "L down 5,5 f1"), 1);
    EXPECT_EQ(std::count_if(log.lines.begin(), log.lines.end(), [](const std::string& s) { return s.rfind("L up", 0) == 0; }), 0);
    EXPECT_EQ(child.m_hWnd, nullptr);
}

TEST_F(WindowInput, ChildLookupTextAndGeometry)
{
    EXPECT_EQ(parent.GetDlgItem(11), &child);
    EXPECT_EQ(parent.GetDlgItem(12), nullptr);
    EXPECT_EQ(child.GetParent(), &parent);
    CString title;
    parent.GetWindowText(title);
    EXPECT_EQ(title, CString(u"输入"));
    CRect rc;
    child.GetClientRect(&rc);
    EXPECT_EQ(rc, CRect(0, 0, 100, 50));
    child.MoveWindow(30, 20, 40, 30);
    CRect wr;
    child.GetWindowRect(&wr);
    parent.ScreenToClient(&wr);
    EXPECT_EQ(wr, CRect(30, 20, 70, 50));
    EXPECT_TRUE(child.IsWindowVisible());
    child.ShowWindow(SW_HIDE);
    EXPECT_FALSE(child.IsWindowVisible());
    EXPECT_EQ(child.EnableWindow(FALSE), FALSE);
    EXPECT_EQ(child.EnableWindow(TRUE), TRUE);
}

} // namespace

namespace {

TEST_F(WindowInput, KeysOfAnOwnedTopLevelWindowStayThere)
{
    // A floating panel or dialog owned by the parent: its keys are its own.
    Child panel(&log);
    ASSERT_TRUE(panel.Create(nullptr, CString(), WS_OVERLAPPED, RECT{0, 0, 50, 50}, &parent, 12));
    harness::KeyDown(&panel, 'B');
    EXPECT_EQ(log.lines, (std::vector<std::string>{"key down 66", "char 98"}));
}

} // namespace

namespace {

// Focus put on a control of another top-level window brings that window
// forward with it, so the keys typed next go there (a panel that took the
// focus for its edit left the keys in the main window before).
TEST_F(WindowInput, FocusOnAControlOfAnotherWindowActivatesThatWindow)
{
    Parent panel(&log);
    Child field(&log);
    ASSERT_TRUE(panel.Create(nullptr, CString(u"面板"), WS_OVERLAPPED, RECT{0, 0, 100, 60}, nullptr, 20));
    ASSERT_TRUE(field.Create(nullptr, CString(), WS_CHILD | WS_VISIBLE, RECT{5, 5, 60, 25}, &panel, 21));
    panel.ShowWindow(SW_SHOW);
    for (CWnd* target : {static_cast<CWnd*>(&child), static_cast<CWnd*>(&field), static_cast<CWnd*>(&child)}) {
        target->SetFocus();
        harness::PumpPosted();
        EXPECT_EQ(CWnd::GetFocus(), target) << target->GetDlgCtrlID();
    }
}

} // namespace

namespace {

// A popup of Qt's own that hangs from a window (a menu, a drop-down list)
// keeps its clicks and keys: before, the click that chose a popup menu's
// item also reached the view under it and dropped its selection.
TEST_F(WindowInput, ClicksAndKeysOfAPopupHangingFromAWindowAreNotThatWindows)
{
    QWidget popup(child.GetSafeHwnd(), Qt::Popup);
    popup.resize(40, 40);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&popup, &press);
    QApplication::sendEvent(&popup, &release);
    QApplication::sendEvent(&popup, &key);
    EXPECT_TRUE(log.lines.empty()) << log.lines.front();
}

} // namespace
