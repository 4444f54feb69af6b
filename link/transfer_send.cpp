#include "link/transfer.h"

#include "link/ILinkDisplay.h"
#include "link/dispatch.h"
#include "link/link_helpers.h"
#include "link/machine_table.h"
#include "platform/core/files.h"
#include "shared/CMD5Checksum.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// The block being sent, built over the last one instead of in a cleared
// packet for each. Like the rest of the block step it belongs to whichever
// thread holds the transfer (transfer_lane.h).
Packet s_block;

bool ReadWholeFile(const CString& path, int64_t size, FileBytes& data)
{
    std::FILE* f = std::fopen(NativePath(path).c_str(), "rb");
    if (f == nullptr)
        return false;
    data.resize(static_cast<size_t>(size));
    const bool ok = std::fread(data.data(), 1, data.size(), f) == data.size();
    std::fclose(f);
    return ok;
}

CString DoneText(uint32_t bytes, const char16_t* kFormat, const char16_t* mFormat)
{
    CString text;
    if (bytes < 1024)
        text.Format(u"%d", static_cast<int>(bytes));
    else if (bytes < 1048576)
        text.Format(kFormat, bytes / 1024.0);
    else
        text.Format(mFormat, bytes / 1048576.0);
    return text;
}

double Percent()
{
    return g_CurrentFileSize == 0 ? 0.0 : double(g_BytesDone) / g_CurrentFileSize * 100.0;
}

void ShowSendProgress()
{
    MachineId who = CurrentTarget() != kNoMachine ? CurrentTarget() : g_CurrentMachine;
    CString status = g_BytesDone >= g_CurrentFileSize ? CString(u"等待文件写入") : CString();
    CString text;
    text.Format(u"%s-- 传输第 %d/%d 个文件 %s,   %s   %s...  (%.1f％)", GetMachineName(who).GetString(),
                g_BatchFileIndex + 1, g_BatchFileCount, DoneText(g_BytesDone, u"%-04.2fK", u"%-04.2fM").GetString(),
                ShortenText50(g_CurrentFileName).GetString(), status.GetString(), Percent());
    LinkDisplay().SetStatusText(text);
}

void FinishSendBatch()
{
    const bool relay = g_TransferState == 3;
    g_TransferState = 0;
    ShowBatchResult(u"传输完成", u"传输结束");
    if (relay) {
        SendMachineMessage(u"传输完成");
        SweepStaging();
    }
}

void FinishSendTarget()
{
    const CString text = FinishTargetSummary(u"完成");
    if (g_TransferState == 3)
        SendMachineMessage(text + u" 文件：" + ShortenText50(g_BatchFileName));
}

void StartNextFile()
{
    MachineId target = CurrentTarget();
    CString path = BatchFileAt(g_BatchFileIndex);
    // A relayed file keeps its offered name; its staging copy has another.
    CString remoteName = g_TransferState == 3 ? g_BatchFileName : GetFileNameFromPath(path);
    g_BatchFileName = remoteName;
    DisarmResend();
    int r = StartSendFile(target, path, remoteName);
    if (r == 1) {
        g_StepCountdown = 100;
        return;
    }
    if (r == -1) {
        LogFileFailure(u"未连接主控...");
        if (g_TransferState == 3)
            SendMachineMessage(GetMachineName(target) + u"--未连接主控...");
    } else if (r != -5) {
        LogFileFailure(u"读取文件错误");
    }
    ++g_BatchFileIndex;
}

} // namespace

int StartSendFile(MachineId target, const CString& localPath, const CString& remoteName)
{
    g_CurrentMachine = target;
    const _ClientPack* m = FindMachine(target);
    if (m == nullptr || m->online != 1)
        return -1;
    CloseSendFile();
    FreeReceiveBuffer();
    g_BlockOffset = g_BytesDone = 0;
    g_BlockRetries = 0;
    if (!LocalFileExists(localPath))
        return -2;
    const int64_t size = GetFileSize(localPath);
    if (size <= 0 || size > int64_t(kMaxFileSize))
        return 0;
    // Read whole (at most 8 MB): the digest and every block come from one
    // copy, so a file changed meanwhile cannot send blocks of another digest.
    // The copy goes where the last file's went: fresh pages cost a fault
    // each, which on some machines took longer than the whole digest.
    if (!ReadWholeFile(localPath, size, g_SendData)) {
        g_SendData.clear();
        return -4;
    }
    uint8_t md5[16];
    MD5OfBuffer(md5, g_SendData.size(), g_SendData.data());
    CString name = remoteName.IsEmpty() ? GetFileNameFromPath(localPath) : remoteName;
    CString targetPath = g_MachineFolder + name;
    // A path cut to fit the header would name another file on the machine.
    if (AnsiLengthWithZero(targetPath) > kAnsiArea) {
        LinkDisplay().AddLog(CString(u"错误：路径过长，不能传输 ") + ShortenText50(targetPath));
        g_SendData.clear();
        return -5;
    }
    g_SendFileOpen = true;
    g_CurrentFileName = name;
    g_CurrentFileSize = static_cast<uint32_t>(size);
    char path[kHeaderPathSize] = {};
    WideToAnsi255(path, targetPath);
    Packet header = MakeFileHeader(g_CurrentFileSize, g_LinkSettings.replaceExisting ? 1 : 0, md5, LinkNow(), path);
    std::memcpy(g_FileHeader, header.data + 2, sizeof g_FileHeader);
    int row = MachineRow(target);
    SetMachineCell(row, 3, u"↑ SEND...");
    SetMachineCell(row, 4, ShortenText50(name));
    g_RequestCopy.packet = header;
    g_RequestCopy.address = m->address;
    g_RequestCopy.port = m->port;
    g_RequestCopy.retries = 0;
    SendPacket(header, m->address, m->port);
    return 1;
}

bool SendFileBlock(uint32_t offset)
{
    const _ClientPack* m = FindMachine(g_CurrentMachine);
    return SendFileBlockTo(offset, m != nullptr ? m->address : g_LastSenderAddress,
                           m != nullptr ? m->port : g_LastSenderPort);
}

bool SendFileBlockTo(uint32_t offset, uint32_t address, uint16_t port)
{
    if (!g_SendFileOpen)
        return false;
    const size_t size = g_SendData.size();
    const size_t n = offset < size ? std::min<size_t>(kMaxBlockData, size - offset) : 0;
    const uint8_t* data = n > 0 ? g_SendData.data() + offset : nullptr;
    g_BlockOffset = offset;
    g_BytesDone = offset + static_cast<uint32_t>(n);
    const bool last = n < kMaxBlockData;
    if (last) {
        g_StepCountdown = 500;
        g_LastBlockSent = true;
    }
    FillDataBlock(s_block, offset, data, static_cast<int>(n), last);
    if (last) {
        g_ResendCopy.packet = s_block;
        g_ResendCopy.address = address;
        g_ResendCopy.port = port;
        g_ResendCopy.countdown = 3;
        g_ResendCopy.count = 0;
    } else {
        DisarmResend();
    }
    SendPacket(s_block, address, port);
    // The next block's bytes come from memory while the machine answers.
    if (!last)
        for (size_t at = offset + n; at < std::min(size, offset + 2 * n); at += 64)
            __builtin_prefetch(g_SendData.data() + at);
    return true;
}

void SendNextBlock(uint32_t address, uint16_t port)
{
    DisarmResend();
    g_StepCountdown = 100;
    g_BlockRetries = 0;
    // A repeated answer after the last block has nothing left to ask for.
    if (g_LastBlockSent && g_BytesDone >= g_CurrentFileSize)
        return;
    SendFileBlockTo(g_BytesDone, address, port);
}

void OnHeaderAnswer(const Datagram& d)
{
    if (!g_SendFileOpen) {
        if (d.data[2] == 1)
            SendTransferEnd(0);
        return;
    }
    // Only the machine the file goes to, and only once per header.
    if (!SenderIs(g_CurrentMachine) || g_HeaderAnswered)
        return;
    DisarmResend();
    switch (d.data[2]) {
    case 1:
        g_HeaderAnswered = true;
        g_RequestCopy.retries = 0;
        g_BlockRetries = 0;
        g_StepCountdown = 100;
        SendFileBlock(g_BlockOffset);
        return;
    case 0:
        if (++g_RequestCopy.retries < 3) {
            SendPacket(g_RequestCopy.packet, g_RequestCopy.address, g_RequestCopy.port);
            return;
        }
        g_RequestCopy.retries = 0;
        LogFileFailure(u"文件头校验失败");
        ++g_BatchFileIndex;
        break;
    case 5:
        // The machine's disk is full: its remaining files would fail alike.
        g_RequestCopy.retries = 0;
        LinkDisplay().AddLog(u"*远程系统盘已满");
        for (; g_BatchFileIndex < FilesForCurrentTarget(); ++g_BatchFileIndex)
            LogFileFailure(u"远程系统盘已满", GetFileNameFromPath(BatchFileAt(g_BatchFileIndex)), CString());
        break;
    default:
        g_RequestCopy.retries = 0;
        LogFileFailure(u"主控拒绝接收");
        ++g_BatchFileIndex;
        break;
    }
    g_StepCountdown = 0;
    CloseSendFile();
}

void OnBlockAnswer(const Datagram& d)
{
    if (!g_SendFileOpen) {
        SendTransferEnd(0);
        return;
    }
    if (!SenderIs(g_CurrentMachine) || !g_HeaderAnswered)
        return;
    if (d.data[2] == 1) {
        SendNextBlock(g_LastSenderAddress, g_LastSenderPort);
        return;
    }
    DisarmResend();
    g_StepCountdown = 100;
    if (++g_BlockRetries > 3) {
        LogFileFailure(u"数据块校验失败");
        ++g_BatchFileIndex;
        g_BlockRetries = 0;
        g_StepCountdown = 0;
        SendTransferEnd(0);
        CloseSendFile();
        return;
    }
    SendFileBlock(g_BlockOffset);
}

void SendStep()
{
    if (g_StepCountdown > 0) {
        ShowSendProgress();
        if (--g_StepCountdown <= 0) {
            g_StepCountdown = 0;
            LogFileFailure(u"主控无应答");
            ++g_BatchFileIndex;
            CloseSendFile();
        }
        return;
    }
    if (g_BatchTargetIndex >= static_cast<int>(g_BatchTargets.size())) {
        FinishSendBatch();
        return;
    }
    if (g_BatchFileIndex >= FilesForCurrentTarget()) {
        FinishSendTarget();
        return;
    }
    StartNextFile();
}
