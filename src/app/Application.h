// The application object: an error that escapes a user action ends that action
// and is shown in a message box with its text; the program goes on running.
// Created once by main; user-interface thread.
#pragma once

#include <QApplication>

class TApplication : public QApplication {
  Q_OBJECT

 public:
  TApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};
