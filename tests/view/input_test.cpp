// Keys and clicks as a user gives them through the main frame: the keys
// typed after a click in the view reach the command line, and Ctrl keys
// count as long as Ctrl was held when the letter went down.

#include "program_fixture.h"

TEST_F(ProgramTest, KeysTypedAfterAClickInTheViewReachTheCommandLine)
{
    Start();
    const struct { const char* name; const char16_t* command; } kCases[] = {
        {"trim pick that hits nothing", u"tr"},
        {"idle click on the empty drawing", nullptr},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        if (c.command != nullptr)
            Type(c.command);
        ClickView({30, 30});
        CWnd* focus = CWnd::GetFocus();
        ASSERT_EQ(focus, edit);
        harness::TypeText(focus, CString(u"u"));
        CString text;
        edit->GetWindowText(text);
        EXPECT_EQ(text, CString(u"u"));
        edit->SetWindowText(CString());
        Key(VK_ESCAPE);
    }
}

TEST_F(ProgramTest, CtrlZCountsWhenCtrlIsLetGoJustBeforeTheLetter)
{
    Start();
    const struct {
        const char* name;
        bool ctrlUpBeforeLetterDown;
        bool undone;
    } kCases[] = {
        {"Ctrl let go between the letter's press and release", false, true},
        {"Ctrl let go before the letter's press", true, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        Type(u"l");
        Type(u"0,0");
        Type(u"10,0");
        Key(VK_ESCAPE);
        const size_t before = Live(1).size();
        harness::KeyDown(edit, VK_CONTROL, harness::kCtrl);
        if (c.ctrlUpBeforeLetterDown)
            harness::KeyUp(edit, VK_CONTROL);
        harness::KeyDown(edit, 'Z', c.ctrlUpBeforeLetterDown ? 0 : harness::kCtrl);
        if (!c.ctrlUpBeforeLetterDown)
            harness::KeyUp(edit, VK_CONTROL);
        harness::KeyUp(edit, 'Z');
        Settle();
        EXPECT_EQ(Live(1).size(), c.undone ? before - 1 : before);
        edit->SetWindowText(CString());
    }
}

TEST_F(ProgramTest, KeysTypedAfterASwitchClickReachTheCommandLine)
{
    Start();
    CWnd* endpoints = g_pCommandBar->GetDlgItem(1030);
    ASSERT_NE(endpoints, nullptr);
    harness::Click(endpoints, CPoint(3, 3));
    Settle();
    CWnd* focus = CWnd::GetFocus();
    ASSERT_NE(focus, nullptr);
    ASSERT_EQ(focus, edit) << "focus on " << focus->GetDlgCtrlID();
    harness::TypeText(focus, CString(u"l"));
    CString text;
    edit->GetWindowText(text);
    EXPECT_EQ(text, CString(u"l"));
}
