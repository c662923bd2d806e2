#include "rtf/RtfKeywords.h"

#include <string>
#include <unordered_map>
#include <utility>

namespace quillet {
namespace {

constexpr std::pair<const char*, int> kKeywords[] = {
    {"b", 1},
    {"bin", 2},
    {"blue", 3},
    {"brdrnone", 4},
    {"bullet", 5},
    {"caps", 6},
    {"cb", 7},
    {"cell", 8},
    {"cellx", 9},
    {"cf", 10},
    {"clbrdrb", 11},
    {"clbrdrl", 12},
    {"clbrdrr", 13},
    {"clbrdrt", 14},
    {"clvertalb", 15},
    {"clvertalc", 16},
    {"clvertalt", 17},
    {"clvmgf", 18},
    {"clvmrg", 19},
    {"colortbl", 20},
    {"dn", 21},
    {"emdash", 22},
    {"emspace", 23},
    {"endash", 24},
    {"enspace", 25},
    {"filetbl", 27},
    {"f", 28},
    {"fprq", 29},
    {"fcharset", 30},
    {"fnil", 31},
    {"froman", 32},
    {"fswiss", 33},
    {"fmodern", 34},
    {"fscript", 35},
    {"fdecor", 36},
    {"ftech", 37},
    {"fbidi", 38},
    {"fonttbl", 39},
    {"footer", 40},
    {"footerf", 41},
    {"fs", 42},
    {"green", 43},
    {"header", 44},
    {"headerf", 45},
    {"highlight", 46},
    {"i", 47},
    {"info", 48},
    {"intbl", 49},
    {"ldblquote", 50},
    {"li", 51},
    {"line", 52},
    {"lquote", 53},
    {"margl", 54},
    {"object", 55},
    {"paperw", 56},
    {"par", 57},
    {"pard", 58},
    {"pict", 59},
    {"plain", 60},
    {"qc", 61},
    {"qj", 62},
    {"ql", 63},
    {"qr", 65},
    {"rdblquote", 66},
    {"red", 67},
    {"ri", 68},
    {"row", 69},
    {"rquote", 70},
    {"sa", 71},
    {"sb", 72},
    {"sect", 73},
    {"softline", 74},
    {"stylesheet", 75},
    {"sub", 76},
    {"super", 77},
    {"tab", 78},
    {"title", 79},
    {"trleft", 80},
    {"trowd", 81},
    {"trrh", 82},
    {"ul", 83},
    {"ulnone", 84},
    {"up", 85},
    {"u", 86},
    {"listtable", 87},
    {"uc", 88},
    {"ud", 89},
    {"ansicpg", 90},
    {"emfblip", 91},
    {"pngblip", 92},
    {"jpegblip", 93},
    {"macpict", 94},
    {"pmmetafile", 95},
    {"wmetafile", 96},
    {"dibitmap", 97},
    {"wbitmap", 98},
    {"fchars", 99},
    {"lchars", 100},
    {"shp", 101},
    {"shpinst", 102},
    {"shpgrp", 103},
    {"sp", 104},
    {"sv", 105},
    {"sn", 106},
    {"xmlnstbl", 107},
    {"xmlns", 107},
    {"datastore", 113},
    {"themedata", 114},
    {"pnseclvl", 115},
    {"wgrffmtfilter", 116},
    {"colorschememapping", 117},
    {"field", 118},
    {"fldinst", 119},
    {"fldrslt", 120},
    {"bkmkstart", 121},
    {"bkmkend", 122},
    {"template", 123},
    {"generator", 124},
    {"mailmerge", 125},
    {"headerl", 126},
    {"headerr", 127},
    {"footerl", 128},
    {"footerr", 129},
    {"deff", 130},
};

const std::unordered_map<std::string_view, int>& table()
{
    static const std::unordered_map<std::string_view, int> built(std::begin(kKeywords), std::end(kKeywords));
    return built;
}

}  // namespace

int rtfKeywordId(std::string_view name)
{
    const auto& keywords = table();
    const auto found = keywords.find(name);
    return found == keywords.end() ? 0 : found->second;
}

size_t rtfKeywordCount()
{
    return table().size();
}

}  // namespace quillet
