// The general error report's message box. User-interface thread only.
#include "app/ErrorReport.h"

#include <QApplication>
#include <QMessageBox>

void ShowErrorReport(QWidget* parent, const std::exception& error) {
  QMessageBox::critical(parent, QApplication::applicationName(),
                        QString::fromLocal8Bit(error.what()));
}
