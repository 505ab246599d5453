// The single-instance lock: each InstanceLock opens the file on its own descriptor, so two of
// them in one process meet exactly as two copies of the program do.
#include "platform/sys/instance_lock.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class InstanceLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/korvelin-lock-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) oldRuntime_ = old, hadRuntime_ = true;
        setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    }
    void TearDown() override {
        if (hadRuntime_)
            setenv("XDG_RUNTIME_DIR", oldRuntime_.c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
        std::filesystem::remove_all(dir_);
    }
    std::string dir_;
    std::string oldRuntime_;
    bool hadRuntime_ = false;
};

TEST_F(InstanceLockTest, PathIsInRuntimeFolderAndNamedAfterMutexAndUser) {
    const std::string expected = dir_ + "/KorvelinMutex-" + std::to_string(getuid()) + ".lock";
    EXPECT_EQ(plat::InstanceLock::PathFor("KorvelinMutex"), expected);
    // A name cannot reach outside the folder.
    EXPECT_EQ(plat::InstanceLock::PathFor("../x/y").find("/../"), std::string::npos);
}

TEST_F(InstanceLockTest, FallsBackToTempFolderWithoutRuntimeFolder) {
    unsetenv("XDG_RUNTIME_DIR");
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = (tmp && *tmp) ? tmp : "/tmp";
    EXPECT_EQ(plat::InstanceLock::PathFor("KorvelinMutex").rfind(base, 0), 0u);
}

TEST_F(InstanceLockTest, FirstCopyIsAloneAndLaterCopiesSeeIt) {
    plat::InstanceLock first, second;
    ASSERT_TRUE(first.Open("KorvelinMutex"));
    EXPECT_FALSE(first.AlreadyExisted());
    ASSERT_TRUE(second.Open("KorvelinMutex"));
    EXPECT_TRUE(second.AlreadyExisted());
    // Another name is another mutex.
    plat::InstanceLock other;
    ASSERT_TRUE(other.Open("SomethingElse"));
    EXPECT_FALSE(other.AlreadyExisted());
}

TEST_F(InstanceLockTest, ASecondCopyKeepsTheLockAfterTheFirstEnds) {
    plat::InstanceLock first, forced;
    ASSERT_TRUE(first.Open("KorvelinMutex"));
    ASSERT_TRUE(forced.Open("KorvelinMutex")); // a copy started with "-2"
    first.Close();

    plat::InstanceLock third;
    ASSERT_TRUE(third.Open("KorvelinMutex"));
    EXPECT_TRUE(third.AlreadyExisted());
    third.Close();

    forced.Close();
    plat::InstanceLock fourth;
    ASSERT_TRUE(fourth.Open("KorvelinMutex"));
    EXPECT_FALSE(fourth.AlreadyExisted());
}

TEST_F(InstanceLockTest, CopiesInOtherProcessesSeeEachOther) {
    plat::InstanceLock mine;
    ASSERT_TRUE(mine.Open("KorvelinMutex"));
    int fromChild[2], toChild[2];
    ASSERT_EQ(pipe(fromChild), 0);
    ASSERT_EQ(pipe(toChild), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A copy of its own. The inherited descriptor shares the parent's lock; drop it.
        mine.Close();
        plat::InstanceLock other;
        const char seen = (other.Open("KorvelinMutex") && other.AlreadyExisted()) ? 'y' : 'n';
        (void)!write(fromChild[1], &seen, 1);
        char c;
        (void)!read(toChild[0], &c, 1); // hold the lock until the parent is done looking
        _exit(0);
    }
    close(fromChild[1]);
    close(toChild[0]);
    char seen = 0;
    ASSERT_EQ(read(fromChild[0], &seen, 1), 1);
    EXPECT_EQ(seen, 'y') << "a copy in another process did not see the held lock";

    // The first copy ends; the other process still holds the lock.
    mine.Close();
    plat::InstanceLock meanwhile;
    ASSERT_TRUE(meanwhile.Open("KorvelinMutex"));
    EXPECT_TRUE(meanwhile.AlreadyExisted());
    meanwhile.Close();

    (void)!write(toChild[1], "x", 1);
    close(toChild[1]);
    close(fromChild[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);

    // Its exit released it.
    plat::InstanceLock after;
    ASSERT_TRUE(after.Open("KorvelinMutex"));
    EXPECT_FALSE(after.AlreadyExisted());
}

TEST_F(InstanceLockTest, AnUnusableRuntimeFolderFallsBackToTheTempFolder) {
    const std::string fallback = dir_ + "/tmp";
    ASSERT_TRUE(std::filesystem::create_directory(fallback));
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string savedTmp = oldTmp ? oldTmp : "";
    setenv("TMPDIR", fallback.c_str(), 1);
    for (const std::string& runtime : {dir_ + "/missing", dir_ + "/a_file"}) {
        if (runtime.ends_with("a_file")) std::ofstream(runtime) << "x";
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        EXPECT_EQ(plat::InstanceLock::PathFor("KorvelinMutex").rfind(fallback + "/", 0), 0u) << runtime;
        plat::InstanceLock first, second;
        EXPECT_TRUE(first.Open("KorvelinMutex")) << runtime;
        EXPECT_FALSE(first.AlreadyExisted());
        EXPECT_TRUE(second.Open("KorvelinMutex")) << runtime;
        EXPECT_TRUE(second.AlreadyExisted()) << "the rule holds in the fallback folder too";
    }
    if (oldTmp)
        setenv("TMPDIR", savedTmp.c_str(), 1);
    else
        unsetenv("TMPDIR");
}

TEST_F(InstanceLockTest, OfTwoCopiesStartedAtTheSameInstantExactlyOneIsAlone) {
    for (int round = 0; round < 60; ++round) {
        int go[2], hold[2], report[2];
        ASSERT_EQ(pipe(go), 0);
        ASSERT_EQ(pipe(hold), 0);
        ASSERT_EQ(pipe(report), 0);
        pid_t children[2];
        for (pid_t& child : children) {
            child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                close(go[1]);
                close(hold[1]);
                close(report[0]);
                char c;
                (void)!read(go[0], &c, 1); // both start when the parent closes the pipe
                plat::InstanceLock lock;
                const char seen = !lock.Open("KorvelinMutex") ? 'f' : (lock.AlreadyExisted() ? 'y' : 'n');
                (void)!write(report[1], &seen, 1);
                (void)!read(hold[0], &c, 1); // hold the lock until the parent has both answers
                _exit(0);
            }
        }
        close(go[0]);
        close(hold[0]);
        close(report[1]);
        close(go[1]); // both start
        char answers[2] = {};
        ASSERT_EQ(read(report[0], &answers[0], 1), 1);
        ASSERT_EQ(read(report[0], &answers[1], 1), 1);
        close(hold[1]); // release both
        close(report[0]);
        for (pid_t child : children) {
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
        }
        EXPECT_EQ((answers[0] == 'n') + (answers[1] == 'n'), 1)
            << "round " << round << ": " << answers[0] << answers[1];
        EXPECT_EQ((answers[0] == 'y') + (answers[1] == 'y'), 1) << "round " << round;
    }
}

TEST_F(InstanceLockTest, APlantedLinkIsNotFollowed) {
    const std::string target = dir_ + "/target";
    const std::string path = plat::InstanceLock::PathFor("KorvelinMutex");
    ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0);
    plat::InstanceLock lock;
    EXPECT_FALSE(lock.Open("KorvelinMutex"));
    EXPECT_FALSE(std::filesystem::exists(target));
}

} // namespace
