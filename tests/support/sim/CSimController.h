#pragma once

#include "platform/net/CUdpSocket.h"
#include "shared/CMD5Checksum.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <random>
#include <span>
#include <string>
#include <thread>
#include <vector>

using Bytes = std::vector<uint8_t>;

// Faults a simulated machine puts on what it sends (and drops on receipt).
struct SimFaults {
    double dropRate = 0;       // each datagram sent is lost with this chance
    double dropInRate = 0;     // each datagram received is ignored with this chance
    double duplicateRate = 0;  // each datagram sent goes twice with this chance
    double reorderRate = 0;    // each datagram sent is held back and goes after
                               //   the next one (or 3 ms later) with this chance
    double duplicateInRate = 0; // each datagram received is handled twice
    double reorderInRate = 0;   // each datagram received is handled after the
                                //   next one (or 3 ms later) with this chance
    int delayMs = 0;           // every datagram sent waits this long
    uint16_t corruptCode = 0;  // the next corruptCount datagrams of this code
    int corruptCount = 0;      //   get one byte flipped after their checksum
    uint16_t truncateCode = 0; // the next datagram of this code loses its tail
    bool oversizeNext = false; // the next datagram sent grows to 600 bytes
    bool silent = false;       // answers nothing at all
    uint16_t dropCode = 0;     // every datagram of this code is lost
    int headerAnswer = 1;      // status of the 1101 this machine answers
    bool wrongMd5 = false;     // headers of files it sends carry a wrong digest
    std::string headerPath;    // headers of files it sends name this path instead
    uint16_t loseInCode = 0;   // the next loseInCount datagrams of this code
    int loseInCount = 0;       //   received are lost on the way
    int headerRepeatMs = 0;    // a header it sent that gets no answer goes again
                               //   after this long, at most three times
    std::string strayHeaderPath; // a fetch is first answered by a leftover
                                 //   header naming this path, whose answer it ignores
    uint32_t seed = 1;
};

template <class Set>
SimFaults MakeFaults(Set set)
{
    SimFaults f;
    set(f);
    return f;
}

// A wire-cut controller on loopback: announces itself, answers listings,
// receives and sends files, offers files for relay, and misbehaves on demand.
// It runs its own thread; every accessor locks.
class CSimController {
public:
    // Binds 127.0.0.<lastOctet> on a free port.
    CSimController(uint8_t lastOctet, uint32_t id, uint8_t letter, uint8_t number);
    ~CSimController();

    bool Start(uint32_t hostAddress, uint16_t hostPort);
    void Stop();
    uint32_t Address() const { return m_socket.LocalAddress(); }
    uint16_t Port() const { return m_socket.LocalPort(); }

    void SetFaults(const SimFaults& faults);
    // Sends back every datagram of a code it does not know (round-trip probe).
    void SetEcho(bool echo);
    // Whether data blocks from the host join Received() (the default); a
    // benchmark turns it off so the record costs nothing per block.
    void SetRecordBlocks(bool record);
    void Announce(uint8_t state = 0, uint16_t code = 800);
    void SendRaw(const Bytes& datagram); // to the host, no faults
    void Offer(const std::string& ansiPath);
    void CancelOffer();

    // The machine's files, by full ANSI path.
    void PutFile(const std::string& path, const Bytes& content);
    // Forgets them all; the room of the largest is kept for the next file
    // the host sends, as a controller's disk keeps its space.
    void ForgetFiles();
    bool GetFile(const std::string& path, Bytes& content) const;
    // Listing of a folder: (kind, size, name) entries.
    struct Entry { uint8_t kind; uint32_t size; std::string name; };
    void SetListing(const std::string& folder, const std::vector<Entry>& entries);

    // Everything received from the host, in order.
    std::vector<Bytes> Received() const;
    int CountReceived(uint16_t code) const;
    bool WaitReceived(uint16_t code, int count, int timeoutMs) const;
    // Texts of the 117 messages, as UTF-8.
    std::vector<std::string> Messages() const;
    // Completed uploads from the host: 1106 statuses this machine sent.
    std::vector<int> SentEnds() const;

    uint8_t letter() const { return m_letter; }
    uint8_t number() const { return m_number; }

private:
    using View = std::span<const uint8_t>;
    void Loop();
    void Handle(View d);
    void OnHostHeader(View d);
    void OnHostBlock(View d);
    void HashReceived(uint32_t offset, uint32_t n);
    void OnFetch(View d);
    void SendBlock(uint32_t offset);
    void OnListRequest(View d);
    void Send(View d);
    void SendNow(View d);
    void Receive(View d);
    // Handles what came in, under the lock; false when an input fault took it.
    bool Arrive(View d);
    bool HasTimedWork() const;
    void TimedWork();
    // Send for the callers' threads; the loop sends what waits for its time
    // (held or delayed) within 10 ms.
    void SendFromCaller(View d);
    void ReleaseHeld();

    CUdpSocket m_socket;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    uint32_t m_hostAddress = 0;
    uint16_t m_hostPort = 0;
    uint32_t m_id;
    uint8_t m_letter, m_number;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    SimFaults m_faults;
    bool m_echo = false;
    bool m_recordBlocks = true;
    std::mt19937 m_random{1};
    std::vector<std::pair<uint64_t, Bytes>> m_delayed;
    std::vector<Bytes> m_due; // delayed datagrams whose time came
    Bytes m_heldOut, m_heldIn;       // reordered, waiting for the next one
    uint64_t m_heldOutSince = 0, m_heldInSince = 0;
    std::map<std::string, Bytes> m_files;
    std::map<std::string, std::vector<Entry>> m_listings;
    std::vector<Bytes> m_received;
    std::vector<int> m_sentEnds;
    // Receiving a file from the host. The digest follows the blocks that
    // arrive in order, each after its answer went, as a controller that
    // writes while it receives; any other order is hashed whole at the end.
    bool m_inFile = false;
    std::string m_inPath;
    Bytes m_inData;
    uint8_t m_inMd5[16] = {};
    Bytes m_spare; // room kept by ForgetFiles
    CMD5Checksum m_inHash;
    uint32_t m_inArrived = 0; // end of the blocks that came in order
    uint32_t m_inHashed = 0;
    bool m_inInOrder = true;
    // Sending a file to the host.
    Bytes m_outData;
    uint32_t m_outDone = 0;
    uint32_t m_outOffset = 0;
    bool m_outActive = false;
    bool m_outLastSent = false;
    Bytes m_outHeader;            // the last header sent, for repeats
    bool m_outHeaderWaiting = false;
    uint64_t m_outHeaderDue = 0;
    int m_outHeaderRepeats = 0;
    int m_ignoreHeaderAnswers = 0; // answers to stray headers still to come
};

// Datagram builders of the machine side.
Bytes SimAnnounce(uint16_t code, uint32_t id, uint8_t letter, uint8_t number, uint8_t state);
void SimSeal(Bytes& d); // CRC-32 of offset 6 on at offset 2
void SimPut32(Bytes& d, size_t offset, uint32_t v);
