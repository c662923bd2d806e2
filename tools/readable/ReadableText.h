#pragma once

// Text for people: a document's whole text as the export writes it, as
// UTF-8, with Word's and the export's layout marks turned into line breaks
// and tabs. The command-line tool and the Python package both read text
// through here, so a document gives the same text whichever asks.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::readable {

struct Options {
    bool extras = false;  // headers, footers, comments and notes too
    int timeLimitSeconds = 300;
    bool structure = false;  // the format, properties and parts too
};

// A piece of the text where the format splits it: a page, a sheet (named),
// a slide (numbered), the body, headers, notes, comments. Without any split
// the whole text is one part of kind "document". Its text is a range of the
// document's (see partText), so a large document is held once.
struct Part {
    std::string kind;
    int index = 1;
    std::string name;
    size_t start = 0, size = 0;  // bytes of Document::text
};

// What reading a document gave: the export's result code, or for a plain
// text file 0 or the errno of opening it; and the text, which holds what the
// export wrote even when the code reports a failure part-way.
struct Document {
    uint32_t code = 0;
    std::string text;
    // With Options::structure: the format's name ("TXT" for plain text,
    // empty when unknown), the properties as a JSON object, and the parts,
    // whose texts joined are `text`.
    std::string format;
    std::string metadataJson = "{}";
    std::vector<Part> parts;
};

inline std::string_view partText(const Document& document, const Part& part)
{
    return std::string_view(document.text).substr(part.start, part.size);
}

// The document as one JSON object: format, code, metadata, parts (each with
// kind, index, name and text).
std::string documentJson(const Document& document);
// The same and a line end, written to file as it is made; false when a
// write failed.
bool writeDocumentJson(const Document& document, std::FILE* file);

// The properties a results log shows: empty strings and -1 when absent.
struct Properties {
    std::string title, author;
    int64_t pages = -1;
};
Properties propertiesOf(const Document& document);

// Whether a result code comes with the document's text: a success, a
// workbook written as its shared strings, a presentation without content
// (its text is empty).
bool hasText(uint32_t code);

// The document at path, in the file system's own bytes. Names ending in
// ".txt" are read as plain text; anything else goes through export2Txt into
// a private temporary folder.
Document readDocument(const std::string& path, const Options& options);

// A document held in memory: its format comes from its bytes, and bytes of
// no known format that read as text (a byte-order mark, or UTF-8 without
// zero bytes) are plain text.
Document readDocumentBytes(const std::string& bytes, const Options& options);

// Whether the export left "1.txt" as the UTF-16LE its reader wrote: the
// binary, RTF and PDF readers' text is made UTF-8 only after a success.
bool exportIsUtf16(uint32_t code, const char* format);

// The text (readableExport's), format, properties and parts of an export
// made with WriteRecord, from "1.txt" as it left it and its "1.json" (empty
// when there is none).
void readExportRecord(const std::string& exported, bool utf16, const std::string& recordJson, const char* format,
                      Document& document);

// "1.txt" as the export left it, made readable (see readableText).
std::string readableExport(const std::string& bytes, bool utf16);

// The export's text (UTF-8) made readable: CR LF, CR, vertical tab, form
// feed, column break and the Unicode line and paragraph separators end
// lines; Word's cell mark is a tab and a row's end a line break; its
// non-breaking hyphen is "-"; other control characters go. Lines lose the
// tabs that lead them and the blanks that end them, runs of blank lines
// become one, and the text starts with its first line and ends with "\n".
std::string readableText(std::string_view utf8);
// The same, with byte offsets of utf8 (ascending) moved to where the text
// from each on begins in the result: within a kept line, where its character
// lands (or the line's kept end); else the start of the next kept line, or
// the end.
std::string readableText(std::string_view utf8, std::vector<size_t>& offsets);

// A plain text file's bytes as UTF-8, decoded by their byte-order mark, else
// as UTF-8 when they are, else in the locale's encoding; then with line ends
// made "\n" and control characters other than tab and form feed dropped.
std::string readablePlainText(const std::string& bytes);

}  // namespace quillet::readable
