// The button properties dialog, created once at start-up as a child of the main
// window and shown modally from the context menu. User-interface thread only.
#pragma once

#include <QDialog>

class TfmProperties : public QDialog {
  Q_OBJECT

 public:
  explicit TfmProperties(QWidget* parent);
};
