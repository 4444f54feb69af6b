#include "platform/testing/ui_harness.h"
#include "platform/ui/CWnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_calls;

class BaseWnd : public CWnd {
public:
    void OnOne() { g_calls.push_back("base one"); }
    void OnTwo() { g_calls.push_back("base two"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(BaseWnd, CWnd)
    ON_COMMAND(1, OnOne)
    ON_COMMAND(2, OnTwo)
END_MESSAGE_MAP()

class DerivedWnd : public BaseWnd {
public:
    void OnOne() { g_calls.push_back("derived one"); }
    void OnRange(UINT id) { g_calls.push_back("range " + std::to_string(id)); }
    void OnEditChange() { g_calls.push_back("edit change"); }
    void OnClicked() { g_calls.push_back("clicked"); }
    void OnListClick(NMHDR* h, LRESULT* r)
    {
        g_calls.push_back("list click " + std::to_string(h->idFrom));
        *r = 5;
    }
    LRESULT OnPacket(WPARAM w, LPARAM l)
    {
        g_calls.push_back("packet " + std::to_string(w + l));
        return 42;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(DerivedWnd, BaseWnd)
    ON_COMMAND(1, OnOne)
    ON_COMMAND_RANGE(10, 12, OnRange)
    ON_EN_CHANGE(20, OnEditChange)
    ON_BN_CLICKED(21, OnClicked)
    ON_NOTIFY(NM_CLICK, 30, OnListClick)
    ON_MESSAGE(WM_USER + 101, OnPacket)
END_MESSAGE_MAP()

TEST(MessageMap, EntriesDispatchByIdCodeAndMessage)
{
    harness::InitGui();
    DerivedWnd w;
    g_calls.clear();
    const struct {
        const char* name;
        WPARAM wParam;
        bool handled;
        const char* call;
    } kCommands[] = {
        {"derived entry wins over the base one", 1, true, "derived one"},
        {"base entry still reached", 2, true, "base two"},
        {"range passes the id", MAKEWPARAM(11, 0), true, "range 11"},
        {"outside the range", 13, false, nullptr},
        {"edit change of its control", MAKEWPARAM(20, EN_CHANGE), true, "edit change"},
        {"another code of the same control", MAKEWPARAM(20, EN_KILLFOCUS), false, nullptr},
        {"button click", MAKEWPARAM(21, BN_CLICKED), true, "clicked"},
    };
    for (const auto& c : kCommands) {
        SCOPED_TRACE(c.name);
        g_calls.clear();
        EXPECT_EQ(w.SendMessage(WM_COMMAND, c.wParam, 0) != 0, c.handled);
        EXPECT_EQ(g_calls, c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{});
    }

    g_calls.clear();
    NMHDR header;
    header.idFrom = 30;
    header.code = NM_CLICK;
    EXPECT_EQ(w.SendMessage(WM_NOTIFY, 30, reinterpret_cast<LPARAM>(&header)), 5);
    EXPECT_EQ(w.SendMessage(WM_USER + 101, 3, 4), 42);
    EXPECT_EQ(w.SendMessage(WM_USER + 102, 3, 4), 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"list click 30", "packet 7"}));
}

TEST(MessageMap, UpdateQuestionRunsNothingAndDisablesUnhandledIds)
{
    DerivedWnd w;
    g_calls.clear();
    CCmdUI handled, unhandled;
    handled.m_nID = 2;
    unhandled.m_nID = 99;
    handled.DoUpdate(&w, TRUE);
    unhandled.DoUpdate(&w, TRUE);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_TRUE(handled.m_bEnabled);
    EXPECT_FALSE(unhandled.m_bEnabled);
}

} // namespace
