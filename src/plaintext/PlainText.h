#pragma once

#include <QString>

namespace quillet {

// Reads a plain-text file, honouring a UTF-8, UTF-16BE or UTF-16LE byte-order
// mark; without one the bytes are in the locale's 8-bit encoding. text keeps
// its value when the file cannot be read.
void readPlainText(const QString& path, QString& text);

}  // namespace quillet
