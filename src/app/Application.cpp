#include "app/Application.h"

#include <QMessageBox>

#include <exception>

#include "widgets/icons/AppIcon.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Tovrana"));
  setWindowIcon(AppIcon());
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    QMessageBox::critical(activeWindow(), applicationName(), QString::fromLocal8Bit(error.what()));
  }
  return false;
}
