// Seed inputs of the transfer program's entries: a scheme and the settings
// written by the program, and for each engine state the datagrams a good
// machine sends in it, built with the program's own packet builders.

#include <cstring>
#include <string>

#include "link/LinkState.h"
#include "link/machine_table.h"
#include "link/packets.h"
#include "link/settings_ini.h"
#include "platform/core/files.h"
#include "shared/CMD5Checksum.h"
#include "tests/support/fuzz/fuzz_link.h"
#include "tests/support/fuzz/fuzz_targets.h"

namespace {

// A dispatcher input under construction.
class Script {
public:
    explicit Script(int state) : m_bytes{std::uint8_t(state)} {}

    void Add(const std::uint8_t* data, std::size_t size, int sender = 0, bool seal = false, bool tick = false)
    {
        m_bytes.push_back(std::uint8_t((seal ? 1 : 0) | (sender << 1) | (tick ? 8 : 0)));
        m_bytes.push_back(std::uint8_t(size));
        m_bytes.push_back(std::uint8_t(size >> 8));
        m_bytes.insert(m_bytes.end(), data, data + size);
    }
    void Add(const Packet& p, int sender = 0, bool seal = false, bool tick = false)
    {
        Add(p.data, static_cast<std::size_t>(p.length), sender, seal, tick);
    }
    void Add(const FuzzBytes& d, int sender = 0, bool seal = false, bool tick = false)
    {
        Add(d.data(), d.size(), sender, seal, tick);
    }
    const FuzzBytes& Bytes() const { return m_bytes; }

private:
    FuzzBytes m_bytes;
};

FuzzBytes Coded(std::uint16_t code, std::size_t size)
{
    FuzzBytes d(size, 0);
    d[0] = std::uint8_t(code);
    d[1] = std::uint8_t(code >> 8);
    return d;
}

void Put32(FuzzBytes& d, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        d[at + i] = std::uint8_t(v >> (8 * i));
}

FuzzBytes Content(std::size_t n)
{
    FuzzBytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = std::uint8_t(i * 13 + 5);
    return b;
}

// Header and blocks of a file the machine sends to the host path.
void AddFileFromMachine(Script& s, const std::string& hostPath, const FuzzBytes& content)
{
    std::uint8_t md5[16];
    MD5OfBuffer(md5, content.size(), content.data());
    char path[kHeaderPathSize] = {};
    std::memcpy(path, hostPath.data(), std::min<std::size_t>(hostPath.size(), kHeaderPathSize - 1));
    s.Add(MakeFileHeader(static_cast<std::uint32_t>(content.size()), 0, md5, 0, path), 0, true);
    for (std::size_t at = 0; at <= content.size(); at += kMaxBlockData) {
        const int n = static_cast<int>(std::min<std::size_t>(kMaxBlockData, content.size() - at));
        s.Add(MakeDataBlock(static_cast<std::uint32_t>(at), content.data() + at, n, n < kMaxBlockData), 0, true);
        if (n < kMaxBlockData)
            break;
    }
}

FuzzBytes IdleScript()
{
    Script s(0);
    LinkFuzzScope scope(false);
    s.Add(Coded(kCodeAnnounce, 9), 2);
    FuzzBytes listHeader = Coded(kCodeListDir, 6);
    for (char c : std::string("C:\\d\\"))
        listHeader.push_back(std::uint8_t(c));
    listHeader.push_back(0);
    s.Add(listHeader, 0, true);
    FuzzBytes page = Coded(kCodeListPage, 10);
    Put32(page, 6, 2);
    for (const char* name : {"a.nc", "sub"}) {
        FuzzBytes entry(kListEntryHead, 0);
        entry[0] = std::strcmp(name, "sub") == 0 ? 1 : 2;
        Put32(entry, 4, 1234);
        entry[16] = std::uint8_t(std::strlen(name));
        page.insert(page.end(), entry.begin(), entry.end());
        page.insert(page.end(), name, name + std::strlen(name));
    }
    s.Add(page, 0, true);
    s.Add(Coded(kCodeListEnd, 2));
    s.Add(FuzzBytes{std::uint8_t(kCodeNameAnswer), std::uint8_t(kCodeNameAnswer >> 8), 1, 5});
    FuzzBytes deleted = Coded(kCodeRemoteDelete, 8);
    deleted[2] = 1;
    s.Add(deleted);
    s.Add(FuzzBytes{std::uint8_t(kCodeRemoteMkdir), std::uint8_t(kCodeRemoteMkdir >> 8), 1});
    s.Add(Coded(kCodeProcessTable, 12));
    s.Add(FuzzBytes{std::uint8_t(kCodeLeave), std::uint8_t(kCodeLeave >> 8), 0x11, 0, 0, 0, 0, 1, 0}, 0, false, true);
    return s.Bytes();
}

FuzzBytes FetchScript()
{
    LinkFuzzScope scope(true);
    scope.EnterState(1);
    const std::string target(g_FetchTarget.c_str());
    Script s(1);
    AddFileFromMachine(s, target, Content(600));
    s.Add(Coded(kCodeTransferEnd, 4), 0, false, true);
    return s.Bytes();
}

FuzzBytes SendScript()
{
    Script s(2);
    FuzzBytes ok = Coded(kCodeHeaderAnswer, 4);
    ok[2] = 1;
    s.Add(ok);
    FuzzBytes block = Coded(kCodeBlockAnswer, 4);
    block[2] = 1;
    for (int i = 0; i < 3; ++i)
        s.Add(block);
    FuzzBytes end = Coded(kCodeTransferEnd, 4);
    end[2] = 1;
    s.Add(end);
    s.Add(ok, 1, false, true);
    s.Add(block, 1);
    s.Add(end, 1);
    return s.Bytes();
}

FuzzBytes OfferScript()
{
    Script s(3);
    FuzzBytes offer = Coded(kCodeOffer, 34);
    Put32(offer, 6, kMachineAId);
    const std::string path = "C:\\d\\p.nc";
    Put32(offer, 14, static_cast<std::uint32_t>(path.size() + 1));
    offer.insert(offer.end(), path.begin(), path.end());
    offer.push_back(0);
    s.Add(offer, 0, true, true);
    s.Add(Coded(kCodeOfferCancel, 2), 0, false, true);
    return s.Bytes();
}

} // namespace

std::vector<FuzzBytes> DispatchSeeds()
{
    return {IdleScript(), FetchScript(), SendScript(), OfferScript()};
}

std::vector<FuzzBytes> SchemeSeeds()
{
    LinkFuzzScope scope(false);
    std::vector<FuzzBytes> seeds;
    for (int machines : {0, 3}) {
        g_Machines.clear();
        for (int i = 0; i < machines; ++i) {
            _ClientPack m{};
            m.id[0] = std::uint8_t(0x10 + i);
            m.letter = std::uint8_t(i);
            m.number = std::uint8_t(i + 1);
            m.address = 0x0100007F;
            m.port = 6180;
            m.checked = i % 2;
            std::strcpy(m.rememberedFolder, "C:\\work\\");
            g_Machines.push_back(m);
        }
        g_SchemeFolderText = u"D:\\程序";
        FuzzCheck(SaveScheme(u"seed"), "a seed scheme was written");
        seeds.push_back(ReadFuzzFile(NativePath(SchemePath(u"seed"))));
    }
    return seeds;
}

std::vector<FuzzBytes> SettingsIniSeeds()
{
    LinkFuzzScope scope(false);
    g_LinkSettings.replaceExisting = true;
    g_LinkSettings.sendToAll = true;
    FuzzCheck(SaveSettingsIni(u"方案 1.dat"), "seed settings were written");
    return {ReadFuzzFile(NativePath(SettingsIniPath()))};
}
