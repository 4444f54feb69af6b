#pragma once

// The whole drawing program in the test process, as a user meets it: the
// application's start-up (settings, document template, main frame, the
// drawing view, the splash), typing into the command edit, clicks in the
// view, exit, and a start again over the same data folder, with or without
// a file on the command line. The process ending is recorded.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/CZorvaApp.h"
#include "app/CZorvaDoc.h"
#include "app/FrameState.h"
#include "app/settings_file.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/view_transform.h"
#include "platform/testing/dialog_answers.h"
#include "platform/testing/ui_harness.h"
#include "platform/ui/CDialogBar.h"
#include "platform/ui/CListBox.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"

inline std::vector<int> g_programEnded;
inline void RecordProgramEnd(int code) { g_programEnded.push_back(code); }

class ProgramTest : public testing::Test {
protected:
    void SetUp() override
    {
        harness::InitGui();
        harness::UseVirtualClock(true);
        ResetStates();
        CreateDataFolders();
        ResetSettingsDefaults();
        g_MachiningSettings.paletteButtonStyle = 1;
        SaveSettingsFile();
        ResetStates();
    }
    void TearDown() override
    {
        Stop();
        g_EndProcessHook = nullptr;
        harness::ResetKeyboard();
    }

    // Every global back to the values of a fresh process.
    static void ResetStates()
    {
        harness::ResetKeyboard();
        ResetGeometryState();
        ResetAppState();
        ResetFrameState();
        ResetViewState();
        g_programEnded.clear();
        g_EndProcessHook = RecordProgramEnd;
    }

    // Starts the program with the given command-line arguments.
    void Start(std::vector<CString> args = {})
    {
        ModalDialogScript splash;
        splash.Then([](CDialog&) {
            harness::AdvanceTime(1000);
            return IDOK;
        });
        app = std::make_unique<CZorvaApp>(RUNTIME_CLASS(CZorvaView));
        app->m_args = std::move(args);
        ASSERT_TRUE(app->InitInstance());
        frame = dynamic_cast<CMainFrame*>(app->m_pMainWnd);
        ASSERT_NE(frame, nullptr);
        view = dynamic_cast<CZorvaView*>(frame->GetActiveView());
        ASSERT_NE(view, nullptr);
        edit = g_pCommandBar->GetDlgItem(1025);
        ASSERT_NE(edit, nullptr);
        Settle();
    }
    void Stop()
    {
        frame = nullptr;
        view = nullptr;
        edit = nullptr;
        app.reset();
        harness::PumpPosted();
    }
    // Exit as the typed command does it, then a new process over the same
    // data folder.
    void ExitAndStartAgain(std::vector<CString> args = {})
    {
        CZorvaApp::ExitApplication();
        ASSERT_EQ(g_programEnded, std::vector<int>{0});
        Stop();
        ResetStates();
        Start(std::move(args));
    }

    // Scale (pixels per mm) and the pixel of the world origin; redraws.
    void SetView(double scale, int originX, int originY)
    {
        g_ViewScale = scale;
        g_ViewOriginX = originX;
        g_ViewOriginY = originY;
        view->UpdateDashLengths();
        view->UpdateViewCorners();
        view->RedrawNow();
        Settle();
    }
    static void Settle()
    {
        for (int i = 0; i < 20 && (harness::PendingTimers() > 0 || harness::PumpPosted() > 0); ++i)
            harness::AdvanceTime(5);
        harness::PumpPosted();
    }
    void Type(const char16_t* text)
    {
        harness::TypeText(edit, CString(text));
        Key(VK_RETURN);
    }
    void Key(UINT vk)
    {
        harness::PressKey(edit, vk);
        Settle();
    }
    void CtrlKey(UINT letter)
    {
        harness::KeyDown(edit, VK_CONTROL, harness::kCtrl);
        harness::KeyDown(edit, letter, harness::kCtrl);
        harness::KeyUp(edit, letter, harness::kCtrl);
        harness::KeyUp(edit, VK_CONTROL);
        Settle();
    }
    void ClickView(const x_Vector& world)
    {
        const POINT p = WorldToScreen(world);
        harness::MouseMove(view, CPoint(p.x, p.y));
        Settle();
        harness::MouseDown(view, CPoint(p.x, p.y));
        harness::MouseUp(view, CPoint(p.x, p.y));
        Settle();
    }
    static std::vector<CUnit*> Live(int type)
    {
        std::vector<CUnit*> out;
        for (CUnit* u : GetZorvaDoc()->m_unitList)
            if (!u->deleted && u->GetType() == type)
                out.push_back(u);
        return out;
    }
    static std::vector<CString> Output()
    {
        std::vector<CString> lines;
        auto* list = dynamic_cast<CListBox*>(g_pCommandBar->GetDlgItem(1008));
        for (int i = 0; list != nullptr && i < list->GetCount(); ++i) {
            CString text;
            list->GetText(i, text);
            lines.push_back(text);
        }
        return lines;
    }
    static bool OutputHas(const char16_t* fragment)
    {
        for (const CString& line : Output())
            if (line.Find(fragment) >= 0)
                return true;
        return false;
    }
    static CString FileNameField()
    {
        CString text;
        g_pCommandBar->GetDlgItemText(1202, text);
        return text;
    }

    std::unique_ptr<CZorvaApp> app;
    CMainFrame* frame = nullptr;
    CZorvaView* view = nullptr;
    CWnd* edit = nullptr;
};
