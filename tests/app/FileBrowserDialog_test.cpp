// The built-in open, save-as and search dialogs, driven by keys and buttons
// on a folder tree made here, and the document's Open, Save and Save As
// through them.

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/CZorvaFileSaveAs.h"
#include "app/CZorvaOpenFile.h"
#include "app/browser_resources.h"
#include "app/wcx_file.h"
#include "doc_fixture.h"
#include "geometry/CLine.h"
#include "platform/core/files.h"
#include "platform/testing/dialog_answers.h"
#include "platform/testing/ui_harness.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CListCtrl.h"

namespace {

constexpr UINT kBackquote = 0xC0;

// Prints like the view; the file dialogs are the real ones.
class BrowserUi : public DocumentUi {
public:
    bool WriteDcxFile(const CString& path) override
    {
        dcxWrites.push_back(path);
        return true;
    }
    bool Printed(const char16_t* text) const
    {
        for (const CString& line : m_lines)
            if (line == CString(text))
                return true;
        return false;
    }
    std::vector<CString> dcxWrites;
};

class FileBrowserTest : public DocTest {
protected:
    void SetUp() override
    {
        DocTest::SetUp();
        harness::InitGui();
        harness::UseVirtualClock(true);
        g_pDocUi = &browserUi;
        tree = DataRoot() + u"/tree";
        const std::string t = NativePath(tree);
        std::filesystem::create_directories(t + "/parts");
        std::filesystem::create_directories(t + "/sub");
        CZorvaDoc source;
        source.m_unitList.Add(new CLine(0, 0, 10, 0));
        WriteWcxFile(tree + u"/parts/a.wcx", source);
        source.FreeAllUnits();
        std::filesystem::copy_file(std::string(ZORVA_TEST_DATA) + "/kinds_r12.dxf", t + "/parts/b.dxf");
        Write(t + "/parts/c.dat", "L=0,0,10,0\nC=5,5,2\n");
        Write(t + "/parts/x.nc", "G01");
        doc->m_unitList.Add(new CLine(0, 0, 5, 5));
        doc->m_unitList[0]->complete = 1;
        g_browseFolder = tree;
    }
    void TearDown() override
    {
        g_pDocUi = nullptr;
        harness::ResetKeyboard();
        DocTest::TearDown();
    }
    static void Write(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const CString& path)
    {
        std::ifstream in(NativePath(path), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static CListCtrl* ListOf(CDialog& d) { return dynamic_cast<CListCtrl*>(d.GetDlgItem(kIdBrowserList)); }
    static std::vector<CString> Rows(CDialog& d)
    {
        std::vector<CString> rows;
        CListCtrl* list = ListOf(d);
        for (int i = 0; i < list->GetItemCount(); ++i)
            rows.push_back(list->GetItemText(i, 0));
        return rows;
    }
    static void Key(CDialog& d, UINT vk, int control = kIdBrowserList) { harness::PressKey(d.GetDlgItem(control), vk); }
    static void Select(CDialog& d, const CString& name)
    {
        CListCtrl* list = ListOf(d);
        for (int i = 0; i < list->GetItemCount(); ++i) {
            const UINT state = list->GetItemText(i, 0) == name ? LVIS_SELECTED | LVIS_FOCUSED : 0;
            list->SetItemState(i, state, LVIS_SELECTED | LVIS_FOCUSED);
        }
    }
    static CString NameEdit(CDialog& d)
    {
        CString name;
        d.GetDlgItemText(kIdNameEdit, name);
        return name;
    }
    int LiveUnits() const
    {
        int n = 0;
        for (CUnit* u : doc->m_unitList)
            n += u->deleted ? 0 : 1;
        return n;
    }

    BrowserUi browserUi;
    CString tree;
};

const std::vector<CString> kTreeRows = {kUpRowText, u"parts", u"sub"};

TEST_F(FileBrowserTest, OpenDrivenByKeysWalksTheTreeFiltersByTypeAndOpensADrawing)
{
    g_openTypeIndex = 0;
    ModalDialogScript script;
    script.Then([&](CDialog& d) {
        EXPECT_EQ(Rows(d), kTreeRows);
        Key(d, VK_DOWN);            // nothing selected: the first row
        Key(d, VK_DOWN);            // the list's own move: "parts"
        Key(d, VK_RETURN);
        EXPECT_EQ(g_browseFolder, tree + u"/parts");
        EXPECT_EQ(Rows(d), (std::vector<CString>{kUpRowText, u"a.wcx", u"b.dxf", u"c.dat", u"x.nc"}));
        Key(d, kBackquote);         // the next type: ".wcx" only
        EXPECT_EQ(g_openTypeIndex, 1);
        EXPECT_EQ(Rows(d), (std::vector<CString>{kUpRowText, u"a.wcx"}));
        Key(d, VK_BACK);
        EXPECT_EQ(g_browseFolder, tree);
        EXPECT_EQ(Rows(d), kTreeRows);
        Key(d, VK_DOWN);
        Key(d, VK_DOWN);
        Key(d, VK_RETURN);
        Key(d, VK_DOWN);
        Key(d, VK_DOWN);
        Key(d, VK_RETURN);          // a file row: the default button opens it
        return IDCANCEL;
    });
    doc->OnFileOpen();
    EXPECT_EQ(script.Shown(), 1);
    EXPECT_EQ(g_currentFileName, CString(u"a.wcx"));
    EXPECT_EQ(g_currentFilePath, tree + u"/parts/a.wcx");
    EXPECT_EQ(g_fileDialogType, 0);
    EXPECT_EQ(LiveUnits(), 1);
    EXPECT_TRUE(browserUi.Printed(u"*打开/保存文件，面板功能快捷键（~/Back/Enter/方向键）"));
}

// Each kind opens by its type; afterwards Save writes a drawing beside it
// (before, Save after a DXF exported paths and after a ".dat" did nothing).
TEST_F(FileBrowserTest, OpenByTypeThenSaveWritesADrawing)
{
    const struct { const char16_t* name; int openType; const char16_t* saved; } kCases[] = {
        {u"a.wcx", 1, u"a.wcx"}, {u"b.dxf", 2, u"b.wcx"}, {u"c.dat", 3, u"c.wcx"}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(CString(c.name).ToUtf8());
        g_browseFolder = tree + u"/parts";
        g_openTypeIndex = std::uint8_t(c.openType);
        ModalDialogScript script;
        script.Then([&](CDialog& d) {
            EXPECT_EQ(Rows(d), (std::vector<CString>{kUpRowText, c.name}));
            Select(d, c.name);
            d.PressButton(IDOK);
            return IDCANCEL;
        });
        doc->OnFileOpen();
        EXPECT_GT(LiveUnits(), 0);
        EXPECT_EQ(g_fileDialogType, 0);
        browserUi.dcxWrites.clear();
        doc->OnFileSave();
        EXPECT_TRUE(browserUi.dcxWrites.empty());
        EXPECT_TRUE(browserUi.Printed((CString(u"存盘成功--") + c.saved).GetString()));
        CUnitArray back;
        EXPECT_EQ(ReadWcxFile(tree + u"/parts/" + c.saved, back), WcxRead::loaded);
        EXPECT_EQ(back.GetSize(), LiveUnits());
        FreeUnitArray(back);
    }
}

TEST_F(FileBrowserTest, OpenRefusesMachiningSettingAndUnknownFiles)
{
    Write(NativePath(tree) + "/parts/p.setting", "x");
    Write(NativePath(tree) + "/parts/q.txt", "x");
    g_browseFolder = tree + u"/parts";
    g_openTypeIndex = 0;
    ModalDialogScript script;
    script.Then([&](CDialog& d) {
        const struct { const char16_t* row; const char16_t* line; } kCases[] = {
            {u"x.nc", u"#(*.nc)加工文件， 请在【加工软件】中打开"},
            {u"p.setting", u"#(*.setting)配置文件，请在【加工软件】中打开"},
            {u"q.txt", u"#未知文件类型"},
            {kUpRowText, u"#未知文件类型"},
        };
        auto& open = dynamic_cast<CZorvaOpenFile&>(d);
        for (const auto& c : kCases) {
            browserUi.m_lines.clear();
            Select(d, c.row);
            EXPECT_FALSE(open.ConfirmOpen());
            EXPECT_TRUE(browserUi.Printed(c.line)) << CString(c.row).ToUtf8();
            EXPECT_EQ(g_fileDialogType, -1);
        }
        return IDCANCEL;
    });
    doc->OnFileOpen();
}

// Every deletion asks (before, only the first one of the dialog did).
TEST_F(FileBrowserTest, DeleteAsksEachTimeAndNoKeepsTheFile)
{
    g_browseFolder = tree + u"/parts";
    g_openTypeIndex = 0;
    MessageBoxScript boxes;
    boxes.Expect(u"确定删除文件 <c.dat>？", IDYES)
        .Expect(u"确定删除文件 <x.nc>？", IDYES)
        .Expect(u"确定删除文件 <b.dxf>？", IDNO);
    ModalDialogScript script;
    script.Then([&](CDialog& d) {
        for (const char16_t* name : {u"c.dat", u"x.nc", u"b.dxf"}) {
            Select(d, name);
            Key(d, VK_DELETE);
            EXPECT_FALSE(ListOf(d)->IsWindowEnabled());     // until the deferred action runs
            harness::AdvanceTime(2);
        }
        EXPECT_EQ(Rows(d), (std::vector<CString>{kUpRowText, u"a.wcx", u"b.dxf"}));
        return IDCANCEL;
    });
    doc->OnFileOpen();
    EXPECT_FALSE(FileExists(tree + u"/parts/c.dat"));
    EXPECT_FALSE(FileExists(tree + u"/parts/x.nc"));
    EXPECT_TRUE(FileExists(tree + u"/parts/b.dxf"));
    EXPECT_TRUE(boxes.Done());
}

TEST_F(FileBrowserTest, SearchFiltersOneListingAndColumnClickSorts)
{
    Write(NativePath(tree) + "/parts/xab.wcx", "x");
    g_browseFolder = tree + u"/parts";
    g_openTypeIndex = 0;
    ModalDialogScript script;
    script.Then([&](CDialog& d) {
        d.SendMessage(WM_COMMAND, kCmdBrowserSearch, 0);
        harness::AdvanceTime(2);
        EXPECT_EQ(Rows(d), (std::vector<CString>{kUpRowText, u"xab.wcx"}));
        EXPECT_EQ(g_searchText, CString(u"ab"));
        d.SendMessage(WM_COMMAND, kCmdBrowserRefresh, 0);
        harness::AdvanceTime(2);
        EXPECT_EQ(Rows(d).size(), 6u);
        auto& browser = dynamic_cast<FileBrowserDialog&>(d);
        browser.SortByColumn(0);
        EXPECT_EQ(Rows(d), (std::vector<CString>{u"a.wcx", u"b.dxf", u"c.dat", u"x.nc", u"xab.wcx", kUpRowText}));
        return IDCANCEL;
    });
    script.Then([](CDialog& search) {
        EXPECT_EQ(search.GetTemplateId(), IDD_FILE_SEARCH);
        search.SetDlgItemText(kIdNameEdit, CString(u"  ab "));
        search.PressButton(IDOK);
        return IDCANCEL;
    });
    doc->OnFileOpen();
}

TEST_F(FileBrowserTest, UpFromADriveGoesToTheDriveLevel)
{
    g_browseFolder = CString(u"/");
    ModalDialogScript script;
    script.Then([&](CDialog& d) -> long long {
        EXPECT_TRUE(d.GetDlgItem(kIdUpButton)->IsWindowEnabled());
        Key(d, VK_BACK);
        EXPECT_TRUE(g_browseFolder.IsEmpty());
        EXPECT_FALSE(d.GetDlgItem(kIdUpButton)->IsWindowEnabled());
        const std::vector<CString> rows = Rows(d);
        EXPECT_FALSE(rows.empty());
        EXPECT_EQ(rows.empty() ? CString() : rows[0], CString(u"/"));
        Select(d, CString(u"/"));
        dynamic_cast<FileBrowserDialog&>(d).RowAction(0);
        EXPECT_EQ(g_browseFolder, CString(u"/"));
        return IDCANCEL;
    });
    doc->OnFileOpen();
}

TEST_F(FileBrowserTest, SaveAsDrivenByKeysProposesTheNextDefaultNameAndWrites)
{
    Write(NativePath(tree) + "/图形文件 (1).wcx", "x");
    Write(NativePath(tree) + "/图形文件 (2).wcx", "x");
    g_saveTypeIndex = 0;
    ModalDialogScript script;
    script.Then([&](CDialog& d) {
        EXPECT_EQ(NameEdit(d), CString(u"图形文件 (3).wcx"));
        auto* types = dynamic_cast<CComboBox*>(d.GetDlgItem(kIdTypeCombo));
        types->SetCurSel(1);
        d.SendMessage(WM_COMMAND, MAKEWPARAM(kIdTypeCombo, CBN_SELCHANGE), LPARAM(types->GetSafeHwnd()));
        EXPECT_EQ(NameEdit(d), CString(u"轨迹文件 (3).dcx"));
        types->SetCurSel(0);
        d.SendMessage(WM_COMMAND, MAKEWPARAM(kIdTypeCombo, CBN_SELCHANGE), LPARAM(types->GetSafeHwnd()));
        Key(d, VK_DOWN);
        Key(d, VK_DOWN);
        Key(d, VK_RETURN);          // into "parts": Enter stays with the list
        EXPECT_EQ(g_browseFolder, tree + u"/parts");
        Key(d, kBackquote);         // to the name edit
        d.SetDlgItemText(kIdNameEdit, CString(u"Part.DXF"));
        Key(d, 'S', kIdBrowserList);
        return IDCANCEL;
    });
    doc->OnFileSaveAs();
    EXPECT_EQ(g_currentFileName, CString(u"part.wcx"));
    CUnitArray back;
    EXPECT_EQ(ReadWcxFile(tree + u"/parts/part.wcx", back), WcxRead::loaded);
    FreeUnitArray(back);
    EXPECT_TRUE(browserUi.Printed(u"存盘成功文件--part.wcx"));
}

TEST_F(FileBrowserTest, ConfirmSaveRefusals)
{
    const struct { const char* name; const char16_t* text; const char16_t* folder; bool empty; const char16_t* line; } kCases[] = {
        {"empty drawing", u"a", nullptr, true, u"#当前实体图形为空"},
        {"no name", u"   ", nullptr, false, u"#请设置文件名"},
        {"colon", u"a:b", nullptr, false, u"#文件名包含非法字符"},
        {"question mark", u"a?", nullptr, false, u"#文件名包含非法字符"},
        {"only a dot", u".wcx", nullptr, false, u"#请设置文件名"},
        {"drive level", u"a", u"", false, u"#请选择保存文件目录"},
        {"drive level marker, once written at the root", u"tmp", u"\\", false, u"#请选择保存文件目录"},
        {"missing folder", u"a", u"/no/such/folder", false, u"#文件路径不存在"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        doc->m_unitList[0]->deleted = c.empty ? 1 : 0;
        g_browseFolder = tree;
        ModalDialogScript script;
        script.Then([&](CDialog& d) {
            if (c.folder != nullptr)
                g_browseFolder = c.folder;
            d.SetDlgItemText(kIdNameEdit, CString(c.text));
            browserUi.m_lines.clear();
            EXPECT_FALSE(dynamic_cast<CZorvaFileSaveAs&>(d).ConfirmSave());
            EXPECT_TRUE(browserUi.Printed(c.line));
            return IDCANCEL;
        });
        doc->OnFileSaveAs();
    }
    EXPECT_EQ(CZorvaFileSaveAs::AdjustNameForType(CString(u"a.b.WCX"), 0), CString(u"a.wcx"));
}

// Yes to the overwrite question keeps the old file until the writer has
// the new one complete (before, Yes deleted it at once).
TEST_F(FileBrowserTest, OverwriteQuestionNoStaysYesReplacesOnlyAfterTheWrite)
{
    const CString target = tree + u"/old.wcx";
    Write(NativePath(target), "OLD");
    MessageBoxScript boxes;
    boxes.Expect(u"文件<old.wcx>已存在,是否替换？", IDNO).Expect(u"文件<old.wcx>已存在,是否替换？", IDYES);
    ModalDialogScript script;
    script.Then([&](CDialog& d) {
        d.SetDlgItemText(kIdNameEdit, CString(u"old"));
        auto& save = dynamic_cast<CZorvaFileSaveAs&>(d);
        EXPECT_FALSE(save.ConfirmSave());
        EXPECT_TRUE(save.ConfirmSave());
        EXPECT_EQ(Read(target), "OLD");
        return IDOK;
    });
    doc->OnFileSaveAs();
    CUnitArray back;
    EXPECT_EQ(ReadWcxFile(target, back), WcxRead::loaded);
    FreeUnitArray(back);
}

// Save As with the ".dcx" type exports (before, it wrote a drawing under
// the ".dcx" name).
TEST_F(FileBrowserTest, SaveAsOfTheExportTypeExports)
{
    g_saveTypeIndex = 1;
    ModalDialogScript script;
    script.Then([&](CDialog& d) {
        d.SetDlgItemText(kIdNameEdit, CString(u"cut"));
        d.PressButton(IDOK);
        return IDCANCEL;
    });
    doc->OnFileSaveAs();
    EXPECT_EQ(browserUi.dcxWrites, std::vector<CString>{tree + u"/cut.dcx"});
    EXPECT_FALSE(FileExists(tree + u"/cut.dcx"));
}

TEST(FileBrowserDialog, SizeTexts)
{
    const struct { long long bytes; const char16_t* text; } kCases[] = {
        {0, u"0"}, {1023, u"1023"}, {1024, u"1.0K"}, {1536, u"1.5K"}, {2048, u"2.0K"},
        {1100, u"1.07K"}, {1048576, u"1.0M"}, {3 * 1048576 + 524288, u"3.5M"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(FileBrowserDialog::SizeText(c.bytes), CString(c.text)) << c.bytes;
}

} // namespace
