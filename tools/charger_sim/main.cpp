// charger-sim: a simulated battery charger on a pseudo-terminal, for the demo and the tests.

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <exception>
#include <memory>

#include "charger_server.h"
#include "sim_options.h"

namespace {

std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void onStopSignal(int) { stopRequested = true; }

void installStopHandlers() {
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  SimOptions options;
  try {
    options = ParseSimOptions({argv + 1, argv + argc});
  } catch (const UsageError& e) {
    std::fprintf(stderr, "charger-sim: %s\n%s", e.what(), SimUsage);
    return 2;
  }
  if (options.help) {
    std::fputs(SimUsage, stdout);
    return 0;
  }
  installStopHandlers();
  if (options.exitWithParent) {
    const pid_t parent = ::getppid();
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) return 0;
  }
  try {
    PtyMaster pty = PtyMaster::Open();
    std::unique_ptr<SlaveLink> link;
    if (!options.link.empty()) link = std::make_unique<SlaveLink>(options.link, pty.slavePath());
    ByteLog received = options.log.empty() ? ByteLog() : ByteLog(options.log);
    ByteLog sent = options.sentLog.empty() ? ByteLog() : ByteLog(options.sentLog);
    const ReplyScript script(options.script);
    std::printf("charger-sim: serving on %s\n", pty.slavePath().c_str());
    std::fflush(stdout);
    ChargerServer::Reconnect reconnect;
    if (options.script.reconnect) {
      reconnect = [&] {
        pty = PtyMaster::Open();
        // The new link replaces the old one before the old one's destructor runs, so it stays.
        if (link) link = std::make_unique<SlaveLink>(options.link, pty.slavePath());
        std::printf("charger-sim: the line is back on %s\n", pty.slavePath().c_str());
        std::fflush(stdout);
      };
    }
    ChargerServer(pty, script, received, sent, options.replyDelayMs, reconnect).run(stopRequested);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "charger-sim: %s\n", e.what());
    return 1;
  }
  return 0;
}
