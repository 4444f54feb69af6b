#include "tests/support/sim/LinkHarness.h"

#include "link/transfer.h"
#include "platform/core/files.h"
#include "platform/core/gui_post.h"
#include "platform/net/ipv4.h"

#include <chrono>
#include <thread>

uint32_t CLinkHarness::s_now = 1000000;

namespace {

uint32_t VirtualNow()
{
    return CLinkHarness::s_now;
}

uint64_t RealMs()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

bool CRecordingDisplay::HasLog(const std::string& text) const
{
    for (const std::string& line : logs)
        if (line == text)
            return true;
    return false;
}

CLinkHarness::CLinkHarness()
{
    RunPostedCalls();
    ResetLinkState();
    SetLinkDisplay(&display);
    SetLinkClock(&VirtualNow);
    m_udp.StartUdp(MakeIPv4(127, 0, 0, 1), 0, 0);
    g_pLinkUdp = &m_udp;
}

CLinkHarness::~CLinkHarness()
{
    m_udp.Stop();
    RunPostedCalls();
    g_pLinkUdp = nullptr;
    ResetLinkState();
    SetLinkDisplay(nullptr);
    SetLinkClock(nullptr);
}

bool CLinkHarness::Pump(const std::function<bool()>& pred, int timeoutMs)
{
    const uint64_t end = RealMs() + uint64_t(timeoutMs);
    for (;;) {
        RunPostedCalls();
        if (pred())
            return true;
        if (RealMs() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

void CLinkHarness::Settle(int quietMs)
{
    uint64_t quietSince = RealMs();
    while (RealMs() - quietSince < uint64_t(quietMs)) {
        if (RunPostedCalls() > 0)
            quietSince = RealMs();
        else
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

void CLinkHarness::Tick(int count)
{
    for (int i = 0; i < count; ++i) {
        s_now += 100;
        OnLinkTimer();
    }
}

bool CLinkHarness::RunUntil(const std::function<bool()>& pred, int maxTicks, int quietMs)
{
    for (int ticks = 0;; ++ticks) {
        Settle(quietMs);
        if (pred())
            return true;
        if (ticks >= maxTicks)
            return false;
        Tick();
    }
}

void CLinkHarness::Join(CSimController& sim, uint8_t state)
{
    sim.Start(HostAddress(), HostPort());
    const size_t before = g_Machines.size();
    sim.Announce(state);
    const int acks = sim.CountReceived(kCodeAnnounce);
    Pump([&] { return g_Machines.size() > before || sim.CountReceived(kCodeAnnounce) > acks; });
    Pump([&] { return sim.CountReceived(kCodeAnnounce) > acks; });
}

std::string HexOf(const Bytes& bytes)
{
    static const char* digits = "0123456789ABCDEF";
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            text += ' ';
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

std::string TempDir()
{
    return DataRoot().ToUtf8();
}
