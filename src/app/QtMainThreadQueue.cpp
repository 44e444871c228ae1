// Waking the Qt event loop for a queued notify-window message. Wake runs on
// the queuing thread; the queued call runs on the main thread.
#include "app/QtMainThreadQueue.h"

#include <QMetaObject>

void TQtMainThreadQueue::Wake() {
  // One wake per message: each call handles one, in the order they came.
  QMetaObject::invokeMethod(&context_, [this] { ProcessOnePending(); }, Qt::QueuedConnection);
}
