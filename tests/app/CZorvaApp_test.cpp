#include "app/CZorvaApp.h"

#include "app/CCStartDlg.h"
#include "app/settings_file.h"
#include "geometry/CLine.h"
#include "platform/core/files.h"
#include "platform/core/named_objects.h"
#include "platform/ui/afx_ids.h"
#include "tests/app/frame_fixture.h"

#include <QCoreApplication>

#include <chrono>
#include <thread>

namespace {

class CZorvaAppTest : public FrameFixture {};

bool Exists(const char16_t* windowsPath)
{
    return FileExists(MapWindowsPath(CString(windowsPath)));
}

void AddLine(CZorvaDoc& doc)
{
    ++g_UnitIdCounter;
    auto* line = new CLine(0, 0, 10, 0);
    doc.m_unitList.Add(line);
    g_drawingModified = 1;
}

TEST_F(CZorvaAppTest, SecondStartWhileOneRunsReturnsAtOnceWithoutWindowOrFolders)
{
    CNamedMutex running;
    ASSERT_TRUE(running.Create(CString(u"__ZORVADRAWTOOL__")));
    app = std::make_unique<CZorvaApp>(RUNTIME_CLASS(FrameTestView));
    EXPECT_FALSE(app->InitInstance());
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    EXPECT_FALSE(FolderExists(MapWindowsPath(CString(u"C:\\zorvadraw\\ToolTemp"))));
    EXPECT_EQ(g_MainWindowCreated, 0);
}

TEST_F(CZorvaAppTest, StartCreatesFoldersFrameAndSplashThatClosesAfterOneSecond)
{
    ASSERT_TRUE(Start());
    for (const char16_t* folder : {u"C:\\zorvadraw", u"C:\\zorvadraw\\ToolTemp", u"C:\\zorvadraw\\ToolData", u"data",
                                   u"TempFile"})
        EXPECT_TRUE(FolderExists(MapWindowsPath(CString(folder)))) << CString(folder);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(g_MainWindowCreated, 1);
    EXPECT_TRUE(splashShown);
    EXPECT_TRUE(splashOpenBeforeSecond);
    EXPECT_TRUE(frame->IsWindowVisible());
    EXPECT_NE(g_dialogBrush, nullptr);
    // The toolkit's own dialogs and buttons are in Chinese.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "取消");
    // While the first runs, a second application object is refused.
    CZorvaApp second(RUNTIME_CLASS(FrameTestView));
    EXPECT_FALSE(second.InitInstance());
}

// Before, the splash was a small box in the dialog font whose second began
// before it was shown, so the main window's first layout shortened it.
TEST_F(CZorvaAppTest, SplashShowsNameAndVersionLargeForASecondFromWhenItAppears)
{
    CCStartDlg splash;
    ModalDialogScript script;
    script.Then([](CDialog& d) {
        EXPECT_TRUE(d.IsWindowVisible());
        CRect box;
        d.GetWindowRect(&box);
        EXPECT_GE(box.Width(), 400);
        EXPECT_GE(box.Height(), 180);
        LOGFONTW font{};
        CWnd* name = d.GetDlgItem(IDC_SPLASH_NAME);
        EXPECT_TRUE(name != nullptr && name->GetFont() != nullptr && name->GetFont()->GetLogFont(&font));
        EXPECT_GE(std::abs(font.lfHeight), 36);
        CString version;
        d.GetDlgItemText(IDC_SPLASH_VERSION, version);
        EXPECT_EQ(version, CString(u"ver 3.7"));
        harness::AdvanceTime(999);
        EXPECT_EQ(d.GetEndResult(), -1);
        harness::AdvanceTime(1);
        EXPECT_NE(d.GetEndResult(), -1);
        return IDOK;
    });
    EXPECT_EQ(splash.DoModal(), IDCANCEL);
}

TEST_F(CZorvaAppTest, ExitWithModifiedDrawingWritesSnapshotThatTheNextStartRestores)
{
    ASSERT_TRUE(Start());
    AddLine(*GetZorvaDoc());
    CZorvaApp::ExitApplication();
    EXPECT_EQ(g_endedWith, std::vector<int>{0});
    EXPECT_EQ(link.stops, 1);
    EXPECT_TRUE(Exists(u"C:\\zorvadraw\\ToolTemp\\001"));
    EXPECT_TRUE(Exists(u"C:\\zorvadraw\\ToolTemp\\001MD5"));
    EXPECT_EQ(g_drawingModified, 0);
    Stop();

    ResetAppState();
    ResetFrameState();
    ASSERT_TRUE(Start());
    ASSERT_NE(GetZorvaDoc(), nullptr);
    EXPECT_EQ(GetZorvaDoc()->m_unitList.GetSize(), 1);
    auto* view = dynamic_cast<FrameTestView*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->restored);
}

TEST_F(CZorvaAppTest, ExitSavesOnlyWhatChanged)
{
    ASSERT_TRUE(Start());
    DeleteSettingsFiles();
    // Nothing changed: neither the settings nor the snapshot are written.
    CZorvaApp::ExitApplication();
    EXPECT_FALSE(FileExists(SettingsFilePath()));
    EXPECT_FALSE(Exists(u"C:\\zorvadraw\\ToolTemp\\001"));
    Stop();

    // Only the zoom changed: the settings file and its backup are written.
    ResetAppState();
    ResetFrameState();
    ASSERT_TRUE(Start());
    DeleteSettingsFiles();
    g_ViewScale = g_loadedViewScale * 2;
    CZorvaApp::ExitApplication();
    EXPECT_TRUE(FileExists(SettingsFilePath()));
    EXPECT_TRUE(FileExists(SettingsBackupPath()));
    EXPECT_FALSE(Exists(u"C:\\zorvadraw\\ToolTemp\\001"));
}

TEST_F(CZorvaAppTest, ExitBeforeTheMainWindowExistsSavesNothing)
{
    g_drawingModified = 1;
    g_SettingsDirty = 1;
    CZorvaApp::ExitApplication();
    EXPECT_EQ(g_endedWith, std::vector<int>{0});
    EXPECT_FALSE(FileExists(SettingsFilePath()));
    EXPECT_FALSE(Exists(u"C:\\zorvadraw\\ToolTemp\\001"));
}

TEST_F(CZorvaAppTest, ClosingTheFrameRunsTheExitAndDestroyingItEndsTheProcess)
{
    ASSERT_TRUE(Start());
    DeleteSettingsFiles();
    g_SettingsDirty = 1;
    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_endedWith, std::vector<int>{0});
    EXPECT_TRUE(FileExists(SettingsFilePath()));
    EXPECT_EQ(g_SettingsDirty, 0);
    frame->OnDestroy();
    EXPECT_EQ(g_endedWith, (std::vector<int>{0, 0}));
}

TEST_F(CZorvaAppTest, WatchdogEndsTheProcessWhenSavingHangs)
{
    // Before, the watchdog was a timer of the GUI thread: a save that
    // blocked that thread blocked the timer too.
    class HangingLink : public RecordingLink {
        void StopPathGeneration() override
        {
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (g_watchdogEnds == 0 && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    } hanging;
    g_pFrameLink = &hanging;
    const unsigned saved = CZorvaApp::s_exitWatchdogMs;
    CZorvaApp::s_exitWatchdogMs = 50;
    CZorvaApp::ExitApplication();
    CZorvaApp::s_exitWatchdogMs = saved;
    g_pFrameLink = &link;
    EXPECT_EQ(g_watchdogEnds, 1);
}

TEST_F(CZorvaAppTest, MenuExitEndsTheProcessAndAboutShowsItsBox)
{
    ASSERT_TRUE(Start());
    {
        ModalDialogScript about;
        int shownTemplate = 0;
        about.Then([&](CDialog& d) {
            shownTemplate = int(d.GetTemplateId());
            return IDOK;
        });
        EXPECT_TRUE(harness::ChooseMenuItem(frame, ID_APP_ABOUT));
        EXPECT_EQ(shownTemplate, 100);
    }
    EXPECT_TRUE(g_endedWith.empty());
    EXPECT_TRUE(harness::ChooseMenuItem(frame, ID_APP_EXIT));
    EXPECT_EQ(g_endedWith, std::vector<int>{0});
}

} // namespace
