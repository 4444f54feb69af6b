#pragma once

#include "link/LinkState.h"
#include "link/packets.h"
#include "platform/core/CString.h"

// Runs the protocol for one handed-over datagram (dialog thread).
void OnPacket(const Datagram& datagram);

void MarkSenderOnline();
void MarkOnline(uint32_t address, uint16_t port);
int FindMachineBySenderIp();
// True when the last sender is the machine's address and port.
bool SenderIs(MachineId id);

// Senders; each returns false when it sent nothing.
bool SendPacket(const Packet& packet, uint32_t address, uint16_t port);
bool SendToLastSender(const Packet& packet);
bool SendToMachine(const Packet& packet, MachineId id, bool needOnline = true);
bool SendPresenceReply();
bool SendPoll(int row);
bool SendRemoteDelete(const CString& path, uint8_t kind, uint32_t row);
bool SendRemoteMkdir(const CString& path, uint8_t kind);
bool SendMachineMessage(const CString& text);
bool SendListRemoteDir(MachineId id, int filter, const CString& path);
bool SendSetMachineNumber(uint8_t letter, uint8_t number);
bool SendHeaderAck(uint8_t status);
bool SendBlockAck(uint8_t status);
bool SendTransferEnd(uint8_t status);

// Logs "错误：code:%d  " with the exception's message.
void LogException(int code, const char* what);
