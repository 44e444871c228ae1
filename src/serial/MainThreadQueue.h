// What the dispatcher needs of the user-interface thread: a blocking send to a
// notify window, a post, and processing one pending message while that thread
// waits for the workers. The application implements it; tests replace it.
// Send is called from the dispatch thread, the rest on the main thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <exception>

using TNotifyWindow = uintptr_t;

class TMainThreadQueue {
 public:
  virtual ~TMainThreadQueue() = default;

  // Blocks until the window has handled the message or the time-out passed;
  // false on time-out.
  virtual bool Send(TNotifyWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                    std::chrono::milliseconds timeout) = 0;
  virtual void Post(TNotifyWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  // Handles at most one waiting message of the calling (main) thread.
  virtual void ProcessOnePending() = 0;
};

// The component that owns a dispatcher, as the dispatcher sees it.
class TDispatcherOwner {
 public:
  virtual ~TDispatcherOwner() = default;

  // True while the component is being loaded from a stored form.
  virtual bool Loading() const = 0;
  // The main thread's queue; null when there is none.
  virtual TMainThreadQueue* MainThreadQueue() = 0;
  // Shows a worker's failure with the application's standard exception
  // display. Called on the failing worker's thread.
  virtual void ShowException(const std::exception& failure) = 0;
};
