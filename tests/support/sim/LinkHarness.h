#pragma once

#include "link/CLinkUdp.h"
#include "link/ILinkDisplay.h"
#include "link/LinkState.h"
#include "tests/support/sim/CSimController.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// Records what the engine shows, as the main dialog would.
class CRecordingDisplay : public ILinkDisplay {
public:
    struct Row {
        CString cells[5];
        int image = -1;
        int color = -1;
        bool checked = false;
    };
    struct RemoteEntry {
        uint8_t kind;
        uint32_t size;
        CString name;
    };

    void AddLog(const CString& text) override { logs.push_back(text.ToUtf8()); }
    void SetStatusText(const CString& text) override { status = text.ToUtf8(); statuses.push_back(status); }
    void EnableSchemeCombo(bool enable) override { schemeComboEnabled = enable; }
    void EnableTransferLabel(bool enable) override { labelEnabled = enable; }
    int MachineRowCount() const override { return static_cast<int>(rows.size()); }
    void ResetMachineList() override { rows.clear(); }
    void InsertMachineRow(int row) override { rows.insert(rows.begin() + row, Row()); }
    CString GetMachineCell(int row, int column) const override { return rows.at(size_t(row)).cells[column]; }
    void SetMachineCell(int row, int column, const CString& text) override { rows.at(size_t(row)).cells[column] = text; }
    void SetMachineRowImage(int row, int image) override { rows.at(size_t(row)).image = image; }
    void SetMachineRowColor(int row, int code) override { rows.at(size_t(row)).color = code; }
    bool IsMachineRowChecked(int row) const override { return rows.at(size_t(row)).checked; }
    void SetMachineRowChecked(int row, bool checked) override { rows.at(size_t(row)).checked = checked; }
    void InitRemoteList() override { remote.clear(); }
    void AddRemoteEntry(uint8_t kind, uint32_t size, uint64_t, const CString& name) override
    {
        if (failRemoteEntries)
            throw std::runtime_error("list view is gone");
        remote.push_back({kind, size, name});
    }
    void EndRemoteListing() override { ++listingsEnded; }
    void SetRemoteFolderText(const CString& folder) override { remoteFolder = folder.ToUtf8(); }
    void RemoveRemoteRow(int) override {}
    void AddRemoteFolderRow() override {}
    void PutLocalFileRow(const CString& name, uint32_t) override { localFilesPut.push_back(name.ToUtf8()); }
    void PutRemoteFileRow(const CString& name, uint32_t) override { remoteFilesPut.push_back(name.ToUtf8()); }
    CString GetLocalFolder() const override { return localFolder; }
    void ShowLocalFolder(const CString& folder) override { localFolder = folder; }
    bool AskMachineNumber(uint8_t& letter, uint8_t& number) override
    {
        letter = askLetter;
        number = askNumber;
        return askAnswer;
    }

    std::string Cell(int row, int column) const { return rows.at(size_t(row)).cells[column].ToUtf8(); }
    bool HasLog(const std::string& text) const;

    std::vector<std::string> logs;
    std::vector<std::string> statuses;
    std::string status;
    bool schemeComboEnabled = true;
    bool labelEnabled = false;
    std::vector<Row> rows;
    std::vector<RemoteEntry> remote;
    int listingsEnded = 0;
    std::string remoteFolder;
    std::vector<std::string> localFilesPut, remoteFilesPut;
    CString localFolder;
    bool failRemoteEntries = false;
    bool askAnswer = false;
    uint8_t askLetter = 0, askNumber = 0;
};

// The host engine on 127.0.0.1 with a free port, a recording display and a
// virtual clock that only ticks when told.
class CLinkHarness {
public:
    CLinkHarness();
    ~CLinkHarness();

    uint32_t HostAddress() const { return m_udp.BoundAddress(); }
    uint16_t HostPort() const { return m_udp.Port(); }

    // Handles handed-over datagrams until pred holds or timeoutMs passes.
    bool Pump(const std::function<bool()>& pred, int timeoutMs = 2000);
    // Handles what arrives within quietMs, then stops.
    void Settle(int quietMs = 20);
    // One 100 ms timer tick on the virtual clock.
    void Tick(int count = 1);
    // Ticks whenever the line falls quiet, until pred holds or maxTicks pass.
    bool RunUntil(const std::function<bool()>& pred, int maxTicks, int quietMs = 15);

    // Starts a machine and lets it announce itself.
    void Join(CSimController& sim, uint8_t state = 0);

    CRecordingDisplay display;
    static uint32_t s_now;

private:
    CLinkUdp m_udp;
};

std::string HexOf(const Bytes& bytes);
std::string TempDir();
