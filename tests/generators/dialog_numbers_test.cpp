// Every number field that shapes a path or the drawing, in every dialog
// that has one (the path dialogs of process/ and the generators here):
// text that is no number, empty included, is refused where the dialog
// takes its values. The dialog stays open, the field is selected, a hint
// under it and a line in the command output name it, and nothing is
// stored. A number in the same field is then taken. Before, such text
// was read as 0: F3's "x1" built a path without compensation, the batch
// dialog's "abc" built every path at 0 and stored the 0.

#include <cstring>
#include <functional>

#include "app/FrameState.h"
#include "generators/CZorvaarray.h"
#include "generators/CZorvacreateGear.h"
#include "generators/GeneratorState.h"
#include "generators/generators_install.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/control_hint.h"
#include "process/CZorvaTrail_create.h"
#include "process/CZorvaTrail_many.h"
#include "process/CZorvaSqlPage.h"
#include "process/CZorvasql_cutcount.h"
#include "tests/process/batch_fixture.h"
#include "view/worker_thread.h"

namespace {

constexpr int kWorkerTimeoutMs = 5000;

enum class Dlg { f3, f4, perCut, batch, compModify, compFill, gear, rack, rectArray, polarArray, curve, corners };
// The window that holds a field: the dialog itself or one of its pages.
enum class In { dialog, taperPage, inclinePage, cutPage, gearPage, rackPage, rectPage, polarPage };

struct Row {
    const char* name;
    Dlg dialog;
    In in;
    int id;
    const char16_t* label;           // the name the hint gives
    const char16_t* typed;           // refused
    const char16_t* number;          // then taken
    // Makes the field shown and enabled (a page, a mode, a check box).
    void (*reveal)(CWnd* dialog) = nullptr;
};

void Choose(CWnd* w, int id, int index) { dlgtest::Choose(w->GetDlgItem(id), index); }
void Click(CWnd* w, int id) { dlgtest::Click(w->GetDlgItem(id)); }

void TaperMode(CWnd* d) { Choose(d, 1027, 1); }
void InclineMode(CWnd* d) { Choose(d, 1027, 4); }
void TwoPathsPerShape(CWnd* d) { Choose(d, 1105, 2); }
void GearTypedSizes(CWnd* d) { Click(&static_cast<CZorvacreateGear*>(d)->m_gearPage, 1045); }
void GearByCount(CWnd* d)
{
    CWnd* page = &static_cast<CZorvacreateGear*>(d)->m_gearPage;
    if (auto* box = dynamic_cast<CButton*>(page->GetDlgItem(1030)); box != nullptr && box->GetCheck() == 0)
        Click(page, 1030);
}
void RackPage(CWnd* d) { Choose(d, 1189, 1); }
void RackTypedSizes(CWnd* d)
{
    RackPage(d);
    Click(&static_cast<CZorvacreateGear*>(d)->m_rackPage, 1029);
}
void PolarPage(CWnd* d) { Choose(d, 1189, 1); }

const Row kRows[] = {
    {"F3 compensation", Dlg::f3, In::dialog, 1112, u"钼丝补偿", u"x1", u"0.1"},
    {"F3 over-cut", Dlg::f3, In::dialog, 1113, u"过切量", u"", u"1"},
    {"F3 thickness", Dlg::f3, In::dialog, 1117, u"工件厚度", u"abc", u"20"},
    {"F3 cut-off pause", Dlg::f3, In::dialog, 1118, u"工件割断前暂停", u"2 mm", u"2"},
    {"F3 taper angle", Dlg::f3, In::taperPage, 1023, u"锥度角度", u"-", u"1.5", TaperMode},
    {"F3 incline x", Dlg::f3, In::inclinePage, 1009, u"X轴方向角度", u"abc", u"3", InclineMode},
    {"F3 incline y", Dlg::f3, In::inclinePage, 1015, u"Y轴方向角度", u"", u"-3", InclineMode},
    {"F4 compensation", Dlg::f4, In::dialog, 1009, u"钼丝补偿", u"abc", u"0.1"},
    {"F4 over-cut", Dlg::f4, In::dialog, 1015, u"过切量", u"1..5", u"1.5"},
    {"F4 thickness", Dlg::f4, In::dialog, 1016, u"工件厚度", u"", u"30"},
    {"F4 die width", Dlg::f4, In::dialog, 1017, u"模台宽度", u"abc", u"2"},
    {"F4 die step offset", Dlg::f4, In::dialog, 1096, u"加工台阶偏移", u"0,1", u"0.1"},
    {"F4 cut-off pause", Dlg::f4, In::dialog, 1099, u"工件割断前暂停", u"abc", u"1"},
    {"F4 trim lead", Dlg::f4, In::dialog, 1103, u"修刀斜刀的长度", u"nan", u"1"},
    {"F4 wire change", Dlg::f4, In::dialog, 1106, u"切割模台前换刀", u"abc", u"5"},
    {"F4 taper angle", Dlg::f4, In::taperPage, 1023, u"锥度角度", u"1-", u"2", TaperMode},
    {"F4 incline x", Dlg::f4, In::inclinePage, 1009, u"X轴方向角度", u"abc", u"3", InclineMode},
    {"per-cut allowance", Dlg::perCut, In::cutPage, 1015, u"余量(mm)", u"abc", u"0.02"},
    {"batch compensation", Dlg::batch, In::dialog, 1096, u"切割钼丝补偿值", u"abc", u"0.12"},
    {"batch lead angle", Dlg::batch, In::dialog, 1015, u"圆切入引线角度", u"", u"90"},
    {"batch lead length", Dlg::batch, In::dialog, 1009, u"圆外形引线长度", u"abc", u"4"},
    {"batch offset one", Dlg::batch, In::dialog, 1016, u"图形一加偏移", u"abc", u"0.01", TwoPathsPerShape},
    {"batch offset two", Dlg::batch, In::dialog, 1017, u"图形二加偏移", u"+", u"-0.01", TwoPathsPerShape},
    {"compensation table value", Dlg::compModify, In::dialog, 1009, u"补偿值", u"", u"0.05"},
    {"compensation table radius >=", Dlg::compFill, In::dialog, 1015, u"圆形补偿，半径>=", u"abc", u"10"},
    {"compensation table value >=", Dlg::compFill, In::dialog, 1016, u"半径>=的补偿", u"abc", u"0.1"},
    {"compensation table radius <", Dlg::compFill, In::dialog, 1099, u"圆形补偿，半径<", u"", u"5"},
    {"compensation table value <", Dlg::compFill, In::dialog, 1103, u"半径<的补偿", u"abc", u"0.1"},
    {"gear teeth", Dlg::gear, In::gearPage, 1009, u"齿数 (z)", u"", u"20"},
    {"gear module", Dlg::gear, In::gearPage, 1012, u"模数 (m)", u"abc", u"2.00"},
    {"gear profile shift", Dlg::gear, In::gearPage, 1015, u"变位系数 (x)", u"abc", u"0.1"},
    {"gear tip fillet", Dlg::gear, In::gearPage, 1016, u"齿顶过渡圆半径 (rt)", u"abc", u"0.0"},
    {"gear root fillet", Dlg::gear, In::gearPage, 1017, u"齿根过渡圆半径 (rf)", u"abc", u"0.5"},
    {"gear tip diameter", Dlg::gear, In::gearPage, 1099, u"齿顶圆直径 (da)", u"abc", u"39.2", GearTypedSizes},
    {"gear root diameter", Dlg::gear, In::gearPage, 1103, u"齿根圆直径 (df)", u"abc", u"31.8", GearTypedSizes},
    {"gear tooth count", Dlg::gear, In::gearPage, 1106, u"指定齿数生成", u"abc", u"3", GearByCount},
    {"gear start angle", Dlg::gear, In::gearPage, 1096, u"起始角度", u"abc", u"10", GearByCount},
    {"rack teeth", Dlg::rack, In::rackPage, 1009, u"齿数 (z)", u"abc", u"10", RackPage},
    {"rack module", Dlg::rack, In::rackPage, 1012, u"模数 (m)", u"", u"2.00", RackPage},
    {"rack profile shift", Dlg::rack, In::rackPage, 1016, u"变位系数 (x)", u"abc", u"0", RackPage},
    {"rack tip fillet", Dlg::rack, In::rackPage, 1017, u"齿顶过渡圆半径 (rt)", u"abc", u"0.0", RackPage},
    {"rack root fillet", Dlg::rack, In::rackPage, 1096, u"齿根过渡圆半径 (rf)", u"abc", u"0.5", RackPage},
    {"rack tip height", Dlg::rack, In::rackPage, 1099, u"齿顶高度 (ha)", u"abc", u"3.2", RackTypedSizes},
    {"rack root height", Dlg::rack, In::rackPage, 1103, u"齿根高度 (hf)", u"abc", u"4.2", RackTypedSizes},
    {"array count x", Dlg::rectArray, In::rectPage, 1009, u"行个数(X)", u"", u"3"},
    {"array count y", Dlg::rectArray, In::rectPage, 1015, u"列个数(Y)", u"", u"2"},
    {"array spacing x", Dlg::rectArray, In::rectPage, 1016, u"行偏移(mm)", u"abc", u"10"},
    {"array spacing y", Dlg::rectArray, In::rectPage, 1017, u"列偏移(mm)", u"abc", u"10"},
    {"array centre x", Dlg::polarArray, In::polarPage, 1009, u"中心点 X", u"abc", u"0", PolarPage},
    {"array centre y", Dlg::polarArray, In::polarPage, 1015, u"中心点 Y", u"", u"0", PolarPage},
    {"array radius", Dlg::polarArray, In::polarPage, 1016, u"圆半径(mm)", u"abc", u"50", PolarPage},
    {"array copies", Dlg::polarArray, In::polarPage, 1017, u"项目个数", u"abc", u"4", PolarPage},
    {"array fill angle", Dlg::polarArray, In::polarPage, 1096, u"填充角度", u"abc", u"360", PolarPage},
    {"array start angle", Dlg::polarArray, In::polarPage, 1099, u"起点角度", u"abc", u"0", PolarPage},
    {"array extra turn", Dlg::polarArray, In::polarPage, 1103, u"复制时旋转角度", u"abc", u"0", PolarPage},
    {"curve start angle", Dlg::curve, In::dialog, 1009, u"起始角(°)", u"abc", u"0"},
    {"curve end angle", Dlg::curve, In::dialog, 1015, u"终点角(°)", u"", u"90"},
    {"curve base", Dlg::curve, In::dialog, 1016, u"基数", u"abc", u"10"},
    {"corner angle", Dlg::corners, In::dialog, 1090, u"清角角度", u"abc", u"90"},
    {"corner lead length", Dlg::corners, In::dialog, 1091, u"引线长度", u"", u"0.5"},
    {"corner pause", Dlg::corners, In::dialog, 1095, u"清角停顿", u"abc", u"1"},
};

// Every value a refused press could have written.
struct Stored {
    MachiningSettings block;
    CutParams cut;
    ArraySettings array;
    GearParams gear;
    RackParams rack;
    std::int32_t cutType;
    std::uint8_t cutMode, dirty;
    std::vector<double> shapeCompensations;
    std::size_t units;

    static Stored Now()
    {
        Stored s{g_MachiningSettings, g_CutParams, g_ArraySettings, g_GearParams, g_RackParams,
                 g_CutTypeIndex, g_CutMode, g_SettingsDirty, {}, std::size_t(g_pDoc->m_unitList.GetSize())};
        for (CUnit* u : g_pDoc->m_unitList)
            s.shapeCompensations.push_back(u->compensation);
        return s;
    }
    bool operator==(const Stored& o) const
    {
        const auto same = [](const auto& a, const auto& b) { return std::memcmp(&a, &b, sizeof a) == 0; };
        return same(block, o.block) && same(cut, o.cut) && same(array, o.array) && same(gear, o.gear)
               && same(rack, o.rack) && cutType == o.cutType && cutMode == o.cutMode && dirty == o.dirty
               && shapeCompensations == o.shapeCompensations && units == o.units;
    }
};

class DialogNumbersTest : public BatchTest {
protected:
    void SetUp() override
    {
        BatchTest::SetUp();
        ResetGeneratorState();
        InstallGenerators();
        array = static_cast<CZorvaarray*>(FindFloatingPanel(171)(nullptr));
        g_pArrayPanel = array;
    }
    void TearDown() override
    {
        g_pArrayPanel = nullptr;
        delete array;
        BatchTest::TearDown();
    }

    // Runs check inside the row's dialog, opened as the user opens it;
    // press is the button that takes the values.
    void InDialog(const Row& r, const std::function<void(CWnd* dialog, CWnd* owner, std::function<void()> press)>& check)
    {
        switch (r.dialog) {
        case Dlg::f3:
        case Dlg::f4:
        case Dlg::gear:
        case Dlg::rack:
        case Dlg::curve:
        case Dlg::corners: {
            ModalDialogScript modal;
            modal.Then([&](CDialog& d) {
                d.ShowWindow(SW_SHOW);
                check(&d, Owner(r, &d), [&d] { d.PressButton(IDOK); });
                return IDCANCEL;
            });
            OpenModal(r.dialog);
            EXPECT_EQ(modal.Shown(), 1);
            return;
        }
        case Dlg::perCut: {
            ModalDialogScript modal;
            modal.Then([](CDialog& d) {
                dlgtest::ClickListRow(d.GetDlgItem(1008), 1, true);
                return IDCANCEL;
            });
            modal.Then([&](CDialog& d) {
                d.ShowWindow(SW_SHOW);
                check(&d, Owner(r, &d), [&d] { d.PressButton(IDOK); });
                return IDCANCEL;
            });
            drv->doc->OnTrailMany();
            EXPECT_EQ(modal.Shown(), 2);
            return;
        }
        case Dlg::batch:
            drv->view->OnBatchPaths();
            check(batch, batch, [this] { batch->PressButton(IDOK); });
            return;
        case Dlg::compModify:
        case Dlg::compFill:
            Circle(0, 0, 20);
            drv->view->OnBatchPaths();
            batch->PressButton(1179);
            dlgtest::ClickListRow(table->GetDlgItem(1008), 0);
            check(table, table, [this, &r] { table->PressButton(r.dialog == Dlg::compModify ? 1178 : 1179); });
            return;
        case Dlg::rectArray:
        case Dlg::polarArray:
            array->ShowWindow(SW_SHOW);
            check(array, Owner(r, array), [this] { array->PressButton(1178); });
            return;
        }
    }
    void OpenModal(Dlg d)
    {
        CZorvaDoc* doc = drv->doc;
        switch (d) {
        case Dlg::f3: doc->OnTrailCreate(); break;
        case Dlg::f4: doc->OnTrailMany(); break;
        case Dlg::gear:
        case Dlg::rack: doc->OnCreateGear(); break;
        case Dlg::curve: doc->OnFormulaCurve(); break;
        default: doc->OnClearCornerParams(); break;
        }
    }
    static CWnd* Owner(const Row& r, CWnd* dialog)
    {
        switch (r.in) {
        case In::taperPage: return &PagesOf(dialog).taper;
        case In::inclinePage: return &PagesOf(dialog).incline;
        case In::cutPage: return static_cast<CZorvasql_cutcount*>(dialog)->Page();
        case In::gearPage: return &static_cast<CZorvacreateGear*>(dialog)->m_gearPage;
        case In::rackPage: return &static_cast<CZorvacreateGear*>(dialog)->m_rackPage;
        case In::rectPage: return &static_cast<CZorvaarray*>(dialog)->m_rectPage;
        case In::polarPage: return &static_cast<CZorvaarray*>(dialog)->m_polarPage;
        default: return dialog;
        }
    }
    static CutModePages& PagesOf(CWnd* dialog)
    {
        if (auto* f3 = dynamic_cast<CZorvaTrail_create*>(dialog))
            return f3->m_pages;
        return dynamic_cast<CZorvaTrail_many*>(dialog)->m_pages;
    }
    static bool WholeTextSelected(CWnd* field)
    {
        CString text;
        field->GetWindowText(text);
        int start = -1, end = -1;
        if (auto* edit = dynamic_cast<CEdit*>(field)) {
            edit->GetSel(start, end);
        } else if (auto* combo = dynamic_cast<CComboBox*>(field)) {
            const DWORD sel = combo->GetEditSel();
            start = int(sel & 0xFFFF), end = int(sel >> 16);
        }
        return start == 0 && end == text.GetLength();
    }
    bool Printed(const CString& line) const
    {
        for (const CString& l : drv->Output())
            if (l == line)
                return true;
        return false;
    }
    static bool StillOpen(CWnd* dialog)
    {
        auto* d = dynamic_cast<CDialog*>(dialog);
        return dialog->IsWindowVisible() && (d == nullptr || d->GetEndResult() == -1);
    }

    CZorvaarray* array = nullptr;
};

TEST_F(DialogNumbersTest, TextThatIsNoNumberIsRefusedAndNothingIsStored)
{
    for (const Row& r : kRows) {
        SCOPED_TRACE(r.name);
        InDialog(r, [&](CWnd* dialog, CWnd* owner, const std::function<void()>& press) {
            ASSERT_NE(owner, nullptr);
            if (r.reveal != nullptr)
                r.reveal(dialog);
            CWnd* field = owner->GetDlgItem(r.id);
            ASSERT_NE(field, nullptr);
            ASSERT_TRUE(field->IsWindowVisible() && field->IsWindowEnabled());
            dlgtest::TypeText(field, CString(r.typed));
            const Stored before = Stored::Now();
            press();
            harness::PumpPosted();
            const CString hint = CString(u"输入有误：") + r.label;
            EXPECT_TRUE(StillOpen(dialog));
            EXPECT_TRUE(Stored::Now() == before) << "nothing is stored";
            EXPECT_EQ(ShownControlHint(), hint);
            EXPECT_EQ(ControlOfShownHint(), field);
            EXPECT_TRUE(Printed(u"#" + hint));
            EXPECT_EQ(harness::FocusWithin(dialog), field);
            EXPECT_TRUE(WholeTextSelected(field));

            // Typing clears the hint; a number is taken.
            dlgtest::TypeText(field, CString(r.number));
            EXPECT_TRUE(ShownControlHint().IsEmpty());
            const std::size_t lines = drv->Output().size();
            press();
            ASSERT_TRUE(WaitForWorkerForTest(kWorkerTimeoutMs));   // a batch run hands back
            drv->Settle();
            EXPECT_TRUE(ShownControlHint().IsEmpty());
            const std::vector<CString> output = drv->Output();
            for (std::size_t k = lines; k < output.size(); ++k)
                EXPECT_LT(output[k].Find(u"输入有误"), 0) << output[k].ToUtf8();
        });
    }
}

// A field the user cannot see or change is not checked: its text, no
// number, leaves the stored value as it was.
TEST_F(DialogNumbersTest, HiddenOrDisabledFieldKeepsItsSetting)
{
    g_MachiningSettings.compensation = 0.11;
    g_MachiningSettings.inclineAngleX = 7.0;
    ModalDialogScript modal;
    modal.Then([](CDialog& d) {
        auto& f3 = static_cast<CZorvaTrail_create&>(d);
        dlgtest::TypeText(d.GetDlgItem(1112), CString(u"abc"));
        Click(&d, 1029);                                // 无偏移 disables it
        dlgtest::TypeText(f3.m_pages.incline.GetDlgItem(1009), CString(u"abc"));
        d.PressButton(IDOK);                            // cut type 常规: the page is hidden
        EXPECT_NE(d.GetEndResult(), -1);
        return IDCANCEL;
    });
    drv->doc->OnTrailCreate();
    EXPECT_EQ(g_MachiningSettings.compensation, 0.11);
    EXPECT_EQ(g_MachiningSettings.inclineAngleX, 7.0);
    EXPECT_EQ(g_MachiningSettings.noOffset, 1);
}

} // namespace
