// A grid button's press, hold and release, for the operator's mouse and keys
// and for remote callers alike. The core decides the bytes; this class tracks
// which buttons are held and runs their repeat timers. Owned by the main window;
// user-interface thread only.
#pragma once

#include <QObject>
#include <map>
#include <string>

#include "core/CommandList.h"

class QTimer;
class TfmMain;
class TImageButton;

// Remote: the press comes from elsewhere, so a failure never shows a message box.
enum class TPressSource { Local, Remote };

// sent is false when the button could not send; cause is then the text the error
// box shows (its details for a port failure). A button that has nothing to send
// (an empty text, an output outside 1..4) reports success, as its click shows none.
struct TSendResult {
  bool sent = true;
  std::string cause;
};

class TButtonActions : public QObject {
 public:
  explicit TButtonActions(TfmMain& window);
  ~TButtonActions() override;

  // index: the zero-based button index in the grid and the command list.
  // A button that holds sends its press data (or data) and starts its hold and
  // repeat; any other button sends its data. A held button's second down is ignored.
  TSendResult ButtonDown(int index, TPressSource source);
  // Ends the hold and sends its release; nothing for a button that is not held.
  TSendResult ButtonUp(int index, TPressSource source);
  // Down then up: a click.
  TSendResult ButtonPress(int index, TPressSource source);

  bool Held(int index) const { return holds_.contains(index); }
  // The operator let go of the panel (focus away, the window deactivated or
  // minimised, a modal box): the operator's holds end, remote ones go on.
  void EndLocalHolds();
  // The panel closes: every hold ends.
  void EndAllHolds();
  // The output's port failed: its holds end.
  void EndHoldsOn(uint8_t output);

  // Watches a grid button's mouse, keys and focus for the holds.
  void Watch(TImageButton* button);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct THold {
    TCommand Record;  // as it was pressed, so the release matches the press
    TPressSource Source;
    int Key;              // the key that holds it, 0 for the mouse or a caller
    QTimer* RepeatTimer;  // a child of this object, or nullptr
  };

  // Disconnected: the output's port was open and its device has gone away.
  enum class TFailure { None, Checksum, Port, Disconnected };
  struct TOutcome {
    TFailure Failure = TFailure::None;
    std::string Cause;
  };

  TSendResult Down(int index, TPressSource source, int key);
  void KeyUp(int key);
  void FocusLeft(int index, const QWidget* focusNow, Qt::FocusReason reason);
  // checksReply: the send after which the record's expected reply is checked
  // (a click's, or the release of a hold).
  TOutcome Send(int index, const TCommand& record, const std::string& text, bool checksReply);
  TSendResult Report(int index, TPressSource source, const TOutcome& outcome, bool later);
  void Repeat(int index);
  // Removes the hold, stops its timer, sends the release when asked.
  TOutcome EndHold(int index, bool sendRelease);
  void ShowFailure(int index, const TOutcome& outcome);
  bool Exists(int index) const;

  TfmMain& window_;
  std::map<int, THold> holds_;
};
