// The INI text format of the settings file, held whole in memory as sections of
// lines. Texts are 8-bit byte strings kept as they are. A plain value owned by
// its user; one thread at a time.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class TIniFile {
 public:
  TIniFile() = default;
  // Splits a file's text into sections; comments, blank lines and lines before
  // the first section are dropped, key lines are stored trimmed as key=value.
  explicit TIniFile(std::string_view text);

  // The whole file as saved: each section's header, its lines and one empty
  // line, every line ended by CR LF.
  std::string Text() const;

  // Section names and keys match without regard to ASCII letter case; where one
  // occurs twice the later occurrence is found. A present key with an empty
  // value reads as the empty text, not the default.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
  // Key and value of every key line of the section, in file order.
  std::vector<std::pair<std::string, std::string>> ReadSectionValues(
      std::string_view section) const;
  std::vector<std::string> SectionNames() const;

  // Replaces the key's line in place or appends it to its section, appending the
  // section when absent. A line break inside the value is stored as a blank, so
  // a value can never spill into lines of its own.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // Removes every section of that name with all its lines.
  void EraseSection(std::string_view section);
  // Removes, in one pass, every section whose name the test accepts.
  void EraseSectionsIf(const std::function<bool(std::string_view name)>& test);

 private:
  struct TSection {
    std::string Name;
    std::vector<std::string> Lines;
  };

  const TSection* FindSection(std::string_view name) const;
  TSection* FindSection(std::string_view name);
  static const std::string* FindKeyLine(const TSection& section, std::string_view key);
  void IndexSections();

  std::vector<TSection> sections_;
  // Lower-cased name -> index of its last section, so that a lookup costs the
  // same in a file of a hundred thousand sections as in one of ten.
  std::unordered_map<std::string, size_t> lastSectionByName_;
};

// ASCII letter case is ignored; other bytes compare as they are.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
