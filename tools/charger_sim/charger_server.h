#pragma once
// Serves polls on the pty master: logs each byte received and answers each "f" by the script.

#include <atomic>
#include <functional>
#include <utility>

#include "pty_port.h"
#include "reply_script.h"

class ChargerServer {
public:
  // Called right after a drop hangs the line up, to put a fresh pty in place; without it the
  // line stays down.
  using Reconnect = std::function<void()>;

  ChargerServer(PtyMaster& pty, const ReplyScript& script, ByteLog& received, ByteLog& sent,
                int replyDelayMs = 0, Reconnect reconnect = {})
      : pty_(pty), script_(script), received_(received), sent_(sent), replyDelayMs_(replyDelayMs),
        reconnect_(std::move(reconnect)) {}

  // Serves until stop is set. The far side may open and close the slave any number of times;
  // while nobody holds it the master reports a hang-up and the server waits for the next open.
  void run(const std::atomic<bool>& stop);

  int polls() const { return polls_; }

private:
  // False once the byte dropped the line.
  bool onByte(char byte, const std::atomic<bool>& stop);
  void send(const std::string& bytes);

  PtyMaster& pty_;
  const ReplyScript& script_;
  ByteLog& received_;
  ByteLog& sent_;
  int replyDelayMs_;
  Reconnect reconnect_;
  std::atomic<int> polls_{0};  // read by tests from another thread
};
