#include "process/CZorvaTrail_create.h"

#include "process/CZorvaSqlPage.h"
#include "tests/process/path_dialog_fixture.h"

namespace {

constexpr int IDC_COMPENSATION = 1112, IDC_OVERCUT = 1113, IDC_THICKNESS = 1117, IDC_CUT_TYPE = 1027;
constexpr int IDC_OFFSET_OFF = 1029, IDC_CUTOFF_DISTANCE = 1118, IDC_PROCESS_TAB = 1189;
constexpr int IDC_TAPER = 1023;

// A field of the 40-byte cut record: offset and width, little-endian.
struct Bytes {
    int offset;
    int width;
};
std::uint32_t Read(const CutParams& cut, Bytes at)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(&cut) + at.offset;
    return at.width == 1 ? p[0] : std::uint32_t(p[0] | p[1] << 8);
}

class TrailCreateTest : public PathDialogTest {
protected:
    // Opens the dialog through the document's menu command and answers it.
    void Open(Script script)
    {
        ModalDialogScript modal;
        modal.Then(std::move(script));
        drv->doc->OnTrailCreate();
    }
    static CZorvaTrail_create& Dlg(CDialog& d) { return dynamic_cast<CZorvaTrail_create&>(d); }
    static CZorvaSqlPage* Page(CDialog& d) { return Dlg(d).ProcessPage(); }
};

TEST_F(TrailCreateTest, EachCodingVersionShowsItsPage)
{
    const struct {
        const char16_t* snapshot;
        std::uint8_t stored;
        unsigned page;                  // 0: none
    } kCases[] = {
        {u"trail_create_fast_wire.png", 10, 0},
        {u"trail_create_hl.png", 11, 1235},
        {u"trail_create_hf_group.png", 0, 1236},
        {u"trail_create_hf_class2.png", 1, 1237},
        {u"trail_create_hf_class4.png", 2, 1238},
        {u"trail_create_damaged_version.png", 7, 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(int(c.stored));
        g_MachiningSettings.codingMode = c.stored;
        Open([&](CDialog& d) {
            KeepSnapshot(&d, c.snapshot);
            CZorvaSqlPage* page = Page(d);
            EXPECT_EQ(page != nullptr ? page->GetTemplateId() : 0u, c.page);
            EXPECT_EQ(Visible(&d, IDC_PROCESS_TAB), c.page != 0);
            if (page != nullptr) {
                EXPECT_TRUE(page->IsWindowVisible());
                EXPECT_EQ(Text(page, 1015), CString(u"0.0"));
                EXPECT_FALSE(page->GetDlgItem(1015)->IsWindowEnabled()) << "a single pass has no allowance";
            }
            d.PressButton(IDCANCEL);
            return IDCANCEL;
        });
    }
}

TEST_F(TrailCreateTest, OkStoresTypedValuesAsTheirFields)
{
    // Typed text, then the bytes OK stores. Values that do not fit their
    // field are stored as the nearest value that does, never wrapped.
    const struct {
        const char* name;
        std::uint8_t version;
        int id;
        const char16_t* typed;
        Bytes at;                       // where the 40-byte record keeps the field
        std::uint32_t stored;
    } kCases[] = {
        {"HL pulse width", 11, 1016, u"35", {8, 2}, 35},
        {"HL pulse width saturates", 11, 1016, u"70000", {8, 2}, 65535},
        {"HL interval 300", 11, 1017, u"300", {10, 1}, 255},
        {"HL interval -300", 11, 1017, u"-300", {10, 1}, 255},
        {"HL interval negative", 11, 1017, u"-12.7", {10, 1}, 12},
        {"HL group width not read", 11, 1096, u"77", {11, 1}, 0},
        {"HL track x10", 11, 1103, u"12.39", {14, 2}, 123},
        {"HL track limited", 11, 1103, u"123.45", {14, 2}, 1000},
        {"HL negative track", 11, 1103, u"-1", {14, 2}, 0},
        {"HL speed absolute", 11, 1106, u"-250", {16, 2}, 250},
        {"HL speed saturates", 11, 1106, u"99999", {16, 2}, 65535},
        {"HL text not a number", 11, 1106, u"abc", {16, 2}, 0},
        {"group track", 0, 1016, u"92", {14, 2}, 920},
        {"group speed", 0, 1017, u"256", {16, 2}, 256},
        {"class-2 track", 1, 1016, u"0.05", {14, 2}, 0},
        {"class-4 pulse width 300", 2, 1016, u"300", {8, 2}, 255},
        {"class-4 wire speed 70000", 2, 1112, u"70000", {24, 2}, 255},
        {"class-4 current 256", 2, 1096, u"256", {11, 1}, 255},
        {"class-4 voltage -3", 2, 1099, u"-3", {12, 1}, 3},
        {"class-4 group pulse", 2, 1106, u"200", {18, 2}, 200},
        {"class-4 step pulse", 2, 1110, u"1000", {20, 2}, 255},
        {"class-4 repeat time", 2, 1111, u"7.9", {22, 2}, 7},
        {"class-4 track", 2, 1113, u"99.99", {14, 2}, 999},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        g_MachiningSettings.codingMode = c.version;
        Open([&](CDialog& d) {
            Type(Page(d), c.id, c.typed);
            d.PressButton(IDOK);
            return IDCANCEL;
        });
        EXPECT_EQ(Read(g_CutParams, c.at), c.stored);
        EXPECT_EQ(g_CutParams.allowance, 0.0);
        if (c.version <= 2) {
            EXPECT_EQ(std::memcmp(&g_MachiningSettings.lastSingleCuts[c.version], &g_CutParams, sizeof(CutParams)), 0);
        }
    }
}

TEST_F(TrailCreateTest, OkStoresThePathSettingsAndStartsPathGeneration)
{
    Open([](CDialog& d) {
        Type(&d, IDC_COMPENSATION, u"-0.105");
        Type(&d, IDC_OVERCUT, u"-1.5");
        Type(&d, IDC_THICKNESS, u"-40");
        Type(&d, IDC_CUTOFF_DISTANCE, u"-2");
        Click(&d, IDC_OFFSET_OFF);
        EXPECT_FALSE(d.GetDlgItem(IDC_COMPENSATION)->IsWindowEnabled());
        Choose(&d, IDC_CUT_TYPE, 4);
        CutModePages& pages = Dlg(d).m_pages;
        Type(&pages.incline, 1009, u"95");
        Type(&pages.incline, 1015, u"-12.5");
        Click(&pages.incline, 1097);
        EXPECT_EQ(Text(&pages.incline, 1240), CString(u"(mm)"));
        Click(&pages.profiles, 1029);
        Click(&pages.profiles, 1030);
        Click(&pages.profiles, 1032);
        EXPECT_FALSE(Checked(&pages.profiles, 1030)) << "the two boxes exclude each other";
        d.PressButton(IDOK);
        return IDCANCEL;
    });
    const MachiningSettings& m = g_MachiningSettings;
    EXPECT_EQ(m.compensation, -0.105);
    EXPECT_EQ(m.overCut, 1.5);
    EXPECT_EQ(m.thickness, 40.0);
    EXPECT_EQ(m.cutOffPauseDistance, 2.0);
    EXPECT_EQ(m.noOffset, 1);
    EXPECT_EQ(m.inclineAngleX, 90.0);
    EXPECT_EQ(m.inclineAngleY, -12.5);
    EXPECT_EQ(m.inclineAsDistances, 1);
    EXPECT_EQ(m.syncByCentre, 1);
    EXPECT_EQ(m.profileUsesIncline, 1);
    EXPECT_EQ(m.profileNoMerge, 0);
    EXPECT_EQ(m.multiPass, 0);
    EXPECT_EQ(m.batchMode, 0) << "only normal and taper cuts reach the batch mode";
    EXPECT_EQ(g_CutTypeIndex, 4);
    EXPECT_EQ(g_CutMode, 4);
    EXPECT_EQ(g_SettingsDirty, 1);
    EXPECT_EQ(g_lastCommand, kCmdPath);
}

TEST_F(TrailCreateTest, OkWithoutChangesLeavesTheSettingsUnmarked)
{
    g_MachiningSettings.codingMode = 11;
    Open([](CDialog& d) {
        d.PressButton(IDOK);
        return IDCANCEL;
    });
    EXPECT_EQ(g_SettingsDirty, 0);
    EXPECT_EQ(g_lastCommand, kCmdPath) << "OK starts path generation also when nothing changed";
}

TEST_F(TrailCreateTest, CutTypeShowsItsPage)
{
    Open([](CDialog& d) {
        d.ShowWindow(SW_SHOW);
        CutModePages& p = Dlg(d).m_pages;
        CWnd* pages[] = {&p.normal, &p.taper, &p.profiles, &p.varTaper, &p.incline};
        const char16_t* names[] = {u"trail_create_normal_page.png", u"trail_create_taper_page.png",
                                   u"trail_create_profiles_page.png", u"trail_create_var_taper_page.png",
                                   u"trail_create_incline_page.png"};
        for (int mode : {1, 3, 2, 4, 0}) {
            Choose(&d, IDC_CUT_TYPE, mode);
            for (int k = 0; k < 5; ++k)
                EXPECT_EQ(pages[k]->IsWindowVisible() != 0, k == mode) << mode << " " << k;
            EXPECT_EQ(g_CutMode, mode);
            if (mode == 3) {
                EXPECT_EQ(g_MachiningSettings.batchMode, 1) << "variable taper keeps the batch mode";
            }
            KeepSnapshot(&d, names[mode]);
        }
        Choose(&d, 1021, 2);
        EXPECT_EQ(Selected(&d, IDC_CUT_TYPE), 2) << "a tab chooses its cut type";
        EXPECT_EQ(g_CutMode, 2);
        EXPECT_TRUE(p.profiles.IsWindowVisible());
        d.PressButton(IDCANCEL);
        return IDCANCEL;
    });
}

// The taper edit wrote each keystroke into the settings, so a Cancel kept a
// half-typed angle; and -95 was taken before OK limited it.
TEST_F(TrailCreateTest, TaperAngleIsTakenOnOkOnly)
{
    Open([](CDialog& d) {
        CWnd* taper = &Dlg(d).m_pages.taper;
        Type(taper, IDC_TAPER, u"-95");
        EXPECT_EQ(Text(taper, IDC_TAPER), CString(u"2.0")) << "a right angle or more is refused";
        Type(taper, IDC_TAPER, u"1a");
        EXPECT_EQ(Text(taper, IDC_TAPER), CString(u"2.0"));
        Type(taper, IDC_TAPER, u"-7.25");
        EXPECT_EQ(Text(taper, IDC_TAPER), CString(u"-7.25"));
        EXPECT_EQ(g_MachiningSettings.taperAngle, 2.0);
        EXPECT_EQ(g_SettingsDirty, 0);
        d.PressButton(IDCANCEL);
        return IDCANCEL;
    });
    EXPECT_EQ(g_MachiningSettings.taperAngle, 2.0);
    Open([](CDialog& d) {
        Type(&Dlg(d).m_pages.taper, IDC_TAPER, u"-7.25");
        d.PressButton(IDOK);
        return IDCANCEL;
    });
    EXPECT_EQ(g_MachiningSettings.taperAngle, -7.25);
}

TEST_F(TrailCreateTest, StoredRightAngleTaperIsRefusedAtOk)
{
    g_MachiningSettings.taperAngle = 90.0;
    MessageBoxScript boxes;
    boxes.Expect(CString(u"锥度角度"), IDOK);
    Open([](CDialog& d) {
        d.PressButton(IDOK);
        EXPECT_EQ(d.GetEndResult(), -1) << "the dialog stays open";
        EXPECT_EQ(Selected(&d, IDC_CUT_TYPE), 1) << "on the taper page";
        Type(&Dlg(d).m_pages.taper, IDC_TAPER, u"30");
        d.PressButton(IDOK);
        return IDCANCEL;
    });
    EXPECT_EQ(g_MachiningSettings.taperAngle, 30.0);
}

TEST_F(TrailCreateTest, CancelChangesNothing)
{
    // Version 2 loads its last single cut, with a choice out of range that
    // the dialog corrects on opening; the cut type is a damaged value.
    g_MachiningSettings.codingMode = 2;
    g_MachiningSettings.lastSingleCuts[2].choice[1] = 5;
    g_CutParams.pulseWidth = 77;
    g_CutTypeIndex = 9;
    g_CutMode = 3;
    const SettingsBytes before = SettingsBytes::Now();
    Open([](CDialog& d) {
        Type(&d, IDC_COMPENSATION, u"0.3");
        Choose(&d, IDC_CUT_TYPE, 1);
        Type(&Dlg(d).m_pages.taper, IDC_TAPER, u"12");
        Type(Page(d), 1016, u"99");
        d.PressButton(IDCANCEL);
        return IDCANCEL;
    });
    EXPECT_TRUE(SettingsBytes::Now() == before);
    EXPECT_NE(g_lastCommand, kCmdPath);
}

} // namespace
