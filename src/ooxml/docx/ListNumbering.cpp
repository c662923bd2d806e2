#include "ooxml/docx/ListNumbering.h"

#include "package/opc/OpcPackage.h"
#include "package/opc/PackagePart.h"
#include "package/opc/XmlPart.h"
#include "package/xml/AttributeList.h"
#include "package/xml/NameTokens.h"
#include "package/xml/OneChildHandler.h"
#include "package/zip/ZipArchive.h"

#include <climits>
#include <cstdlib>
#include <utility>

namespace quillet {
namespace {

namespace w = token::w;
using Level = ListNumbering::Level;

// Numbering parts larger than this are not read, as main parts are not.
constexpr int64_t kMaxNumberingBytes = 52428800;
// Lists and definitions kept; a part may declare any number.
constexpr size_t kMaxLists = 16384;

// A handler of the numbering part. Each knows the list being read, the level
// array its w:lvl elements fill, and the level being read.
class NumberingNode : public DefaultElementHandler {
public:
    NumberingNode(ListNumbering* numbering, ListNumbering::Instance* instance,
                  std::array<Level, ListNumbering::kLevels>* levels, Level* level) noexcept
        : numbering_(numbering), instance_(instance), levels_(levels), level_(level)
    {
    }
    // Most of what is read here are the attributes of empty children.
    bool declinesAttributes() const override { return false; }

    template <typename Handler>
    ElementHandler* child()
    {
        return adoptChild<Handler>(numbering_, instance_, levels_, level_);
    }

protected:
    ListNumbering* numbering_;
    ListNumbering::Instance* instance_;
    std::array<Level, ListNumbering::kLevels>* levels_;
    Level* level_;
};

int intValue(const AttributeList& attributes, int token, int otherwise)
{
    const AttributeValue* value = attributes.find(token);
    if (value == nullptr)
        return otherwise;
    std::string text;
    value->toString(text);
    return listNumberValue(text, otherwise);
}

std::string textValue(const AttributeList& attributes, int token)
{
    std::string text;
    if (const AttributeValue* value = attributes.find(token))
        value->toString(text);
    return text;
}

// The empty children of w:lvl, and w:startOverride.
class LevelPropertyHandler : public NumberingNode {
public:
    using NumberingNode::NumberingNode;
    void startElement(int token, const AttributeList& attributes) override
    {
        if (level_ == nullptr)
            return;
        switch (token) {
        case w::start:
            level_->start = intValue(attributes, w::val, 0);
            break;
        case w::numFmt:
            level_->format = textValue(attributes, w::val);
            break;
        case w::lvlText:
            level_->text = textValue(attributes, w::val);
            break;
        case w::lvlRestart:
            level_->restart = intValue(attributes, w::val, -1);
            break;
        case w::isLgl: {
            const AttributeValue* value = attributes.find(w::val);
            level_->legal = value == nullptr || value->toBool();
            break;
        }
        default:
            break;
        }
    }
};

class LevelHandler : public NumberingNode {
public:
    using NumberingNode::NumberingNode;
    void startElement(int, const AttributeList& attributes) override
    {
        const int index = intValue(attributes, w::ilvl, -1);
        level_ = nullptr;
        if (levels_ == nullptr || index < 0 || index >= ListNumbering::kLevels)
            return;
        level_ = &(*levels_)[size_t(index)];
        *level_ = Level();
        level_->defined = true;
    }
    ElementHandler* getChildHandler(int token) override
    {
        switch (token) {
        case w::start:
        case w::numFmt:
        case w::lvlText:
        case w::lvlRestart:
        case w::isLgl:
            return child<LevelPropertyHandler>();
        default:
            return nullptr;
        }
    }
};

class DefinitionHandler : public OneChildHandler<NumberingNode, w::lvl, LevelHandler> {
public:
    using OneChildHandler::OneChildHandler;
    void startElement(int, const AttributeList& attributes) override
    {
        auto& definitions = numbering_->definitions;
        const int id = intValue(attributes, w::abstractNumId, -1);
        levels_ = nullptr;
        if (definitions.size() < kMaxLists || definitions.count(id) != 0)
            levels_ = &definitions[id].levels;
    }
};

class StartOverrideHandler : public NumberingNode {
public:
    using NumberingNode::NumberingNode;
    void startElement(int, const AttributeList& attributes) override
    {
        if (instance_ == nullptr || level_ == nullptr)
            return;
        const size_t index = size_t(level_ - instance_->overrides.data());
        instance_->startOverridden[index] = true;
        instance_->overridesAny = true;
        instance_->startValues[index] = intValue(attributes, w::val, 0);
    }
};

class LevelOverrideHandler : public NumberingNode {
public:
    using NumberingNode::NumberingNode;
    void startElement(int, const AttributeList& attributes) override
    {
        const int index = intValue(attributes, w::ilvl, -1);
        level_ = nullptr;
        if (instance_ != nullptr && index >= 0 && index < ListNumbering::kLevels)
            level_ = &instance_->overrides[size_t(index)];
    }
    ElementHandler* getChildHandler(int token) override
    {
        if (level_ == nullptr)
            return nullptr;
        if (token == w::startOverride)
            return child<StartOverrideHandler>();
        if (token != w::lvl)
            return nullptr;
        instance_->overridesAny = true;
        return child<LevelHandler>();
    }
};

class DefinitionRefHandler : public NumberingNode {
public:
    using NumberingNode::NumberingNode;
    void startElement(int, const AttributeList& attributes) override
    {
        if (instance_ != nullptr)
            instance_->definition = intValue(attributes, w::val, -1);
    }
};

class InstanceHandler : public NumberingNode {
public:
    using NumberingNode::NumberingNode;
    void startElement(int, const AttributeList& attributes) override
    {
        auto& instances = numbering_->instances;
        const int id = intValue(attributes, w::numId, -1);
        instance_ = nullptr;
        if (instances.size() < kMaxLists || instances.count(id) != 0) {
            instance_ = &instances[id];
            *instance_ = ListNumbering::Instance();
            levels_ = &instance_->overrides;
        }
    }
    ElementHandler* getChildHandler(int token) override
    {
        if (instance_ == nullptr)
            return nullptr;
        if (token == w::abstractNumId)
            return child<DefinitionRefHandler>();
        return token == w::lvlOverride ? child<LevelOverrideHandler>() : nullptr;
    }
};

class NumberingRootHandler : public NumberingNode {
public:
    using NumberingNode::NumberingNode;
    ElementHandler* getChildHandler(int token) override
    {
        if (token == w::abstractNum)
            return child<DefinitionHandler>();
        return token == w::num ? child<InstanceHandler>() : nullptr;
    }
};

// Symbol-font bullets are private-use characters, shown as a bullet.
std::string bulletText(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        const std::string one = text.substr(i, length);
        // U+F000..U+F0FF: EF 80 80 .. EF 83 BF.
        const bool symbol = one.size() == 3 && lead == 0xEF && static_cast<unsigned char>(one[1]) >= 0x80 &&
                            static_cast<unsigned char>(one[1]) <= 0x83;
        out += symbol ? "\xE2\x80\xA2" : one;
        i += length;
    }
    return out;
}

std::string roman(int value, bool upper)
{
    static const struct {
        int value;
        const char* upper;
        const char* lower;
    } digits[] = {{1000, "M", "m"}, {900, "CM", "cm"}, {500, "D", "d"},  {400, "CD", "cd"}, {100, "C", "c"},
                  {90, "XC", "xc"}, {50, "L", "l"},    {40, "XL", "xl"}, {10, "X", "x"},    {9, "IX", "ix"},
                  {5, "V", "v"},    {4, "IV", "iv"},   {1, "I", "i"}};
    std::string out;
    for (const auto& digit : digits) {
        for (; value >= digit.value; value -= digit.value)
            out += upper ? digit.upper : digit.lower;
    }
    return out;
}

}  // namespace

int listNumberValue(const std::string& text, int otherwise)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    const long value = std::strtol(begin, &end, 10);
    if (end == begin)
        return otherwise;
    return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : int(value);
}

std::string formatListNumber(int value, const std::string& format)
{
    if (format == "none")
        return std::string();
    const bool upperLetter = format == "upperLetter";
    // Word repeats the letter after Z (AA, BB, ...) up to 780.
    if ((upperLetter || format == "lowerLetter") && value >= 1 && value <= 780)
        return std::string(size_t((value - 1) / 26 + 1), char((upperLetter ? 'A' : 'a') + (value - 1) % 26));
    const bool upperRoman = format == "upperRoman";
    if ((upperRoman || format == "lowerRoman") && value >= 1 && value < 4000)
        return roman(value, upperRoman);
    if (format == "decimalZero" && value >= 0 && value < 10)
        return "0" + std::to_string(value);
    return std::to_string(value);
}

ListNumbering::ListNumbering(const ZipArchive& archive, std::string mainPath)
    : archivePath_(archive.path()), mainPath_(std::move(mainPath))
{
}

void ListNumbering::load()
{
    loaded_ = true;
    ZipArchive archive(archivePath_);
    PackagePart main(&archive, mainPath_);
    PackagePart* part = firstTargetOfType(main.relationships(), relationship_type::Numbering);
    if (part == nullptr || part->size() < 0 || part->size() >= kMaxNumberingBytes)
        return;
    NumberingRootHandler root(this, nullptr, nullptr, nullptr);
    parseXmlPart(&archive, part->path(), &root, Vocabulary::WordProcessing);
}

const ListNumbering::Level& ListNumbering::levelOf(const Instance& instance, const Definition& definition,
                                                   int level) const
{
    const size_t at = size_t(level);
    return instance.overrides[at].defined ? instance.overrides[at] : definition.levels[at];
}

int ListNumbering::startOf(const Instance& instance, const Definition& definition, int level) const
{
    const size_t at = size_t(level);
    if (!instance.overrides[at].defined && instance.startOverridden[at])
        return instance.startValues[at];
    return levelOf(instance, definition, level).start;
}

std::string ListNumbering::nextLabel(int numId, int level)
{
    if (!loaded_)
        load();
    const auto instance = instances.find(numId);
    if (instance == instances.end() || level < 0 || level >= kLevels)
        return std::string();
    const auto definition = definitions.find(instance->second.definition);
    if (definition == definitions.end())
        return std::string();
    const Level& current = levelOf(instance->second, definition->second, level);
    if (!current.defined)
        return std::string();

    const int64_t key = instance->second.overridesAny ? (int64_t(1) << 32) + numId : int64_t(definition->first);
    Counters& counters = counters_[key];
    const size_t at = size_t(level);
    if (!counters.started[at]) {
        counters.value[at] = startOf(instance->second, definition->second, level);
        counters.started[at] = true;
    } else if (counters.value[at] < INT_MAX) {
        ++counters.value[at];
    }
    for (int deeper = level + 1; deeper < kLevels; ++deeper) {
        const int restart = levelOf(instance->second, definition->second, deeper).restart;
        if (restart < 0 || (restart > 0 && level < restart))
            counters.started[size_t(deeper)] = false;
    }

    if (current.format == "bullet")
        return bulletText(current.text);
    std::string label;
    for (size_t i = 0; i < current.text.size(); ++i) {
        const char c = current.text[i];
        if (c != '%' || i + 1 >= current.text.size() || current.text[i + 1] < '1' || current.text[i + 1] > '9') {
            label += c;
            continue;
        }
        const int shown = current.text[++i] - '1';
        const int value = counters.started[size_t(shown)] ? counters.value[size_t(shown)]
                                                          : startOf(instance->second, definition->second, shown);
        label += formatListNumber(value, current.legal ? "decimal"
                                                       : levelOf(instance->second, definition->second, shown).format);
    }
    return label;
}

}  // namespace quillet
