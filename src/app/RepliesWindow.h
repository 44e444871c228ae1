// TfmReplies, the reply view: a window of its own that lists what the outputs
// sent and received, one line per burst, from the main window's reply log. It
// shows the lines of the outputs whose check box is ticked, and can clear the
// log, copy the lines shown and save them as text. A child window of the main
// window, created with it; user-interface thread only.
#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>

#include "core/ReplyLog.h"

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

class TfmReplies : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kOutputCount = 4;

  TfmReplies(TReplyLog& log, QWidget* parent);

  // The log changed from line firstChanged on (see TReplyLog::Add). The view
  // catches up a moment later, once for all the changes of that moment, so
  // that a device that never pauses costs little.
  void LinesChanged(uint64_t firstChanged);
  // Catches up with the log now.
  void ShowChanges();
  // Brings the window up, or to the front when it is up already.
  void ShowWindow();

  // The lines shown now, one per line.
  QString ShownText() const;
  // Writes the lines shown to fileName, replacing it whole; false with the
  // cause in error when it cannot.
  bool SaveShownLines(const QString& fileName, QString& error);
  bool OutputShown(int output) const;
  void SetOutputShown(int output, bool shown);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Rebuild();
  void btClearClick();
  void btCopyClick();
  void btSaveClick();

  TReplyLog& log_;
  std::array<QCheckBox*, kOutputCount> cbShowOutput_{};
  QPlainTextEdit* edReplies_;
  // The number of the log line in the last block shown; 0 for none.
  uint64_t lastShown_ = 0;
  // Lines came while the window was hidden: it rebuilds when shown.
  bool stale_ = true;
  // The first log line that changed since the view last caught up; 0: none.
  uint64_t firstPending_ = 0;
  QTimer catchUp_;
};
