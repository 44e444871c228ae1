#include "app/StartUp.h"

#include <QApplication>
#include <QSessionManager>

#include "app/MainWindow.h"
#include "app/TerminationSignals.h"
#include "dialogs/AboutBox.h"
#include "dialogs/Configuration.h"
#include "editing/Properties.h"

int RunTovrana(const std::filesystem::path& settingsFile,
               const std::function<void(TfmMain&)>& beforeLoop) {
  TTerminationSignals terminationSignals;
  TfmMain fmMain(settingsFile);
  // The native window exists before any other form does.
  fmMain.winId();
  // The dialogs live as long as the main window, which owns them.
  auto* aboutBox = new TAboutBox(&fmMain);
  auto* properties = new TfmProperties(&fmMain);
  auto* configuration = new TfmConfiguration(&fmMain);
  fmMain.SetDialogs(aboutBox, properties, configuration);

  QObject::connect(&terminationSignals, &TTerminationSignals::Received, &fmMain,
                   &TfmMain::RequestUnattendedClose);
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, &fmMain,
                   [&fmMain](QSessionManager&) { fmMain.RequestUnattendedClose(); });
  QObject::connect(qApp, &QCoreApplication::aboutToQuit, &fmMain, &TfmMain::CloseBeforeQuit);

  if (beforeLoop) beforeLoop(fmMain);
  fmMain.show();
  const int status = QApplication::exec();
  return status != 0 ? status : fmMain.ExitStatus();
}
