#pragma once

// Starts the drawing program's application object in the test process: a
// plain view stands in for the drawing view, a recording link for the
// view's side of the keyboard map, and the process ending is recorded.

#include <gtest/gtest.h>

#include <memory>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/CZorvaApp.h"
#include "app/CZorvaDoc.h"
#include "app/FrameState.h"
#include "app/MainFrameLink.h"
#include "app/recovery_snapshot.h"
#include "app/settings_file.h"
#include "geometry/GeometryState.h"
#include "platform/core/files.h"
#include "platform/testing/dialog_answers.h"
#include "platform/testing/ui_harness.h"
#include "platform/ui/CView.h"

// The view's side, as the drawing view fills it: restores the recovery
// snapshot on its first update.
class FrameTestView : public CView {
    DECLARE_DYNCREATE(FrameTestView)
public:
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override
    {
        CView::OnInitialUpdate();
        if (CZorvaDoc* doc = GetZorvaDoc(); doc != nullptr && g_commandLineFile.IsEmpty())
            restored = RestoreRecoverySnapshot(*doc);
    }
    bool restored = false;
};

class RecordingLink : public MainFrameLink {
public:
    void AttachCommandBar(CWnd* bar) override { commandBar = bar; }
    void DispatchKey(int key) override { keys.push_back(key); }
    void SetCommand(int command, bool asLast) override
    {
        commands.push_back(command);
        g_curCommand = command;
        if (asLast)
            lastCommand = command;
    }
    void SetCommandMode(int command, int mode) override { modes.push_back({command, mode}); }
    void GetRepeatCommand(int& command, int& subFlag) override { command = repeatCommand, subFlag = repeatSubFlag; }
    void ZoomAt(int direction, POINT) override { zooms.push_back(direction); }
    void Pan(int dx, int dy) override { pans.push_back({dx, dy}); }
    void StopPathGeneration() override { ++stops; }
    void Toggle3DView() override { calls.push_back("3d"); }
    void ShowBatchPanel() override { calls.push_back("batch"); }
    void StartArray() override { calls.push_back("array"); }
    void CloseArrayPanel() override { calls.push_back("close array"); }
    void HidePropertyPanel() override { calls.push_back("hide properties"); }
    void OptionSwitchChanged(int id, int value) override { switches.push_back({id, value}); }

    CWnd* commandBar = nullptr;
    std::vector<std::string> calls;
    std::vector<int> keys, commands, zooms;
    std::vector<std::pair<int, int>> modes, pans, switches;
    int repeatCommand = 0, repeatSubFlag = 0, lastCommand = -1, stops = 0;
};

inline std::vector<int> g_endedWith;
inline std::atomic<int> g_watchdogEnds{0};
inline std::thread::id g_testThread;
// The watchdog calls from its own thread: only the counter is touched there.
inline void RecordEnd(int code)
{
    if (std::this_thread::get_id() == g_testThread)
        g_endedWith.push_back(code);
    else
        g_watchdogEnds.fetch_add(1);
}

class FrameFixture : public testing::Test {
protected:
    void SetUp() override
    {
        harness::InitGui();
        harness::UseVirtualClock(true);
        ResetAppState();
        ResetFrameState();
        g_curCommand = 0;
        g_cmdSubFlag = 0;
        g_SettingsDirty = 0;
        g_PropertyPanelShown = 0;
        g_endedWith.clear();
        g_watchdogEnds = 0;
        g_testThread = std::this_thread::get_id();
        g_EndProcessHook = RecordEnd;
        g_pFrameLink = &link;
    }
    void TearDown() override
    {
        Stop();
        g_pFrameLink = nullptr;
        g_EndProcessHook = nullptr;
        harness::ResetKeyboard();
    }

    // Runs the start-up; the splash is answered by letting its second pass.
    BOOL Start(bool buttonStyle = true)
    {
        app = std::make_unique<CZorvaApp>(RUNTIME_CLASS(FrameTestView));
        // The left tool style is a persisted setting, read as the frame is made.
        CreateDataFolders();
        ResetSettingsDefaults();
        g_MachiningSettings.paletteButtonStyle = buttonStyle ? 1 : 0;
        SaveSettingsFile();
        ModalDialogScript splash;
        splashShown = false;
        splash.Then([this](CDialog& d) {
            splashShown = true;
            harness::AdvanceTime(999);
            splashOpenBeforeSecond = d.GetSafeHwnd() != nullptr && d.GetEndResult() == -1;
            harness::AdvanceTime(1);
            return IDOK;
        });
        const BOOL started = app->InitInstance();
        frame = dynamic_cast<CMainFrame*>(app->m_pMainWnd);
        return started;
    }
    // Forgets the settings files, so a test sees whether exit writes them.
    static void DeleteSettingsFiles()
    {
        DeleteFile(SettingsFilePath());
        DeleteFile(SettingsBackupPath());
    }
    void Stop()
    {
        // The template deletes the frame (destroying its window) with the app.
        frame = nullptr;
        app.reset();
        harness::PumpPosted();
    }
    CWnd* CommandEdit() const { return g_pCommandBar != nullptr ? g_pCommandBar->GetDlgItem(1025) : nullptr; }

    RecordingLink link;
    std::unique_ptr<CZorvaApp> app;
    CMainFrame* frame = nullptr;
    bool splashShown = false;
    bool splashOpenBeforeSecond = false;
};
