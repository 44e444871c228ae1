// libFuzzer target: any byte string as a settings file. Saving normalises the
// text once, so loading and saving the result again changes nothing; and a
// value written into it, whatever its bytes, stays one value of its key.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/IniFile.h"

namespace {

// What reading gives back for a written value: line breaks became blanks, and
// blanks and control characters around it are lost.
std::string ExpectedReadBack(std::string_view value) {
  std::string expected;
  for (char c : value) expected.push_back(c == '\r' || c == '\n' ? ' ' : c);
  auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!expected.empty() && isBlank(expected.back())) expected.pop_back();
  size_t start = 0;
  while (start < expected.size() && isBlank(expected[start])) ++start;
  return expected.substr(start);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TIniFile ini(text);
  const std::string saved = ini.Text();
  if (TIniFile(saved).Text() != saved) __builtin_trap();

  ini.ReadInteger("General", "Button Rows", 5);
  ini.ReadSectionValues("Ports");
  const std::string_view value = text.substr(0, 256);
  ini.WriteString("Button 1", "Data", value);
  ini.EraseSection("Windows");
  const TIniFile reread(ini.Text());
  if (reread.SectionNames() != ini.SectionNames()) __builtin_trap();
  if (reread.ReadString("Button 1", "Data", "") != ExpectedReadBack(value)) __builtin_trap();
  return 0;
}
