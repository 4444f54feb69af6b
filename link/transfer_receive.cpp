#include "link/transfer.h"

#include "link/ILinkDisplay.h"
#include "link/dispatch.h"
#include "link/link_helpers.h"
#include "link/machine_table.h"
#include "platform/core/files.h"
#include "shared/CMD5Checksum.h"

#include <cstring>
#include <optional>

namespace {

bool Receiving()
{
    return g_TransferState == 2 || g_TransferState == 4;
}

const uint8_t* HeaderMd5()
{
    return g_FileHeader + 12; // offset 14 of the packet
}

// The file at path exists and has the digest of the current header.
bool FileMatchesHeader(const CString& path)
{
    uint8_t md5[16];
    return LocalFileExists(path) && GetFileMd5(path, md5) == 1 && std::memcmp(md5, HeaderMd5(), 16) == 0;
}

void EndFetch()
{
    g_FetchPending = false;
    g_RequestCopy.retries = 0;
}

// Answers a good header of the pending fetch and keeps the answer for a
// repeat of that header.
void AnswerHeader(const Datagram& d, const Packet& answer)
{
    HeaderReply& r = g_HeaderReply;
    r.valid = true;
    std::memcpy(r.header, d.data + 2, sizeof r.header);
    r.address = d.address;
    r.port = d.port;
    r.answer = answer;
    SendToLastSender(answer);
}

bool IsAnsweredHeader(const Datagram& d)
{
    const HeaderReply& r = g_HeaderReply;
    return r.valid && d.address == r.address && d.port == r.port && std::memcmp(d.data + 2, r.header, sizeof r.header) == 0;
}

void RefuseHeader(const Datagram& d, const char16_t* why)
{
    LogFileFailure(why);
    EndFetch();
    ++g_BatchFileIndex;
    g_StepCountdown = 0;
    AnswerHeader(d, MakeStatusPacket(kCodeHeaderAnswer, 0));
}

// The header names the destination our request gave, nothing else.
bool NamesFetchTarget(const Datagram& d)
{
    const char* path = reinterpret_cast<const char*>(d.data + kHeaderPathOffset);
    const size_t pathLength = strnlen(path, kHeaderPathSize);
    return pathLength + 1 == g_FetchTarget.size() && std::memcmp(path, g_FetchTarget.data(), pathLength) == 0;
}

// A machine ends a file it takes with success only after the last block,
// or in answer to the header when it holds the same file already. One in
// the middle of a file is a late or doubled answer about an earlier file,
// and so may be several before the header's answer: each makes the header
// go again, and only the third is trusted. A machine without the file
// answers a header at once, which ends the counting; one with it answers
// every header with an end. Before, the second such late answer marked a
// file done that the machine never got.
bool TrustEarlySendEnd()
{
    constexpr int kEndsTrusted = 3;
    if (g_HeaderAnswered)
        return false;
    if (++g_EarlySendEnds >= kEndsTrusted)
        return true;
    SendPacket(g_RequestCopy.packet, g_RequestCopy.address, g_RequestCopy.port);
    return false;
}

void RecordStaged(const CString& path)
{
    if (g_TransferState != 4)
        return;
    StagedOffer s;
    s.machine = g_CurrentMachine;
    s.offeredPath = Utf16ToGbkPath(BatchFileAt(g_BatchFileIndex - 1));
    s.stagingPath = path;
    g_StagedOffers.push_back(s);
}

// The last block: check the whole buffer first, then replace the target in
// one rename, so a bad transfer never costs the good file already there.
uint8_t CompleteFile()
{
    uint8_t md5[16];
    MD5OfBuffer(md5, g_ReceiveBuffer.size(), g_ReceiveBuffer.data());
    if (std::memcmp(md5, HeaderMd5(), 16) != 0) {
        LogFileFailure(u"MD5校验失败");
        return 0;
    }
    // The system's reason goes to the log: a full disk must say so.
    std::string error;
    if (!WriteFileAtomic(g_ReceivePath, g_ReceiveBuffer, &error)) {
        LogFileFailure(u"写入文件错误", g_BatchFileName, CString::FromUtf8(error));
        return 0;
    }
    ++g_BatchOkCount;
    RecordStaged(g_ReceivePath);
    TellFileDone();
    return 1;
}

void BadBlock()
{
    if (++g_BlockRetries <= 5) {
        SendBlockAck(2);
        return;
    }
    // Abandoned; the next tick asks for the same file again.
    g_BlockRetries = 0;
    FreeReceiveBuffer();
    g_StepCountdown = 0;
    SendTransferEnd(0);
}

void ShowReceiveProgress()
{
    CString done;
    if (g_BytesDone < 1024)
        done.Format(u"%d", static_cast<int>(g_BytesDone));
    else if (g_BytesDone < 1048576)
        done.Format(u"%.2fK", g_BytesDone / 1024.0);
    else
        done.Format(u"%.2fM", g_BytesDone / 1048576.0);
    double percent = g_CurrentFileSize == 0 ? 0.0 : double(g_BytesDone) / g_CurrentFileSize * 100.0;
    CString text;
    text.Format(u"接收第 %d/%d 个文件 %s,   %s   ...  (%.1f％)", g_BatchFileIndex + 1, static_cast<int>(g_BatchFiles.size()),
                done.GetString(), ShortenText50(g_CurrentFileName).GetString(), percent);
    LinkDisplay().SetStatusText(text);
}

void FileTimedOut()
{
    if (_ClientPack* m = FindMachine(CurrentTarget())) {
        if (++m->receiveTimeouts >= 3) {
            m->receiveTimeouts = 0;
            m->online = 0;
            UpdateMachineRow(MachineRow(CurrentTarget()), *m, false);
        }
    }
    LogFileFailure(u"主控无应答");
    ++g_BatchFileIndex;
    CloseSendFile();
    FreeReceiveBuffer();
    g_ReceivePath.Empty();
    EndFetch();
}

void FinishReceiveBatch()
{
    if (g_TransferState == 4) {
        SendMachineMessage(u"文件上传完成,等待主控传输......");
        g_StagingFetchFolder.Empty();
        SweepStaging(); // folders of offers that did not arrive
    }
    g_TransferState = 0;
    ShowBatchResult(u"接收完成", u"接收结束");
}

void FinishReceiveTarget()
{
    const bool offerFetch = g_TransferState == 4;
    const MachineId target = CurrentTarget();
    const CString text = FinishTargetSummary(offerFetch ? u"上传" : u"接收");
    if (offerFetch) {
        g_OfferingMachine = target;
        SendMachineMessage(text + u"  文件：" + g_BatchFileName);
    }
}

void StartNextFetch()
{
    // A file that keeps failing is asked for at most three times in all.
    if (g_FetchAttemptTarget == g_BatchTargetIndex && g_FetchAttemptFile == g_BatchFileIndex) {
        if (++g_FetchAttempts > 2) {
            LogFileFailure(u"多次接收失败");
            g_FetchAttempts = 0;
            g_FetchAttemptTarget = g_FetchAttemptFile = -1;
            ++g_BatchFileIndex;
            return;
        }
    } else {
        g_FetchAttempts = 0;
        g_FetchAttemptTarget = g_BatchTargetIndex;
        g_FetchAttemptFile = g_BatchFileIndex;
        // A repeated request of the same offered file keeps its folder.
        if (g_TransferState == 4)
            g_StagingFetchFolder = NewStagingFolder();
    }
    CString path = BatchFileAt(g_BatchFileIndex);
    g_BatchFileName = GetFileNameFromPath(path);
    DisarmResend();
    if (SendFetchRequest(CurrentTarget(), path)) {
        g_StepCountdown = 400;
        return;
    }
    const _ClientPack* m = FindMachine(CurrentTarget());
    if (m == nullptr || m->online != 1)
        LogFileFailure(u"未连接主控...");
    ++g_BatchFileIndex;
}

} // namespace

std::string Utf16ToGbkPath(const CString& path)
{
    char ansi[kAnsiArea];
    int n = WideToAnsi255(ansi, path);
    return std::string(ansi, static_cast<size_t>(n));
}

bool SendFetchRequest(MachineId target, const CString& remotePath)
{
    g_BlockOffset = g_BytesDone = 0;
    g_CurrentMachine = target;
    const _ClientPack* m = FindMachine(target);
    if (m == nullptr || m->online != 1)
        return false;
    CString name = GetFileNameFromPath(remotePath);
    if (!IsSafeFileName(name)) {
        LinkDisplay().AddLog(CString(u"错误：文件名不合法 ") + ShortenText50(name));
        return false;
    }
    CString localPath = g_HostFolder + name;
    if (g_TransferState == 4) {
        // Before, the staging copy was named "<n>-<name>", so the machine saw
        // another name than it offered.
        if (g_StagingFetchFolder.IsEmpty()) {
            LinkDisplay().AddLog(CString(u"错误：不能创建临时目录 ") + StagingFolder());
            return false;
        }
        localPath = g_StagingFetchFolder + u"/" + name;
    }
    if (AnsiLengthWithZero(remotePath) > kAnsiArea || AnsiLengthWithZero(localPath) > kAnsiArea) {
        LinkDisplay().AddLog(CString(u"错误：路径过长，不能传输 ") + ShortenText50(remotePath));
        return false;
    }
    std::string source = Utf16ToGbkPath(remotePath);
    g_FetchTarget = Utf16ToGbkPath(localPath);
    g_FetchTargetPath = localPath;
    Packet p = MakeFetchRequest(source.data(), static_cast<int>(source.size()), g_FetchTarget.data(),
                                static_cast<int>(g_FetchTarget.size()));
    g_RequestCopy.packet = p;
    g_RequestCopy.address = m->address;
    g_RequestCopy.port = m->port;
    g_RequestCopy.retries = 0;
    g_FetchPending = true;
    g_HeaderReply.valid = false;
    SendPacket(p, m->address, m->port);
    return true;
}

void OnFileHeader(const Datagram& d)
{
    // The machine did not hear our answer and asks again: it gets the same
    // one, and the transfer state stays as it is. Before, the repeat was
    // dropped and the file failed.
    if (IsAnsweredHeader(d)) {
        SendToLastSender(g_HeaderReply.answer);
        return;
    }
    // A copy that crosses the first blocks changes nothing.
    if (g_HasReceiveBuffer && SenderIs(g_CurrentMachine) && std::memcmp(d.data + 2, g_FileHeader, sizeof g_FileHeader) == 0)
        return;
    // Only the header that answers our own request, from the machine asked.
    if (!Receiving() || !g_FetchPending || !SenderIs(g_CurrentMachine)) {
        SendHeaderAck(0);
        return;
    }
    if (!ChecksumMatches(d.data, kHeaderSize)) {
        if (++g_RequestCopy.retries < 3) {
            SendPacket(g_RequestCopy.packet, g_RequestCopy.address, g_RequestCopy.port);
            return;
        }
        RefuseHeader(d, u"文件头校验失败");
        return;
    }
    // A header for another destination is no answer to our request: refused
    // without touching the fetch, which still waits for its own header.
    // Before, it ended the fetch and the right header was refused too.
    if (!NamesFetchTarget(d)) {
        SendHeaderAck(0);
        return;
    }
    g_BlockOffset = g_BytesDone = 0;
    CloseSendFile();
    FreeReceiveBuffer();
    g_ReceivePath.Empty();
    std::memcpy(g_FileHeader, d.data + 2, sizeof g_FileHeader);
    const uint32_t size = Get32(d.data, 6);
    if (size >= kMaxFileSize) {
        RefuseHeader(d, u"文件大于8M");
        return;
    }
    if (!PathExists(GetPathHead(g_FetchTargetPath))) {
        RefuseHeader(d, u"主机目录不存在");
        return;
    }
    const CString target = g_FetchTargetPath;
    if (FileMatchesHeader(target)) {
        EndFetch();
        ++g_BatchFileIndex;
        ++g_BatchOkCount;
        g_StepCountdown = 0;
        RecordStaged(target);
        AnswerHeader(d, MakeStatusPacket(kCodeTransferEnd, 1));
        return;
    }
    g_CurrentFileName = GetFileNameFromPath(target);
    g_CurrentFileSize = size;
    g_ReceiveBuffer.assign(size, 0);
    g_HasReceiveBuffer = true;
    g_ReceivePath = target;
    EndFetch();
    AnswerHeader(d, MakeStatusPacket(kCodeHeaderAnswer, 1));
}

std::optional<BlockPacket> DecodeBlock(const Datagram& d)
{
    if (d.length < kBlockHead)
        return std::nullopt;
    BlockPacket b;
    b.offset = Get32(d.data, 6);
    b.length = Get32(d.data, 10);
    // Lengths come from the datagram: check them before they touch the buffer.
    if (!ChecksumMatches(d.data, d.length) || b.length > kMaxBlockData || kBlockHead + b.length > uint32_t(d.length) ||
        uint64_t(b.offset) + b.length > g_ReceiveBuffer.size())
        return std::nullopt;
    b.bytes = d.data + kBlockHead;
    b.last = d.data[14] == 1;
    return b;
}

void StoreBlock(const BlockPacket& b)
{
    // Blocks flow: a header arriving now is a stale copy, not a repeat.
    g_HeaderReply.valid = false;
    g_BlockOffset = b.offset;
    g_BytesDone = b.offset + b.length;
    if (b.length > 0)
        std::memcpy(g_ReceiveBuffer.data() + b.offset, b.bytes, b.length);
    if (b.last)
        return;
    g_StepCountdown = 100;
    g_BlockRetries = 0;
    SendBlockAck(1);
}

void OnDataBlock(const Datagram& d)
{
    DisarmResend();
    if (!g_HasReceiveBuffer) {
        g_BlockRetries = 0;
        SendTransferEnd(0);
        return;
    }
    if (!SenderIs(g_CurrentMachine))
        return;
    const std::optional<BlockPacket> b = DecodeBlock(d);
    if (!b) {
        BadBlock();
        return;
    }
    StoreBlock(*b);
    if (!b->last)
        return;
    ++g_BatchFileIndex;
    g_BlockRetries = 0;
    g_StepCountdown = 0;
    uint8_t status = CompleteFile();
    FreeReceiveBuffer();
    SendTransferEnd(status);
}

void OnTransferEnd(const Datagram& d)
{
    const bool inProgress = g_SendFileOpen || g_HasReceiveBuffer || g_FetchPending;
    if (!inProgress || !SenderIs(g_CurrentMachine))
        return;
    if (g_SendFileOpen && d.data[2] != 0 && !g_LastBlockSent && !TrustEarlySendEnd())
        return;
    DisarmResend();
    const bool receiving = g_HasReceiveBuffer || g_FetchPending;
    const bool headerTaken = g_HasReceiveBuffer;
    const CString receivePath = g_HasReceiveBuffer ? g_ReceivePath : g_FetchTargetPath;
    ++g_BatchFileIndex;
    g_StepCountdown = 0;
    g_BlockRetries = 0;
    CloseSendFile();
    FreeReceiveBuffer();
    EndFetch();
    // Success while receiving counts only for a file that is really there.
    const bool said = d.data[2] != 0;
    const bool ok = said && (!receiving || (headerTaken && FileMatchesHeader(receivePath)));
    if (ok) {
        ++g_BatchOkCount;
        TellFileDone();
    } else {
        LogFileFailure(!said ? (receiving ? u"主控发送失败" : u"主控接收失败") : u"文件未收到");
    }
    g_ReceivePath.Empty();
}

void ReceiveStep()
{
    if (g_StepCountdown > 0) {
        ShowReceiveProgress();
        if (--g_StepCountdown <= 0) {
            g_StepCountdown = 0;
            FileTimedOut();
        }
        return;
    }
    if (g_BatchTargetIndex >= static_cast<int>(g_BatchTargets.size())) {
        FinishReceiveBatch();
        return;
    }
    if (g_BatchFileIndex >= FilesForCurrentTarget()) {
        FinishReceiveTarget();
        return;
    }
    StartNextFetch();
}
