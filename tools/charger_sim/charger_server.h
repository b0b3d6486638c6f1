#pragma once
// Serves polls on the pty master: logs each byte received and answers each "f" by the script.

#include <atomic>

#include "pty_port.h"
#include "reply_script.h"

class ChargerServer {
public:
  ChargerServer(PtyMaster& pty, const ReplyScript& script, ByteLog& received, ByteLog& sent,
                int replyDelayMs = 0)
      : pty_(pty), script_(script), received_(received), sent_(sent), replyDelayMs_(replyDelayMs) {}

  // Serves until stop is set. The far side may open and close the slave any number of times;
  // while nobody holds it the master reports a hang-up and the server waits for the next open.
  void run(const std::atomic<bool>& stop);

  int polls() const { return polls_; }

private:
  void onByte(char byte, const std::atomic<bool>& stop);
  void send(const std::string& bytes);

  PtyMaster& pty_;
  const ReplyScript& script_;
  ByteLog& received_;
  ByteLog& sent_;
  int replyDelayMs_;
  std::atomic<int> polls_{0};  // read by tests from another thread
};
