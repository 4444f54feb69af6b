// F3 and F4 in the whole program: the frame's function keys open the path
// dialogs, OK starts path generation, the key of a dialog closes it, and
// what OK stored is there again after an exit and a new start.

#include "platform/testing/control_driver.h"
#include "process/CZorvaTrail_create.h"
#include "process/CZorvaTrail_many.h"
#include "process/path_dialogs_install.h"
#include "tests/view/program_fixture.h"

namespace {

constexpr UINT VK_F3 = VK_F1 + 2, VK_F4 = VK_F1 + 3;

class PathKeysTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        InstallPathDialogs();
    }
    // Presses key in the command edit and answers the dialog it opens.
    void KeyOpens(UINT key, std::function<long long(CDialog&)> script)
    {
        ModalDialogScript modal;
        modal.Then(std::move(script));
        Key(key);
        EXPECT_EQ(modal.Shown(), 1);
    }
    static void TypeIn(CWnd* w, int id, const char16_t* text)
    {
        dlgtest::TypeText(w->GetDlgItem(id), CString(text));
    }
};

TEST_F(PathKeysTest, F3OkStartsPathGenerationWithSettingsThatOutliveARestart)
{
    Start();
    KeyOpens(VK_F3, [](CDialog& d) {
        EXPECT_EQ(g_modalDialogId, CZorvaDoc::kDlgTrailCreate);
        TypeIn(&d, 1112, u"0.15");
        dlgtest::Choose(d.GetDlgItem(1027), 1);
        TypeIn(&dynamic_cast<CZorvaTrail_create&>(d).m_pages.taper, 1023, u"3.5");
        d.PressButton(IDOK);
        return IDCANCEL;
    });
    EXPECT_EQ(g_curCommand, kCmdPath);
    EXPECT_EQ(g_modalDialogId, 0);
    EXPECT_EQ(g_MachiningSettings.compensation, 0.15);

    ExitAndStartAgain();
    EXPECT_EQ(g_MachiningSettings.compensation, 0.15);
    EXPECT_EQ(g_MachiningSettings.taperAngle, 3.5);
    EXPECT_EQ(g_CutTypeIndex, 1);
    KeyOpens(VK_F3, [](CDialog& d) {
        CString text;
        d.GetDlgItemText(1112, text);
        EXPECT_EQ(text, CString(u"0.15"));
        // F3 in the dialog closes it.
        harness::KeyDown(d.GetDlgItem(1112), VK_F3);
        harness::KeyUp(d.GetDlgItem(1112), VK_F3);
        EXPECT_EQ(d.GetEndResult(), IDCANCEL);
        return IDCANCEL;
    });
    EXPECT_EQ(g_curCommand, 0) << "a cancelled dialog starts nothing";
}

TEST_F(PathKeysTest, F4KeepsPassesAndCutsOverARestart)
{
    g_MachiningSettings.codingMode = 0;
    SaveSettingsFile();
    Start();
    KeyOpens(VK_F4, [](CDialog& d) {
        EXPECT_EQ(g_modalDialogId, CZorvaDoc::kDlgTrailMany);
        dlgtest::Choose(d.GetDlgItem(1012), 4);
        TypeIn(&d, 1017, u"3.5");
        d.PressButton(IDOK);
        return IDCANCEL;
    });
    EXPECT_EQ(g_curCommand, kCmdPath);
    EXPECT_EQ(g_MachiningSettings.multiPass, 1);

    ExitAndStartAgain();
    const MachiningSettings& m = g_MachiningSettings;
    EXPECT_EQ(m.passCount, 5);
    EXPECT_EQ(m.dieWidth, 3.5);
    EXPECT_EQ(m.multiPass, 1);
    EXPECT_EQ(m.passTables[0][0].allowance, 0.06);
    EXPECT_EQ(m.passTables[0][2].allowance, 0.0);
    KeyOpens(VK_F4, [](CDialog& d) {
        harness::KeyDown(d.GetDlgItem(1017), VK_F4);
        harness::KeyUp(d.GetDlgItem(1017), VK_F4);
        EXPECT_EQ(d.GetEndResult(), IDCANCEL);
        return IDCANCEL;
    });
}

} // namespace
