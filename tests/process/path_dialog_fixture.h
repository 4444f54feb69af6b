#pragma once

// Tests of the path dialogs: a view over an empty drawing, the factory
// settings and process tables, the path dialogs installed, and helpers to
// drive their controls and pages.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

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
#include "process/ProcessState.h"
#include "process/path_dialogs_install.h"
#include "tests/support/viewdriver/ViewDriver.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"

class PathDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        drv = std::make_unique<ViewDriver>(800, 600);
        drv->SetView(5.0, 400, 300);
        ResetProcessState();
        ResetSettingsDefaults();
        ResetProcessDefaults();
        g_CutTypeIndex = 0;
        g_CutMode = 0;
        g_SettingsDirty = 0;
        g_lastCommand = 0;
        InstallPathDialogs();
    }
    void TearDown() override { drv.reset(); }

    using Script = std::function<long long(CDialog&)>;

    static CString Text(const CWnd* w, int id)
    {
        CString s;
        w->GetDlgItemText(id, s);
        return s;
    }
    static void Type(CWnd* w, int id, const char16_t* text) { dlgtest::TypeText(w->GetDlgItem(id), CString(text)); }
    static void Choose(CWnd* w, int id, int index) { dlgtest::Choose(w->GetDlgItem(id), index); }
    static void Click(CWnd* w, int id) { dlgtest::Click(w->GetDlgItem(id)); }
    static int Selected(const CWnd* w, int id)
    {
        auto* c = dynamic_cast<CComboBox*>(w->GetDlgItem(id));
        return c != nullptr ? c->GetCurSel() : -2;
    }
    static bool Checked(const CWnd* w, int id)
    {
        auto* b = dynamic_cast<CButton*>(w->GetDlgItem(id));
        return b != nullptr && b->GetCheck() != 0;
    }
    static bool Visible(const CWnd* w, int id)
    {
        const CWnd* c = w->GetDlgItem(id);
        return c != nullptr && c->IsWindowVisible();
    }
    // A picture of the dialog kept beside the test binary for a person to
    // look at, and one in the test's folder.
    static void KeepSnapshot(CWnd* dialog, const char16_t* name)
    {
        dialog->ShowWindow(SW_SHOW);
        EXPECT_TRUE(harness::SnapshotPng(dialog, harness::TempPath(CString(name))));
#ifdef ZORVA_TEST_BIN
        const CString kept = CString(ZORVA_TEST_BIN) + u"/artifacts";
        CreateFolder(kept);
        EXPECT_TRUE(harness::SnapshotPng(dialog, kept + u"/" + name));
#endif
    }

    // Every byte an OK could change: the block, the single cut, the cut type.
    struct SettingsBytes {
        MachiningSettings block;
        CutParams cut;
        std::int32_t cutType;
        std::uint8_t cutMode;
        std::uint8_t dirty;
        static SettingsBytes Now()
        {
            return SettingsBytes{g_MachiningSettings, g_CutParams, g_CutTypeIndex, g_CutMode, g_SettingsDirty};
        }
        bool operator==(const SettingsBytes& o) const
        {
            return std::memcmp(&block, &o.block, sizeof block) == 0 && std::memcmp(&cut, &o.cut, sizeof cut) == 0
                   && cutType == o.cutType && cutMode == o.cutMode && dirty == o.dirty;
        }
    };

    std::unique_ptr<ViewDriver> drv;
};
