#include "generators/CZorvacaveline.h"

#include "geometry/CSplines.h"
#include "geometry/GeometryState.h"
#include "tests/generators/dialog_fixture.h"
#include "view/ViewState.h"

namespace {

constexpr int IDC_TYPE = 1012, IDC_START = 1009, IDC_END = 1015, IDC_BASE = 1016, IDC_REVERSE = 1029;
constexpr int IDC_PREVIEW = 1178;

class FormulaCurveTest : public DialogTest {
protected:
    void Open(std::function<long long(CZorvacaveline&)> script)
    {
        ModalDialogScript modal;
        modal.Then([&](CDialog& d) { return script(static_cast<CZorvacaveline&>(d)); });
        drv->doc->OnFormulaCurve();
    }
};

TEST_F(FormulaCurveTest, DefaultsPerTypeAndPreview)
{
    Open([this](CZorvacaveline& d) {
        EXPECT_EQ(Text(&d, IDC_START), CString(u"0"));
        EXPECT_EQ(Text(&d, IDC_END), CString(u"180"));
        EXPECT_EQ(Text(&d, IDC_BASE), CString(u"10.0"));
        EXPECT_TRUE(Checked(&d, 1043));
        Type(&d, IDC_END, u"45");
        Choose(&d, IDC_TYPE, 4);
        // A type change overwrites what was typed.
        EXPECT_EQ(Text(&d, IDC_END), CString(u"360"));
        Choose(&d, IDC_TYPE, 1);
        EXPECT_EQ(Text(&d, IDC_END), CString(u"90"));
        Choose(&d, IDC_TYPE, 6);
        d.PressButton(IDC_PREVIEW);
        EXPECT_EQ(drv->doc->m_tempList.GetSize(), 1);
        EXPECT_EQ(drv->doc->m_tempList[0]->nodes.GetSize(), 189);
        KeepSnapshot(&d, u"formula_curve_dialog.png");
        return IDCANCEL;
    });
    EXPECT_EQ(LiveCount(), 0);
}

TEST_F(FormulaCurveTest, GenerateAtTheOriginCarriedByTheMoveCommand)
{
    Open([](CZorvacaveline& d) {
        d.PressButton(IDOK);
        return IDCANCEL;
    });
    std::vector<CUnit*> live = drv->LiveEntities();
    ASSERT_EQ(live.size(), 1u);
    CUnit* curve = live[0];
    ASSERT_EQ(curve->GetType(), 11);
    EXPECT_EQ(curve->nodes.GetSize(), 95);
    EXPECT_TRUE(curve->nodes[0].IsEqual({0, 0}));
    EXPECT_EQ(curve->selected, 1);
    EXPECT_EQ(g_curCommand, int(kCmdMove));
    EXPECT_EQ(drv->view->m_subStep, 2);
    drv->ClickAt(x_Vector(20.0, 10.0));
    EXPECT_TRUE(curve->nodes[0].IsEqual({20, 10}));
    ASSERT_TRUE(drv->doc->Undo());
    EXPECT_TRUE(curve->nodes[0].IsEqual({0, 0}));
}

TEST_F(FormulaCurveTest, FieldsWithoutACurveAreRefusedAndTheDialogStays)
{
    MessageBoxScript boxes;
    boxes.Expect(CString(u"过小"), IDOK).Expect(CString(u"无定义"), IDOK);
    Open([](CZorvacaveline& d) {
        Type(&d, IDC_END, u"0");
        d.PressButton(IDOK);
        EXPECT_EQ(d.GetEndResult(), -1);
        Choose(&d, IDC_TYPE, 2);
        Click(&d, IDC_REVERSE);
        d.PressButton(IDC_PREVIEW);
        return IDCANCEL;
    });
    EXPECT_EQ(LiveCount(), 0);
    EXPECT_EQ(drv->doc->m_tempList.GetSize(), 0);
}

} // namespace
