#include "app/Application.h"

#include <exception>

#include "app/ErrorReport.h"
#include "widgets/icons/AppIcon.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Tovrana"));
  setWindowIcon(AppIcon());
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowErrorReport(activeWindow(), error);
  }
  return false;
}
