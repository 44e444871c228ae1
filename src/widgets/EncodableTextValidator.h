// Refuses a typed character that the settings file's encoding cannot store, so
// that a text field never holds what would be lost at the save. Owned by the
// field it validates; user-interface thread only.
#pragma once

#include <QValidator>

class TEncodableTextValidator : public QValidator {
  Q_OBJECT

 public:
  // A field given as parent says so when it refuses a character: a beep and a
  // short note just under the field.
  explicit TEncodableTextValidator(QObject* parent);
  static constexpr const char* kRefusedNote =
      "This character cannot be stored in the settings file's encoding.";

  // UTF-8 holds everything; a file made on Windows holds Windows-1252 only.
  void SetTextIsUtf8(bool textIsUtf8) { textIsUtf8_ = textIsUtf8; }
  State validate(QString& text, int& position) const override;

 private:
  bool textIsUtf8_ = true;
};
