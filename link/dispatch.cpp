#include "link/dispatch.h"

#include "link/CLinkUdp.h"
#include "link/ILinkDisplay.h"
#include "link/link_helpers.h"
#include "link/machine_table.h"
#include "link/transfer.h"
#include "link/transfer_lane.h"
#include "platform/core/exceptions.h"

#include <exception>

namespace {

void OnListHeader(const Datagram& d)
{
    if (!ChecksumMatches(d.data, d.length)) {
        // Once per request, show the folder that was asked for instead.
        if (g_ListFallbackPending) {
            g_ListFallbackPending = false;
            LinkDisplay().SetRemoteFolderText(g_RelistPath);
        }
        return;
    }
    CString folder = AnsiBytesToText(d.data + 6, static_cast<size_t>(d.length - 6));
    LinkDisplay().SetRemoteFolderText(folder);
    SetMachineFileText(folder);
    g_RelistCount = 0;
    g_RelistDelay = 0;
    g_ListFallbackPending = false;
    SendToLastSender(MakeListAck(1));
}

bool IsDriveName(const CString& name)
{
    return name == u"系统盘 C:" || name == u"移动盘 U:";
}

void OnListPage(const Datagram& d)
{
    if (!ChecksumMatches(d.data, d.length)) {
        SendToLastSender(MakeListAck(0));
        return;
    }
    const uint32_t count = Get32(d.data, 6);
    int pos = 10;
    for (uint32_t i = 0; i < count; ++i) {
        if (pos + kListEntryHead > d.length)
            break;
        const uint8_t kind = d.data[pos];
        if (kind == 0)
            break;
        const int m = d.data[pos + 16];
        if (pos + kListEntryHead + m > d.length)
            break; // the name runs past the datagram
        CString name = AnsiBytesToText(d.data + pos + kListEntryHead, static_cast<size_t>(m));
        // A name from the machine becomes a host path later: only plain names.
        if (IsSafeFileName(name) || (kind == 1 && IsDriveName(name))) {
            uint64_t time = Get32(d.data, pos + 8) | uint64_t(Get32(d.data, pos + 12)) << 32;
            LinkDisplay().AddRemoteEntry(kind, Get32(d.data, pos + 4), time, name);
        }
        pos += kListEntryHead + m;
    }
    SendToLastSender(MakeListAck(1));
}

void OnDeleteResult(const Datagram& d)
{
    if (d.data[2] == 1) {
        LinkDisplay().RemoveRemoteRow(static_cast<int>(Get32(d.data, 4)));
        LinkDisplay().SetStatusText(u"提示：删除成功");
    } else {
        LinkDisplay().SetStatusText(u"提示：删除失败！");
    }
}

void OnMkdirResult(const Datagram& d)
{
    if (d.data[2] == 1) {
        LinkDisplay().AddRemoteFolderRow();
        LinkDisplay().SetStatusText(u"提示：创建成功");
    } else {
        LinkDisplay().SetStatusText(u"提示：创建目录失败！");
    }
}

void Dispatch(const Datagram& d)
{
    // The code only once its two bytes are there: before, a 0- or 1-byte
    // datagram's code was read from what the buffer held before it.
    if (d.length < 2)
        return;
    const uint16_t code = Get16(d.data, 0);
    const int minimum = MinimumLength(code);
    // Unknown codes, and datagrams too short for their code's fields.
    if (minimum == 0 || d.length < minimum)
        return;
    switch (code) {
    case kCodeRemoteDelete: MarkSenderOnline(); OnDeleteResult(d); break;
    case kCodeRemoteMkdir: MarkSenderOnline(); OnMkdirResult(d); break;
    case kCodeAnnounce: OnAnnounce(d); break;
    case kCodeLeave: OnLeave(d); break;
    case kCodeFileHeader: MarkSenderOnline(); OnFileHeader(d); break;
    case kCodeHeaderAnswer: MarkSenderOnline(); OnHeaderAnswer(d); break;
    case kCodeDataBlock: OnDataBlock(d); break;
    case kCodeBlockAnswer: MarkSenderOnline(); OnBlockAnswer(d); break;
    case kCodeTransferEnd: MarkSenderOnline(); OnTransferEnd(d); break;
    case kCodeListDir: MarkSenderOnline(); OnListHeader(d); break;
    case kCodeListPage: MarkSenderOnline(); OnListPage(d); break;
    case kCodeListEnd: MarkSenderOnline(); LinkDisplay().EndRemoteListing(); break;
    case kCodeOffer: OnOffer(d); break;
    case kCodeNameAnswer: MarkSenderOnline(); OnNameAnswer(d); break;
    case kCodeOfferCancel: OnOfferCancel(); break;
    case kCodeProcessTable: OnProcessTableNotice(d); break;
    default: break;
    }
}

} // namespace

void LogException(int code, const char* what)
{
    CString text;
    text.Format(u"错误：code:%d  ", code);
    CString message = CString::FromUtf8(what != nullptr ? what : "");
    LinkDisplay().AddLog(text + message.Left(1024));
}

void OnPacket(const Datagram& datagram)
{
    EngineTurn turn;
    g_LastSenderAddress = datagram.address;
    g_LastSenderPort = datagram.port;
    try {
        Dispatch(datagram);
    } catch (const CException& e) {
        LogException(-2, e.What());
    } catch (const std::exception& e) {
        LogException(-2, e.what());
    }
}

void MarkSenderOnline()
{
    MarkOnline(g_LastSenderAddress, g_LastSenderPort);
}

void MarkOnline(uint32_t address, uint16_t port)
{
    for (auto& m : g_Machines) {
        if (m.address == address && m.port == port) {
            m.missCount = 0;
            m.online = 1;
            m.lastSeen = LinkNow();
            return;
        }
    }
}

int FindMachineBySenderIp()
{
    for (size_t i = 0; i < g_Machines.size(); ++i)
        if (g_Machines[i].address == g_LastSenderAddress)
            return static_cast<int>(i);
    return -1;
}

bool SenderIs(MachineId id)
{
    const _ClientPack* m = FindMachine(id);
    return m != nullptr && m->address == g_LastSenderAddress && m->port == g_LastSenderPort;
}

bool SendPacket(const Packet& packet, uint32_t address, uint16_t port)
{
    if (g_pLinkUdp == nullptr)
        return false;
    return g_pLinkUdp->Send(packet, address, port) == packet.length;
}

bool SendToLastSender(const Packet& packet)
{
    return SendPacket(packet, g_LastSenderAddress, g_LastSenderPort);
}

bool SendToMachine(const Packet& packet, MachineId id, bool needOnline)
{
    const _ClientPack* m = FindMachine(id);
    if (m == nullptr || (needOnline && m->online != 1))
        return false;
    return SendPacket(packet, m->address, m->port);
}

bool SendPresenceReply()
{
    return SendToLastSender(MakeCodeOnly(kCodeAnnounce));
}

bool SendPoll(int row)
{
    return SendToMachine(MakeCodeOnly(kCodePoll), MachineIdAt(row), false);
}

bool SendRemoteDelete(const CString& path, uint8_t kind, uint32_t row)
{
    char ansi[kAnsiArea];
    int n = WideToAnsi255(ansi, path);
    return SendToMachine(MakeRemoteDelete(ansi, n, kind, row), g_SelectedMachine);
}

bool SendRemoteMkdir(const CString& path, uint8_t)
{
    char ansi[kAnsiArea];
    int n = WideToAnsi255(ansi, path);
    return SendToMachine(MakeRemoteMkdir(ansi, n), g_SelectedMachine);
}

bool SendMachineMessage(const CString& text)
{
    char ansi[kAnsiArea];
    int n = WideToAnsi255(ansi, text);
    return SendToMachine(MakeMachineMessage(ansi, n), g_OfferingMachine);
}

bool SendListRemoteDir(MachineId id, int filter, const CString& path)
{
    g_RelistMachine = id;
    g_RelistFilter = filter;
    g_RelistPath = path;
    g_RelistDelay = 5;
    if (g_TransferState != 0)
        return false;
    char ansi[kAnsiArea];
    int n = WideToAnsi255(ansi, path);
    return SendToMachine(MakeListRequest(static_cast<uint8_t>(filter), ansi, n), id);
}

bool SendSetMachineNumber(uint8_t letter, uint8_t number)
{
    return SendToMachine(MakeSetNumber(letter, number), g_SelectedMachine, false);
}

bool SendHeaderAck(uint8_t status)
{
    return SendToLastSender(MakeStatusPacket(kCodeHeaderAnswer, status));
}

bool SendBlockAck(uint8_t status)
{
    Packet p = MakeStatusPacket(kCodeBlockAnswer, status);
    g_ResendCopy.packet = p;
    g_ResendCopy.address = g_LastSenderAddress;
    g_ResendCopy.port = g_LastSenderPort;
    g_ResendCopy.countdown = 3;
    g_ResendCopy.count = 0;
    return SendToLastSender(p);
}

bool SendTransferEnd(uint8_t status)
{
    return SendToLastSender(MakeStatusPacket(kCodeTransferEnd, status));
}
