#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quillet::test {

// Writes small PDF files in code: text pages in a standard font (WinAnsi,
// so Latin-1 accents), CJK pages through an Identity-H font with a ToUnicode
// map, picture pages, raw content, and an unknown security handler.
class PdfBuilder {
public:
    // Lines in Latin-1 bytes, one text line each.
    PdfBuilder& textPage(const std::vector<std::string>& lines);
    // BMP characters, shown as one line.
    PdfBuilder& cjkPage(const std::u16string& line);
    // Distinct RGB pictures of these sizes, drawn in this order.
    PdfBuilder& picturePage(const std::vector<std::pair<int, int>>& sizes);
    // One 2 x 2 picture drawn `times` times.
    PdfBuilder& repeatedPicturePage(int times);
    // A picture whose declared size is width x height but whose data is one
    // row: the engine must refuse it before decoding.
    PdfBuilder& hugePicturePage(int width, int height);
    // A 16 x 8 stencil mask, its left half painted in red.
    PdfBuilder& stencilPage();
    // The same stencil drawn in red, then in blue.
    PdfBuilder& twoColourStencilPage();
    // A 16 x 8 blue picture whose 8 x 4 soft mask hides its right half.
    PdfBuilder& softMaskPage();
    PdfBuilder& rawPage(const std::string& content);
    // A page that draws `times` times a form of 1000 forms of 1000 "q Q"
    // pairs (a million operators a draw, in a few kilobytes), then the word
    // late.
    PdfBuilder& slowPage(int times);
    PdfBuilder& unknownSecurityHandler();
    // The page tree's /Count, whatever pages it holds.
    PdfBuilder& declaredPageCount(const std::string& count);

    std::string build() const;

private:
    struct Picture {
        int width, height;
        std::string data;
        std::string dictionary;
        std::string maskData;  // 8 x 4 grey soft mask when set
    };
    struct Page {
        std::string content;
        std::vector<Picture> pictures;
        bool slowForms = false;
    };
    PdfBuilder& onePicturePage(Picture picture, const std::string& content);
    // A 16 x 8 stencil mask whose left half paints.
    static Picture halfStencil();

    std::vector<Page> pages_;
    std::u16string cjkCharacters_;
    bool unknownHandler_ = false;
    std::string declaredCount_;
};

}  // namespace quillet::test
