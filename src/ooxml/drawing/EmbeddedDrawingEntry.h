#pragma once

// The entry through which the binary presentation reader hands a drawing
// package, unpacked from a shape, to the drawing-part handlers.

#include <string>

namespace quillet {

class TextSink;

// Appends the run texts of the package's shape part, then of its graphic
// frame part, each followed by ";". A file that is no ZIP archive, or lacks
// those parts, appends nothing.
void appendEmbeddedDrawingText(const std::string& packagePath, TextSink& sink);

}  // namespace quillet
