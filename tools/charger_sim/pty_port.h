#pragma once
// The simulator's end of the line: a pseudo-terminal master, a link to its slave, byte logs.

#include <cstddef>
#include <string>

#include "unique_fd.h"

class PtyMaster {
public:
  // Opens a new pty whose slave is in raw mode. Throws std::system_error.
  static PtyMaster Open();

  int fd() const { return fd_.get(); }
  bool isOpen() const { return fd_.valid(); }
  const std::string& slavePath() const { return slavePath_; }
  // Closing the master hangs the line up for whoever holds the slave.
  void close() { fd_.reset(); }

private:
  UniqueFd fd_;
  std::string slavePath_;
};

// A symbolic link to the slave. A link already at that path is replaced; any other file is
// refused (std::runtime_error). On destruction the link is removed, unless it has been
// pointed elsewhere meanwhile (another simulator took the path over).
class SlaveLink {
public:
  SlaveLink(std::string path, std::string target);
  SlaveLink(const SlaveLink&) = delete;
  SlaveLink& operator=(const SlaveLink&) = delete;
  ~SlaveLink();

private:
  std::string path_;
  std::string target_;
};

// Appends raw bytes to a file, unbuffered, so a reader sees them as soon as they are logged.
// Without a path it logs nothing.
class ByteLog {
public:
  ByteLog() = default;
  explicit ByteLog(const std::string& path);
  void append(const char* bytes, std::size_t count);

private:
  UniqueFd fd_;
};
