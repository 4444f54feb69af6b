// Simulated wire-cut controllers on loopback, for trying zorvalink by hand:
//   link_sim HOST_PORT OCTET:LETTER:NUMBER[:STATE[:FLAGS]] ...
// Each controller binds 127.0.0.OCTET, announces itself to 127.0.0.1 at
// HOST_PORT every few seconds, lists a few folders and files, and takes
// and sends files. FLAGS: d every datagram it sends waits 3 ms (a slow
// line, time to stop a transfer), m the files it sends carry a wrong
// digest, o it offers its part1.nc for relay on SIGUSR1. Ends on SIGINT or
// SIGTERM.

#include "platform/net/ipv4.h"
#include "tests/support/sim/CSimController.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

volatile std::sig_atomic_t g_stop = 0;
volatile std::sig_atomic_t g_offer = 0;

void OnSignal(int)
{
    g_stop = 1;
}

void OnOfferSignal(int)
{
    g_offer = 1;
}

Bytes Text(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

void Furnish(CSimController& sim)
{
    using E = CSimController::Entry;
    sim.SetListing("", {{1, 0, "\xCF\xB5\xCD\xB3\xC5\xCC C:"}, {1, 0, "\xD2\xC6\xB6\xAF\xC5\xCC U:"}});
    const std::string c = "\xCF\xB5\xCD\xB3\xC5\xCC C:";
    sim.SetListing(c + "\\", {{1, 0, "data"}, {2, 1536, "part1.nc"}, {2, 20480, "plate.3b"}});
    sim.SetListing(c + "\\data\\", {{2, 700, "gear.tcx"}, {2, 1048576, "frame.dxf"}});
    sim.PutFile(c + "\\part1.nc", Text(std::string(1536, 'n')));
    sim.PutFile(c + "\\plate.3b", Text(std::string(20480, 'b')));
    sim.PutFile(c + "\\data\\gear.tcx", Text(std::string(700, 't')));
    sim.PutFile(c + "\\data\\frame.dxf", Text(std::string(1048576, 'd')));
    (void)E{};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s HOST_PORT OCTET:LETTER:NUMBER[:STATE] ...\n", argv[0]);
        return 2;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGUSR1, OnOfferSignal);
    const uint16_t hostPort = static_cast<uint16_t>(std::atoi(argv[1]));
    std::vector<std::unique_ptr<CSimController>> sims;
    std::vector<uint8_t> states;
    std::vector<CSimController*> offering;
    for (int i = 2; i < argc; ++i) {
        unsigned octet = 0, letter = 0, number = 0, state = 0;
        char flags[8] = {};
        if (std::sscanf(argv[i], "%u:%u:%u:%u:%7s", &octet, &letter, &number, &state, flags) < 3)
            continue;
        auto sim = std::make_unique<CSimController>(uint8_t(octet), 0x5A000000u + octet, uint8_t(letter), uint8_t(number));
        Furnish(*sim);
        const std::string f = flags;
        sim->SetFaults(MakeFaults([&](SimFaults& faults) {
            faults.delayMs = f.find('d') != std::string::npos ? 3 : 0;
            faults.wrongMd5 = f.find('m') != std::string::npos;
        }));
        if (f.find('o') != std::string::npos)
            offering.push_back(sim.get());
        if (!sim->Start(MakeIPv4(127, 0, 0, 1), hostPort)) {
            std::fprintf(stderr, "cannot bind 127.0.0.%u\n", octet);
            return 1;
        }
        sims.push_back(std::move(sim));
        states.push_back(uint8_t(state));
    }
    const std::string part = "\xCF\xB5\xCD\xB3\xC5\xCC C:\\part1.nc";
    while (!g_stop) {
        for (size_t i = 0; i < sims.size(); ++i)
            sims[i]->Announce(states[i]);
        if (g_offer) {
            g_offer = 0;
            for (CSimController* sim : offering)
                sim->Offer(part);
        }
        for (int t = 0; t < 30 && !g_stop; ++t)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return 0;
}
