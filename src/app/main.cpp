// Tovrana: a panel of buttons that send bytes out of serial ports. The settings
// file lies beside the executable.
#include "app/Application.h"
#include "app/StartUp.h"
#include "core/Settings.h"

int main(int argc, char* argv[]) {
  TApplication application(argc, argv);
  return RunTovrana(SettingsFilePath());
}
