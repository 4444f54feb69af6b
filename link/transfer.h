#pragma once

#include "link/LinkState.h"
#include "link/packets.h"
#include "platform/core/CString.h"

#include <optional>
#include <string>
#include <vector>

// The 100 ms tick: resends, batch steps, idle duties.
void OnLinkTimer();

// Batches started by the file page.
void StartSendBatch(const std::vector<CString>& localPaths, const std::vector<MachineId>& targets,
                    const CString& hostFolder, const CString& machineFolder);
void StartReceiveBatch(const std::vector<CString>& remotePaths, MachineId machine,
                       const CString& hostFolder, const CString& machineFolder);
// The stop button: ends any batch without telling the machines.
void StopTransfer();
void ResetTransfer();

// One file to a machine. remoteName: name on the machine (default: the
// local file's name). 1 sent, 0 size 0 or above 8 MB, -1 machine missing or
// offline, -2 no local file, -4 not readable (the digest is taken from the
// same read), -5 target path too long for the header.
int StartSendFile(MachineId target, const CString& localPath, const CString& remoteName = CString());
bool SendFileBlock(uint32_t offset);
bool SendFileBlockTo(uint32_t offset, uint32_t address, uint16_t port);
// The machine took the block sent last: the next one goes to it.
void SendNextBlock(uint32_t address, uint16_t port);
bool SendFetchRequest(MachineId target, const CString& remotePath);

void SendStep();
void ReceiveStep();
void OfferFetchStart();
bool RelayStart();

// ANSI bytes of a path with its zero byte, cut at 255.
std::string Utf16ToGbkPath(const CString& path);

// The staging folder of relayed files (".\FileTemp"). Each offered file is
// fetched into a fresh numbered folder of its own below it, so it keeps its
// offered name.
CString StagingFolder();
// The staging folder or a folder inside it.
bool IsStagingPath(const CString& folder);
CString NewStagingFolder();
// Removes the numbered staging folders (and their files) that no queued
// relay or running fetch needs: those of earlier runs, of failed fetches,
// of finished and of cancelled relays.
void SweepStaging();
// Forgets every staged offer and sweeps: the relays will not happen.
void DiscardStaging();

// Packet handlers.
void OnFileHeader(const Datagram& d);
void OnHeaderAnswer(const Datagram& d);
void OnDataBlock(const Datagram& d);
void OnBlockAnswer(const Datagram& d);
void OnTransferEnd(const Datagram& d);
void OnOffer(const Datagram& d);
void OnOfferCancel();

// A data block whose checksum and lengths fit the receive buffer.
struct BlockPacket {
    uint32_t offset = 0;
    uint32_t length = 0;
    const uint8_t* bytes = nullptr; // in the datagram
    bool last = false;
};
std::optional<BlockPacket> DecodeBlock(const Datagram& d);
// Puts the block into the receive buffer and, unless it is the last,
// answers it.
void StoreBlock(const BlockPacket& b);

// Shared by the steps.
// Sets the batch counters and the display for a batch of state 1 to 4 whose
// files, targets and folders are in place.
void StartBatch(uint8_t state);
// The machine being served, kNoMachine past the last.
MachineId CurrentTarget();
// Logs a file that failed for the machine being served:
// "<machine>--<what> ; <name>", then " ; <detail>" when there is one.
void LogFileFailure(const CString& what, const CString& name, const CString& detail);
void LogFileFailure(const CString& what); // the current file, g_BatchFileName
// The machine's files are done: ratio column, log line (returned), counters
// of the batch, and on to the next machine. verb: "完成", "接收" or "上传".
CString FinishTargetSummary(const char16_t* verb);
// The end of a batch: log, status and controls; done ("传输完成") when every
// file went well, else the counts after ended ("传输结束").
void ShowBatchResult(const char16_t* done, const char16_t* ended);
void CloseSendFile();
void FreeReceiveBuffer();
void DisarmResend();
void ResetMachineColumns();
void EndBatchDisplay();
void TellFileDone();
int FilesForCurrentTarget();
CString BatchFileAt(int index);
