// The settings file's texts are bytes: UTF-8 normally, Windows-1252 when the
// file was made on Windows. These turn them into displayed text and back.
// Stateless; any thread.
#pragma once

#include <QString>

#include <optional>
#include <string>

QString DecodeText(const std::string& bytes, bool textIsUtf8);
// Nothing when the text holds a character that the encoding cannot store.
std::optional<std::string> EncodeText(const QString& text, bool textIsUtf8);
