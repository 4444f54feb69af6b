// Entries of the transfer program: a scheme file loaded as the scheme combo
// loads it, "settting.ini" read at start-up, and datagrams handed to the
// dispatcher in four states of the engine (idle, fetching, sending, with an
// offer queued), with timer ticks between them.
//
// Dispatcher input: one byte that picks the state, then datagrams, each a
// flag byte, a 16-bit length and its bytes. Flags: bit 0 seals the
// checksum (a hostile machine computes it as easily as a real one), bits
// 1-2 pick the sender, bit 3 runs a timer tick first.

#include <filesystem>
#include <string>

#include "link/CLinkUdp.h"
#include "link/ILinkDisplay.h"
#include "link/LinkState.h"
#include "link/dispatch.h"
#include "link/link_helpers.h"
#include "link/machine_table.h"
#include "link/settings_ini.h"
#include "link/transfer.h"
#include "platform/core/files.h"
#include "platform/core/gui_post.h"
#include "platform/net/CUdpSocket.h"
#include "platform/net/ipv4.h"
#include "tests/support/fuzz/fuzz_link.h"
#include "tests/support/fuzz/fuzz_targets.h"

namespace {

// The machine list as the dialog keeps it; logs and listings are dropped.
class RowsDisplay : public CNullLinkDisplay {
public:
    struct Row {
        CString cells[5];
        bool checked = false;
    };
    int MachineRowCount() const override { return static_cast<int>(rows.size()); }
    void ResetMachineList() override { rows.clear(); }
    void InsertMachineRow(int row) override
    {
        FuzzCheck(row >= 0 && row <= MachineRowCount(), "a row is inserted inside the list");
        rows.insert(rows.begin() + row, Row());
    }
    CString GetMachineCell(int row, int column) const override { return At(row).cells[column]; }
    void SetMachineCell(int row, int column, const CString& text) override { At(row).cells[column] = text; }
    bool IsMachineRowChecked(int row) const override { return At(row).checked; }
    void SetMachineRowChecked(int row, bool checked) override { At(row).checked = checked; }
    CString GetLocalFolder() const override { return localFolder; }
    void ShowLocalFolder(const CString& folder) override { localFolder = folder; }

    std::vector<Row> rows;
    CString localFolder;

private:
    const Row& At(int row) const
    {
        FuzzCheck(row >= 0 && row < MachineRowCount(), "a row the list has");
        return rows[static_cast<std::size_t>(row)];
    }
    Row& At(int row)
    {
        FuzzCheck(row >= 0 && row < MachineRowCount(), "a row the list has");
        return rows[static_cast<std::size_t>(row)];
    }
};

void EmptyFolder(const std::string& path)
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(path, ec))
        std::filesystem::remove_all(entry.path(), ec);
}

uint32_t g_virtualNow = 1000000;

uint32_t VirtualNow()
{
    return g_virtualNow;
}

// Loopback sockets that stand for the machines: what the engine sends them
// is never read, and sending to a bound port raises no errors.
struct Machines {
    CUdpSocket sinks[4];
    Machines()
    {
        sinks[0].Open(MakeIPv4(127, 0, 0, 2), 0);
        sinks[1].Open(MakeIPv4(127, 0, 0, 3), 0);
        sinks[2].Open(MakeIPv4(127, 0, 0, 9), 0);
        sinks[3].Open(MakeIPv4(127, 0, 0, 2), 0);
        for (CUdpSocket& s : sinks)
            s.SetBufferSizes(1 << 16);
    }
};

Machines& Sinks()
{
    static Machines* machines = new Machines;
    return *machines;
}

CLinkUdp& HostSocket()
{
    static CLinkUdp* udp = [] {
        auto* u = new CLinkUdp;
        u->StartUdp(MakeIPv4(127, 0, 0, 1), 0, 0);
        return u;
    }();
    return *udp;
}

} // namespace

LinkFuzzScope::LinkFuzzScope(bool withSocket)
{
    InitFuzzProcess();
    RunPostedCalls();
    ResetLinkState();
    m_display = new RowsDisplay;
    SetLinkDisplay(m_display);
    SetLinkClock(&VirtualNow);
    g_pLinkUdp = withSocket ? &HostSocket() : nullptr;
    folder = DataRoot() + u"/link-fuzz";
    // What the last input received or staged; the folders themselves stay
    // (making and removing folders for every input is slow on a disk).
    EmptyFolder(NativePath(folder + u"/recv"));
    EmptyFolder(NativePath(StagingFolder()));
    CreateFolder(folder + u"/recv");
    static_cast<RowsDisplay*>(m_display)->localFolder = folder + u"/recv/";
}

LinkFuzzScope::~LinkFuzzScope()
{
    RunPostedCalls();
    ResetLinkState();
    g_pLinkUdp = nullptr;
    SetLinkDisplay(nullptr);
    SetLinkClock(nullptr);
    delete m_display;
}

void LinkFuzzScope::Tick()
{
    g_virtualNow += 100;
    OnLinkTimer();
}

void LinkFuzzScope::Deliver(const std::uint8_t* data, std::size_t size, int sender, bool seal)
{
    Datagram d;
    d.length = static_cast<int>(std::min<std::size_t>(size, kMaxDatagram));
    if (d.length > 0)
        std::memcpy(d.data, data, static_cast<std::size_t>(d.length));
    if (seal && d.length > 6) {
        const uint32_t crc = Crc32(d.data + 6, static_cast<std::size_t>(d.length - 6));
        for (int i = 0; i < 4; ++i)
            d.data[2 + i] = uint8_t(crc >> (8 * i));
    }
    const CUdpSocket& from = Sinks().sinks[sender & 3];
    d.address = from.LocalAddress();
    d.port = from.LocalPort();
    OnPacket(d);
}

void LinkFuzzScope::Announce(std::uint32_t id, int sender)
{
    const std::uint8_t d[9] = {uint8_t(kCodeAnnounce), uint8_t(kCodeAnnounce >> 8), uint8_t(id), uint8_t(id >> 8),
                               uint8_t(id >> 16), uint8_t(id >> 24), 0, uint8_t(1 + sender), 0};
    Deliver(d, sizeof d, sender, false);
}

void LinkFuzzScope::Offer(const std::string& path)
{
    FuzzBytes d(34, 0);
    d[0] = uint8_t(kCodeOffer);
    d[1] = uint8_t(kCodeOffer >> 8);
    const std::uint32_t id = kMachineAId, n = static_cast<std::uint32_t>(path.size() + 1);
    for (int i = 0; i < 4; ++i) {
        d[6 + i] = uint8_t(id >> (8 * i));
        d[14 + i] = uint8_t(n >> (8 * i));
    }
    d.insert(d.end(), path.begin(), path.end());
    d.push_back(0);
    Deliver(d.data(), d.size(), 0, true);
}

void LinkFuzzScope::EnterState(int state)
{
    Announce(kMachineAId, 0);
    Announce(kMachineBId, 1);
    switch (state & 3) {
    case 1: // fetching two files from machine A
        StartReceiveBatch({u"C:\\d\\f.nc", u"C:\\d\\g.nc"}, MachineIdAt(0), folder + u"/recv/", u"C:\\d\\");
        for (int i = 0; i < 3 && !g_FetchPending; ++i)
            Tick();
        break;
    case 2: { // sending a file to both machines
        const CString local = folder + u"/send.bin";
        FuzzBytes content(1500);
        for (std::size_t i = 0; i < content.size(); ++i)
            content[i] = uint8_t(i * 7);
        WriteFileAtomic(local, content);
        StartSendBatch({local}, {MachineIdAt(0), MachineIdAt(1)}, folder + u"/", u"C:\\d\\");
        for (int i = 0; i < 3 && !g_SendFileOpen; ++i)
            Tick();
        break;
    }
    case 3: // machine A offers a file for relay
        Offer("C:\\d\\o.nc");
        Tick();
        break;
    default:
        break;
    }
}

void FuzzDispatch(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return;
    LinkFuzzScope scope(true);
    scope.EnterState(data[0]);
    std::size_t at = 1;
    while (at + 3 <= size) {
        const std::uint8_t flags = data[at];
        std::size_t length = std::size_t(data[at + 1]) | std::size_t(data[at + 2]) << 8;
        at += 3;
        length = std::min(length, size - at);
        if (flags & 8)
            scope.Tick();
        scope.Deliver(data + at, length, (flags >> 1) & 3, flags & 1);
        at += length;
        FuzzCheck(g_ReceiveBuffer.size() <= kMaxFileSize, "a receive buffer never passes the largest file");
    }
    // Timers run the engine on to its end of the batch or its idle duties.
    for (int i = 0; i < 3; ++i)
        scope.Tick();
}

void FuzzScheme(const std::uint8_t* data, std::size_t size)
{
    // No socket: machines of a scheme file are polled by the timer, never here.
    LinkFuzzScope scope(false);
    CreateFolder(GetPathHead(SchemePath(u"fz")));
    WriteFuzzFile(NativePath(SchemePath(u"fz")), data, size);
    if (!LoadScheme(u"fz"))
        return;
    FuzzCheck(g_Machines.size() <= size / sizeof(_ClientPack), "every machine read is backed by the file");
    ResetLoadedMachines();
    for (int row = 0; row < static_cast<int>(g_Machines.size()); ++row)
        GetMachineName(row);
}

void FuzzSettingsIni(const std::uint8_t* data, std::size_t size)
{
    LinkFuzzScope scope(false);
    CreateFolder(GetPathHead(SettingsIniPath()));
    WriteFuzzFile(NativePath(SettingsIniPath()), data, size);
    LoadSettingsIni();
    FuzzCheck(!(g_LinkSettings.replaceExisting && g_LinkSettings.skipExisting), "replace and skip exclude each other");
}
