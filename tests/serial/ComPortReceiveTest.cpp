// Received bytes through the serial port component on a pseudo-terminal: the
// "available" event on the main thread, the block read out of the dispatch
// buffer, an idle port that stays asleep, and a peer that never stops sending.
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "Pty.h"
#include "TestOwner.h"
#include "serial/ComPort.h"
#include "serial/MessageQueue.h"
#include "serial/SerialErrors.h"

namespace {

constexpr uint16_t kPtyNumber = 5;

// The test thread plays the main thread: a queued message wakes it.
class TWakingQueue : public TMessageQueue {
 public:
  // Handles messages as they come until done() holds or the deadline passes.
  bool ServeUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds deadline = std::chrono::seconds(20)) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
      ProcessAllPending();
      if (done()) return true;
      std::unique_lock lock(lock_);
      if (!woken_.wait_until(lock, end, [&] { return wakes_ > 0; })) return false;
      wakes_ = 0;
    }
  }
  // Whether a message came within the window.
  bool MessageWithin(std::chrono::milliseconds window) {
    std::unique_lock lock(lock_);
    return woken_.wait_for(lock, window, [&] { return wakes_ > 0; });
  }

 protected:
  void Wake() override {
    std::lock_guard guard(lock_);
    ++wakes_;
    woken_.notify_all();
  }

 private:
  std::mutex lock_;
  std::condition_variable woken_;
  int wakes_ = 0;
};

std::set<std::string> TaskIds() {
  std::set<std::string> ids;
  if (DIR* dir = ::opendir("/proc/self/task")) {
    while (const dirent* entry = ::readdir(dir)) {
      if (entry->d_name[0] != '.') ids.insert(entry->d_name);
    }
    ::closedir(dir);
  }
  return ids;
}

// Times the threads that are not in before went to sleep and were woken again.
long WakeUpsOfThreadsSince(const std::set<std::string>& before) {
  long total = 0;
  for (const std::string& id : TaskIds()) {
    if (before.count(id) != 0) continue;
    std::ifstream status("/proc/self/task/" + id + "/status");
    for (std::string line; std::getline(status, line);) {
      if (line.rfind("voluntary_ctxt_switches:", 0) == 0) total += std::stol(line.substr(24));
    }
  }
  return total;
}

class ComPortReceiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty_.Valid());
    TPortMap map;
    map.Assign(kPtyNumber, pty_.SlavePath());
    port_.SetPortMap(map);
    port_.SetMainThreadQueue(&queue_);
    port_.SetPromptForPort(false);
    port_.SetComNumber(kPtyNumber);
  }

  // A handler that takes every byte it is told about.
  void TakeEverything() {
    port_.SetOnTriggerAvail([this](TVrlComPort& sender, uint32_t count) {
      ++events_;
      std::string block(count, '\0');
      const uint32_t taken = sender.GetBlock(block.data(), count);
      EXPECT_EQ(taken, count);
      received_.append(block, 0, taken);
    });
  }

  void WriteAtMaster(const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t n = ::write(pty_.Master(), bytes.data() + written, bytes.size() - written);
      ASSERT_GT(n, 0);
      written += static_cast<size_t>(n);
    }
  }

  TPty pty_;
  TWakingQueue queue_;
  TVrlComPort port_;
  std::string received_;
  int events_ = 0;
};

TEST_F(ComPortReceiveTest, BytesReachTheHandlerAndAnIdlePortSleeps) {
  TakeEverything();
  BaselineThreads();
  const std::set<std::string> before = TaskIds();
  port_.SetOpen(true);
  // Nothing arrives, so nothing may wake: no message, and once the workers
  // have settled they stay asleep (a worker that polled on a timer would wake
  // ten times or more in the second window).
  EXPECT_FALSE(queue_.MessageWithin(std::chrono::milliseconds(200)));
  const long settled = WakeUpsOfThreadsSince(before);
  EXPECT_FALSE(queue_.MessageWithin(std::chrono::milliseconds(500)));
  EXPECT_LE(WakeUpsOfThreadsSince(before) - settled, 2);
  EXPECT_EQ(events_, 0);

  WriteAtMaster("OK\r\n");
  ASSERT_TRUE(queue_.ServeUntil([&] { return received_ == "OK\r\n"; })) << received_;
  EXPECT_EQ(port_.RequireDispatcher().DispatchBufferUsed(), 0u);
}

TEST_F(ComPortReceiveTest, WithoutAHandlerBytesWaitForABlockRead) {
  port_.SetOpen(true);
  WriteAtMaster("abcdef");
  ASSERT_TRUE(Eventually([&] { return port_.RequireDispatcher().DispatchBufferUsed() == 6; }));
  EXPECT_FALSE(queue_.MessageWithin(std::chrono::milliseconds(200)));
  char block[4];
  ASSERT_EQ(port_.GetBlock(block, 4), 4u);
  EXPECT_EQ(std::string(block, 4), "abcd");
  ASSERT_EQ(port_.GetBlock(block, 4), 2u);
  EXPECT_EQ(std::string(block, 2), "ef");
  EXPECT_EQ(port_.GetBlock(block, 4), 0u);
}

TEST_F(ComPortReceiveTest, ABlockReadFromAFullBufferLetsTheQueuedInputIn) {
  port_.SetOpen(true);
  TVrlBaseDispatcher& dispatcher = port_.RequireDispatcher();
  const std::string sent(TVrlBaseDispatcher::kDispatchBufferSize + 1000, 'q');
  WriteAtMaster(sent);
  ASSERT_TRUE(Eventually([&] {
    return dispatcher.DispatchBufferUsed() == TVrlBaseDispatcher::kDispatchBufferSize &&
           dispatcher.InputQueueBytes() > 0;
  }));
  std::string taken(TVrlBaseDispatcher::kDispatchBufferSize, '\0');
  ASSERT_EQ(port_.GetBlock(taken.data(), TVrlBaseDispatcher::kDispatchBufferSize),
            TVrlBaseDispatcher::kDispatchBufferSize);
  // The device is quiet now: only the block read can set the rest moving.
  ASSERT_TRUE(Eventually([&] { return dispatcher.DispatchBufferUsed() == 1000; }));
  EXPECT_EQ(dispatcher.InputQueueBytes(), 0);
}

TEST_F(ComPortReceiveTest, ABlockReadOnAClosedPortRaises) {
  char block[1];
  EXPECT_THROW(port_.GetBlock(block, 1), ECommNotOpen);
}

TEST_F(ComPortReceiveTest, APeerThatNeverPausesLosesNothingAndQueuesLittle) {
  TakeEverything();
  port_.SetOpen(true);
  // Far more than the dispatch buffer and the queue behind it can hold.
  std::string sent;
  for (int i = 0; sent.size() < 1024 * 1024; ++i) sent += std::to_string(i) + ',';
  std::thread peer([&] { WriteAtMaster(sent); });
  int64_t mostQueued = 0;
  const bool whole = queue_.ServeUntil([&] {
    mostQueued = std::max(mostQueued, port_.RequireDispatcher().InputQueueBytes());
    return received_.size() >= sent.size();
  });
  peer.join();
  ASSERT_TRUE(whole) << received_.size() << " of " << sent.size();
  EXPECT_TRUE(received_ == sent);
  EXPECT_LE(mostQueued, TVrlBaseDispatcher::kInputQueueLimit);
  EXPECT_EQ(port_.RequireDispatcher().LineErrors() & TVrlBaseDispatcher::kReceiveOverflow, 0);
}

}  // namespace
