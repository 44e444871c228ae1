// The serial port component's Tracing and Logging requests and TraceSize and
// LogSize changes on an open port, and the dumps that a close asks for. The
// recorders live in the dispatcher; the component keeps only their state
// (tlOff, tlOn or tlPause). User-interface thread only.
#include "serial/ComPort.h"
#include "serial/SerialErrors.h"

namespace {

using TRecorder = TVrlBaseDispatcher::TRecorder;

bool Active(TTraceLogState state) {
  return state == TTraceLogState::tlOn || state == TTraceLogState::tlPause;
}

}  // namespace

TTraceLogState& TVrlComPort::RecorderState(TRecorder recorder) {
  return recorder == TRecorder::Trace ? tracing_ : logging_;
}

int32_t TVrlComPort::DumpRecorder(TRecorder recorder, bool append) {
  if (recorder == TRecorder::Trace) {
    return dispatcher_->DumpRecorder(recorder, traceName_, append, traceAllHex_, traceHex_);
  }
  return dispatcher_->DumpRecorder(recorder, logName_, append, logAllHex_, logHex_);
}

void TVrlComPort::RequestRecorder(TRecorder recorder, TTraceLogState request) {
  TTraceLogState& state = RecorderState(recorder);
  const uint32_t size = recorder == TRecorder::Trace ? traceSize_ : logSize_;
  int32_t result = 0;
  switch (request) {
    case TTraceLogState::tlOff:
      if (Active(state)) dispatcher_->StopRecorder(recorder);
      state = TTraceLogState::tlOff;
      break;
    case TTraceLogState::tlOn:
      if (state == TTraceLogState::tlPause) {
        dispatcher_->ResumeRecorder(recorder);
      } else {
        result = dispatcher_->StartRecorder(recorder, size);
      }
      state = result == 0 ? TTraceLogState::tlOn : TTraceLogState::tlOff;
      break;
    case TTraceLogState::tlDump:
    case TTraceLogState::tlAppend:
    case TTraceLogState::tlAppendAndContinue: {
      if (!Active(state)) break;
      const bool keepOn = request == TTraceLogState::tlAppendAndContinue;
      result = DumpRecorder(recorder, request != TTraceLogState::tlDump);
      if (result != 0 && recorder == TRecorder::Log) break;  // the entries stay for another try
      if (result == 0 && keepOn) {
        dispatcher_->ResumeRecorder(recorder);
        state = TTraceLogState::tlOn;
      } else {
        dispatcher_->StopRecorder(recorder);
        state = TTraceLogState::tlOff;
      }
      break;
    }
    case TTraceLogState::tlClear:
      if (Active(state)) dispatcher_->ClearRecorder(recorder);
      break;
    case TTraceLogState::tlPause:
      if (state == TTraceLogState::tlOn) {
        dispatcher_->PauseRecorder(recorder);
        state = TTraceLogState::tlPause;
      }
      break;
  }
  CheckResult(Loading(), result);
}

void TVrlComPort::ResizeRecorder(TRecorder recorder) {
  TTraceLogState& state = RecorderState(recorder);
  if (!Active(state)) return;
  const bool wasOn = state == TTraceLogState::tlOn;
  dispatcher_->StopRecorder(recorder);
  state = TTraceLogState::tlOff;
  if (!wasOn) return;
  const int32_t result =
      dispatcher_->StartRecorder(recorder, recorder == TRecorder::Trace ? traceSize_ : logSize_);
  if (result == 0) state = TTraceLogState::tlOn;
  CheckResult(Loading(), result);
}

int32_t TVrlComPort::DumpRecordersForClose() {
  int32_t firstFailure = 0;
  for (const TRecorder recorder : {TRecorder::Trace, TRecorder::Log}) {
    TTraceLogState& state = RecorderState(recorder);
    if (!Active(state)) continue;
    const int32_t result = DumpRecorder(recorder, false);
    dispatcher_->StopRecorder(recorder);
    state = TTraceLogState::tlOff;
    if (firstFailure == 0) firstFailure = result;
  }
  return firstFailure;
}
