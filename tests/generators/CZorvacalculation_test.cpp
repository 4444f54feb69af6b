#include "generators/CZorvacalculation.h"

#include <cmath>

#include "tests/generators/dialog_fixture.h"

namespace {

constexpr int IDC_CALCULATE = 1178;

class CalculationTest : public DialogTest {
protected:
    void Open(std::function<long long(CZorvacalculation&)> script)
    {
        ModalDialogScript modal;
        modal.Then([&](CDialog& d) { return script(static_cast<CZorvacalculation&>(d)); });
        drv->doc->OnMachineParams();
    }
};

TEST_F(CalculationTest, PagesStoreInputsAndResultsForTheNextOpening)
{
    Open([](CZorvacalculation& d) {
        CWnd* p1 = &d.m_page1;
        Type(p1, 1009, u"120");
        Type(p1, 1015, u"40");
        Type(p1, 1016, u"2");
        Type(p1, 1017, u"20");
        Type(p1, 1096, u"20");
        p1->SendMessage(WM_COMMAND, IDC_CALCULATE, 0);
        EXPECT_EQ(Text(p1, 1099), CString(u"120.0"));
        // Page 3: the upper diameter follows the lower one as it is typed.
        CWnd* p3 = &d.m_page3;
        Type(p3, 1016, u"50");
        Type(p3, 1017, u"1");
        Type(p3, 1096, u"20");
        EXPECT_EQ(Text(p3, 1099), FormatNumber4(20 - 100 * std::tan(3.141592653589793 / 180)));
        KeepSnapshot(&d, u"calculation_dialog.png");
        return IDCANCEL;
    });
    EXPECT_EQ(g_CalcInputs.p1ResultH1, 120.0);
    EXPECT_EQ(g_CalcInputs.p3Thickness, 50.0);
    EXPECT_EQ(g_SettingsDirty, 1);
    Open([](CZorvacalculation& d) {
        EXPECT_EQ(Text(&d.m_page1, 1009), CString(u"120.0"));
        EXPECT_EQ(Text(&d.m_page1, 1099), CString(u"120.0"));
        EXPECT_EQ(Text(&d.m_page3, 1016), CString(u"50.0"));
        return IDCANCEL;
    });
}

TEST_F(CalculationTest, DivisionByZeroStoresNothing)
{
    MessageBoxScript boxes;
    boxes.Expect(CString(u"锥度不能为0"), IDOK);
    Open([](CZorvacalculation& d) {
        CWnd* p2 = &d.m_page2;
        Type(p2, 1015, u"40");
        Type(p2, 1016, u"0");
        Type(p2, 1096, u"20.2");
        p2->SendMessage(WM_COMMAND, IDC_CALCULATE, 0);
        // Page 1 with H2 = 0 shows 0.0 and stores no result.
        Type(&d.m_page1, 1015, u"0");
        d.m_page1.SendMessage(WM_COMMAND, IDC_CALCULATE, 0);
        EXPECT_EQ(Text(&d.m_page1, 1099), CString(u"0.0"));
        return IDCANCEL;
    });
    EXPECT_EQ(g_CalcInputs.p2Height2, 0.0);
    EXPECT_EQ(g_CalcInputs.p2ResultH2, 0.0);
    EXPECT_EQ(g_SettingsDirty, 0);
    for (const double* v = &g_CalcInputs.p1Height1; v <= &g_CalcInputs.p4ResultH1; ++v)
        EXPECT_TRUE(std::isfinite(*v));
}

} // namespace
