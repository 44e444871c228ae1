// Parsing, lookup, update and rendering of the INI text format.
#include "core/IniFile.h"

#include <algorithm>

#include "core/SerialData.h"

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

// The line that starts at pos, moving pos past its end: CR LF, a lone CR or a lone LF.
std::string_view NextLine(std::string_view text, size_t& pos) {
  const size_t start = pos;
  size_t end = text.find_first_of("\r\n", start);
  if (end == std::string_view::npos) end = text.size();
  pos = end;
  if (pos < text.size() && text[pos++] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
  return text.substr(start, end - start);
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A line without "=" has no key and never matches.
std::string LowerAsciiText(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = LowerAscii(c);
  return lower;
}

bool KeyOfLineMatches(const std::string& line, std::string_view key) {
  const size_t equals = line.find('=');
  return equals != std::string::npos &&
         EqualsIgnoringCase(std::string_view(line).substr(0, equals), key);
}

std::string KeyLine(std::string_view key, std::string_view value) {
  std::string line;
  line.reserve(key.size() + 1 + value.size());
  line.append(key).push_back('=');
  for (char c : value) line.push_back(c == '\r' || c == '\n' ? ' ' : c);
  return line;
}

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return LowerAscii(x) == LowerAscii(y);
         });
}

TIniFile::TIniFile(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size()) {
    const std::string_view line = Trim(NextLine(text, pos));
    if (line.empty() || line.front() == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      sections_.push_back({std::string(Trim(line.substr(1, line.size() - 2))), {}});
      continue;
    }
    if (sections_.empty()) continue;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      sections_.back().Lines.emplace_back(line);
    } else {
      sections_.back().Lines.push_back(
          KeyLine(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))));
    }
  }
  IndexSections();
}

void TIniFile::IndexSections() {
  lastSectionByName_.clear();
  for (size_t index = 0; index < sections_.size(); ++index) {
    lastSectionByName_[LowerAsciiText(sections_[index].Name)] = index;
  }
}

std::string TIniFile::Text() const {
  std::string text;
  for (const TSection& section : sections_) {
    text.append("[").append(section.Name).append("]\r\n");
    for (const std::string& line : section.Lines) text.append(line).append("\r\n");
    text.append("\r\n");
  }
  return text;
}

const TIniFile::TSection* TIniFile::FindSection(std::string_view name) const {
  const auto found = lastSectionByName_.find(LowerAsciiText(name));
  return found == lastSectionByName_.end() ? nullptr : &sections_[found->second];
}

TIniFile::TSection* TIniFile::FindSection(std::string_view name) {
  return const_cast<TSection*>(std::as_const(*this).FindSection(name));
}

const std::string* TIniFile::FindKeyLine(const TSection& section, std::string_view key) {
  auto found = std::find_if(section.Lines.rbegin(), section.Lines.rend(),
                            [key](const std::string& line) { return KeyOfLineMatches(line, key); });
  return found == section.Lines.rend() ? nullptr : &*found;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
  const TSection* found = FindSection(section);
  const std::string* line = found ? FindKeyLine(*found, key) : nullptr;
  if (line == nullptr) return std::string(defaultValue);
  return line->substr(line->find('=') + 1);
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                              int32_t defaultValue) const {
  std::string text = ReadString(section, key, "");
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.replace(0, 2, "$");
  }
  return ParseInteger(text).value_or(defaultValue);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::vector<std::pair<std::string, std::string>> TIniFile::ReadSectionValues(
    std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> values;
  const TSection* found = FindSection(section);
  if (found == nullptr) return values;
  for (const std::string& line : found->Lines) {
    const size_t equals = line.find('=');
    if (equals != std::string::npos)
      values.emplace_back(line.substr(0, equals), line.substr(equals + 1));
  }
  return values;
}

std::vector<std::string> TIniFile::SectionNames() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const TSection& section : sections_) names.push_back(section.Name);
  return names;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  TSection* found = FindSection(section);
  if (found == nullptr) {
    sections_.push_back({std::string(section), {}});
    lastSectionByName_[LowerAsciiText(section)] = sections_.size() - 1;
    found = &sections_.back();
  }
  auto line = std::find_if(found->Lines.rbegin(), found->Lines.rend(),
                           [key](const std::string& l) { return KeyOfLineMatches(l, key); });
  if (line != found->Lines.rend()) {
    *line = KeyLine(key, value);
  } else {
    found->Lines.push_back(KeyLine(key, value));
  }
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniFile::EraseSection(std::string_view section) {
  EraseSectionsIf([section](std::string_view name) { return EqualsIgnoringCase(name, section); });
}

void TIniFile::EraseSectionsIf(const std::function<bool(std::string_view name)>& test) {
  std::erase_if(sections_, [&test](const TSection& s) { return test(s.Name); });
  IndexSections();
}
