#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

#include "charger_server.h"
#include "pty_port.h"

namespace {

using Clock = std::chrono::steady_clock;

class TempDir {
public:
  TempDir() {
    char pattern[] = "/tmp/charger-sim-test.XXXXXX";
    path_ = ::mkdtemp(pattern);
  }
  ~TempDir() { std::system(("rm -rf '" + path_ + "'").c_str()); }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
  std::string path_;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Reads until count bytes came, the line hung up, or the bound ran out.
std::string ReadUpTo(int fd, std::size_t count, int boundMs = 3000) {
  std::string got;
  const auto end = Clock::now() + std::chrono::milliseconds(boundMs);
  while (got.size() < count && Clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 20) <= 0) continue;
    char buffer[512];
    const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, count - got.size()));
    if (n <= 0) break;
    got.append(buffer, static_cast<std::size_t>(n));
  }
  return got;
}

bool HungUp(int fd, int boundMs = 3000) {
  const auto end = Clock::now() + std::chrono::milliseconds(boundMs);
  while (Clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 20) > 0) {
      char c;
      if ((p.revents & POLLHUP) || ::read(fd, &c, 1) <= 0) return true;
    }
  }
  return false;
}

UniqueFd OpenSlave(const std::string& path) {
  return UniqueFd(::open(path.c_str(), O_RDWR | O_NOCTTY));
}

void Write(const UniqueFd& fd, const std::string& bytes) {
  ASSERT_EQ(::write(fd.get(), bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

// A server on its own thread, as the simulator runs it, with both logs in a temp folder.
class ServerTest : public ::testing::Test {
protected:
  TempDir dir;
  PtyMaster pty = PtyMaster::Open();
  ByteLog received{dir / "received.log"};
  ByteLog sent{dir / "sent.log"};
  std::unique_ptr<ReplyScript> script;
  std::unique_ptr<ChargerServer> server;
  std::atomic<bool> stop{false};
  std::thread thread;

  void Start(ScriptOptions options, ChargerServer::Reconnect reconnect = {}) {
    script = std::make_unique<ReplyScript>(std::move(options));
    server = std::make_unique<ChargerServer>(pty, *script, received, sent, 0, std::move(reconnect));
    thread = std::thread([this] { server->run(stop); });
  }
  void TearDown() override {
    stop = true;
    if (thread.joinable()) thread.join();
  }
  static ScriptOptions Fixed(const char* digits) {
    ScriptOptions o;
    o.fixed = digits;
    return o;
  }
};

TEST_F(ServerTest, AnswersEachPollAndLogsEveryByteInBothDirections) {
  ScriptOptions o = Fixed("1400300");
  o.endAfter = 1;
  Start(o);
  const UniqueFd slave = OpenSlave(pty.slavePath());
  ASSERT_TRUE(slave.valid());
  // No newline follows the poll: a slave left in line mode would hold it back.
  Write(slave, std::string("x\x00\xff" "f", 4));
  EXPECT_EQ(ReadUpTo(slave.get(), 8), "1400300\r");
  Write(slave, "f");
  EXPECT_EQ(ReadUpTo(slave.get(), 8), "0000000\r");
  EXPECT_EQ(Slurp(dir / "received.log"), std::string("x\x00\xff" "ff", 5));
  EXPECT_EQ(Slurp(dir / "sent.log"), "1400300\r0000000\r");
  EXPECT_EQ(ReadUpTo(slave.get(), 1, 200), "") << "bytes other than the poll get no answer";
}

TEST_F(ServerTest, WaitsForTheFarSideAndKeepsServingWhenItClosesAndReopens) {
  Start(Fixed("1300250"));
  // Let the server meet the hung-up master first.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  for (int round = 0; round < 3; ++round) {
    const UniqueFd slave = OpenSlave(pty.slavePath());
    ASSERT_TRUE(slave.valid());
    Write(slave, "f");
    EXPECT_EQ(ReadUpTo(slave.get(), 8), "1300250\r") << "round " << round;
  }
  EXPECT_EQ(server->polls(), 3);
}

TEST_F(ServerTest, ShortAndLongRepliesArriveAsScripted) {
  ScriptOptions o = Fixed("1300250");
  o.scenario = Scenario::Long;
  o.longLength = 300;
  Start(o);
  const UniqueFd slave = OpenSlave(pty.slavePath());
  Write(slave, "f");
  const std::string reply = ReadUpTo(slave.get(), 300);
  ASSERT_EQ(reply.size(), 300u);
  EXPECT_EQ(reply.substr(0, 16), "1300250\r1300250\r");
  EXPECT_EQ(Slurp(dir / "sent.log"), reply);
}

TEST_F(ServerTest, DropHangsTheLineUpAtThePollAfterTheLastAnswered) {
  ScriptOptions o = Fixed("1300250");
  o.scenario = Scenario::Drop;
  o.dropAfter = 1;
  Start(o);
  const UniqueFd slave = OpenSlave(pty.slavePath());
  Write(slave, "f");
  EXPECT_EQ(ReadUpTo(slave.get(), 8), "1300250\r");
  Write(slave, "f");
  EXPECT_TRUE(HungUp(slave.get()));
  EXPECT_EQ(Slurp(dir / "received.log"), "ff");
}

std::string Target(const std::string& link) {
  char buffer[4096];
  const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer);
  return n < 0 ? std::string() : std::string(buffer, static_cast<std::size_t>(n));
}

// The far side finds the line again where it found it first, as the monitor does through COM1.
TEST_F(ServerTest, ALineThatComesBackAnswersBehindTheSameLink) {
  ScriptOptions o = Fixed("1300250");
  o.scenario = Scenario::Drop;
  o.reconnect = true;
  const std::string path = dir / "com1.pty";
  auto link = std::make_unique<SlaveLink>(path, pty.slavePath());
  Start(o, [&] {
    pty = PtyMaster::Open();
    link = std::make_unique<SlaveLink>(path, pty.slavePath());
  });
  const std::string firstLine = Target(path);
  const UniqueFd first = OpenSlave(path);
  Write(first, "f");
  EXPECT_EQ(ReadUpTo(first.get(), 8), "1300250\r");
  // The bytes behind the dropping poll went with the old line.
  Write(first, "ff");
  EXPECT_TRUE(HungUp(first.get()));
  const auto bound = Clock::now() + std::chrono::seconds(3);
  while (Target(path) == firstLine && Clock::now() < bound) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_NE(Target(path), firstLine);
  const UniqueFd second = OpenSlave(path);
  ASSERT_TRUE(second.valid());
  for (int round = 0; round < 2; ++round) {
    Write(second, "f");
    EXPECT_EQ(ReadUpTo(second.get(), 8), "1300250\r") << "round " << round;
  }
  EXPECT_EQ(server->polls(), 4);
  EXPECT_EQ(Slurp(dir / "sent.log"), "1300250\r1300250\r1300250\r");
}

// A stale link is replaced and a link of its own removed on exit; one that another simulator
// took over stays; a file that is not a link is never replaced.
TEST(SlaveLinkTest, ReplacesOnlyLinksAndRemovesOnlyItsOwn) {
  TempDir dir;
  const std::string link = dir / "com1.pty";
  ASSERT_EQ(::symlink("/dev/pts/nowhere", link.c_str()), 0);
  auto made = std::make_unique<SlaveLink>(link, "/dev/pts/77");
  EXPECT_EQ(Target(link), "/dev/pts/77");
  {
    const SlaveLink later(link, "/dev/pts/78");
    made.reset();
    EXPECT_EQ(Target(link), "/dev/pts/78");
  }
  struct stat st {};
  EXPECT_NE(::lstat(link.c_str(), &st), 0);

  const std::string path = dir / "precious";
  std::ofstream(path) << "keep me";
  EXPECT_THROW(SlaveLink(path, "/dev/pts/77"), std::runtime_error);
  EXPECT_EQ(Slurp(path), "keep me");
}

}  // namespace
