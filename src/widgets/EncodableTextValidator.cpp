// Whether a text fits the settings file's encoding. User-interface thread only.
#include "widgets/EncodableTextValidator.h"

#include "widgets/TextEncoding.h"

QValidator::State TEncodableTextValidator::validate(QString& text, int& /*position*/) const {
  return EncodeText(text, textIsUtf8_) ? Acceptable : Invalid;
}
