// The dispatcher's trace and dispatch log control. Every operation takes the
// dispatcher lock, which guards both recorders; the component calls them on the
// main thread, the workers add log entries through AddLogEntry.
#include "serial/Dispatcher.h"

int32_t TVrlBaseDispatcher::StartRecorder(TRecorder recorder, uint32_t size) {
  std::lock_guard guard(dispatcherLock_);
  if (recorder == TRecorder::Trace) return trace_.Start(size);
  log_.Start(size);
  return 0;
}

void TVrlBaseDispatcher::StopRecorder(TRecorder recorder) {
  std::lock_guard guard(dispatcherLock_);
  if (recorder == TRecorder::Trace) {
    trace_.Stop();
  } else {
    log_.Stop();
  }
}

void TVrlBaseDispatcher::PauseRecorder(TRecorder recorder) {
  std::lock_guard guard(dispatcherLock_);
  if (recorder == TRecorder::Trace) {
    trace_.Pause();
  } else {
    log_.Pause();
  }
}

void TVrlBaseDispatcher::ResumeRecorder(TRecorder recorder) {
  std::lock_guard guard(dispatcherLock_);
  if (recorder == TRecorder::Trace) {
    trace_.Resume();
  } else {
    log_.Resume();
  }
}

void TVrlBaseDispatcher::ClearRecorder(TRecorder recorder) {
  std::lock_guard guard(dispatcherLock_);
  if (recorder == TRecorder::Trace) {
    trace_.Clear();
  } else {
    log_.Clear();
  }
}

int32_t TVrlBaseDispatcher::DumpRecorder(TRecorder recorder, const std::string& fileName,
                                         bool append, bool allHex, bool hex) {
  std::lock_guard guard(dispatcherLock_);
  if (recorder == TRecorder::Trace) return trace_.Dump(fileName, append, allHex, hex);
  return log_.Dump(fileName, append, allHex, hex, deviceName_);
}

void TVrlBaseDispatcher::AddLogEntry(TLogType type, uint16_t subtype, int32_t data,
                                     const void* bytes, uint32_t count) {
  std::lock_guard guard(dispatcherLock_);
  log_.Add(type, subtype, data, bytes, count);
}
