#include "dialogs/AboutBox.h"

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutBox");
  setWindowTitle(tr("About Tovrana"));
}
