#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quillet {

class ByteSource;

// Receives the pieces the scanner cuts: tags (buffer[tagBegin] is "<",
// buffer[tagEnd] is ">") and text runs (both ends inclusive). length is the
// number of valid bytes in buffer; buffer[length] is a zero byte.
class XmlEventReceiver {
public:
    virtual ~XmlEventReceiver() = default;
    virtual void acceptTag(const char* buffer, size_t length, size_t tagBegin, size_t tagEnd) = 0;
    virtual void acceptText(const char* buffer, size_t length, size_t textBegin, size_t textEnd,
                            bool decodeEntities) = 0;
};

// Cuts the bytes of one XML part into tags and text runs. Comments,
// processing instructions and document-type declarations are dropped; CDATA
// content is delivered as text without entity decoding. Every piece is
// delivered whole, however the reads split it; a piece longer than
// kPieceLimit bytes, a zero byte (UTF-16 parts), or a read error ends the part.
class XmlTagScanner {
public:
    explicit XmlTagScanner(XmlEventReceiver& accepter) : accepter_(accepter) {}
    XmlTagScanner(const XmlTagScanner&) = delete;
    XmlTagScanner& operator=(const XmlTagScanner&) = delete;

    void scan(ByteSource& source);

    static constexpr size_t kInitialCapacity = 8192;
    static constexpr size_t kPieceLimit = 0x100000;

private:
    // Delivers every complete piece; leaves cursor_ at the end of the data.
    void scanPieces();
    // Returns false while the markup declaration at tokenStart_ is incomplete.
    bool scanMarkup();
    bool scanDoctype();
    bool scanTag();
    // Keeps the unfinished piece at the start of the buffer, growing it up to
    // kPieceLimit when the piece fills more than half.
    void compact();

    XmlEventReceiver& accepter_;
    std::vector<char> buffer_;
    size_t capacity_ = 0;
    size_t dataLength_ = 0;
    size_t tokenStart_ = 0;
    size_t cursor_ = 0;
    bool inSingleQuote_ = false;
    bool inDoubleQuote_ = false;
    // How far the document type declaration at tokenStart_ has been read,
    // so that more bytes continue the scan instead of repeating it.
    struct DoctypeScan {
        size_t offset = 2;  // from tokenStart_
        size_t commentFrom = 0;
        int depth = 0;
        char quote = 0;
        bool inComment = false;
    } doctype_;
};

}  // namespace quillet
