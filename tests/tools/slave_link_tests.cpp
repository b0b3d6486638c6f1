#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "pty_port.h"

namespace {

std::string Target(const std::string& link) {
  char buffer[256];
  const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer);
  return n < 0 ? std::string() : std::string(buffer, static_cast<std::size_t>(n));
}

// The link path is the user's to choose: a stale link is replaced and a link of its own removed
// on exit, one another simulator took over stays, and a file that is not a link is never touched.
TEST(SlaveLink, ReplacesOnlyLinksAndRemovesOnlyItsOwn) {
  char pattern[] = "/tmp/charger-sim-test.XXXXXX";
  const std::string dir = ::mkdtemp(pattern), link = dir + "/com1.pty", file = dir + "/notes";
  ASSERT_EQ(::symlink("/dev/pts/nowhere", link.c_str()), 0);
  auto first = std::make_unique<SlaveLink>(link, "/dev/pts/77");
  EXPECT_EQ(Target(link), "/dev/pts/77");
  {
    const SlaveLink later(link, "/dev/pts/78");
    first.reset();
    EXPECT_EQ(Target(link), "/dev/pts/78");
  }
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
