#pragma once

// Dialog tests of the process folder: a view over an empty drawing, the
// factory settings, the process dialogs installed, and helpers to read and
// set their controls.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/settings_file.h"
#include "geometry/GeometryState.h"
#include "platform/core/files.h"
#include "platform/testing/control_driver.h"
#include "platform/testing/dialog_answers.h"
#include "platform/testing/ui_harness.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CListCtrl.h"
#include "process/ProcessState.h"
#include "process/process_install.h"
#include "tests/support/viewdriver/ViewDriver.h"

class ProcessDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        drv = std::make_unique<ViewDriver>(800, 600);
        ResetProcessState();
        ResetSettingsDefaults();
        ResetProcessDefaults();
        g_SettingsDirty = 0;
        InstallProcessDialogs();
    }
    void TearDown() override { drv.reset(); }

    static CString Text(const CWnd* w, int id)
    {
        CString s;
        w->GetDlgItemText(id, s);
        return s;
    }
    static void Type(CWnd* w, int id, const char16_t* text) { dlgtest::TypeText(w->GetDlgItem(id), CString(text)); }
    static void Choose(CWnd* w, int id, int index) { dlgtest::Choose(w->GetDlgItem(id), index); }
    static void Click(CWnd* w, int id) { dlgtest::Click(w->GetDlgItem(id)); }
    static bool Checked(const CWnd* w, int id)
    {
        auto* b = dynamic_cast<CButton*>(w->GetDlgItem(id));
        return b != nullptr && b->GetCheck() != 0;
    }
    static int Selected(const CWnd* w, int id)
    {
        auto* c = dynamic_cast<CComboBox*>(w->GetDlgItem(id));
        return c != nullptr ? c->GetCurSel() : -2;
    }
    static CListCtrl* List(const CWnd* w, int id) { return dynamic_cast<CListCtrl*>(w->GetDlgItem(id)); }
    static bool Visible(const CWnd* w, int id)
    {
        const CWnd* c = w->GetDlgItem(id);
        return c != nullptr && c->IsWindowVisible();
    }
    static std::vector<std::uint8_t> ReadBytes(const CString& path)
    {
        std::ifstream in(NativePath(path), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void WriteBytes(const CString& path, const std::vector<std::uint8_t>& bytes)
    {
        std::ofstream out(NativePath(path), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    // A picture of the dialog kept beside the test binary for a person to
    // look at, and one in the test's folder.
    static void KeepSnapshot(CWnd* dialog, const char16_t* name)
    {
        EXPECT_TRUE(harness::SnapshotPng(dialog, harness::TempPath(CString(name))));
#ifdef ZORVA_TEST_BIN
        const CString kept = CString(ZORVA_TEST_BIN) + u"/artifacts";
        CreateFolder(kept);
        EXPECT_TRUE(harness::SnapshotPng(dialog, kept + u"/" + name));
#endif
    }

    std::unique_ptr<ViewDriver> drv;
};
