#include "pty_port.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace {

[[noreturn]] void fail(const std::string& what) {
  throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

PtyMaster PtyMaster::Open() {
  PtyMaster pty;
  pty.fd_.reset(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!pty.fd_.valid()) fail("posix_openpt");
  if (::grantpt(pty.fd()) != 0) fail("grantpt");
  if (::unlockpt(pty.fd()) != 0) fail("unlockpt");
  char name[128];
  if (::ptsname_r(pty.fd(), name, sizeof name) != 0) fail("ptsname_r");
  pty.slavePath_ = name;

  // The slave keeps its settings while the master stays open, across its own closes.
  const UniqueFd slave(::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!slave.valid()) fail(std::string("open ") + name);
  termios mode{};
  if (::tcgetattr(slave.get(), &mode) != 0) fail("tcgetattr");
  ::cfmakeraw(&mode);
  if (::tcsetattr(slave.get(), TCSANOW, &mode) != 0) fail("tcsetattr");
  return pty;
}

SlaveLink::SlaveLink(std::string path, std::string target)
    : path_(std::move(path)), target_(std::move(target)) {
  struct stat st {};
  if (::lstat(path_.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
    throw std::runtime_error(path_ + " exists and is not a symbolic link; not replacing it");
  }
  // Made beside the final path and renamed over it, so the path never goes missing while a
  // stale link is replaced.
  const std::string temp = path_ + ".new." + std::to_string(::getpid());
  ::unlink(temp.c_str());
  if (::symlink(target_.c_str(), temp.c_str()) != 0) fail("symlink " + temp);
  if (::rename(temp.c_str(), path_.c_str()) != 0) {
    const int saved = errno;
    ::unlink(temp.c_str());
    errno = saved;
    fail("rename " + temp + " to " + path_);
  }
}

SlaveLink::~SlaveLink() {
  char buffer[4096];
  const ssize_t n = ::readlink(path_.c_str(), buffer, sizeof buffer);
  if (n >= 0 && std::string(buffer, static_cast<std::size_t>(n)) == target_) {
    ::unlink(path_.c_str());
  }
}

ByteLog::ByteLog(const std::string& path) {
  fd_.reset(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644));
  if (!fd_.valid()) fail("open " + path);
}

void ByteLog::append(const char* bytes, std::size_t count) {
  while (fd_.valid() && count > 0) {
    const ssize_t n = ::write(fd_.get(), bytes, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail("write log");
    bytes += n;
    count -= static_cast<std::size_t>(n);
  }
}
