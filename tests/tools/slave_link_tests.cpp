#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>

#include "pty_port.h"

namespace {

// The link path is the user's to choose: a stale link is replaced and the simulator's own link
// removed on exit, but a file that is not a link is never touched.
TEST(SlaveLink, ReplacesOnlyLinksAndRemovesItsOwn) {
  char pattern[] = "/tmp/charger-sim-test.XXXXXX";
  const std::string dir = ::mkdtemp(pattern), link = dir + "/com1.pty", file = dir + "/notes";
  ASSERT_EQ(::symlink("/dev/pts/nowhere", link.c_str()), 0);
  std::optional<SlaveLink> made(std::in_place, link, "/dev/pts/77");
  char target[32] = {};
  EXPECT_EQ(::readlink(link.c_str(), target, sizeof target - 1), 11);
  EXPECT_STREQ(target, "/dev/pts/77");
  made.reset();
  struct stat st {};
  EXPECT_NE(::lstat(link.c_str(), &st), 0);
  std::ofstream(file) << "keep me";
  EXPECT_THROW(SlaveLink(file, "/dev/pts/77"), std::runtime_error);
  std::string kept;
  std::getline(std::ifstream(file), kept);
  EXPECT_EQ(kept, "keep me");
  std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
