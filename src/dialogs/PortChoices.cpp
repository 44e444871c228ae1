// The dialog's fixed choices, the presence listing of ports 1 to 20 and the
// whole-number conversion of a field's text. User-interface thread only.
#include "dialogs/PortChoices.h"

#include <algorithm>

#include "core/SerialData.h"
#include "serial/ComPortPresent.h"

std::optional<int> ParityPosition(TParity parity) {
  for (size_t position = 0; position < kParityEntries.size(); ++position) {
    if (kParityEntries[position].Parity == parity) return static_cast<int>(position);
  }
  return std::nullopt;
}

std::vector<int32_t> BaudRateChoices(int32_t stored) {
  std::vector<int32_t> rates(kBaudRates.begin(), kBaudRates.end());
  if (std::find(rates.begin(), rates.end(), stored) == rates.end()) {
    rates.insert(std::upper_bound(rates.begin(), rates.end(), stored), stored);
  }
  return rates;
}

std::vector<uint16_t> PresentPortNumbers(const TPortMap& portMap) {
  std::vector<uint16_t> present;
  for (uint16_t number = 1; number <= kHighestListedPort; ++number) {
    if (ComPortPresent(number, portMap)) present.push_back(number);
  }
  return present;
}

int32_t StrToInt(std::string_view text) {
  if (const std::optional<int32_t> value = ParseInteger(text)) return *value;
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}
