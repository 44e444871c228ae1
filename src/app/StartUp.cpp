#include "app/StartUp.h"

#include <QApplication>
#include <QMessageBox>
#include <QSessionManager>
#include <iostream>

#include "app/MainWindow.h"
#include "app/PanelLock.h"
#include "app/TerminationSignals.h"
#include "dialogs/AboutBox.h"
#include "dialogs/Configuration.h"
#include "editing/Properties.h"

namespace {

const char kAlreadyOpen[] = "This panel is already open";

void SayAlreadyOpen(const std::filesystem::path& settingsFile, const char* consequence) {
  std::cerr << "tovrana: " << kAlreadyOpen << " (" << settingsFile.string() << "); " << consequence
            << '\n';
}

// After the window is up, so that the box stands over it.
void ShowWhenShown(TfmMain& fmMain, QMessageBox::Icon icon, const QString& text,
                   const QString& details) {
  QMetaObject::invokeMethod(
      &fmMain,
      [&fmMain, icon, text, details] {
        QMessageBox box(icon, fmMain.windowTitle(), text, QMessageBox::Ok, &fmMain);
        box.setInformativeText(details);
        box.exec();
      },
      Qt::QueuedConnection);
}

void BringToFront(TfmMain& fmMain) {
  if (fmMain.isMinimized()) fmMain.showNormal();
  fmMain.raise();
  fmMain.activateWindow();
}

}  // namespace

int RunTovrana(const std::filesystem::path& settingsFile,
               const std::function<void(TfmMain&)>& beforeLoop) {
  // A second panel on the same file would write over the first one's edits at
  // its close: it brings the first to the front instead, or, when the first
  // does not answer, runs without ever writing the file.
  TPanelLock panelLock(settingsFile);
  const bool readOnly = !panelLock.Claim();
  // Reads the settings file and nothing more until it is shown; its close step
  // never runs unless it was.
  TfmMain fmMain(settingsFile);
  if (readOnly && panelLock.RaiseHolder()) {
    SayAlreadyOpen(settingsFile, "it was brought to the front");
    // Titled with the caption of the panel that came to the front.
    QMessageBox::information(nullptr, fmMain.windowTitle(),
                             QObject::tr("%1.").arg(QString::fromLatin1(kAlreadyOpen)),
                             QMessageBox::Ok);
    return 0;
  }
  TTerminationSignals terminationSignals;
  QObject::connect(&panelLock, &TPanelLock::RaiseRequested, &fmMain,
                   [&fmMain] { BringToFront(fmMain); });
  if (readOnly) {
    SayAlreadyOpen(settingsFile, "it did not answer, so this one never writes the file");
    fmMain.State().SettingsReadOnly = true;
    ShowWhenShown(fmMain, QMessageBox::Warning,
                  QObject::tr("%1.").arg(QString::fromLatin1(kAlreadyOpen)),
                  QObject::tr("The other panel did not come to the front. This one works, but "
                              "it never writes the settings file: its changes are lost when it "
                              "closes."));
  }
  if (!fmMain.State().SettingsRefusal.empty()) {
    ShowWhenShown(fmMain, QMessageBox::Warning, QObject::tr("The settings file was not loaded."),
                  QString::fromLocal8Bit(fmMain.State().SettingsRefusal.c_str()));
  }
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
