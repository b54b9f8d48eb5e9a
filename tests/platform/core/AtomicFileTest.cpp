#include "platform/core/AtomicFile.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using platform::WriteFileAtomically;

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string Contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

class AtomicFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/lm360r-atomic.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir_;
};

TEST_F(AtomicFileTest, WritesOrReplacesTheWholeFileAndLeavesNothingBeside) {
    const fs::path target = dir_ / "settings.bin";
    const std::string large(1 << 20, 'x'); // more than one write() may take at once
    for (const std::string& content : {std::string("first"), std::string(), large, std::string("last\n")}) {
        ASSERT_EQ(WriteFileAtomically(target.string(), Bytes(content)), std::nullopt);
        EXPECT_EQ(Contents(target), content);
        EXPECT_EQ(Names(), std::vector<std::string>{"settings.bin"});
    }
}

TEST_F(AtomicFileTest, PermissionsOfANewFileFollowTheUmaskAndAReplacedFileKeepsItsOwn) {
    const fs::path target = dir_ / "state";
    const mode_t previous = umask(027);
    ASSERT_EQ(WriteFileAtomically(target.string(), Bytes("a")), std::nullopt);
    umask(previous);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));

    fs::permissions(target, fs::perms(0604));
    ASSERT_EQ(WriteFileAtomically(target.string(), Bytes("b")), std::nullopt);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0604));

    ASSERT_EQ(WriteFileAtomically(target.string(), Bytes("c"), 0600), std::nullopt);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0600));
}

// The writer may run as the superuser in a folder where someone else planted a link.
TEST_F(AtomicFileTest, ALinkAtThePathIsReplacedNotWrittenThrough) {
    const fs::path victim = dir_ / "victim";
    std::ofstream(victim) << "precious";
    const fs::path target = dir_ / "note";
    fs::create_symlink(victim, target);
    ASSERT_EQ(WriteFileAtomically(target.string(), Bytes("note")), std::nullopt);
    EXPECT_EQ(Contents(victim), "precious");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target)));
    EXPECT_EQ(Contents(target), "note");
}

TEST_F(AtomicFileTest, FailuresAreToldInWordsAndLeaveTheOldFileAlone) {
    struct Case {
        const char* what;
        fs::path path;
        const char* words;
    };
    fs::create_directory(dir_ / "taken");
    const std::vector<Case> cases{
        {"missing folder", dir_ / "missing" / "file", "No such file or directory"},
        {"a folder at the path", dir_ / "taken", "Is a directory"},
        {"a folder named with a slash", dir_ / "taken/", "Is a directory"},
        {"empty path", fs::path(), "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(WriteFileAtomically(c.path.string(), Bytes("x")), std::string(c.words));
    }
    EXPECT_EQ(Names(), std::vector<std::string>{"taken"});
    EXPECT_TRUE(fs::is_empty(dir_ / "taken"));
}

// The disk fills up: the size limit lets the temporary file take only part of the content.
TEST_F(AtomicFileTest, AWriteCutShortLeavesTheOldFileIntact) {
    const fs::path target = dir_ / "settings.bin";
    std::ofstream(target) << "previous";
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 10;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto error = WriteFileAtomically(target.string(), Bytes(std::string(100, 'n')));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(error, std::string("File too large"));
    EXPECT_EQ(Contents(target), "previous");
    EXPECT_EQ(Names(), std::vector<std::string>{"settings.bin"});
}

} // namespace
