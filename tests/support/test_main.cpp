#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// Gives every test a fresh, empty data root, removed when the test ends.
class FreshHome : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo&) override
    {
        char tmpl[] = "/tmp/zorva-test-XXXXXX";
        const char* dir = mkdtemp(tmpl);
        if (dir == nullptr)
            std::abort();
        m_dir = dir;
        setenv("ZORVA_HOME", m_dir.c_str(), 1);
    }
    void OnTestEnd(const testing::TestInfo& info) override
    {
        std::error_code ec;
        if (info.result() == nullptr || info.result()->Passed() || getenv("ZORVA_KEEP_FAILED") == nullptr)
            std::filesystem::remove_all(m_dir, ec);
    }

private:
    std::string m_dir;
};

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new FreshHome);
    return RUN_ALL_TESTS();
}
