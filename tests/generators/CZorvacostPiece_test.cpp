#include "generators/CZorvacostPiece.h"

#include <map>

#include "generators/cost_estimate.h"
#include "geometry/CLine.h"
#include "tests/generators/dialog_fixture.h"
#include "wirepath/TrailParams.h"

namespace {

constexpr int IDC_THICKNESS = 1009, IDC_PRICE = 1015, IDC_RESULT = 1002;

// Paths stand in as units of role 4 whose parameters the test keeps.
std::map<const CUnit*, TrailParams> g_paths;

const TrailParams* ReadParams(CUnit& unit)
{
    const auto at = g_paths.find(&unit);
    return at != g_paths.end() ? &at->second : nullptr;
}

class CostTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        SetTrailParamsReader(&ReadParams);
    }
    void TearDown() override
    {
        SetTrailParamsReader(nullptr);
        g_paths.clear();
        DialogTest::TearDown();
    }
    CUnit* AddUnit(int role, bool selected)
    {
        ++g_UnitIdCounter;
        auto* u = new CLine(0, 0, 1, 0);
        u->role = role;
        u->selected = selected ? 1 : 0;
        u->complete = 1;
        drv->doc->AppendUnit(u);
        return u;
    }
    CUnit* AddPath(double lower, double upper, bool selected = true)
    {
        CUnit* u = AddUnit(kRolePath, selected);
        TrailParams p;
        p.length[0] = lower;
        p.length[1] = upper;
        g_paths[u] = p;
        return u;
    }
    void Open(std::function<long long(CDialog&)> script)
    {
        ModalDialogScript modal;
        modal.Then(std::move(script));
        drv->doc->OnCostEstimate();
    }
};

TEST_F(CostTest, TwoPathsAtThicknessTwentyAndPriceOneHundredth)
{
    AddPath(100, 0);
    AddPath(50, 0);
    AddPath(500, 0)->deleted = 1;
    AddUnit(kRoleDrawing, true);
    Open([](CDialog& d) {
        EXPECT_EQ(Text(&d, IDC_THICKNESS), CString(u"0.0"));
        Type(&d, IDC_THICKNESS, u"20");
        Type(&d, IDC_PRICE, u"0.01");
        d.PressButton(IDOK);
        EXPECT_EQ(Text(&d, IDC_RESULT), CString(u"工件数量：2  估算费用：30.0"));
        EXPECT_EQ(d.GetEndResult(), -1) << "the dialog stays open";
        KeepSnapshot(&d, u"cost_dialog.png");
        return IDCANCEL;
    });
    EXPECT_EQ(g_MachiningSettings.costThickness, 20.0);
    EXPECT_EQ(g_MachiningSettings.costUnitPrice, 0.01);
    EXPECT_EQ(g_SettingsDirty, 1);
}

TEST_F(CostTest, UpperSurfaceChargedWhenLongerAndSelectAllPaths)
{
    g_MachiningSettings.costThickness = 10;
    g_MachiningSettings.costUnitPrice = 1;
    AddPath(100, 120, false);
    CUnit* line = AddUnit(kRoleDrawing, true);
    Open([](CDialog& d) {
        d.PressButton(IDOK);
        EXPECT_EQ(Text(&d, IDC_RESULT), CString(u"提示：请选择加工轨迹再估算"));
        d.PressButton(1178);
        d.PressButton(IDOK);
        EXPECT_EQ(Text(&d, IDC_RESULT), CString(u"工件数量：1  估算费用：1200.0"));
        return IDCANCEL;
    });
    EXPECT_EQ(line->selected, 0);
    // The same thickness and price as stored: nothing stored.
    EXPECT_EQ(g_SettingsDirty, 0);
}

} // namespace
