// The main thread's message queue inside the Qt event loop: a message queued
// from any thread wakes the loop, which handles it on the main thread. Owned by
// the main window and declared before its ports, so that it outlives them and
// their workers. Created on the main thread.
#pragma once

#include <QObject>

#include "serial/MessageQueue.h"

class TQtMainThreadQueue : public TMessageQueue {
 protected:
  void Wake() override;

 private:
  // Lives in the main thread; queued calls on it die with it.
  QObject context_;
};
