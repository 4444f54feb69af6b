// File > Open of hostile DXF files within bounded memory: values of 2 GiB
// (sparse files made here, so they take no disk) and inserts nested to ask
// for 2^50 copies. Each open runs in a child process whose anonymous memory
// may grow by at most kAnonymousBudget (RLIMIT_DATA counts private writable
// mappings and the heap, not the file's read-only mapping); past it an
// allocation fails and the open with it.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include "app/CZorvaDoc.h"
#include "doc_fixture.h"
#include "geometry/CText.h"
#include "platform/core/files.h"

namespace {

constexpr std::uint64_t kAnonymousBudget = 256ull << 20;
constexpr std::uint64_t kHuge = 2ull << 30;

// A size of /proc/self/status: "VmData" (heap and private writable
// mappings), "VmHWM" (peak resident size).
std::uint64_t StatusBytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0)
            return std::strtoull(line.c_str() + field.size() + 1, nullptr, 10) * 1024;
    }
    return 0;
}

// Starts VmHWM afresh from the present resident size.
bool ResetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.close();
    return !clear.fail();
}

// What body returns ("" for success), run in a child held to the budget; a
// child that dies says how.
std::string InBoundedChild(const std::function<std::string()>& body)
{
    int out[2];
    if (pipe(out) != 0)
        return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(out[0]);
        const rlimit limit{StatusBytes("VmData") + kAnonymousBudget, StatusBytes("VmData") + kAnonymousBudget};
        std::string report = setrlimit(RLIMIT_DATA, &limit) == 0 ? body() : "no limit";
        (void)!write(out[1], report.data(), report.size());
        _exit(0);
    }
    close(out[1]);
    std::string report;
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status))
        return "the child died of signal " + std::to_string(WTERMSIG(status)) + "; " + report;
    return report;
}

// head, then a hole of hole bytes (zeros that take no disk), then tail.
std::string WriteSparse(const std::string& path, const std::string& head, std::uint64_t hole, const std::string& tail)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    bool ok = fd >= 0 && write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size()) &&
              lseek(fd, static_cast<off_t>(hole), SEEK_CUR) >= 0 &&
              write(fd, tail.data(), tail.size()) == static_cast<ssize_t>(tail.size());
    ok = fd >= 0 && close(fd) == 0 && ok;
    return ok ? path : std::string();
}

const std::string kSectionStart = "0\nSECTION\n2\nENTITIES\n";
const std::string kSectionEnd = "0\nENDSEC\n0\nEOF\n";
const std::string kLine = "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n0\n";

class DxfImportMemoryTest : public DocTest {
public:     // the rows' checks take the fixture
    // File > Open over a drawing of one unit, which it returns.
    CUnit* Open(const std::string& path)
    {
        CUnit* old = Add();
        ui.WillChoose(u"hostile.dxf", CString::FromUtf8(path), 1);
        doc->OnFileOpen();
        return old;
    }
    static std::string Check(bool ok, const std::string& what) { return ok ? std::string() : what + "; "; }
    std::string Opened(int units) const
    {
        const bool reported = ui.Lines().find("打开文件--hostile.dxf    尺寸：") != std::string::npos;
        return Check(doc->m_unitList.GetSize() == units, std::to_string(units) + " units expected, " +
                                                             std::to_string(doc->m_unitList.GetSize()) + " read") +
               Check(reported, "no report of the open: " + ui.Lines());
    }
    CUnit* Unit(int i) const { return i < doc->m_unitList.GetSize() ? doc->m_unitList[i] : nullptr; }
    std::string folder = std::getenv("ZORVA_HOME");
};

TEST_F(DxfImportMemoryTest, HugeValuesCostOneLineBuffer)
{
    std::string chinese;
    for (int i = 0; i < 200; ++i)
        chinese += "\xE4\xB8\xAD";
    const std::string blocks = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n10\n0\n20\n0\n" + kLine + "0\nENDBLK\n0\nENDSEC\n";
    // Each value runs from the end of head through the hole to its line end.
    const struct {
        const char* name;
        std::string head, tail;
        std::function<std::string(DxfImportMemoryTest&)> check;
    } kCases[] = {
        {"TEXT whose code-1 value is 2 GiB: its first 170 characters",
         kSectionStart + "0\nTEXT\n10\n0\n20\n0\n1\n" + chinese, "\n" + kLine + kSectionEnd,
         [](DxfImportMemoryTest& t) {
             CUnit* text = t.Unit(0);
             return t.Opened(2) + Check(text != nullptr && text->GetType() == 12 &&
                                            text->geometry.text.text == CString(std::u16string(170, u'中')),
                                        "the text is not its first 170 characters");
         }},
        {"LINE whose layer name is 2 GiB: no such layer",
         kSectionStart + "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n0\n8\nLAYER", "\n" + kLine + kSectionEnd,
         [](DxfImportMemoryTest& t) {
             return t.Opened(2) + Check(t.Unit(0) != nullptr && t.Unit(0)->colour == g_CurrentColor,
                                        "not the current colour");
         }},
        {"INSERT whose block name is 2 GiB: no such block",
         blocks + kSectionStart + "0\nINSERT\n10\n0\n20\n0\n2\nB", "\n0\nINSERT\n2\nB\n10\n0\n20\n0\n" + kSectionEnd,
         [](DxfImportMemoryTest& t) {
             return t.Opened(1) + Check(t.Unit(0) != nullptr && t.Unit(0)->role == kRoleBlockMember,
                                        "B is not inserted");
         }},
        {"a number of 2 GiB", kSectionStart + "0\nLINE\n20\n0\n11\n1\n21\n0\n10\n0", "\n" + kLine + kSectionEnd,
         [](DxfImportMemoryTest& t) { return t.Opened(2); }},
        {"a 999 comment of 2 GiB", "999\n", "\n" + kSectionStart + kLine + kSectionEnd,
         [](DxfImportMemoryTest& t) { return t.Opened(1); }},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::string path = WriteSparse(folder + "/hostile.dxf", c.head, kHuge, c.tail);
        ASSERT_FALSE(path.empty());
        EXPECT_EQ(InBoundedChild([&] {
                      Open(path);
                      return c.check(*this);
                  }),
                  "");
        unlink(path.c_str());
    }
}

// Fifty blocks, each inserting the one before twice: 2^50 copies asked for
// by a file of a few kilobytes. Refused before any copy, the open costs what
// reading a few kilobytes costs; copies made first until the budget ran out
// would be refused too, so the peak tells.
constexpr std::uint64_t kRefusalPeak = 32ull << 20;

TEST_F(DxfImportMemoryTest, NestedInsertsRefusedBeforeAnyCopy)
{
    const auto insert = [](int block) { return "0\nINSERT\n2\nB" + std::to_string(block) + "\n10\n0\n20\n0\n"; };
    std::string text = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB0\n10\n0\n20\n0\n"
                       "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDBLK\n";
    for (int k = 1; k <= 50; ++k)
        text += "0\nBLOCK\n2\nB" + std::to_string(k) + "\n10\n0\n20\n0\n" + insert(k - 1) + insert(k - 1) + "0\nENDBLK\n";
    text += "0\nENDSEC\n" + kSectionStart + insert(50) + kSectionEnd;
    const std::string path = WriteSparse(folder + "/hostile.dxf", text, 0, "");
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(InBoundedChild([&] {
                  const bool peakReset = ResetPeak();
                  const std::uint64_t before = StatusBytes("VmHWM");
                  CUnit* old = Open(path);
                  const std::uint64_t peak = StatusBytes("VmHWM") - before;
                  return Check(peakReset && peak < kRefusalPeak,
                               "the resident size grew by " + std::to_string(peak >> 20) + " MB") +
                         Check(ui.Printed(u"#文件错误!"), "not refused: " + ui.Lines()) +
                         Check(doc->m_unitList.GetSize() == 1 && Unit(0) == old, "the drawing was not kept");
              }),
              "");
}

} // namespace
