// The main dialog as the engine's display: log, status pane, machine list
// and the file page's operations.

#include "link/CZorvacheckArmNum.h"
#include "link/CZorvalinkDlg.h"
#include "link/LinkState.h"
#include "link/link_resources.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/message_box.h"

#include <ctime>

namespace {

constexpr int kMaxLogLines = 100;

CString ClockText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    CString text;
    text.Format(u"%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

} // namespace

void CZorvalinkDlg::AddLog(const CString& text)
{
    CListBox* log = LogList();
    if (log == nullptr)
        return;
    if (log->GetCount() > kMaxLogLines)
        log->DeleteString(0);
    if (text.IsEmpty())
        return;
    CString line;
    line.Format(u"%s> %s", ClockText().GetString(), text.GetString());
    log->AddString(line);
    log->SetTopIndex(log->GetCount() - 1);
}

void CZorvalinkDlg::SetStatusText(const CString& text)
{
    if (m_statusBar.GetSafeHwnd() != nullptr)
        m_statusBar.SetPaneText(0, text);
}

void CZorvalinkDlg::EnableSchemeCombo(bool enable)
{
    SchemeCombo()->EnableWindow(enable ? TRUE : FALSE);
}

void CZorvalinkDlg::EnableTransferLabel(bool enable)
{
    m_transferLabel.EnableWindow(enable ? TRUE : FALSE);
}

int CZorvalinkDlg::MachineRowCount() const
{
    return MachineList()->GetItemCount();
}

void CZorvalinkDlg::ResetMachineList()
{
    // The ratio column holds "↑ 66％ 失败：1" whole; the file column, whose
    // names are shortened anyway, gives up the room.
    static const struct {
        const char16_t* heading;
        int width;
    } kColumns[] = {{u"机器", 200}, {u"在线", 60}, {u"加工状态", 120}, {u"传输比率", 120}, {u"文件", 170}};
    CListCtrl* list = MachineList();
    list->DeleteAllItems();
    while (list->GetColumnCount() > 0)
        list->DeleteColumn(0);
    for (int c = 0; c < 5; ++c)
        list->InsertColumn(c, CString(kColumns[c].heading), LVCFMT_LEFT, kColumns[c].width);
}

void CZorvalinkDlg::InsertMachineRow(int row)
{
    MachineList()->InsertItem(row, CString());
}

CString CZorvalinkDlg::GetMachineCell(int row, int column) const
{
    return MachineList()->GetItemText(row, column);
}

void CZorvalinkDlg::SetMachineCell(int row, int column, const CString& text)
{
    MachineList()->SetItemText(row, column, text);
}

void CZorvalinkDlg::SetMachineRowImage(int row, int image)
{
    MachineList()->SetItemImage(row, image);
}

void CZorvalinkDlg::SetMachineRowColor(int row, int colorCode)
{
    MachineList()->SetItemData(row, static_cast<std::uintptr_t>(colorCode));
}

bool CZorvalinkDlg::IsMachineRowChecked(int row) const
{
    return MachineList()->GetCheck(row) != FALSE;
}

void CZorvalinkDlg::SetMachineRowChecked(int row, bool checked)
{
    MachineList()->SetCheck(row, checked ? TRUE : FALSE);
}

void CZorvalinkDlg::InitRemoteList()
{
    m_filePage.InitRemoteList();
}

void CZorvalinkDlg::AddRemoteEntry(uint8_t kind, uint32_t size, uint64_t fileTime, const CString& name)
{
    m_filePage.AddRemoteEntry(kind, size, fileTime, name);
}

void CZorvalinkDlg::EndRemoteListing()
{
    m_filePage.EndRemoteListing();
}

void CZorvalinkDlg::SetRemoteFolderText(const CString& folder)
{
    // A machine may name its folder with a trailing separator; the page
    // adds its own when it joins a name.
    CString shown = folder;
    NormaliseFolder(shown);
    m_filePage.remoteFolder = shown;
    m_filePage.SetFolderText(1, shown);
}

void CZorvalinkDlg::RemoveRemoteRow(int row)
{
    m_filePage.RemoveRemoteRow(row);
}

void CZorvalinkDlg::AddRemoteFolderRow()
{
    m_filePage.AddRemoteFolderRow();
}

void CZorvalinkDlg::PutLocalFileRow(const CString& name, uint32_t size)
{
    m_filePage.PutLocalFileRow(name, size);
}

void CZorvalinkDlg::PutRemoteFileRow(const CString& name, uint32_t size)
{
    m_filePage.PutRemoteFileRow(name, size);
}

CString CZorvalinkDlg::GetLocalFolder() const
{
    return m_filePage.localFolder;
}

void CZorvalinkDlg::ShowLocalFolder(const CString& folder)
{
    m_filePage.localFolder = folder;
    NormaliseFolder(m_filePage.localFolder);
    m_filePage.FillLocalList(m_filePage.FilterIndex());
}

bool CZorvalinkDlg::AskMachineNumber(uint8_t& letter, uint8_t& number)
{
    CZorvacheckArmNum dialog(this);
    if (dialog.DoModal() != IDOK)
        return false;
    letter = g_NewMachineNumber[0];
    number = g_NewMachineNumber[1];
    return true;
}
