#include "platform/usb/libusb/DetachLedger.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using platform::DetachLedger;
using platform::DetachNote;
using platform::InterfaceLocation;
using platform::LedgerFolder;
using platform::LedgerPlaces;

std::string Contents(const fs::path& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

class DetachLedgerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/lm360r-ledger.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        location_.bus = 1;
        location_.ports = "1.4";
        location_.address = 7;
        location_.configuration = 1;
    }
    void TearDown() override { fs::remove_all(root_); }

    LedgerFolder Folder(const std::string& name, bool shared = false) const {
        return {(root_ / name).string(), geteuid(), shared};
    }
    DetachLedger Ledger(const std::string& own = "mine", std::vector<LedgerFolder> others = {}) const {
        return DetachLedger(LedgerPlaces{Folder(own), std::move(others)});
    }
    fs::path NotePath(const std::string& folder = "mine") const { return root_ / folder / "1-1.4:0"; }

    // The note of another run of ours, which has ended since.
    void WriteAsEndedRun(const DetachLedger& ledger) const {
        const pid_t child = fork();
        if (child == 0) {
            _exit(ledger.Write(location_, "usblp") ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    fs::path root_;
    InterfaceLocation location_;
};

TEST_F(DetachLedgerTest, ANoteNamesThisRunUntilItIsRemoved) {
    const DetachLedger ledger = Ledger();
    ASSERT_TRUE(ledger.Write(location_, "usblp"));
    EXPECT_EQ(fs::status(root_ / "mine").permissions(), fs::perms::owner_all) << "a private folder";
    const auto found = Ledger().Find(location_);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].note.address, 7);
    EXPECT_EQ(found[0].note.pid, getpid());
    EXPECT_EQ(found[0].note.driver, "usblp");
    EXPECT_FALSE(DetachLedger::Abandoned(found[0].note)) << "this process is alive";

    InterfaceLocation otherInterface = location_;
    otherInterface.interface = 1;
    EXPECT_TRUE(ledger.Find(otherInterface).empty());

    ledger.RemoveOwn(location_);
    EXPECT_TRUE(ledger.Find(location_).empty());
    EXPECT_TRUE(fs::is_empty(root_ / "mine")) << "no temporary file is left either";
}

TEST_F(DetachLedgerTest, ANoteOfAnEndedOrReplacedProcessIsAbandoned) {
    const DetachLedger ledger = Ledger();
    ASSERT_TRUE(ledger.Write(location_, "usblp"));
    const DetachNote note = ledger.Find(location_).at(0).note;
    DetachNote reusedPid = note;
    reusedPid.started += 1; // the same pid, started at another time: another process
    EXPECT_TRUE(DetachLedger::Abandoned(reusedPid));
    DetachNote ended = note;
    ended.pid = 0x3FFFFFFF; // above any pid the kernel hands out
    EXPECT_TRUE(DetachLedger::Abandoned(ended));
}

TEST_F(DetachLedgerTest, OnlyItsOwnNoteGoesWithARun) {
    const DetachLedger ledger = Ledger();
    WriteAsEndedRun(ledger);
    ledger.RemoveOwn(location_);
    const auto found = ledger.Find(location_);
    ASSERT_EQ(found.size(), 1u) << "another run's note stays until its driver is back";
    EXPECT_TRUE(DetachLedger::Abandoned(found[0].note));

    // Discarding a note that has been replaced since it was found leaves the newer one.
    ASSERT_TRUE(ledger.Write(location_, "usblp"));
    ledger.Discard(location_, found[0]);
    ASSERT_EQ(ledger.Find(location_).size(), 1u);
    EXPECT_EQ(ledger.Find(location_)[0].note.pid, getpid());
    ledger.Discard(location_, ledger.Find(location_)[0]);
    EXPECT_TRUE(ledger.Find(location_).empty());
}

TEST_F(DetachLedgerTest, NotesOfOtherLedgersAreFoundAfterTheRunsOwn) {
    const DetachLedger theirs = Ledger("theirs");
    WriteAsEndedRun(theirs);
    const DetachLedger ledger = Ledger("mine", {Folder("theirs", true), Folder("missing")});
    ASSERT_TRUE(ledger.Write(location_, "usblp"));
    const auto found = ledger.Find(location_);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].note.pid, getpid());
    EXPECT_EQ(found[1].folder.path, (root_ / "theirs").string());
    EXPECT_TRUE(DetachLedger::Abandoned(found[1].note));
}

// What may sit at a note's path or in place of a folder, put there by someone else.
TEST_F(DetachLedgerTest, WhatIsNotAPlainNoteIsNeitherReadNorFollowedNorWaitedOn) {
    const DetachLedger ledger = Ledger();
    ASSERT_TRUE(ledger.Write(location_, "usblp"));
    ledger.RemoveOwn(location_);
    const fs::path outside = root_ / "outside";
    std::ofstream(outside) << "7 1 1 usblp\n";
    struct Planted {
        const char* what;
        std::function<void()> plant;
    };
    const std::vector<Planted> planted{
        {"a link to a note-like file", [&] { fs::create_symlink(outside, NotePath()); }},
        {"a FIFO nobody writes to", [&] { ASSERT_EQ(mkfifo(NotePath().c_str(), 0600), 0); }},
        {"a long file", [&] { std::ofstream(NotePath()) << "7 1 1 usblp\n"
                                                        << std::string(4096, ' '); }},
        {"garbage", [&] { std::ofstream(NotePath()) << "garbage\n"; }},
        {"a folder", [&] { fs::create_directory(NotePath()); }},
    };
    for (const Planted& p : planted) {
        SCOPED_TRACE(p.what);
        p.plant();
        EXPECT_TRUE(ledger.Find(location_).empty());
        fs::remove_all(NotePath());
    }

    // Written over a planted link, the note replaces the link and leaves its target alone.
    fs::create_symlink(outside, NotePath());
    ASSERT_TRUE(ledger.Write(location_, "usblp"));
    EXPECT_EQ(Contents(outside), "7 1 1 usblp\n");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(NotePath())));
}

TEST_F(DetachLedgerTest, AFolderThatIsNotARealPrivateFolderOfTheUsersKeepsNoNotes) {
    const fs::path elsewhere = root_ / "elsewhere";
    fs::create_directory(elsewhere);
    fs::create_directory_symlink(elsewhere, root_ / "linked");
    fs::create_directory(root_ / "open");
    fs::permissions(root_ / "open", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    std::vector<std::string> refused{"linked", "open"};
    if (geteuid() == 0) {
        fs::create_directory(root_ / "foreign");
        ASSERT_EQ(chown((root_ / "foreign").c_str(), 4321, 4321), 0);
        refused.push_back("foreign");
    }
    for (const std::string& name : refused) {
        SCOPED_TRACE(name);
        const DetachLedger ledger = Ledger(name);
        EXPECT_FALSE(ledger.Write(location_, "usblp"));
        EXPECT_TRUE(ledger.Find(location_).empty());
    }
    EXPECT_TRUE(fs::is_empty(elsewhere));
}

TEST_F(DetachLedgerTest, TheSharedLedgerIsReadableByEveryone) {
    const DetachLedger ledger(LedgerPlaces{Folder("shared", true), {}});
    const mode_t previous = umask(077);
    const bool written = ledger.Write(location_, "usblp");
    umask(previous);
    ASSERT_TRUE(written);
    EXPECT_EQ(fs::status(root_ / "shared").permissions() & fs::perms::others_read, fs::perms::others_read);
    EXPECT_EQ(fs::status(NotePath("shared")).permissions() & fs::perms::others_read, fs::perms::others_read);
}

// su and sudo -E keep a user's XDG_RUNTIME_DIR: the superuser must not keep notes there.
TEST_F(DetachLedgerTest, OnlyARuntimeFolderOfTheUsersOwnHoldsTheirLedger) {
    const fs::path runtime = root_ / "runtime";
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string previous = saved != nullptr ? saved : "";
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    const LedgerPlaces mine = platform::DefaultLedgerPlaces();
    if (geteuid() == 0) {
        ASSERT_TRUE(mine.own);
        EXPECT_EQ(mine.own->path, "/run/lm360r-detached");
        EXPECT_TRUE(mine.own->shared);
    } else {
        ASSERT_TRUE(mine.own);
        EXPECT_EQ(mine.own->path, (runtime / "lm360r-detached").string());
        ASSERT_FALSE(mine.others.empty());
        EXPECT_EQ(mine.others[0].path, "/run/lm360r-detached") << "a killed superuser's run is found";
    }
    if (geteuid() == 0) {
        ASSERT_EQ(chown(runtime.c_str(), 4321, 4321), 0);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        const LedgerPlaces root = platform::DefaultLedgerPlaces();
        EXPECT_EQ(root.own->path, "/run/lm360r-detached") << "not the user's folder";
    }
    if (saved != nullptr) {
        setenv("XDG_RUNTIME_DIR", previous.c_str(), 1);
    } else {
        unsetenv("XDG_RUNTIME_DIR");
    }
}

} // namespace
