// The number-format engine against LibreOffice's "as shown" rendering of the
// same codes, and the cases where Excel's rendering is the rule.
#include "numberformat/NumberFormat.h"
#include "numberformat/CellFormats.h"
#include "numberformat/DecimalDigits.h"
#include "numberformat/SerialDateTime.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <sstream>

using namespace quillet;

namespace {

std::string shown(std::string_view code, double value, bool date1904 = false)
{
    std::string out;
    NumberFormat(code).format(value, date1904, out);
    return out;
}

// A TAB-separated line of LibreOffice's CSV export, quotes undone.
std::vector<std::string> csvFields(const std::string& line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"')
            fields.back() += line[++i];
        else if (c == '"')
            quoted = !quoted;
        else if (c == '\t' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

}  // namespace

// formats.fods holds a code, a number shown by it and the number as text on
// each row; formats.csv is LibreOffice's export of it with "as shown" on.
TEST(NumberFormat, ShowsWhatLibreOfficeShows)
{
    // Where Excel shows otherwise, Excel is followed.
    const std::map<std::pair<std::string, std::string>, std::string> excel = {
        {{"General", "1E+20"}, "1E+20"},  // two exponent digits
        {{"#.##", "3"}, "3."},            // the point stays
        {{"mmmmm", "39045"}, "N"},        // the month's initial
    };
    std::istringstream lines(quillet::test::readFile(std::string(QUILLET_TEST_DATA) + "/numberformat/formats.csv"));
    std::string line;
    int rows = 0;
    while (std::getline(lines, line)) {
        const std::vector<std::string> f = csvFields(line);
        ASSERT_EQ(f.size(), 3u) << line;
        const auto own = excel.find({f[0], f[2]});
        EXPECT_EQ(shown(f[0], std::strtod(f[2].c_str(), nullptr)), own == excel.end() ? f[1] : own->second)
            << f[0] << " " << f[2];
        ++rows;
    }
    EXPECT_GE(rows, 70);
}

TEST(NumberFormat, EdgeCases)
{
    const struct {
        const char* code;
        double value;
        const char* expected;
    } cases[] = {
        // The 1900 system's invented leap day, day 0, and days before 1900 counted back from 1899-12-30.
        {"yyyy-mm-dd", 60, "1900-02-29"},
        {"yyyy-mm-dd", 59, "1900-02-28"},
        {"yyyy-mm-dd", 61, "1900-03-01"},
        {"yyyy-mm-dd", 0, "1900-01-00"},
        {"yyyy-mm-dd", -1, "1899-12-29"},
        {"dddd d", 1, "Sunday 1"},
        {"dddd", 61, "Thursday"},
        {"yyyy-mm-dd", 1e7, "10000000"},
        // Half away from zero at each precision, on the decimal digits shown.
        {"0", 0.5, "1"},
        {"0.0", 0.05, "0.1"},
        {"0.00", 2.675, "2.68"},
        {"0.000", -1.0005, "-1.001"},
        {"0.00000000000000", 0.1, "0.10000000000000"},
        {"#,##0", 999.5, "1,000"},
        {"0.0E+00", 9.96, "1.0E+01"},
        // Control characters of a damaged code show nothing.
        {"0\x01\" kg\"\x1f", 5, "5 kg"},
        // General: whole numbers up to fifteen digits in full; others eleven significant digits,
        // scientific outside 1E-9 .. 1E+11.
        {"General", 3.14159265358979, "3.1415926536"},
        {"General", 123456789012345, "123456789012345"},
        {"General", -1e15, "-1E+15"},
        {"General", 123456789012.5, "1.2345678901E+11"},
        {"General", 99999999999.7, "1E+11"},
        {"General", 1e-10, "1E-10"},
        {"General", 1e-9, "0.000000001"},
        {"General", -0.0, "0"},
        {"General", std::nan(""), "#NUM!"},
        {"0.00", std::numeric_limits<double>::infinity(), "#DIV/0!"},
        // Sections: an empty one shows nothing; conditions pick; a fourth is for text.
        {"0;;", 0, ""},
        {"0;(0);\"zero\";@", -4, "(4)"},
        {"[>=1000]#,##0,\"K\";0", 25000, "25K"},
        {"[>=1000]#,##0,\"K\";0", 999, "999"},
        {"[<0]\"minus\";[>0]\"plus\";\"none\"", 0, "none"},
        {"[<=-1]0;0", -5, "5"},
        // Codes cut short or odd: their text as written; nothing at all is General.
        {"0\"unclosed", 7, "7unclosed"},
        {"[Blue", 7, "7"},
        {"\\", 7, "7"},
        {"_", 7, "7"},
        {"0.00;", -1.5, ""},
        {"# ?/?", 0, "0    "},
        // Places past the thirtieth are dropped, so here the bar ends the section.
        {".0000000000000000000000000000000/0", 1.5, ".000000000000000000000000000000/1"},
        {"# ?/10", 0.75, " 8/10"},
        {"0 ?/? \"in\"", 1.5, "1 1/2 in"},
        {"[h]:mm", -1.5, "-36:00"},
        {"hh:mm a/p", 0.75, "06:00 p"},
        {"ss.000", 1.5 / 86400, "01.500"},
        {"General\" kg\"", 2.5, "2.5 kg"},
        // Signs, zeros and magnitudes at the edges of each kind of section.
        {"0.00E+00", 0, "0.00E+00"},
        {"0.00E+00", -0.00012345, "-1.23E-04"},
        {"0000.0", -3.25, "-0003.3"},
        {"\"x\"0\"y\"", -2, "-x2y"},
        {"0.0", -0.04, "0.0"},
        {"#,##0.00", 1e20, "100,000,000,000,000,000,000.00"},
        {"# ?/?", 1e16, "1E+16"},
        {"[=1]\"one\";[=2]\"two\";\"many\"", 3, "many"},
        {"[mm]:ss", 1.0 / 24, "60:00"},
        {"[ss]", 0.5, "43200"},
        {"am/pm h", 0.25, "am 6"},
        {"h:mm:ss", 0.999999999, "0:00:00"},
        {"dddd", -1, "Friday"},
        {"yyyy-mm-dd", 2958465.99, "9999-12-31"},
        {"yyyy-mm-dd", 2958466.5, "2958466.5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shown(c.code, c.value), c.expected) << c.code << " " << c.value;

    // The 1904 system starts at 1904-01-01.
    EXPECT_EQ(shown("yyyy-mm-dd ddd", 0, true), "1904-01-01 Fri");
    EXPECT_EQ(shown("yyyy-mm-dd", 37583, true), "2006-11-24");
}

TEST(NumberFormat, IsoDatesAsSerials)
{
    const std::pair<const char*, double> valid[] = {
        {"2006-11-24", 39045},
        {"1900-01-01", 1},
        {"1900-03-01", 61},
        {"2006-11-24T06:15:00.5", 39045 + 22500.5 / 86400},
        {"06:15", 22500.0 / 86400},
        {"2006-11-24Z", 39045},
        {"2006-11-24T18:00:00+02:00", 39045.75},
    };
    for (const auto& [text, serial] : valid) {
        double value = -1;
        EXPECT_TRUE(serialFromIsoDate(text, false, value)) << text;
        EXPECT_NEAR(value, serial, 1e-9) << text;
    }
    double value = 0;
    EXPECT_TRUE(serialFromIsoDate("1904-01-02", true, value));
    EXPECT_EQ(value, 1);
    for (const char* text : {"2006-13-01", "2020-02-30", "2006-11-24T25", "T06:15:00", "24.11.2006", "", "2006-11-2"})
        EXPECT_FALSE(serialFromIsoDate(text, false, value)) << text;
}

TEST(NumberFormat, WorkbookTablesOfFormatsAndStyles)
{
    CellFormats formats;
    formats.addStyle(0);
    formats.addStyle(14);
    formats.addStyle(164);
    formats.addStyle(200);  // an id with no code anywhere
    formats.addFormat(164, "0.0\"%\"");
    std::string out;
    for (size_t style : {0, 1, 2, 3, 9})
        (formats.format(style, 39045.25, out), out += '|');
    EXPECT_EQ(out, "39045.25|11/24/2006|39045.3%|39045.25|39045.25|");
    EXPECT_TRUE(formats.isDateTime(1));
    EXPECT_FALSE(formats.isDateTime(2));
    // A code given again replaces the first; the date system applies to every date.
    formats.addFormat(164, "yyyy");
    formats.setDate1904(true);
    out.clear();
    formats.format(2, 0, out);
    EXPECT_EQ(out, "1904");
    // Long codes are cut, and what they show stays within their size.
    formats.addFormat(164, std::string(100000, '0'));
    out.clear();
    formats.format(2, 1e300, out);
    EXPECT_LT(out.size(), 2000u);
}

// Whole-number scaling must give exactly the digits of a correctly rounded
// "%.14e", which is the oracle here, for decimals as cells hold them and for
// doubles of any bits.
TEST(DecimalDigits, ScaledValuesGiveTheDigitsOfFifteenSignificant)
{
    const auto oracle = [](double value) {
        char text[32];
        *std::to_chars(text, text + sizeof text - 1, value, std::chars_format::scientific, 14).ptr = '\0';
        std::string digits = text[0] + std::string(text + 2, 14);
        digits.resize(digits.find_last_not_of('0') + 1);
        return std::make_pair(digits, std::atoi(text + 17) + 1);
    };
    std::vector<double> values = {0.1,
                                  0.1 + 0.2,
                                  0.5,
                                  0.001,
                                  1e-8,
                                  1.5e-9,
                                  12345.25,
                                  999999999999999.0,
                                  1e15,
                                  99999999.999999999,
                                  123456789012345.6,
                                  0.30000000000000004,
                                  2.675,
                                  1.005};
    uint64_t state = 88172645463325252ull;
    const auto next = [&state] {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        return state;
    };
    for (int i = 0; i < 200000; ++i) {
        const int power = int(next() % 12);
        values.push_back(double(next() % 1000000000000000ull) / std::pow(10.0, power));
        double bits;
        const uint64_t raw = next() >> 2;  // positive, finite
        std::memcpy(&bits, &raw, sizeof bits);
        values.push_back(bits);
    }
    for (const double value : values) {
        if (!(value > 0))
            continue;
        const DecimalDigits digits(value);
        ASSERT_EQ(std::make_pair(digits.digits(), digits.point()), oracle(value)) << std::hexfloat << value;
    }
}
