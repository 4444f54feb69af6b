#include "tests/support/sim/CSimController.h"

#include "link/link_helpers.h"
#include "link/packets.h"
#include "platform/core/codepage.h"
#include "platform/net/ipv4.h"
#include "shared/CMD5Checksum.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>

namespace {

uint64_t NowMs()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

uint16_t CodeOf(std::span<const uint8_t> d)
{
    return d.size() >= 2 ? Get16(d.data(), 0) : 0;
}

std::array<uint8_t, 4> Status(uint16_t code, uint8_t status)
{
    return {uint8_t(code), uint8_t(code >> 8), status, 0};
}

Bytes ToBytes(const Packet& p)
{
    return Bytes(p.data, p.data + p.length);
}

} // namespace

void SimPut32(Bytes& d, size_t offset, uint32_t v)
{
    if (d.size() < offset + 4)
        d.resize(offset + 4);
    for (int i = 0; i < 4; ++i)
        d[offset + i] = uint8_t(v >> (8 * i));
}

void SimSeal(Bytes& d)
{
    SimPut32(d, 2, d.size() > 6 ? Crc32(d.data() + 6, d.size() - 6) : 0);
}

Bytes SimAnnounce(uint16_t code, uint32_t id, uint8_t letter, uint8_t number, uint8_t state)
{
    Bytes d{uint8_t(code), uint8_t(code >> 8)};
    SimPut32(d, 2, id);
    d.push_back(letter);
    d.push_back(number);
    d.push_back(state);
    return d;
}

CSimController::CSimController(uint8_t lastOctet, uint32_t id, uint8_t letter, uint8_t number)
    : m_id(id), m_letter(letter), m_number(number)
{
    m_socket.Open(MakeIPv4(127, 0, 0, lastOctet), 0);
    m_socket.SetBufferSizes(1 << 20);
}

CSimController::~CSimController()
{
    Stop();
}

bool CSimController::Start(uint32_t hostAddress, uint16_t hostPort)
{
    if (!m_socket.IsOpen())
        return false;
    m_hostAddress = hostAddress;
    m_hostPort = hostPort;
    m_stop = false;
    // Connected to its host, as a controller answers the host it serves: a
    // datagram goes out without a route lookup and comes in through the
    // early demultiplexing, and none but the host's reaches the loop, not
    // even an empty one to itself. A waiting receive gives up after 10 ms
    // instead, so what a caller queues for later is seen that soon.
    m_socket.Connect(hostAddress, hostPort);
    m_socket.SetReceiveTimeout(10);
    m_thread = std::thread([this] { Loop(); });
    return true;
}

void CSimController::Stop()
{
    m_stop = true;
    if (m_thread.joinable()) {
        m_socket.Shutdown();
        m_thread.join();
    }
}

void CSimController::SendFromCaller(View d)
{
    std::lock_guard lock(m_mutex);
    Send(d);
}

void CSimController::SetFaults(const SimFaults& faults)
{
    std::lock_guard lock(m_mutex);
    m_faults = faults;
    m_random.seed(faults.seed);
}

void CSimController::SetEcho(bool echo)
{
    std::lock_guard lock(m_mutex);
    m_echo = echo;
}

void CSimController::SetRecordBlocks(bool record)
{
    std::lock_guard lock(m_mutex);
    m_recordBlocks = record;
}

void CSimController::Announce(uint8_t state, uint16_t code)
{
    SendFromCaller(SimAnnounce(code, m_id, m_letter, m_number, state));
}

void CSimController::SendRaw(const Bytes& datagram)
{
    SendNow(datagram);
}

void CSimController::Offer(const std::string& ansiPath)
{
    Bytes d{uint8_t(kCodeOffer), uint8_t(kCodeOffer >> 8)};
    SimPut32(d, 2, 0);
    SimPut32(d, 6, m_id);
    SimPut32(d, 10, 0);
    SimPut32(d, 14, static_cast<uint32_t>(ansiPath.size() + 1));
    d.resize(34, 0x5A);
    d.insert(d.end(), ansiPath.begin(), ansiPath.end());
    d.push_back(0);
    SimSeal(d);
    SendFromCaller(d);
}

void CSimController::CancelOffer()
{
    SendFromCaller(Bytes{uint8_t(kCodeOfferCancel), uint8_t(kCodeOfferCancel >> 8)});
}

void CSimController::PutFile(const std::string& path, const Bytes& content)
{
    std::lock_guard lock(m_mutex);
    m_files[path] = content;
}

void CSimController::ForgetFiles()
{
    std::lock_guard lock(m_mutex);
    for (auto& [path, content] : m_files)
        if (content.capacity() > m_spare.capacity())
            m_spare.swap(content);
    m_files.clear();
}

bool CSimController::GetFile(const std::string& path, Bytes& content) const
{
    std::lock_guard lock(m_mutex);
    auto it = m_files.find(path);
    if (it == m_files.end())
        return false;
    content = it->second;
    return true;
}

void CSimController::SetListing(const std::string& folder, const std::vector<Entry>& entries)
{
    std::lock_guard lock(m_mutex);
    m_listings[folder] = entries;
}

std::vector<Bytes> CSimController::Received() const
{
    std::lock_guard lock(m_mutex);
    return m_received;
}

int CSimController::CountReceived(uint16_t code) const
{
    std::lock_guard lock(m_mutex);
    int n = 0;
    for (const Bytes& d : m_received)
        n += CodeOf(d) == code ? 1 : 0;
    return n;
}

bool CSimController::WaitReceived(uint16_t code, int count, int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        int n = 0;
        for (const Bytes& d : m_received)
            n += CodeOf(d) == code ? 1 : 0;
        return n >= count;
    });
}

std::vector<std::string> CSimController::Messages() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> texts;
    for (const Bytes& d : m_received)
        if (CodeOf(d) == kCodeMachineMessage)
            texts.push_back(Utf16ToUtf8(GbkToUtf16(std::string(reinterpret_cast<const char*>(d.data() + 2), strnlen(reinterpret_cast<const char*>(d.data() + 2), d.size() - 2)))));
    return texts;
}

std::vector<int> CSimController::SentEnds() const
{
    std::lock_guard lock(m_mutex);
    return m_sentEnds;
}

void CSimController::Loop()
{
    uint8_t buf[2048];
    bool timed = true; // held, delayed or repeated datagrams wait for their time
    while (!m_stop) {
        // Waits for the next datagram, at most 1 ms while some wait for their
        // time and 10 ms otherwise (what a caller queued). A receive that
        // woke for a time-out on every block cost more than a block's checks;
        // the 10 ms only run out when nothing comes.
        uint32_t from;
        uint16_t port;
        const long n = !timed || m_socket.WaitReadable(1) ? m_socket.ReceiveFrom(buf, sizeof buf, from, port) : 0;
        std::vector<Bytes> due;
        {
            std::lock_guard lock(m_mutex);
            if (n > 0 && n <= long(sizeof buf))
                Arrive(View(buf, static_cast<size_t>(n)));
            TimedWork();
            std::swap(due, m_due);
            timed = HasTimedWork();
        }
        for (const Bytes& d : due)
            SendNow(d);
    }
}

// Called with the mutex held.
bool CSimController::Arrive(View d)
{
    std::uniform_real_distribution<double> chance(0, 1);
    if (m_faults.dropInRate > 0 && chance(m_random) < m_faults.dropInRate)
        return false;
    if (m_faults.loseInCount > 0 && CodeOf(d) == m_faults.loseInCode) {
        --m_faults.loseInCount;
        return false;
    }
    if (m_heldIn.empty() && m_faults.reorderInRate > 0 && chance(m_random) < m_faults.reorderInRate) {
        m_heldIn.assign(d.begin(), d.end());
        m_heldInSince = NowMs();
        return false;
    }
    Receive(d);
    if (!m_heldIn.empty()) {
        const Bytes held = std::move(m_heldIn);
        m_heldIn.clear();
        Receive(held);
    }
    return true;
}

// Held, delayed and repeated datagrams that are due; called with the mutex
// held. The delayed ones are sent by the loop after it lets the lock go.
bool CSimController::HasTimedWork() const
{
    const bool repeatHeader = m_outHeaderWaiting && m_faults.headerRepeatMs > 0 && m_outHeaderRepeats < 3;
    return !m_heldOut.empty() || !m_heldIn.empty() || !m_delayed.empty() || repeatHeader;
}

void CSimController::TimedWork()
{
    if (!HasTimedWork())
        return;
    ReleaseHeld();
    const uint64_t now = NowMs();
    if (m_outHeaderWaiting && m_faults.headerRepeatMs > 0 && now >= m_outHeaderDue && m_outHeaderRepeats < 3) {
        ++m_outHeaderRepeats;
        m_outHeaderDue = now + uint64_t(m_faults.headerRepeatMs);
        Send(m_outHeader);
    }
    for (auto it = m_delayed.begin(); it != m_delayed.end();) {
        if (it->first <= now) {
            m_due.push_back(std::move(it->second));
            it = m_delayed.erase(it);
        } else {
            ++it;
        }
    }
}

// Called with the mutex held.
void CSimController::Receive(View d)
{
    std::uniform_real_distribution<double> chance(0, 1);
    const int copies = m_faults.duplicateInRate > 0 && chance(m_random) < m_faults.duplicateInRate ? 2 : 1;
    bool recorded = false;
    for (int i = 0; i < copies; ++i) {
        if (m_recordBlocks || CodeOf(d) != kCodeDataBlock) {
            m_received.emplace_back(d.begin(), d.end());
            recorded = true;
        }
        if (!m_faults.silent)
            Handle(d);
    }
    if (recorded)
        m_changed.notify_all();
}

// Held datagrams that nothing followed go after a short wait. Called with
// the mutex held.
void CSimController::ReleaseHeld()
{
    constexpr uint64_t kHoldMs = 3;
    const uint64_t now = NowMs();
    if (!m_heldOut.empty() && now - m_heldOutSince >= kHoldMs) {
        SendNow(m_heldOut);
        m_heldOut.clear();
    }
    if (!m_heldIn.empty() && now - m_heldInSince >= kHoldMs) {
        const Bytes d = m_heldIn;
        m_heldIn.clear();
        Receive(d);
    }
}

void CSimController::SendNow(View d)
{
    m_socket.Send(d.data(), d.size());
}

// Called with the mutex held. A fault that changes the datagram works on a
// copy; an unchanged one goes from where it is.
void CSimController::Send(View view)
{
    SimFaults& f = m_faults;
    if (f.silent)
        return;
    std::uniform_real_distribution<double> chance(0, 1);
    const uint16_t code = CodeOf(view);
    if (f.dropCode != 0 && code == f.dropCode)
        return;
    Bytes changed;
    bool edited = false;
    auto edit = [&]() -> Bytes& {
        if (!edited)
            changed.assign(view.begin(), view.end());
        edited = true;
        return changed;
    };
    if (f.corruptCount > 0 && code == f.corruptCode && view.size() > 6) {
        --f.corruptCount;
        edit().back() ^= 0x5A;
    }
    if (f.truncateCode != 0 && code == f.truncateCode) {
        f.truncateCode = 0;
        edit().resize(view.size() / 2);
    }
    if (f.oversizeNext) {
        f.oversizeNext = false;
        edit().resize(600, 0xEE);
    }
    const View d = edited ? View(changed) : view;
    if (f.dropRate > 0 && chance(m_random) < f.dropRate)
        return;
    const int copies = f.duplicateRate > 0 && chance(m_random) < f.duplicateRate ? 2 : 1;
    for (int i = 0; i < copies; ++i) {
        if (f.delayMs > 0) {
            m_delayed.emplace_back(NowMs() + uint64_t(f.delayMs), Bytes(d.begin(), d.end()));
        } else if (m_heldOut.empty() && f.reorderRate > 0 && chance(m_random) < f.reorderRate) {
            m_heldOut.assign(d.begin(), d.end());
            m_heldOutSince = NowMs();
        } else {
            SendNow(d);
            if (!m_heldOut.empty()) {
                SendNow(m_heldOut);
                m_heldOut.clear();
            }
        }
    }
}

void CSimController::Handle(View d)
{
    switch (CodeOf(d)) {
    case kCodePoll:
        Send(SimAnnounce(kCodeAnnounce, m_id, m_letter, m_number, 0));
        break;
    case kCodeFileHeader: OnHostHeader(d); break;
    case kCodeDataBlock: OnHostBlock(d); break;
    case kCodeFetchRequest: OnFetch(d); break;
    case kCodeListDir: OnListRequest(d); break;
    case kCodeHeaderAnswer:
        if (m_ignoreHeaderAnswers > 0) {
            --m_ignoreHeaderAnswers;
            break;
        }
        m_outHeaderWaiting = false;
        if (m_outActive && d.size() >= 3 && d[2] == 1)
            SendBlock(0);
        else
            m_outActive = false;
        break;
    case kCodeBlockAnswer:
        if (!m_outActive || d.size() < 3)
            break;
        if (d[2] != 1)
            SendBlock(m_outOffset);
        else if (!m_outLastSent)
            SendBlock(m_outDone);
        break;
    case kCodeTransferEnd:
        m_outHeaderWaiting = false;
        m_outActive = false;
        m_inFile = false;
        break;
    case kCodeSetNumber:
        if (d.size() >= 4) {
            m_letter = d[2];
            m_number = d[3];
            Send(Bytes{uint8_t(kCodeNameAnswer), uint8_t(kCodeNameAnswer >> 8), m_letter, m_number});
        }
        break;
    case kCodeRemoteDelete:
        if (d.size() >= 12) {
            const auto status = Status(kCodeRemoteDelete, 1);
            Bytes r(status.begin(), status.end());
            SimPut32(r, 4, Get32(d.data(), 8));
            Send(r);
        }
        break;
    case kCodeRemoteMkdir:
        Send(Bytes{uint8_t(kCodeRemoteMkdir), uint8_t(kCodeRemoteMkdir >> 8), 1});
        break;
    default:
        if (m_echo)
            SendNow(d);
        break;
    }
}

void CSimController::OnHostHeader(View d)
{
    if (d.size() != size_t(kHeaderSize) || !ChecksumMatches(d.data(), kHeaderSize)) {
        Send(Status(kCodeHeaderAnswer, 0));
        return;
    }
    const char* path = reinterpret_cast<const char*>(d.data() + kHeaderPathOffset);
    m_inPath.assign(path, strnlen(path, kHeaderPathSize));
    std::memcpy(m_inMd5, d.data() + 14, 16);
    auto it = m_files.find(m_inPath);
    if (it != m_files.end()) {
        uint8_t md5[16];
        MD5OfBuffer(md5, it->second.size(), it->second.data());
        if (std::memcmp(md5, m_inMd5, 16) == 0) {
            Send(Status(kCodeTransferEnd, 1));
            return;
        }
    }
    if (m_faults.headerAnswer != 1) {
        Send(Status(kCodeHeaderAnswer, uint8_t(m_faults.headerAnswer)));
        return;
    }
    m_inFile = true;
    if (m_inData.capacity() < m_spare.capacity())
        m_inData.swap(m_spare);
    // Bytes of an earlier file may stay until blocks cover them: the digest
    // decides, and a kept room is not cleared for every file.
    m_inData.resize(Get32(d.data(), 6));
    m_inHash = CMD5Checksum();
    m_inHashed = m_inArrived = 0;
    m_inInOrder = true;
    Send(Status(kCodeHeaderAnswer, 1));
}

void CSimController::OnHostBlock(View d)
{
    if (!m_inFile)
        return;
    const uint64_t offset = Get32(d.data(), 6);
    const uint32_t n = Get32(d.data(), 10);
    if (!ChecksumMatches(d.data(), int(d.size())) || n > kMaxBlockData || kBlockHead + n > d.size() ||
        offset + n > m_inData.size()) {
        Send(Status(kCodeBlockAnswer, 2));
        return;
    }
    std::memcpy(m_inData.data() + offset, d.data() + kBlockHead, n);
    if (d[14] != 1) {
        Send(Status(kCodeBlockAnswer, 1));
        HashReceived(static_cast<uint32_t>(offset), n);
        return;
    }
    HashReceived(static_cast<uint32_t>(offset), n);
    uint8_t md5[16];
    if (m_inInOrder && m_inHashed == m_inData.size())
        m_inHash.Final(md5);
    else
        MD5OfBuffer(md5, m_inData.size(), m_inData.data());
    const bool ok = std::memcmp(md5, m_inMd5, 16) == 0;
    if (ok)
        m_files[m_inPath] = std::move(m_inData);
    m_inFile = false;
    m_sentEnds.push_back(ok ? 1 : 0);
    Send(Status(kCodeTransferEnd, ok ? 1 : 0));
}

void CSimController::HashReceived(uint32_t offset, uint32_t n)
{
    if (!m_inInOrder)
        return;
    if (offset != m_inArrived) {
        m_inInOrder = false; // a repeated block: the end hashes the whole file
        return;
    }
    m_inArrived += n;
    // Whole 64-byte steps only, read where they lie: a block's length is
    // no multiple of 64, and a digest fed block by block copied every tail.
    const uint32_t whole = m_inArrived == m_inData.size() ? m_inArrived : m_inArrived & ~63u;
    if (whole > m_inHashed) {
        m_inHash.Update(m_inData.data() + m_inHashed, whole - m_inHashed);
        m_inHashed = whole;
    }
}

void CSimController::OnFetch(View d)
{
    if (d.size() < 14 || !ChecksumMatches(d.data(), int(d.size())))
        return;
    const uint32_t a = Get32(d.data(), 6);
    const uint32_t b = Get32(d.data(), 10);
    if (14 + size_t(a) + b > d.size() || b > kHeaderPathSize)
        return;
    const char* source = reinterpret_cast<const char*>(d.data() + 14);
    auto it = m_files.find(std::string(source, strnlen(source, a)));
    if (it == m_files.end()) {
        Send(Status(kCodeTransferEnd, 0));
        return;
    }
    char target[kHeaderPathSize] = {};
    std::memcpy(target, d.data() + 14 + a, b);
    if (!m_faults.headerPath.empty()) {
        std::memset(target, 0, sizeof target);
        std::memcpy(target, m_faults.headerPath.data(), std::min<size_t>(m_faults.headerPath.size(), 255));
    }
    uint8_t md5[16];
    MD5OfBuffer(md5, it->second.size(), it->second.data());
    if (m_faults.wrongMd5)
        md5[0] ^= 1;
    m_outData = it->second;
    m_outDone = m_outOffset = 0;
    m_outActive = true;
    m_outLastSent = false;
    if (!m_faults.strayHeaderPath.empty()) {
        char stray[kHeaderPathSize] = {};
        std::memcpy(stray, m_faults.strayHeaderPath.data(), std::min<size_t>(m_faults.strayHeaderPath.size(), 255));
        ++m_ignoreHeaderAnswers;
        Send(ToBytes(MakeFileHeader(static_cast<uint32_t>(m_outData.size()), 0, md5, 0, stray)));
    }
    m_outHeader = ToBytes(MakeFileHeader(static_cast<uint32_t>(m_outData.size()), 0, md5, 0, target));
    m_outHeaderWaiting = true;
    m_outHeaderRepeats = 0;
    m_outHeaderDue = NowMs() + uint64_t(m_faults.headerRepeatMs);
    Send(m_outHeader);
}

void CSimController::SendBlock(uint32_t offset)
{
    if (offset > m_outData.size())
        return;
    const uint32_t n = std::min<uint32_t>(kMaxBlockData, static_cast<uint32_t>(m_outData.size()) - offset);
    m_outOffset = offset;
    m_outDone = offset + n;
    Send(ToBytes(MakeDataBlock(offset, m_outData.data() + offset, static_cast<int>(n), n < uint32_t(kMaxBlockData))));
    m_outLastSent = n < uint32_t(kMaxBlockData);
}

void CSimController::OnListRequest(View d)
{
    if (d.size() < 5)
        return;
    const char* folderText = reinterpret_cast<const char*>(d.data() + 4);
    std::string folder(folderText, strnlen(folderText, d.size() - 4));
    Bytes header(6 + folder.size() + 1, 0);
    header[0] = uint8_t(kCodeListDir);
    header[1] = uint8_t(kCodeListDir >> 8);
    std::copy(folder.begin(), folder.end(), header.begin() + 6);
    SimSeal(header);
    Send(header);
    Bytes page{uint8_t(kCodeListPage), uint8_t(kCodeListPage >> 8), 0, 0, 0, 0};
    const auto& entries = m_listings[folder];
    SimPut32(page, 6, static_cast<uint32_t>(entries.size()));
    for (const Entry& e : entries) {
        Bytes head(20, 0);
        head[0] = e.kind;
        SimPut32(head, 4, e.size);
        SimPut32(head, 8, 0xD53E8000u); // 2000-01-01 as a FILETIME
        SimPut32(head, 12, 0x01BF53EBu);
        head[16] = static_cast<uint8_t>(e.name.size());
        page.insert(page.end(), head.begin(), head.end());
        page.insert(page.end(), e.name.begin(), e.name.end());
    }
    SimSeal(page);
    Send(page);
    Send(Bytes{uint8_t(kCodeListEnd), uint8_t(kCodeListEnd >> 8)});
}
