// One panel per settings file. The first panel on a file holds a local socket
// in the abstract namespace named after the file's path: the kernel refuses the
// name to a second process and frees it when the holder ends, however it ends,
// so a crash never leaves the panel unstartable. A second start asks the
// holder over that socket to come to the front. User-interface thread only.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <filesystem>

class TPanelLock : public QObject {
  Q_OBJECT

 public:
  explicit TPanelLock(const std::filesystem::path& settingsFile);

  // True when this process now holds the file: no other panel has it open.
  bool Claim();
  // Asks the panel holding the file to show itself in front; true once it
  // answered that it did, false when it did not answer in time.
  bool RaiseHolder();

 signals:
  // Another start on the same file wants this panel in front.
  void RaiseRequested();

 private:
  void ServeRequest();

  const QString name_;
  QLocalServer server_;
};
