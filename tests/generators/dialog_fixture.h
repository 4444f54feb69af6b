#pragma once

// Dialog tests of the generators: a view over an empty drawing (the
// document, the view's output list), the factory settings, the generator
// dialogs installed, and the helpers to read and set their controls.

#include <gtest/gtest.h>

#include <memory>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/settings_file.h"
#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"
#include "generators/GeneratorState.h"
#include "generators/generators_install.h"
#include "platform/core/files.h"
#include "platform/testing/control_driver.h"
#include "platform/testing/dialog_answers.h"
#include "platform/testing/ui_harness.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialog.h"
#include "tests/support/viewdriver/ViewDriver.h"
#include "view/CZorvaView.h"

class DialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        drv = std::make_unique<ViewDriver>(800, 600);
        drv->SetView(5.0, 400, 300);
        ResetGeneratorState();
        ResetSettingsDefaults();
        g_SettingsDirty = 0;
        InstallGenerators();
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
    int LiveCount() const { return int(drv->LiveEntities().size()); }

    std::unique_ptr<ViewDriver> drv;
};
