// The general error report's message box. User-interface thread only.
#include "app/ErrorReport.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

void ShowErrorReport(QWidget* parent, const std::exception& error) {
  // Titled with the panel's caption, as every box of the program is.
  QString title = QApplication::applicationName();
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() == QLatin1String("fmMain")) title = window->windowTitle();
  }
  QMessageBox::critical(parent, title, QString::fromLocal8Bit(error.what()));
}
