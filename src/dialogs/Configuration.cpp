#include "dialogs/Configuration.h"

TfmConfiguration::TfmConfiguration(QWidget* parent) : QDialog(parent) {
  setObjectName("fmConfiguration");
  setWindowTitle(tr("Configuration"));
}
