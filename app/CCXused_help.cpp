#include "app/CCXused_help.h"

#include <cstdio>
#include <string>

#include "app/AppState.h"
#include "app/DocumentUi.h"
#include "app/frame_resources.h"
#include "platform/core/codepage.h"
#include "platform/core/files.h"
#include "platform/gdi/CFont.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"

namespace {

constexpr UINT IDD_HELP = 181;
constexpr int IDC_TOPICS = 1008, IDC_TEXT = 1009, IDC_UPDATE = 1178;
constexpr std::size_t kLineBytes = 511;     // a longer line goes on as the next one

void RegisterTemplate()
{
    static const bool registered = [] {
        using namespace dlg;
        const auto S = [](const char16_t* t) { return CString(t); };
        RegisterDialogTemplate({IDD_HELP, S(u"使用帮助"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 400, 260, {
            ListView(IDC_TOPICS, 6, 6, 120, 226, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP),
            EditText(IDC_TEXT, 132, 6, 262, 226, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER),
            PushButton(IDC_UPDATE, S(u"更新(&N)"), 284, 238, 52, 16),
            PushButton(IDCANCEL, S(u"关闭(&Esc)"), 342, 238, 52, 16)}});
        return true;
    }();
    (void)registered;
}

CString DataFile(const char16_t* name)
{
    return MapWindowsPath(CString(g_dataDir) + u"\\" + name);
}

// Lines as the C runtime's fgets with a 512-byte buffer gives them, without
// their line end.
std::vector<std::string> ReadAnsiLines(const CString& path)
{
    std::vector<std::string> lines;
    std::FILE* f = std::fopen(NativePath(path).c_str(), "rb");
    if (f == nullptr)
        return lines;
    std::string line;
    bool open = false;
    for (int c; (c = std::fgetc(f)) != EOF;) {
        open = true;
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
            line.clear();
            open = false;
            continue;
        }
        line.push_back(char(c));
        if (line.size() == kLineBytes) {
            lines.push_back(line);
            line.clear();
            open = false;
        }
    }
    if (open)
        lines.push_back(line);
    std::fclose(f);
    return lines;
}

bool CopyFileOver(const CString& from, const CString& to)
{
    std::FILE* f = std::fopen(NativePath(from).c_str(), "rb");
    if (f == nullptr)
        return false;
    std::string bytes;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        bytes.append(buffer, n);
    const bool readAll = std::ferror(f) == 0;
    std::fclose(f);
    return readAll && WriteFileAtomic(to, bytes);
}

} // namespace

// "##title" opens topic n + 1; the lines after it are its text. A "##" line
// with an empty title is dropped like the lines before the first topic.
void LoadHelpList()
{
    if (g_helpListLoaded)
        return;
    const CString path = DataFile(u"zorvahelp2.txt");
    if (!FileExists(path))
        return;
    g_helpTitles.RemoveAll();
    g_helpTexts.RemoveAll();
    int topic = 0;
    CString text;
    for (const std::string& line : ReadAnsiLines(path)) {
        if (line.size() >= 2 && line[0] == '#' && line[1] == '#') {
            CString title(GbkToUtf16(line.substr(2)));
            title.Trim();
            if (title.IsEmpty())
                continue;
            if (topic > 0)
                g_helpTexts.SetAt(topic, text);
            g_helpTitles.SetAt(++topic, title);
            text.Empty();
        } else if (topic > 0) {
            text += CString(GbkToUtf16(line)) + u"\r\n";
        }
    }
    if (topic > 0)
        g_helpTexts.SetAt(topic, text);
    g_helpListLoaded = 1;
}

BEGIN_MESSAGE_MAP(CCXused_help, CDialog)
    ON_NOTIFY(NM_CLICK, IDC_TOPICS, OnListClick)
    ON_BN_CLICKED(IDC_UPDATE, UpdateHelpFiles)
END_MESSAGE_MAP()

CCXused_help::CCXused_help() : CDialog(IDD_HELP)
{
    RegisterTemplate();
}

CCXused_help::~CCXused_help() = default;

BOOL CCXused_help::OnInitDialog()
{
    CDialog::OnInitDialog();
    LoadHelpList();
    m_images = std::make_unique<CImageList>();
    m_images->Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
    m_images->AddIcon(IDI_HELP_TOPIC);
    if (CWnd* text = GetDlgItem(IDC_TEXT)) {
        LOGFONTW font{};
        if (CFont* own = text->GetFont())
            own->GetLogFont(&font);
        font.lfHeight = -12;
        m_textFont.CreateFontIndirect(&font);
        text->SetFont(&m_textFont);
    }
    if (auto* list = dynamic_cast<CListCtrl*>(GetDlgItem(IDC_TOPICS))) {
        list->SetImageList(m_images.get(), LVSIL_SMALL);
        list->SetExtendedStyle(list->GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    }
    FillHelpIndex();
    return TRUE;
}

void CCXused_help::FillHelpIndex()
{
    auto* list = dynamic_cast<CListCtrl*>(GetDlgItem(IDC_TOPICS));
    if (list == nullptr)
        return;
    list->SetRedraw(FALSE);
    list->DeleteAllItems();
    while (list->GetColumnCount() > 0)
        list->DeleteColumn(0);
    list->InsertColumn(0, CString(u"索引"), LVCFMT_LEFT, 500);
    for (int topic = 1;; ++topic) {
        CString title;
        if (!g_helpTitles.Lookup(topic, title))
            break;
        list->InsertItem(list->GetItemCount(), title, 0);
    }
    list->SetRedraw(TRUE);
}

void CCXused_help::ShowTopic(int row)
{
    CString text;
    if (row >= 0 && g_helpTexts.Lookup(row + 1, text))
        SetDlgItemText(IDC_TEXT, CString(u" ") + text);
}

void CCXused_help::OnListClick(NMHDR*, LRESULT* result)
{
    if (auto* list = dynamic_cast<CListCtrl*>(GetDlgItem(IDC_TOPICS)))
        ShowTopic(list->GetNextItem(-1, LVNI_SELECTED));
    if (result != nullptr)
        *result = 0;
}

// From the program folder's root ("\name", as the data root maps it) into
// the data folder; the list itself is read again only at the next start.
void CCXused_help::UpdateHelpFiles()
{
    const struct { const char16_t* name; const char16_t* done; } kFiles[] = {
        {u"zorvahelp1.txt", u"> 帮助列表更新完成 zorvahelp1.txt..."},
        {u"zorvahelp2.txt", u"> 帮助列表更新完成 zorvahelp2.txt..."},
        {u"zorvahelp_keylist.txt", u">帮助列表更新完成 zorvahelp_keylist.txt..."},
    };
    bool any = false;
    for (const auto& f : kFiles) {
        const CString from = MapWindowsPath(CString(u"\\") + f.name);
        if (!FileExists(from) || !CopyFileOver(from, DataFile(f.name)))
            continue;
        any = true;
        DocUi().PrintLine(CString(f.done));
        if (CString(f.name) == CString(u"zorvahelp2.txt"))
            g_helpListLoaded = 1;
    }
    if (!any)
        DocUi().PrintLine(CString(u"#没有找到更新文件"));
}
