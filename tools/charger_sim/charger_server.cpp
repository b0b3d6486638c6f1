#include "charger_server.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace {

constexpr int PollStepMs = 20;

// Sleeps in short steps, so a stop request is seen soon.
void pause(int ms, const std::atomic<bool>& stop) {
  for (int left = ms; left > 0 && !stop; left -= PollStepMs) {
    std::this_thread::sleep_for(std::chrono::milliseconds(left < PollStepMs ? left : PollStepMs));
  }
}

}  // namespace

void ChargerServer::run(const std::atomic<bool>& stop) {
  char buffer[256];
  while (!stop) {
    if (!pty_.isOpen()) {
      pause(PollStepMs, stop);
      continue;
    }
    pollfd p{pty_.fd(), POLLIN, 0};
    const int ready = ::poll(&p, 1, PollStepMs);
    if (ready <= 0) continue;
    if ((p.revents & POLLIN) == 0) {
      // POLLHUP alone: the slave is not open (yet, or any more). It reports at once and
      // again on every call until someone opens the slave, so wait instead of spinning.
      pause(PollStepMs, stop);
      continue;
    }
    const ssize_t n = ::read(pty_.fd(), buffer, sizeof buffer);
    if (n <= 0) {
      // EIO: the slave was closed between the poll and the read.
      if (!(n < 0 && errno == EINTR)) pause(PollStepMs, stop);
      continue;
    }
    received_.append(buffer, static_cast<std::size_t>(n));
    // Bytes behind a drop came over the line that went; nobody hears them.
    for (ssize_t i = 0; i < n && !stop; ++i) {
      if (!onByte(buffer[i], stop)) break;
    }
  }
}

bool ChargerServer::onByte(char byte, const std::atomic<bool>& stop) {
  if (byte != 'f') return true;
  const int poll = ++polls_;
  if (script_.dropsAt(poll)) {
    pty_.close();
    if (reconnect_) reconnect_();
    return false;
  }
  const std::string reply = script_.replyFor(poll);
  if (reply.empty()) return true;
  pause(replyDelayMs_, stop);
  send(reply);
  return true;
}

void ChargerServer::send(const std::string& bytes) {
  // Logged first, so whoever has the reply in hand also finds it in the log.
  sent_.append(bytes.data(), bytes.size());
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(pty_.fd(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    // The far side went away mid-reply: what it did not take is lost, as on a real line.
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
}
