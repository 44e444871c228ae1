// The configuration dialog: the main window's general settings and the line
// settings of the four outputs, shown from the live state and put back into it
// by Apply, which also opens and closes the ports and rebuilds the grid. Created
// once at start-up as a child of the main window, whose state and ports it
// works on, and shown modally. User-interface thread only.
#pragma once

#include <QDialog>
#include <array>

#include "dialogs/ConfigurationPages.h"

class QListWidget;
class QPushButton;
class QStackedWidget;
class TfmMain;
class TVrlComPort;

class TfmConfiguration : public QDialog {
  Q_OBJECT

 public:
  explicit TfmConfiguration(TfmMain* fmMain);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void PageListClick(int position);
  void ControlChange();
  void BtApplyClick();
  void BtCancelClick();

  // Copies the live state into every field; "Apply" ends disabled.
  void LoadSettings();
  // Shows on each output page which other outputs name the same port.
  void UpdateSamePortWarnings();
  // Shows beside "Port Open" that Apply will switch off a port not present.
  void UpdateNotPresentNotes();
  void LoadPortNumbers();
  void LoadOutput(int output);
  // Puts the fields into the live state in order. A setting that cannot be
  // converted or that an open port refuses raises and ends the apply there;
  // a port that cannot be opened is reported and the apply goes on.
  void ApplySettings();
  void ApplyGeneral();
  void ApplyOutput(int output);
  void ApplyFlowControl(TVrlComPort& port, const TFlowControlBoxes& boxes);
  void ApplyOpen(int output, TVrlComPort& port);
  void CentreOnMainWindow();
  void ConnectChanges();

  TfmMain& fmMain_;
  QListWidget* PageList_;
  QStackedWidget* PageControl1_;
  TGeneralPage general_;
  std::array<TOutputPage, 4> outputs_;  // output 1 at index 0
  QPushButton* BtApply_;
  QPushButton* BtCancel_;
};
