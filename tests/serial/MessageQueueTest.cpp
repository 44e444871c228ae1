// The main thread's message queue and the notify windows it serves: a send
// from another thread waits for the main thread, a send that times out is never
// handled late, posts are handled in order, and a message for a destroyed
// window is dropped.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "TestOwner.h"
#include "serial/MessageQueue.h"
#include "serial/NotifyWindow.h"

namespace {

struct TRecordingWindow {
  TRecordingWindow()
      : window(CreateNotifyWindow([this](uint32_t message, uintptr_t, intptr_t) {
          // Only the main (test) thread may run a window procedure.
          EXPECT_EQ(std::this_thread::get_id(), mainThread);
          messages.push_back(message);
          return 0;
        })) {}
  ~TRecordingWindow() { DestroyNotifyWindow(window); }

  const std::thread::id mainThread = std::this_thread::get_id();
  std::vector<uint32_t> messages;
  TNotifyWindow window;
};

TEST(MessageQueue, ASendFromAWorkerIsHandledOnTheMainThread) {
  TMessageQueue queue;
  TRecordingWindow target;
  std::atomic<bool> handled{false};
  std::thread worker([&] {
    handled = queue.Send(target.window, 0x7E01, 0, 0, std::chrono::seconds(30));
  });
  ASSERT_TRUE(Eventually([&] {
    queue.ProcessOnePending();
    return handled.load();
  }));
  worker.join();
  EXPECT_EQ(target.messages, std::vector<uint32_t>{0x7E01});
}

TEST(MessageQueue, ASendThatTimedOutIsNeverHandledLate) {
  TMessageQueue queue;
  TRecordingWindow target;
  bool handled = true;
  std::thread worker([&] {
    handled = queue.Send(target.window, 0x7E02, 0, 0, std::chrono::milliseconds(1));
  });
  worker.join();
  EXPECT_FALSE(handled);
  EXPECT_EQ(queue.PendingCount(), 0u);
  queue.ProcessAllPending();
  EXPECT_TRUE(target.messages.empty());
}

TEST(MessageQueue, PostsAreHandledOneAtATimeInOrder) {
  TMessageQueue queue;
  TRecordingWindow target;
  TRecordingWindow gone;
  const TNotifyWindow goneWindow = gone.window;
  DestroyNotifyWindow(goneWindow);
  queue.Post(target.window, 1, 0, 0);
  queue.Post(goneWindow, 2, 0, 0);
  queue.Post(target.window, 3, 0, 0);
  queue.ProcessOnePending();
  EXPECT_EQ(target.messages, std::vector<uint32_t>{1});
  queue.ProcessAllPending();
  EXPECT_EQ(target.messages, (std::vector<uint32_t>{1, 3}));
  EXPECT_TRUE(gone.messages.empty());
  // A send on the main thread itself is handled at once.
  EXPECT_TRUE(queue.Send(target.window, 4, 0, 0, std::chrono::milliseconds(0)));
  EXPECT_EQ(target.messages.back(), 4u);
}

}  // namespace
