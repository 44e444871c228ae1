// Turns the requests to end the program that arrive as signals (SIGTERM, SIGINT,
// SIGHUP) into a Qt signal on the user-interface thread, so that they run the
// normal close step. One instance at a time; it owns the handlers while it lives.
#pragma once

#include <QObject>

#include <memory>

class TTerminationSignals : public QObject {
  Q_OBJECT

 public:
  explicit TTerminationSignals(QObject* parent = nullptr);
  ~TTerminationSignals() override;

 signals:
  void Received(int signalNumber);

 private:
  class TImpl;
  std::unique_ptr<TImpl> impl_;
};
