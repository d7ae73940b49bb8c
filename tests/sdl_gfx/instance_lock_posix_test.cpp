// The instance lock on POSIX systems: an flock on a file in the runtime folder. (Windows uses a
// named mutex, checked by starting the game twice under Wine.)
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>

#include "platform/plat_system.h"
#include "support/files.h"

namespace {

TEST(SdlLockTest, ExclusiveLockNotAFile) {
    TempDir dir;
    SetEnv("XDG_RUNTIME_DIR", dir.path.c_str());
    const std::string szPath = dir.File("ゲーム.lock");
    // A file left behind by an earlier run does not count as a running copy.
    close(open(szPath.c_str(), O_CREAT | O_RDWR, 0600));
    ASSERT_TRUE(Plat_LockInstance("ゲーム"));
    const int fd = open(szPath.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    EXPECT_NE(flock(fd, LOCK_EX | LOCK_NB), 0);  // held by the first copy
    Plat_UnlockInstance();
    EXPECT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    // Now this descriptor holds it, as a second program would.
    EXPECT_FALSE(Plat_LockInstance("ゲーム"));
    close(fd);
}

}  // namespace
