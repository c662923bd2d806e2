#pragma once

#include "package/xml/NameTable.h"

#include <string>

namespace quillet {

class ElementHandler;
class ElementStrHandler;
class ZipArchive;

// Runs one part of the archive through the root handler under a vocabulary.
// Null arguments and missing entries give no calls.
void parseXmlPart(ZipArchive* archive, const std::string& entryName, ElementHandler* root, Vocabulary vocabulary);
// The same with element and attribute names as text (relationship parts).
void parseXmlPartByName(ZipArchive* archive, const std::string& entryName, ElementStrHandler* root);

}  // namespace quillet
