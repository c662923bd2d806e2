#include "package/xml/AttributeList.h"

#include "platform/Ascii.h"

#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace quillet {
namespace {

constexpr int kInitialPool = 16;

[[noreturn]] void notImplemented()
{
    throw std::runtime_error("Not implemented");
}

template <typename T>
T streamed(const std::string& text)
{
    std::istringstream in(text);
    T value{};
    in >> value;
    return value;
}

bool equalsIgnoringCase(const std::string& text, const char* word)
{
    size_t i = 0;
    for (; word[i] != '\0'; ++i) {
        if (i >= text.size())
            return false;
        if (asciiLower(text[i]) != word[i])
            return false;
    }
    return i == text.size();
}

}  // namespace

int AttributeValue::toInt() const
{
    notImplemented();
}
unsigned char AttributeValue::toUInt8() const
{
    notImplemented();
}
short AttributeValue::toInt16() const
{
    notImplemented();
}
bool AttributeValue::toBool() const
{
    notImplemented();
}
float AttributeValue::toFloat() const
{
    notImplemented();
}
double AttributeValue::toDouble() const
{
    notImplemented();
}
long AttributeValue::toLong() const
{
    notImplemented();
}
double AttributeValue::toPercent() const
{
    notImplemented();
}
const AttributeValue* AttributeValue::findIf(int, bool) const
{
    notImplemented();
}
const AttributeValue* AttributeValue::find(int) const
{
    notImplemented();
}
const AttributeValue* AttributeValue::at(int) const
{
    notImplemented();
}
int AttributeValue::tokenAt(int) const
{
    notImplemented();
}
int AttributeValue::poolSize() const
{
    notImplemented();
}
int AttributeValue::token() const
{
    notImplemented();
}

int Attribute::toInt() const
{
    return streamed<int>(value_);
}

unsigned char Attribute::toUInt8() const
{
    if (value_.size() >= 3)
        return static_cast<unsigned char>(toInt16());
    return static_cast<unsigned char>(streamed<char>(value_));
}

short Attribute::toInt16() const
{
    if (value_.size() >= 5)
        return static_cast<short>(toInt());
    return streamed<short>(value_);
}

bool Attribute::toBool() const
{
    return value_ == "1" || equalsIgnoringCase(value_, "true") || equalsIgnoringCase(value_, "on");
}

float Attribute::toFloat() const
{
    return streamed<float>(value_);
}

double Attribute::toDouble() const
{
    return streamed<double>(value_);
}

long Attribute::toLong() const
{
    return streamed<long>(value_);
}

double Attribute::toPercent() const
{
    return streamed<double>(value_) / 100.0;
}

AttributeList::AttributeList()
{
    pool_.reserve(kInitialPool);
    for (int i = 0; i < kInitialPool; ++i)
        pool_.push_back(std::make_unique<Attribute>());
}

void AttributeList::toString(std::string& out) const
{
    out = "AttributeList(" + std::to_string(count_) + ")";
}

const AttributeValue* AttributeList::findIf(int token, bool enabled) const
{
    return enabled ? find(token) : nullptr;
}

const Attribute* AttributeList::leafOf(int token) const
{
    for (int i = 0; i < count_; ++i) {
        if (pool_[static_cast<size_t>(i)]->token() == token)
            return pool_[static_cast<size_t>(i)].get();
    }
    return nullptr;
}

const AttributeValue* AttributeList::find(int token) const
{
    return leafOf(token);
}

const AttributeValue* AttributeList::at(int index) const
{
    if (index < 0 || index >= poolSize())
        throw std::out_of_range("AttributeList::at");
    return pool_[static_cast<size_t>(index)].get();
}

int AttributeList::tokenAt(int index) const
{
    return at(index)->token();
}

void AttributeList::add(int token, const std::string& value)
{
    append(token).valueBuffer() = value;
}

Attribute& AttributeList::append(int token)
{
    if (count_ == poolSize()) {
        const size_t grown = pool_.size() * 2;
        while (pool_.size() < grown)
            pool_.push_back(std::make_unique<Attribute>());
    }
    Attribute& leaf = *pool_[static_cast<size_t>(count_)];
    leaf.set(token);
    ++count_;
    return leaf;
}

const std::string* AttributeList::valueOf(int token) const
{
    const Attribute* leaf = leafOf(token);
    return leaf != nullptr ? &leaf->value() : nullptr;
}

std::string AttributeList::text(int token) const
{
    const std::string* value = valueOf(token);
    return value != nullptr ? *value : std::string();
}

}  // namespace quillet
