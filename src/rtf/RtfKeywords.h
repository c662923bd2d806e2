#pragma once

#include <string_view>

namespace quillet {

// Ids of the control words the reader acts on or skips. Words outside the
// table have id 0.
enum RtfKeyword : int {
    kwUnknown = 0,
    kwBin = 2,
    kwBullet = 5,
    kwCell = 8,
    kwColortbl = 20,
    kwEmdash = 22,
    kwEmspace = 23,
    kwEndash = 24,
    kwEnspace = 25,
    kwF = 28,
    kwFcharset = 30,
    kwFiletbl = 27,
    kwFonttbl = 39,
    kwFooter = 40,
    kwFooterf = 41,
    kwHeader = 44,
    kwHeaderf = 45,
    kwInfo = 48,
    kwLdblquote = 50,
    kwLine = 52,
    kwLquote = 53,
    kwObject = 55,
    kwPar = 57,
    kwPict = 59,
    kwPlain = 60,
    kwRdblquote = 66,
    kwRow = 69,
    kwRquote = 70,
    kwSoftline = 74,
    kwStylesheet = 75,
    kwTab = 78,
    kwU = 86,
    kwListtable = 87,
    kwUc = 88,
    kwUd = 89,
    kwAnsicpg = 90,
    kwEmfblip = 91,
    kwPngblip = 92,
    kwJpegblip = 93,
    kwMacpict = 94,
    kwPmmetafile = 95,
    kwWmetafile = 96,
    kwDibitmap = 97,
    kwWbitmap = 98,
    kwFchars = 99,
    kwLchars = 100,
    kwShp = 101,
    kwShpinst = 102,
    kwShpgrp = 103,
    kwSp = 104,
    kwSv = 105,
    kwSn = 106,
    kwXmlns = 107,
    kwDatastore = 113,
    kwThemedata = 114,
    kwPnseclvl = 115,
    kwWgrffmtfilter = 116,
    kwColorschememapping = 117,
    kwFldinst = 119,
    kwBkmkstart = 121,
    kwBkmkend = 122,
    kwTemplate = 123,
    kwGenerator = 124,
    kwMailmerge = 125,
    kwHeaderl = 126,
    kwHeaderr = 127,
    kwFooterl = 128,
    kwFooterr = 129,
    kwDeff = 130,
};

// The id of a control word (case-sensitive), 0 when the table lacks it. The
// table is built once, on first use, and shared read-only by all threads.
int rtfKeywordId(std::string_view name);

// Number of distinct keywords in the table.
size_t rtfKeywordCount();

}  // namespace quillet
