#pragma once

#include "platform/core/CString.h"

#include <cstdint>

// What the link engine shows. The main dialog implements it; tests use a
// recording one. Every call comes on the dialog thread.
class ILinkDisplay {
public:
    virtual ~ILinkDisplay() = default;

    // Main dialog: log list, status pane 0, scheme combo, activity label.
    virtual void AddLog(const CString& text) = 0;
    virtual void SetStatusText(const CString& text) = 0;
    virtual void EnableSchemeCombo(bool enable) = 0;
    virtual void EnableTransferLabel(bool enable) = 0;

    // Machine list: rows of five text columns, an image, a colour code and a
    // check box. ResetMachineList deletes every row and sets up the columns.
    virtual int MachineRowCount() const = 0;
    virtual void ResetMachineList() = 0;
    virtual void InsertMachineRow(int row) = 0;
    virtual CString GetMachineCell(int row, int column) const = 0;
    virtual void SetMachineCell(int row, int column, const CString& text) = 0;
    virtual void SetMachineRowImage(int row, int image) = 0;
    virtual void SetMachineRowColor(int row, int colorCode) = 0;
    virtual bool IsMachineRowChecked(int row) const = 0;
    virtual void SetMachineRowChecked(int row, bool checked) = 0;

    // File page.
    virtual void InitRemoteList() = 0;
    virtual void AddRemoteEntry(uint8_t kind, uint32_t size, uint64_t fileTime, const CString& name) = 0;
    virtual void EndRemoteListing() = 0;
    // Machine path box; also what the page keeps as its remote folder.
    virtual void SetRemoteFolderText(const CString& folder) = 0;
    virtual void RemoveRemoteRow(int row) = 0;
    virtual void AddRemoteFolderRow() = 0;
    virtual void PutLocalFileRow(const CString& name, uint32_t size) = 0;
    virtual void PutRemoteFileRow(const CString& name, uint32_t size) = 0;
    // The page's host folder; ShowLocalFolder makes it the given one and
    // lists it again.
    virtual CString GetLocalFolder() const = 0;
    virtual void ShowLocalFolder(const CString& folder) = 0;

    // The machine-number dialog, run modally; false when cancelled.
    virtual bool AskMachineNumber(uint8_t& letter, uint8_t& number) = 0;
};

// Shows nothing; the engine's display until one is installed.
class CNullLinkDisplay : public ILinkDisplay {
public:
    void AddLog(const CString&) override {}
    void SetStatusText(const CString&) override {}
    void EnableSchemeCombo(bool) override {}
    void EnableTransferLabel(bool) override {}
    int MachineRowCount() const override { return 0; }
    void ResetMachineList() override {}
    void InsertMachineRow(int) override {}
    CString GetMachineCell(int, int) const override { return CString(); }
    void SetMachineCell(int, int, const CString&) override {}
    void SetMachineRowImage(int, int) override {}
    void SetMachineRowColor(int, int) override {}
    bool IsMachineRowChecked(int) const override { return false; }
    void SetMachineRowChecked(int, bool) override {}
    void InitRemoteList() override {}
    void AddRemoteEntry(uint8_t, uint32_t, uint64_t, const CString&) override {}
    void EndRemoteListing() override {}
    void SetRemoteFolderText(const CString&) override {}
    void RemoveRemoteRow(int) override {}
    void AddRemoteFolderRow() override {}
    void PutLocalFileRow(const CString&, uint32_t) override {}
    void PutRemoteFileRow(const CString&, uint32_t) override {}
    CString GetLocalFolder() const override { return CString(); }
    void ShowLocalFolder(const CString&) override {}
    bool AskMachineNumber(uint8_t&, uint8_t&) override { return false; }
};
