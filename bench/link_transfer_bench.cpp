// An 8 MiB file sent by the zorvalink engine to the simulated controller on
// loopback, against two references measured in the same run:
//  - a plain C-style UDP ping-pong of 540-byte datagrams between two
//    sockets of this benchmark (one thread each), as many round trips as
//    the transfer has blocks: the stop-and-wait bound (ratio_to_pingpong);
//  - tftp-hpa putting the same file to its own server on 127.0.0.1 with
//    512-byte blocks (ratio_to_tftp = tftp time / engine time), when its
//    programs are found: in.tftpd and tftp in $ZORVA_TFTP_DIR (extracted
//    Debian packages; libraries beside them are found through
//    LD_LIBRARY_PATH), else on the PATH.
// Runs pinned to one CPU (the benchmark, its threads and the tftp processes)
// and unpinned; each run alternates the three, medians of the rounds. The
// engine's socket and the controller live through all rounds, as the
// program and a machine do between files, and bind 127.0.0.1 as the
// ping-pong's sockets do; before each round the controller forgets the file,
// so every round sends it whole. The controller checks each block and the
// file's digest (hashing each block after its answer) but does not record
// the blocks; the benchmark compares the bytes it holds with the file.
// digest_ms is one MD5 of the file in the same run: the host takes it before
// the header goes, the controller as the blocks come (on the host's CPU in
// the pinned run, on its own processor in a shop).

#include "link/CLinkUdp.h"
#include "link/LinkState.h"
#include "link/machine_table.h"
#include "link/transfer.h"
#include "platform/core/files.h"
#include "platform/core/gui_post.h"
#include "platform/net/ipv4.h"
#include "shared/CMD5Checksum.h"
#include "tests/support/sim/CSimController.h"
#include "tests/support/spawn_program.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kSize = 8 * 1024 * 1024;
constexpr int kBlocks = static_cast<int>(kSize / kMaxBlockData + 1);
constexpr int kRounds = 21;

double Seconds(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

// The dialog thread's message queue: a posted call wakes the loop at once.
class QueuePoster : public IGuiPoster {
public:
    void Post(std::function<void()> call) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_calls.push_back(std::move(call));
        }
        // After the unlock: the woken thread does not block on the lock.
        m_wake.notify_one();
    }
    // Runs the posted calls there are; false when none came before deadline.
    bool RunSome(Clock::time_point deadline)
    {
        std::unique_lock lock(m_mutex);
        if (!m_wake.wait_until(lock, deadline, [&] { return !m_calls.empty(); }))
            return false;
        while (!m_calls.empty()) {
            std::function<void()> call = std::move(m_calls.front());
            m_calls.pop_front();
            lock.unlock();
            call();
            lock.lock();
        }
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_calls;
};

// Posted calls and the 100 ms link tick until done() holds.
template <class Done>
void RunLoop(QueuePoster& poster, Done done)
{
    auto nextTick = Clock::now() + std::chrono::milliseconds(100);
    while (!done()) {
        if (!poster.RunSome(nextTick) || Clock::now() >= nextTick) {
            OnLinkTimer();
            nextTick = Clock::now() + std::chrono::milliseconds(100);
        }
    }
}

int UdpSocket(sockaddr_in& bound)
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    bound = {};
    bound.sin_family = AF_INET;
    bound.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&bound), sizeof bound);
    socklen_t len = sizeof bound;
    getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &len);
    return fd;
}

// kBlocks round trips of 540 bytes between two sockets, one thread each.
double PingPongSeconds()
{
    sockaddr_in a, b;
    const int fa = UdpSocket(a), fb = UdpSocket(b);
    std::thread echo([&] {
        char buf[1024];
        for (int i = 0; i < kBlocks; ++i) {
            sockaddr_in from;
            socklen_t len = sizeof from;
            const ssize_t n = recvfrom(fb, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len);
            sendto(fb, buf, static_cast<size_t>(n), 0, reinterpret_cast<sockaddr*>(&from), len);
        }
    });
    char buf[kMaxDatagram] = {};
    const auto t0 = Clock::now();
    for (int i = 0; i < kBlocks; ++i) {
        sendto(fa, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&b), sizeof b);
        recv(fa, buf, sizeof buf, 0);
    }
    const double s = Seconds(t0, Clock::now());
    echo.join();
    close(fa);
    close(fb);
    return s;
}

// The host's socket and the controller, made once as the program and the
// machine live on between files. Both bind 127.0.0.1, as the ping-pong's
// sockets do.
struct EngineRig {
    QueuePoster poster;
    CLinkUdp udp;
    CSimController sim{1, 0x11, 0, 1};
    EngineRig()
    {
        SetGuiPoster(&poster);
        udp.StartUdp(MakeIPv4(127, 0, 0, 1), 0, 0);
        sim.SetRecordBlocks(false);
        sim.Start(udp.BoundAddress(), udp.Port());
    }
    ~EngineRig()
    {
        sim.Stop();
        udp.Stop();
        g_pLinkUdp = nullptr;
        SetGuiPoster(nullptr);
        RunPostedCalls();
        ResetLinkState();
    }
};

// One transfer to a controller that does not hold the file; false in ok
// when the controller does not end up with the content.
double EngineSeconds(EngineRig& rig, const CString& local, const std::vector<uint8_t>& content, bool& ok)
{
    ResetLinkState();
    g_pLinkUdp = &rig.udp;
    rig.sim.ForgetFiles();
    rig.sim.Announce();
    RunLoop(rig.poster, [] { return !g_Machines.empty(); });

    StartSendBatch({local}, {MachineIdAt(0)}, DataRoot() + u"/", u"C:\\bench\\");
    const auto t0 = Clock::now();
    OnLinkTimer(); // the file starts at once instead of at the next tick
    RunLoop(rig.poster, [] { return g_BatchFileIndex > 0 || g_TransferState == 0; });
    const double s = Seconds(t0, Clock::now());
    RunLoop(rig.poster, [] { return g_TransferState == 0; });

    std::vector<uint8_t> stored;
    ok = ok && rig.sim.GetFile("C:\\bench\\big.bin", stored) && stored == content;
    return s;
}

double DigestSeconds(const std::vector<uint8_t>& content)
{
    uint8_t md5[16];
    const auto t0 = Clock::now();
    MD5OfBuffer(md5, content.size(), content.data());
    benchmark::DoNotOptimize(md5);
    return Seconds(t0, Clock::now());
}

// The folder of the tftp-hpa programs, or "" when they are not there.
std::string TftpFolder()
{
    const char* dir = std::getenv("ZORVA_TFTP_DIR");
    for (const std::string& d : {std::string(dir != nullptr ? dir : ""), std::string("/usr")}) {
        if (!d.empty() && access((d + "/sbin/in.tftpd").c_str(), X_OK) == 0
            && access((d + "/bin/tftp").c_str(), X_OK) == 0)
            return d;
    }
    return {};
}

// Spawned, not forked: a fork write-protects every page of this process,
// and the engine's next round then took a fault on each page it wrote.
pid_t Run(const std::vector<std::string>& args, const std::string& folder)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    const pid_t pid = SpawnProgram(args, &actions);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

struct Tftp {
    std::string bin;
    std::string folder;     // holds big.bin
    std::string served;     // the server's folder
    std::string port;
    pid_t server = -1;
};

bool StartTftp(Tftp& t, const std::string& home)
{
    t.bin = TftpFolder();
    if (t.bin.empty())
        return false;
    t.folder = home;
    t.served = home + "/tftp";
    mkdir(t.served.c_str(), 0777);
    chmod(t.served.c_str(), 0777);
    sockaddr_in free;
    const int probe = UdpSocket(free);
    t.port = std::to_string(ntohs(free.sin_port));
    close(probe);
    // Loopback only; --create lets the client put new files.
    t.server = Run({t.bin + "/sbin/in.tftpd", "--foreground", "--address", "127.0.0.1:" + t.port, "--create",
                    "--secure", "--user", "root", t.served},
                   home);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return t.server > 0;
}

double TftpSeconds(Tftp& t)
{
    std::filesystem::remove(t.served + "/big.bin");
    const auto t0 = Clock::now();
    const pid_t client = Run({t.bin + "/bin/tftp", "127.0.0.1", t.port, "-m", "binary", "-c", "put", "big.bin"},
                             t.folder);
    int status = 0;
    if (client <= 0 || waitpid(client, &status, 0) != client)
        return -1;
    const double s = Seconds(t0, Clock::now());
    std::error_code ec;
    const bool whole = std::filesystem::file_size(t.served + "/big.bin", ec) == kSize;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && whole ? s : -1;
}

void StopTftp(Tftp& t)
{
    if (t.server > 0) {
        kill(t.server, SIGTERM);
        waitpid(t.server, nullptr, 0);
        t.server = -1;
    }
}

void Pin(bool pinned)
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (pinned) {
        CPU_SET(sched_getcpu(), &set);
    } else {
        for (int i = 0; i < CPU_SETSIZE; ++i)
            CPU_SET(i, &set);
    }
    sched_setaffinity(0, sizeof set, &set);
}

void BM_LinkSend8MiB(benchmark::State& state)
{
    const bool pinned = state.range(0) != 0;
    char home[] = "/tmp/zorva-bench-XXXXXX";
    if (mkdtemp(home) == nullptr)
        return state.SkipWithError("no temporary folder");
    setenv("ZORVA_HOME", home, 1);
    // Threads and processes made from here on inherit the placement.
    Pin(pinned);

    std::vector<uint8_t> content(kSize);
    for (size_t i = 0; i < kSize; ++i)
        content[i] = uint8_t(i * 2654435761u >> 24);
    const CString local = DataRoot() + u"/big.bin";
    WriteFileAtomic(local, content);
    WriteFileAtomic(CString::FromUtf8(std::string(home) + "/big.bin"), content);

    Tftp tftp;
    const bool haveTftp = StartTftp(tftp, home);
    std::vector<double> engine, ping, tftpTimes, digest;
    bool ok = true;
    for (auto _ : state) {
        EngineRig rig;
        for (int round = 0; round < kRounds; ++round) {
            engine.push_back(EngineSeconds(rig, local, content, ok));
            digest.push_back(DigestSeconds(content));
            ping.push_back(PingPongSeconds());
            if (haveTftp)
                tftpTimes.push_back(TftpSeconds(tftp));
        }
    }
    StopTftp(tftp);

    const double engineS = Median(engine), pingS = Median(ping), tftpS = Median(tftpTimes);
    state.counters["engine_s"] = engineS;
    state.counters["engine_MiB_per_s"] = 8.0 / engineS;
    state.counters["pingpong_s"] = pingS;
    state.counters["ratio_to_pingpong"] = pingS / engineS;
    state.counters["digest_ms"] = Median(digest) * 1e3;
    // The file is hashed twice (host and controller), on the one CPU when
    // pinned: the ping-pong with those two hashes is the floor of the same
    // work, and the ratio to the bare ping-pong can reach at most cap.
    const double digestS = Median(digest);
    state.counters["ratio_to_pingpong_and_digests"] = (pingS + 2 * digestS) / engineS;
    state.counters["ratio_cap"] = pingS / (pingS + 2 * digestS);
    state.counters["tftp_s"] = haveTftp ? tftpS : -1;
    state.counters["ratio_to_tftp"] = haveTftp && tftpS > 0 ? tftpS / engineS : -1;
    state.counters["verified"] = ok ? 1 : 0;
    state.SetLabel(std::string(pinned ? "pinned to one CPU" : "unpinned") + ", file in the page cache, host socket and controller kept between rounds, medians of "
                   + std::to_string(kRounds) + " rounds" + (haveTftp ? "" : ", no tftp-hpa found"));

    Pin(false);
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
}

} // namespace

BENCHMARK(BM_LinkSend8MiB)->Arg(1)->Arg(0)->ArgName("pinned")->Iterations(1)->Unit(benchmark::kMillisecond);
