#pragma once

#include "link/LinkState.h"
#include "link/packets.h"
#include "platform/core/CString.h"

#include <vector>

// Packet handlers of the machine table.
void OnAnnounce(const Datagram& d);
void OnLeave(const Datagram& d);
void OnNameAnswer(const Datagram& d);
void OnProcessTableNotice(const Datagram& d);

// Idle-tick duties: offline check (every 10th idle tick) and start-up poll.
void OfflineCheck();
void PollStep();

// Machine list rows.
CString MachineStateText(uint8_t state);
void UpdateMachineRow(int row, const _ClientPack& record, bool insert);
void RebuildMachineList();
void SortMachines();
void SetMachineCell(int row, int column, const CString& text);
CString GetMachineName(int row);
CString GetMachineName(MachineId id);
// The remote folder shown for the selected machine, kept in its record.
void SetMachineFileText(const CString& text);
// A click on a machine row: select it and list its remembered folder.
void SelectMachineRow(int row, int filter);
// After a scheme load: clear the live fields, rebuild, restore check boxes.
void ResetLoadedMachines();

// Scheme files ".\Data\<name>.dat".
CString SchemePath(const CString& name);
bool SaveScheme(const CString& name);
bool LoadScheme(const CString& name);
void ListSchemeFiles(std::vector<CString>& names);
