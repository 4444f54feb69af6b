#pragma once

// The real main dialog of zorvalink, offscreen, on a free loopback port,
// with simulated controllers: a test drives its controls and the timer.

#include "link/CLeft_tab1.h"
#include "link/CZorvalinkDlg.h"
#include "link/LinkState.h"
#include "link/link_resources.h"
#include "link/transfer.h"
#include "platform/core/files.h"
#include "platform/net/CUdpSocket.h"
#include "platform/net/ipv4.h"
#include "platform/testing/control_driver.h"
#include "platform/testing/dialog_answers.h"
#include "platform/testing/ui_harness.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CListCtrl.h"
#include "tests/support/sim/CSimController.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class LinkDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        harness::InitGui();
        ResetLinkState();
        CUdpSocket probe;
        probe.Open(MakeIPv4(127, 0, 0, 1), 0);
        const std::string port = std::to_string(probe.LocalPort());
        probe.Close();
        setenv("ZORVALINK_BIND", "127.0.0.1", 1);
        setenv("ZORVALINK_PORT", port.c_str(), 1);
        m_port = static_cast<uint16_t>(std::stoi(port));
    }

    void TearDown() override
    {
        Close();
        unsetenv("ZORVALINK_BIND");
        unsetenv("ZORVALINK_PORT");
        harness::PumpPosted();
        ResetLinkState();
    }

    // Opens the dialog as the program does (after the test laid out files).
    void Open()
    {
        dlg = std::make_unique<CZorvalinkDlg>();
        ASSERT_TRUE(dlg->Create(IDD_ZORVALINK_DIALOG));
        dlg->ShowWindow(SW_SHOW);
        dlg->MoveWindow(0, 0, 1400, 860);
        harness::PumpPosted();
    }

    // Closes it as the user would: the scheme and the settings are saved.
    void Close()
    {
        if (dlg == nullptr)
            return;
        dlg->DestroyWindow();
        dlg.reset();
        harness::PumpPosted();
    }

    void Join(CSimController& sim, uint8_t state = 0)
    {
        ASSERT_TRUE(sim.Start(MakeIPv4(127, 0, 0, 1), m_port));
        const size_t before = g_Machines.size();
        sim.Announce(state);
        ASSERT_TRUE(Pump([&] { return g_Machines.size() > before && sim.CountReceived(800) > 0; }));
    }

    // Handles what arrives until pred holds (real time).
    static bool Pump(const std::function<bool()>& pred, int timeoutMs = 3000)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            harness::PumpPosted();
            if (pred())
                return true;
            if (std::chrono::steady_clock::now() >= end)
                return false;
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    }

    // Timer ticks whenever the line falls quiet, until pred holds.
    static bool RunUntil(const std::function<bool()>& pred, int maxTicks)
    {
        for (int ticks = 0;; ++ticks) {
            Settle();
            if (pred())
                return true;
            if (ticks >= maxTicks)
                return false;
            harness::AdvanceTime(100);
        }
    }

    static void Settle(int quietMs = 15)
    {
        auto quietSince = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - quietSince < std::chrono::milliseconds(quietMs)) {
            if (harness::PumpPosted() > 0)
                quietSince = std::chrono::steady_clock::now();
            else
                std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    }

    CLeft_tab1& Page() { return dlg->FilePage(); }
    CListCtrl* Machines() { return dlg->MachineList(); }
    CListCtrl* Local() { return Page().LocalList(); }
    CListCtrl* Remote() { return Page().RemoteList(); }

    std::string Cell(CListCtrl* list, int row, int column) { return list->GetItemText(row, column).ToUtf8(); }
    std::string Status() { return dlg->StatusBar().GetPaneText(0).ToUtf8(); }

    // Log lines without their time.
    std::vector<std::string> Logs()
    {
        std::vector<std::string> lines;
        CListBox* log = dlg->LogList();
        for (int i = 0; i < log->GetCount(); ++i) {
            CString text;
            log->GetText(i, text);
            const int mark = text.Find(u"> ");
            lines.push_back((mark == 8 ? text.Mid(10) : text).ToUtf8());
        }
        return lines;
    }
    bool HasLog(const std::string& line)
    {
        for (const std::string& l : Logs())
            if (l == line)
                return true;
        return false;
    }

    int RowNamed(CListCtrl* list, const char16_t* name)
    {
        for (int row = 0; row < list->GetItemCount(); ++row)
            if (list->GetItemText(row, 0) == name)
                return row;
        return -1;
    }
    void Select(CListCtrl* list, std::initializer_list<int> rows)
    {
        for (int row = 0; row < list->GetItemCount(); ++row)
            list->SetItemState(row, 0, LVIS_SELECTED);
        for (int row : rows)
            list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    // A click on a machine row: it becomes the selected machine and its
    // folder is listed.
    void ClickMachine(int row)
    {
        dlgtest::ClickListRow(Machines(), row);
        harness::PumpPosted();
    }

    std::unique_ptr<CZorvalinkDlg> dlg;
    uint16_t m_port = 0;
};
