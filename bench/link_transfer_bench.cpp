#include "link/CLinkUdp.h"
#include "link/LinkState.h"
#include "link/machine_table.h"
#include "link/transfer.h"
#include "platform/core/files.h"
#include "platform/core/gui_post.h"
#include "platform/net/ipv4.h"
#include "tests/support/sim/CSimController.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <mutex>

namespace {

using Clock = std::chrono::steady_clock;

// The dialog thread's message queue: posted calls wake the loop at once.
class QueuePoster : public IGuiPoster {
public:
    void Post(std::function<void()> call) override
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
        m_wake.notify_one();
    }
    // Runs one posted call; false when none came before the deadline.
    bool RunOne(Clock::time_point deadline)
    {
        std::function<void()> call;
        {
            std::unique_lock lock(m_mutex);
            if (!m_wake.wait_until(lock, deadline, [&] { return !m_calls.empty(); }))
                return false;
            call = std::move(m_calls.front());
            m_calls.pop_front();
        }
        call();
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_calls;
};

// Runs posted calls and a real 100 ms tick until done() holds.
template <class Done>
void RunLoop(QueuePoster& poster, Done done)
{
    auto nextTick = Clock::now() + std::chrono::milliseconds(100);
    while (!done()) {
        if (!poster.RunOne(nextTick)) {
            OnLinkTimer();
            nextTick = Clock::now() + std::chrono::milliseconds(100);
        }
    }
}

void BM_LinkSend8MB(benchmark::State& state)
{
    char home[] = "/tmp/zorva-bench-XXXXXX";
    if (mkdtemp(home) == nullptr)
        return state.SkipWithError("no temporary folder");
    setenv("ZORVA_HOME", home, 1);
    const size_t kSize = 8 * 1024 * 1024;
    // As many round trips as the file has blocks, half before and half after
    // the send, so both see the same load of the machine.
    const int kPings = static_cast<int>(kSize / 522 + 1);

    QueuePoster poster;
    SetGuiPoster(&poster);
    ResetLinkState();
    CLinkUdp udp;
    udp.StartUdp(MakeIPv4(127, 0, 0, 1), 0, 0);
    g_pLinkUdp = &udp;
    CSimController sim(2, 0x11, 0, 1);
    sim.Start(udp.BoundAddress(), udp.Port());
    sim.Announce();
    RunLoop(poster, [] { return !g_Machines.empty(); });

    std::vector<uint8_t> content(kSize);
    for (size_t i = 0; i < kSize; ++i)
        content[i] = uint8_t(i * 2654435761u >> 24);
    const CString local = DataRoot() + u"/big.bin";
    WriteFileAtomic(local, content);

    double sendSeconds = 0, rttSeconds = 0;
    for (auto _ : state) {
        // Stop-and-wait bound: 540-byte round trips over the same sockets and
        // the same hand-over to this thread.
        Packet probe;
        probe.Put16(0, 0x7777);
        probe.PutBytes(2, content.data(), 538);
        auto ping = [&](int count) {
            sim.SetEcho(true);
            const _ClientPack& m = g_Machines[0];
            const auto start = Clock::now();
            for (int i = 0; i < count; ++i) {
                udp.Send(probe, m.address, m.port);
                poster.RunOne(Clock::now() + std::chrono::seconds(1));
            }
            sim.SetEcho(false);
            return std::chrono::duration<double>(Clock::now() - start).count();
        };
        double pingSeconds = ping(kPings / 2);

        StartSendBatch({local}, {MachineIdAt(0)}, DataRoot() + u"/", u"C:\\bench\\");
        const auto t0 = Clock::now();
        OnLinkTimer(); // the file starts at once instead of at the next tick
        RunLoop(poster, [] { return g_BatchFileIndex > 0 || g_TransferState == 0; });
        sendSeconds = std::chrono::duration<double>(Clock::now() - t0).count();
        pingSeconds += ping(kPings - kPings / 2);
        rttSeconds = pingSeconds / kPings;
        RunLoop(poster, [] { return g_TransferState == 0; });
    }
    std::vector<uint8_t> stored;
    const bool ok = sim.GetFile("C:\\bench\\big.bin", stored) && stored == content;
    const double throughput = kSize / sendSeconds;
    const double bound = 522.0 / rttSeconds;
    state.counters["file_MB"] = kSize / 1048576.0;
    state.counters["send_s"] = sendSeconds;
    state.counters["MB_per_s"] = throughput / 1048576.0;
    state.counters["rtt_us"] = rttSeconds * 1e6;
    state.counters["bound_MB_per_s"] = bound / 1048576.0;
    state.counters["ratio"] = throughput / bound;
    state.counters["verified"] = ok ? 1 : 0;

    sim.Stop();
    udp.Stop();
    g_pLinkUdp = nullptr;
    SetGuiPoster(nullptr);
    RunPostedCalls();
    ResetLinkState();
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
}

} // namespace

BENCHMARK(BM_LinkSend8MB)->Unit(benchmark::kMillisecond)->Iterations(1);
