// What the user is told when files of a batch fail: the ratio column, the
// status pane and the log count the failed files, and the log names each
// one with its reason.

#include "link/transfer.h"

#include "link/link_helpers.h"
#include "platform/core/files.h"
#include "tests/support/sim/LinkHarness.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <memory>
#include <sys/resource.h>

namespace {

Bytes Pattern(size_t n, uint8_t salt = 0)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = uint8_t(i * 11 + salt);
    return b;
}

Bytes ReadAll(const CString& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

CString WriteLocal(const char16_t* name, const Bytes& content)
{
    const CString path = DataRoot() + u"/" + name;
    EXPECT_TRUE(WriteFileAtomic(path, content));
    return path;
}

bool LogStartsWith(const CRecordingDisplay& display, const std::string& head, std::string* line = nullptr)
{
    for (const std::string& l : display.logs) {
        if (l.rfind(head, 0) == 0) {
            if (line != nullptr)
                *line = l;
            return true;
        }
    }
    return false;
}

// Files the process may write grow no larger than this while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
};

// The engine with one machine, 端A1, and a host folder to fetch into.
struct OneMachine {
    CLinkHarness host;
    CSimController a1{2, 0x11, 0, 1};
    CString folder = DataRoot() + u"/recv";
    OneMachine()
    {
        host.Join(a1);
        CreateFolder(folder);
    }
    bool Fetch(const std::vector<CString>& remote)
    {
        StartReceiveBatch(remote, MachineIdAt(0), folder + u"/", u"C:\\data\\");
        return host.RunUntil([] { return g_TransferState == 0; }, 100);
    }
};

} // namespace

TEST(TransferResults, ASendWithAFailedFileSaysSoInTheColumnStatusAndLog)
{
    CLinkHarness host;
    CSimController a1{2, 0x11, 0, 1}, b1{3, 0x22, 1, 1};
    host.Join(a1);
    host.Join(b1);
    b1.SetFaults(MakeFaults([](SimFaults& f) { f.silent = true; })); // the machine vanished
    const CString good = WriteLocal(u"a.nc", Pattern(1500));
    const CString gone = DataRoot() + u"/gone.nc"; // removed after it was chosen
    StartSendBatch({good, gone}, {MachineIdAt(0), MachineIdAt(1)}, DataRoot() + u"/", u"C:\\data\\");
    ASSERT_TRUE(host.RunUntil([] { return g_TransferState == 0; }, 400));

    Bytes stored;
    ASSERT_TRUE(a1.GetFile("C:\\data\\a.nc", stored));
    EXPECT_EQ(stored, Pattern(1500));
    const CRecordingDisplay& d = host.display;
    for (const char* line : {"端A1--读取文件错误 ; gone.nc", "端A1--完成：1/2  , 失败：1", "端B1--主控无应答 ; a.nc",
                             "端B1--读取文件错误 ; gone.nc", "端B1--完成：0/2  , 失败：2"})
        EXPECT_TRUE(d.HasLog(line)) << line;
    // Before, both rows said "↑ 100％" and the pane "提示：传输完成".
    EXPECT_EQ(d.Cell(0, 3), "↑ 50％ 失败：1");
    EXPECT_EQ(d.Cell(1, 3), "↑ 0％ 失败：2");
    EXPECT_EQ(d.status, "错误：传输结束，完成：1/4，失败：3");
    EXPECT_FALSE(d.HasLog("传输完成"));
    ASSERT_GE(d.logs.size(), 2u);
    EXPECT_EQ(d.logs[d.logs.size() - 2], "错误：传输结束，完成：1/4，失败：3");
    EXPECT_TRUE(d.schemeComboEnabled);
}

TEST(TransferResults, AWholeSendStillSaysDone)
{
    OneMachine m;
    StartSendBatch({WriteLocal(u"a.nc", Pattern(600)), WriteLocal(u"b.nc", Pattern(700, 1))}, {MachineIdAt(0)},
                   DataRoot() + u"/", u"C:\\data\\");
    ASSERT_TRUE(m.host.RunUntil([] { return g_TransferState == 0; }, 100));
    EXPECT_EQ(m.host.display.Cell(0, 3), "↑ 100％");
    EXPECT_EQ(m.host.display.status, "提示：传输完成");
    EXPECT_TRUE(m.host.display.HasLog("端A1--完成：2/2"));
    EXPECT_TRUE(m.host.display.HasLog("传输完成"));
}

TEST(TransferResults, DiskFullNamesEveryFileItSkips)
{
    OneMachine m;
    m.a1.SetFaults(MakeFaults([](SimFaults& f) { f.headerAnswer = 5; }));
    StartSendBatch({WriteLocal(u"a.nc", Pattern(10)), WriteLocal(u"b.nc", Pattern(20))}, {MachineIdAt(0)},
                   DataRoot() + u"/", u"C:\\data\\");
    ASSERT_TRUE(m.host.RunUntil([] { return g_TransferState == 0; }, 50));
    for (const char* line : {"端A1--远程系统盘已满 ; a.nc", "端A1--远程系统盘已满 ; b.nc"})
        EXPECT_TRUE(m.host.display.HasLog(line)) << line;
    EXPECT_EQ(m.host.display.Cell(0, 3), "↑ 0％ 失败：2");
}

TEST(TransferResults, AFetchWithABadDigestIsCountedAsFailed)
{
    OneMachine m;
    m.a1.PutFile("C:\\data\\x.nc", Pattern(1500));
    m.a1.PutFile("C:\\data\\y.nc", Pattern(900, 2));
    m.a1.SetFaults(MakeFaults([](SimFaults& f) { f.wrongMd5 = true; }));
    ASSERT_TRUE(m.Fetch({u"C:\\data\\x.nc"}));
    const CRecordingDisplay& d = m.host.display;
    EXPECT_TRUE(d.HasLog("端A1--MD5校验失败 ; x.nc"));
    EXPECT_TRUE(d.HasLog("端A1--接收：0/1  , 失败：1"));
    EXPECT_EQ(d.Cell(0, 3), "↓ 0％ 失败：1");
    EXPECT_EQ(d.status, "错误：接收结束，完成：0/1，失败：1");

    // The next fetch that goes well says done again.
    m.a1.SetFaults(SimFaults());
    ASSERT_TRUE(m.Fetch({u"C:\\data\\y.nc"}));
    EXPECT_EQ(d.Cell(0, 3), "↓ 100％");
    EXPECT_EQ(d.status, "提示：接收完成");
}

TEST(TransferResults, ALocalWriteErrorLogsTheSystemsReason)
{
    const struct {
        const char* name;
        bool folderInTheWay;
        rlim_t sizeLimit; // 0: none
        const char* reason;
    } kCases[] = {
        {"a folder of that name", true, 0, "Is a directory"},
        {"no room for the file", false, 4096, "File too large"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        OneMachine m;
        const CString target = m.folder + u"/x.nc";
        if (c.folderInTheWay)
            CreateFolder(target);
        else
            ASSERT_TRUE(WriteFileAtomic(target, Pattern(300, 9)));
        m.a1.PutFile("C:\\data\\x.nc", Pattern(20000));
        {
            std::unique_ptr<FileSizeLimit> limit;
            if (c.sizeLimit > 0)
                limit = std::make_unique<FileSizeLimit>(c.sizeLimit);
            ASSERT_TRUE(m.Fetch({u"C:\\data\\x.nc"}));
        }
        std::string line;
        ASSERT_TRUE(LogStartsWith(m.host.display, "端A1--写入文件错误 ; x.nc ; ", &line));
        EXPECT_NE(line.find(c.reason), std::string::npos) << line;
        EXPECT_EQ(m.host.display.status, "错误：接收结束，完成：0/1，失败：1");
        EXPECT_EQ(ListFolder(m.folder + u"/*").size(), 1u); // no temporary is left
        if (c.folderInTheWay) {
            RemoveFolder(target);
        } else {
            EXPECT_EQ(ReadAll(target), Pattern(300, 9)); // the old file stays whole
        }
    }
}

TEST(TransferResults, AFetchTheMachineCannotServeNamesTheFile)
{
    OneMachine m;
    m.a1.PutFile("C:\\data\\x.nc", Pattern(100));
    ASSERT_TRUE(m.Fetch({u"C:\\data\\x.nc", u"C:\\data\\missing.nc"}));
    EXPECT_TRUE(m.host.display.HasLog("端A1--主控发送失败 ; missing.nc"));
    EXPECT_EQ(m.host.display.Cell(0, 3), "↓ 50％ 失败：1");
    EXPECT_EQ(m.host.display.status, "错误：接收结束，完成：1/2，失败：1");
}

TEST(TransferResults, StopAndTheMachinesCancelLeaveTheirWordInThePane)
{
    OneMachine m;
    m.a1.SetFaults(MakeFaults([](SimFaults& f) { f.silent = true; }));
    StartSendBatch({WriteLocal(u"a.nc", Pattern(2000))}, {MachineIdAt(0)}, DataRoot() + u"/", u"C:\\data\\");
    m.host.Tick(3);
    ASSERT_EQ(m.host.display.status.rfind("端A1-- 传输第 1/1 个文件", 0), 0u);
    StopTransfer();
    EXPECT_EQ(m.host.display.status, "提示：传输中止");

    StartSendBatch({DataRoot() + u"/a.nc"}, {MachineIdAt(0)}, DataRoot() + u"/", u"C:\\data\\");
    m.host.Tick(3);
    m.a1.SetFaults(SimFaults());
    m.a1.CancelOffer();
    ASSERT_TRUE(m.host.Pump([] { return g_TransferState == 0; }));
    EXPECT_EQ(m.host.display.status, "提示：同步文件传输中止");
}
