#include "editing/Properties.h"

TfmProperties::TfmProperties(QWidget* parent) : QDialog(parent) {
  setObjectName("fmProperties");
  setWindowTitle(tr("Button Properties"));
}
