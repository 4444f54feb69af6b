#include "link/machine_table.h"

#include "link/ILinkDisplay.h"
#include "link/dispatch.h"
#include "link/link_helpers.h"

#include <algorithm>
#include <cstring>

namespace {

const char16_t* const kStateTexts[] = {u"空闲", u"加工中...", u"暂停", u"短路回退中..", u"手动回退中..", u"异常停止"};

int FindById(const uint8_t* id)
{
    for (size_t i = 0; i < g_Machines.size(); ++i)
        if (std::memcmp(g_Machines[i].id, id, 4) == 0)
            return static_cast<int>(i);
    return -1;
}

void TakeAnnounced(_ClientPack& m, const Datagram& d)
{
    m.address = d.address;
    m.port = d.port;
    m.receiveTimeouts = 0;
    m.letter = d.data[6];
    m.number = d.data[7];
    m.state = d.data[8];
    m.lastSeen = LinkNow();
}

int RowColor(int row, bool online)
{
    return row == MachineRow(g_SelectedMachine) ? (online ? 2 : 3) : (online ? 1 : 0);
}

} // namespace

CString MachineStateText(uint8_t state)
{
    return state < 6 ? CString(kStateTexts[state]) : CString(u"●");
}

void OnAnnounce(const Datagram& d)
{
    int row = FindById(d.data + 2);
    if (row >= 0) {
        _ClientPack& m = g_Machines[static_cast<size_t>(row)];
        m.missCount = 0;
        m.online = 1;
        TakeAnnounced(m, d);
        UpdateMachineRow(row, m, false);
    } else {
        _ClientPack m{};
        std::memcpy(m.id, d.data + 2, 4);
        m.online = 1;
        TakeAnnounced(m, d);
        g_Machines.push_back(m);
        SortMachines();
        RebuildMachineList();
    }
    SendPresenceReply();
}

void OnLeave(const Datagram& d)
{
    int row = FindById(d.data + 2);
    if (row < 0)
        return;
    _ClientPack& m = g_Machines[static_cast<size_t>(row)];
    m.online = 0;
    TakeAnnounced(m, d);
    UpdateMachineRow(row, m, false);
}

void OnNameAnswer(const Datagram& d)
{
    // Applied to the machine that answered; the selection may have moved on.
    for (size_t i = 0; i < g_Machines.size(); ++i) {
        _ClientPack& m = g_Machines[i];
        if (m.address == d.address && m.port == d.port) {
            m.letter = d.data[2];
            m.number = d.data[3];
            UpdateMachineRow(static_cast<int>(i), m, false);
            return;
        }
    }
}

void OnProcessTableNotice(const Datagram& d)
{
    int row = FindMachineBySenderIp();
    if (row < 0)
        return;
    // The count is the u32 after the type when the machine sends one.
    uint32_t count = d.length >= 8 ? Get32(d.data, 4) : 0;
    CString text;
    text.Format(u"%s  工艺数据表类型 %d 更新完成..数量 %d", GetMachineName(row).GetString(), d.data[2], static_cast<int>(count));
    LinkDisplay().AddLog(text);
}

void OfflineCheck()
{
    for (size_t i = 0; i < g_Machines.size(); ++i) {
        _ClientPack& m = g_Machines[i];
        if (m.online == 0)
            continue;
        if (++m.missCount >= 15) {
            m.missCount = 0;
            m.online = 0;
            UpdateMachineRow(static_cast<int>(i), m, false);
        }
    }
}

void PollStep()
{
    if (!g_PollActive)
        return;
    if (g_PollIndex >= static_cast<int>(g_Machines.size())) {
        g_PollActive = false;
        return;
    }
    SendPoll(g_PollIndex);
    ++g_PollIndex;
}

void SetMachineCell(int row, int column, const CString& text)
{
    ILinkDisplay& ui = LinkDisplay();
    if (row >= 0 && row < ui.MachineRowCount())
        ui.SetMachineCell(row, column, text);
}

void UpdateMachineRow(int row, const _ClientPack& record, bool insert)
{
    ILinkDisplay& ui = LinkDisplay();
    if (row < 0)
        return;
    if (!insert && row > ui.MachineRowCount())
        return;
    const bool fresh = insert || row == ui.MachineRowCount();
    if (fresh)
        ui.InsertMachineRow(row);
    const bool online = record.online == 1;
    CString cells[5];
    cells[0].Format(u"端%c%d    (%s)", char16_t(u'A' + record.letter), record.number, IdToHex(record.id).GetString());
    cells[1] = online ? u"●" : u"-";
    cells[2] = online ? MachineStateText(record.state) : CString(u"-");
    cells[3] = u"-";
    for (int c = 0; c < 5; ++c) {
        // Columns 3 and 4 belong to the transfer engine once the row exists.
        if (c >= 3 && !fresh)
            continue;
        if (ui.GetMachineCell(row, c) != cells[c])
            ui.SetMachineCell(row, c, cells[c]);
    }
    ui.SetMachineRowImage(row, online ? 1 : 0);
    ui.SetMachineRowColor(row, RowColor(row, online));
    if (insert)
        ui.SetMachineRowChecked(row, true);
}

void RebuildMachineList()
{
    LinkDisplay().ResetMachineList();
    for (size_t i = 0; i < g_Machines.size(); ++i)
        UpdateMachineRow(static_cast<int>(i), g_Machines[i], true);
}

void SortMachines()
{
    std::stable_sort(g_Machines.begin(), g_Machines.end(), [](const _ClientPack& a, const _ClientPack& b) {
        return a.letter * 10000 + a.number < b.letter * 10000 + b.number;
    });
}

CString GetMachineName(int row)
{
    if (row < 0 || row >= static_cast<int>(g_Machines.size()))
        return CString();
    const _ClientPack& m = g_Machines[static_cast<size_t>(row)];
    CString name;
    name.Format(u"端%c%d", char16_t(u'A' + m.letter), m.number);
    return name;
}

CString GetMachineName(MachineId id)
{
    return GetMachineName(MachineRow(id));
}

void SetMachineFileText(const CString& text)
{
    if (_ClientPack* m = FindMachine(g_SelectedMachine))
        WideToAnsi255(m->rememberedFolder, text);
}

void SelectMachineRow(int row, int filter)
{
    if (row < 0 || row >= static_cast<int>(g_Machines.size()))
        return;
    ILinkDisplay& ui = LinkDisplay();
    int previous = MachineRow(g_SelectedMachine);
    if (previous >= 0)
        ui.SetMachineRowColor(previous, 1);
    ui.SetMachineRowColor(row, 2);
    g_SelectedMachine = MachineIdAt(row);
    ui.InitRemoteList();
    ui.SetRemoteFolderText(CString());
    _ClientPack& m = g_Machines[static_cast<size_t>(row)];
    CString folder = AnsiBytesToText(m.rememberedFolder, sizeof m.rememberedFolder);
    std::memset(m.rememberedFolder, 0, sizeof m.rememberedFolder);
    g_ListFallbackPending = true;
    SendListRemoteDir(g_SelectedMachine, filter, folder);
}

void ResetLoadedMachines()
{
    for (auto& m : g_Machines) {
        m.missCount = 0;
        m.online = 0;
        m.state = 0;
        m.receiveTimeouts = 0;
        m.lastSeen = LinkNow();
    }
    RebuildMachineList();
    ILinkDisplay& ui = LinkDisplay();
    for (size_t i = 0; i < g_Machines.size(); ++i)
        ui.SetMachineRowChecked(static_cast<int>(i), g_Machines[i].checked != 0);
}
