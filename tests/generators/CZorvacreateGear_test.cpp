#include "generators/CZorvacreateGear.h"

#include "generators/gear_dialog_resources.h"
#include "geometry/CCir.h"
#include "geometry/GeometryState.h"
#include "tests/generators/dialog_fixture.h"
#include "view/ViewState.h"

namespace {

class GearDialogTest : public DialogTest {
protected:
    // Opens the dialog from the menu command and runs script inside it.
    void Open(std::function<long long(CZorvacreateGear&)> script)
    {
        ModalDialogScript modal;
        modal.Then([&](CDialog& d) { return script(static_cast<CZorvacreateGear&>(d)); });
        drv->doc->OnCreateGear();
    }
    // z 20, m 1, alpha 20, ha* 1, c* 0.25, x 0, no fillets.
    static void SetZ20(CZorvacreateGear& g)
    {
        CWnd* p = &g.m_gearPage;
        Type(p, IDC_TEETH, u"20");
        Choose(p, IDC_MODULE, 0);
        Choose(p, IDC_ALPHA, 0);
        Choose(p, IDC_HA, 1);
        Choose(p, IDC_C, 0);
        Type(p, IDC_GEAR_SHIFT, u"0");
        if (Checked(p, IDC_GEAR_TIP_ON))
            Click(p, IDC_GEAR_TIP_ON);
        if (Checked(p, IDC_GEAR_ROOT_ON))
            Click(p, IDC_GEAR_ROOT_ON);
    }
};

TEST_F(GearDialogTest, FirstOpeningShowsTheFactoryValuesAndSavesNothing)
{
    Open([](CZorvacreateGear& g) {
        const CWnd* p = &g.m_gearPage;
        EXPECT_EQ(Text(p, IDC_TEETH), CString(u"18"));
        EXPECT_EQ(Text(p, IDC_MODULE), CString(u"2.00"));
        EXPECT_EQ(Text(p, IDC_ALPHA), CString(u"20"));
        EXPECT_EQ(Text(p, IDC_HA), CString(u"0.8"));
        EXPECT_EQ(Text(p, IDC_C), CString(u"0.25"));
        EXPECT_EQ(Text(p, IDC_GEAR_SHIFT), CString(u"0.0"));
        EXPECT_TRUE(Checked(p, IDC_GEAR_TIP_ON));
        EXPECT_EQ(Text(p, IDC_GEAR_TIP_R), CString(u"0.0"));
        EXPECT_TRUE(Checked(p, IDC_GEAR_ROOT_ON));
        EXPECT_EQ(Text(p, IDC_GEAR_ROOT_R), CString(u"0.76"));
        EXPECT_EQ(Text(p, IDC_SIZE_TIP), CString(u"39.2"));
        EXPECT_EQ(Text(p, IDC_SIZE_ROOT), CString(u"31.8"));
        EXPECT_TRUE(Checked(p, IDC_GEAR_MODE1));
        EXPECT_TRUE(Checked(p, IDC_GEAR_EXTERNAL));
        EXPECT_EQ(Text(p, IDC_GEAR_COUNT), CString(u"1"));
        EXPECT_EQ(Text(p, IDC_GEAR_START), CString(u"0.0"));
        EXPECT_FALSE(p->GetDlgItem(IDC_SIZE_TIP)->IsWindowEnabled());
        const CWnd* r = &g.m_rackPage;
        EXPECT_EQ(Text(r, IDC_TEETH), CString(u"18"));
        EXPECT_EQ(Text(r, IDC_MODULE), CString(u"2.00"));
        EXPECT_EQ(Text(r, IDC_SIZE_TIP), CString(u"3.2"));
        EXPECT_EQ(Text(r, IDC_SIZE_ROOT), CString(u"4.2"));
        KeepSnapshot(&g, u"gear_dialog_factory.png");
        return IDCANCEL;
    });
    EXPECT_EQ(g_SettingsDirty, 0);
    EXPECT_EQ(g_modalDialogId, 0);
}

TEST_F(GearDialogTest, Z20FieldsPreviewAndGenerateHandToTheMoveCommand)
{
    Open([this](CZorvacreateGear& g) {
        SetZ20(g);
        EXPECT_EQ(Text(&g.m_gearPage, IDC_SIZE_TIP), CString(u"22.0"));
        EXPECT_EQ(Text(&g.m_gearPage, IDC_SIZE_ROOT), CString(u"17.5"));
        g.PressButton(IDC_GEAR_PREVIEW);
        EXPECT_EQ(drv->doc->m_tempList.GetSize(), 121);
        EXPECT_EQ(Text(&g.m_gearPage, IDC_MESSAGE), CString(u"--"));
        // The outline is fitted into the 278 x 320 picture, centred on (139, 160).
        EXPECT_EQ(g.m_previewOrigin[0], 139);
        EXPECT_EQ(g.m_previewOrigin[1], 160);
        // The box is the tip circle's, a little less where no tooth tip reaches.
        EXPECT_NEAR(g.m_previewScale, 250.0 / 22.0, 0.01);
        KeepSnapshot(&g, u"gear_dialog_preview.png");
        g.PressButton(IDOK);
        return IDCANCEL;
    });
    EXPECT_EQ(drv->doc->m_tempList.GetSize(), 0);
    std::vector<CUnit*> live = drv->LiveEntities();
    ASSERT_EQ(live.size(), 121u);
    for (CUnit* u : live) {
        EXPECT_EQ(u->selected, 1);
        EXPECT_EQ(u->complete, 1);
    }
    CUnit* handle = live.back();
    ASSERT_EQ(handle->GetType(), 7);
    EXPECT_NEAR(handle->geometry.circle.radius, 7.95, 1e-12);
    // The move command holds the gear at its centre; the next click puts it there.
    EXPECT_EQ(g_curCommand, int(kCmdMove));
    EXPECT_EQ(g_cmdStep, 5);
    EXPECT_EQ(drv->view->m_subStep, 2);
    drv->ClickAt(x_Vector(30.0, -20.0));
    EXPECT_EQ(g_curCommand, 0);
    EXPECT_NEAR(handle->geometry.circle.centre.x, 30.0, 1e-9);
    EXPECT_NEAR(handle->geometry.circle.centre.y, -20.0, 1e-9);
    EXPECT_NEAR(live[0]->geometry.spline.baseCentre.x, 30.0, 1e-9);
    // The settings of the page are kept for the next opening.
    EXPECT_EQ(g_GearParams.teeth, 20);
    EXPECT_EQ(g_GearParams.moduleIndex, 0);
    EXPECT_EQ(g_GearParams.haIndex, 1);
    EXPECT_EQ(g_GearParams.rootFilletOn, 0);
    EXPECT_EQ(g_SettingsDirty, 1);
    // Generation and the move are two undo steps: undo the move, then the gear.
    ASSERT_TRUE(drv->doc->Undo());
    EXPECT_NEAR(handle->geometry.circle.centre.x, 0.0, 1e-9);
    ASSERT_TRUE(drv->doc->Undo());
    EXPECT_EQ(LiveCount(), 0);
}

TEST_F(GearDialogTest, InternalZ40AndCancelFreesThePreview)
{
    Open([this](CZorvacreateGear& g) {
        SetZ20(g);
        Type(&g.m_gearPage, IDC_TEETH, u"40");
        Click(&g.m_gearPage, IDC_GEAR_INTERNAL);
        EXPECT_EQ(Text(&g.m_gearPage, IDC_SIZE_TIP), CString(u"38.0"));
        EXPECT_EQ(Text(&g.m_gearPage, IDC_SIZE_ROOT), CString(u"42.5"));
        g.PressButton(IDC_GEAR_PREVIEW);
        EXPECT_EQ(drv->doc->m_tempList.GetSize(), 161);
        KeepSnapshot(&g, u"gear_dialog_internal.png");
        return IDCANCEL;
    });
    EXPECT_EQ(drv->doc->m_tempList.GetSize(), 0);
    EXPECT_EQ(LiveCount(), 0);
    EXPECT_EQ(g_GearParams.internal, 1);
    EXPECT_EQ(g_GearParams.teeth, 40);
}

TEST_F(GearDialogTest, TypedDiametersAndMessagesWhileTyping)
{
    Open([](CZorvacreateGear& g) {
        CWnd* p = &g.m_gearPage;
        Click(p, IDC_GEAR_MODE2);
        EXPECT_TRUE(p->GetDlgItem(IDC_SIZE_TIP)->IsWindowEnabled());
        EXPECT_FALSE(p->GetDlgItem(IDC_HA)->IsWindowEnabled());
        Type(p, IDC_SIZE_TIP, u"30");
        Type(p, IDC_SIZE_ROOT, u"30");
        EXPECT_EQ(Text(p, IDC_MESSAGE), CString(u"#外齿轮参数 da<df 参数错误"));
        // What the user types stays as typed.
        EXPECT_EQ(Text(p, IDC_SIZE_TIP), CString(u"30"));
        g.PressButton(IDOK);
        EXPECT_EQ(Text(p, IDC_MESSAGE), CString(u"#外齿轮参数 da<df 参数错误"));
        EXPECT_EQ(g.GetEndResult(), -1) << "the dialog stays open";
        Type(p, IDC_SIZE_TIP, u"40");
        g.PressButton(IDC_GEAR_PREVIEW);
        EXPECT_EQ(Text(p, IDC_SIZE_TIP), CString(u"40.0"));
        EXPECT_EQ(Text(p, IDC_SIZE_ROOT), CString(u"30.0"));
        Type(p, IDC_TEETH, u"0");
        EXPECT_EQ(Text(p, IDC_MESSAGE), CString(u"#请输入齿数"));
        return IDCANCEL;
    });
}

TEST_F(GearDialogTest, RackPageGeneratesAndPageIsRemembered)
{
    Open([this](CZorvacreateGear& g) {
        g.ShowWindow(SW_SHOW);
        dlgtest::Choose(g.GetDlgItem(IDC_GEAR_TAB), 1);
        EXPECT_EQ(g_GearPage, 1);
        EXPECT_TRUE(g.m_rackPage.IsWindowVisible());
        CWnd* r = &g.m_rackPage;
        Click(r, IDC_RACK_MODE2);
        Type(r, IDC_SIZE_TIP, u"3.0");
        g.PressButton(IDC_GEAR_PREVIEW);
        EXPECT_EQ(Text(r, IDC_MESSAGE), CString(u"--"));
        // The preset root fillet (0.38 m) is on: per space two flanks, two
        // fillets and a root line; 19 tip lines.
        EXPECT_EQ(drv->doc->m_tempList.GetSize(), 18 * 5 + 19);
        KeepSnapshot(&g, u"gear_dialog_rack.png");
        g.PressButton(IDOK);
        return IDCANCEL;
    });
    EXPECT_EQ(LiveCount(), 18 * 5 + 19);
    EXPECT_EQ(g_curCommand, int(kCmdMove));
    // The page shown last opens again (not saved with the settings).
    Open([](CZorvacreateGear& g) {
        g.ShowWindow(SW_SHOW);
        EXPECT_TRUE(g.m_rackPage.IsWindowVisible());
        EXPECT_FALSE(g.m_gearPage.IsWindowVisible());
        return IDCANCEL;
    });
}

} // namespace
