#include "numberformat/CellFormats.h"

#include "numberformat/BuiltinFormats.h"
#include "numberformat/FormatParser.h"

namespace quillet {

void CellFormats::addFormat(unsigned id, std::string code)
{
    if (code.size() > FormatParser::kMaxCode)
        code.resize(FormatParser::kMaxCode);
    parsed_.erase(id);
    byStyle_.assign(byStyle_.size(), Resolved());
    codes_[id] = std::move(code);
}

const NumberFormat* CellFormats::formatOfStyle(size_t style)
{
    if (style >= byStyle_.size())
        return parsedFormatOfStyle(style);
    Resolved& slot = byStyle_[style];
    if (!slot.known)
        slot = {parsedFormatOfStyle(style), true};
    return slot.format;
}

const NumberFormat* CellFormats::parsedFormatOfStyle(size_t style)
{
    const unsigned id = style < styles_.size() ? styles_[style] : 0;
    const auto parsed = parsed_.find(id);
    if (parsed != parsed_.end())
        return parsed->second.get();
    const auto own = codes_.find(id);
    std::string_view code = own != codes_.end() ? std::string_view(own->second) : builtinFormatCode(id);
    // Ids without a code of their own or of Excel's show General.
    if (own == codes_.end() && id >= 50)
        code = builtinFormatCode(0);
    if (code == "General" || code == "GENERAL" || code == "general")
        return parsed_.emplace(id, nullptr).first->second.get();
    return parsed_.emplace(id, std::make_unique<NumberFormat>(code)).first->second.get();
}

void CellFormats::format(size_t style, double value, std::string& out)
{
    if (const NumberFormat* f = formatOfStyle(style))
        f->format(value, date1904_, out);
    else
        appendGeneralNumber(value, out);
}

bool CellFormats::isDateTime(size_t style)
{
    const NumberFormat* f = formatOfStyle(style);
    return f != nullptr && f->isDateTime();
}

}  // namespace quillet
