// What remote control asks of the panel: its buttons and outputs, and pressing,
// holding and releasing a button by its grid number. The main window provides
// it; remote control knows no window and no serial layer. User-interface thread.
#pragma once

#include <string>
#include <vector>

enum class TRemoteAction { Press, Down, Up };

// Sent is false when the bytes could not be sent; Cause then says why, in the
// words the panel's own error report would use.
struct TRemoteOutcome {
  bool Sent = true;
  std::string Cause;
};

struct TRemoteButton {
  int Number = 0;  // grid number, counted column by column from 1
  int Row = 0;
  int Column = 0;
  std::string Caption;  // UTF-8
  int Output = 0;
};

struct TRemoteOutput {
  int Output = 0;  // 1 to 4
  int Port = 0;    // the port number the output is set to
  std::string Device;
  bool Open = false;
};

class TRemotePanel {
 public:
  virtual ~TRemotePanel() = default;

  virtual int Rows() const = 0;
  virtual int Columns() const = 0;
  // The grid's buttons, in number order.
  virtual std::vector<TRemoteButton> Buttons() const = 0;
  virtual std::vector<TRemoteOutput> Outputs() const = 0;
  // number is 1 to Rows() x Columns() here and below.
  // Whether the button is held down now, by anyone.
  virtual bool Held(int number) const = 0;
  // Press is down then up. Down holds only a button that holds while pressed;
  // a second down of a held button and an up of one not held do nothing.
  // Never shows a message box.
  virtual TRemoteOutcome Act(TRemoteAction action, int number) = 0;
};
