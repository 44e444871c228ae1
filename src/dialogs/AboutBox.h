// The About box: the program's name and version from the version block of its
// own executable, read once when the box is created at start-up, the contact
// address and the icon. A child of the main window, shown modally from the
// context menu and reused; user-interface thread only.
#pragma once

#include <QDialog>

#include "dialogs/ExeInfo.h"

class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  // Reads the running executable's block.
  explicit TAboutBox(QWidget* parent);
  // Shows what exeInfo read, e.g. from another executable.
  TAboutBox(QWidget* parent, TExeInfo exeInfo);

  const TExeInfo& ExeInfo() const { return ExeInfo_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void FormShow();

  TExeInfo ExeInfo_;
  QLabel* IconImage_;
  QLabel* ProgramName_;
  QLabel* Version_;
  QLabel* Email_;
  QLabel* Purpose_;
  QPushButton* btOK_;
};
