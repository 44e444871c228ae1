// The main window's stored form values of ComPort1 to ComPort4.
#include "core/OutputPorts.h"

#include "serial/ComPort.h"

namespace {

constexpr int32_t kFormBaud = 9600;
constexpr uint16_t kFormBufferFull = 3686;
constexpr uint16_t kFormBufferResume = 409;

}  // namespace

void ApplyStoredFormValues(const TOutputPorts& ports) {
  for (size_t index = 0; index < ports.size(); ++index) {
    TVrlComPort& port = *ports[index];
    const int output = static_cast<int>(index) + 1;
    port.SetBaud(kFormBaud);
    port.SetPromptForPort(false);
    port.SetRTS(false);
    if (output == 1 || output == 4) {
      port.SetBufferFull(kFormBufferFull);
      port.SetBufferResume(kFormBufferResume);
    }
    if (output <= 3) port.SetRS485Mode(true);
  }
}
