#pragma once

// A document read with its structure, as `quillet text --json` reads it: the
// export with its record, then the readable text cut into parts.

#include "readable/ReadableText.h"
#include "support/TempDir.h"

#include <string>
#include <vector>

namespace quillet::test {

inline readable::Document readStructured(const std::string& bytes, bool extras = false)
{
    TempDir dir;
    writeFile(dir.file("document"), bytes);
    readable::Options options;
    options.structure = true;
    options.extras = extras;
    return readable::readDocument(dir.file("document"), options);
}

// "kind index name: text" for each part, to compare in one expectation.
inline std::vector<std::string> partList(const readable::Document& document)
{
    std::vector<std::string> list;
    for (const readable::Part& part : document.parts)
        list.push_back(part.kind + " " + std::to_string(part.index) + " " + part.name + ": " +
                       std::string(readable::partText(document, part)));
    return list;
}

}  // namespace quillet::test
