// The configuration dialog, created once at start-up as a child of the main
// window and shown modally from the context menu. User-interface thread only.
#pragma once

#include <QDialog>

class TfmConfiguration : public QDialog {
  Q_OBJECT

 public:
  explicit TfmConfiguration(QWidget* parent);
};
