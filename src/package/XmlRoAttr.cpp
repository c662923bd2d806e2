#include "package/XmlRoAttr.h"

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
    T value {};
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

int XmlRoAttrValue::toInt() const { notImplemented(); }
unsigned char XmlRoAttrValue::toUInt8() const { notImplemented(); }
short XmlRoAttrValue::toInt16() const { notImplemented(); }
bool XmlRoAttrValue::toBool() const { notImplemented(); }
float XmlRoAttrValue::toFloat() const { notImplemented(); }
double XmlRoAttrValue::toDouble() const { notImplemented(); }
long XmlRoAttrValue::toLong() const { notImplemented(); }
double XmlRoAttrValue::toPercent() const { notImplemented(); }
const XmlRoAttrValue* XmlRoAttrValue::findIf(int, bool) const { notImplemented(); }
const XmlRoAttrValue* XmlRoAttrValue::find(int) const { notImplemented(); }
const XmlRoAttrValue* XmlRoAttrValue::at(int) const { notImplemented(); }
int XmlRoAttrValue::tokenAt(int) const { notImplemented(); }
int XmlRoAttrValue::poolSize() const { notImplemented(); }
int XmlRoAttrValue::token() const { notImplemented(); }

int XmlRoAttrLeaf::toInt() const
{
    return streamed<int>(value_);
}

unsigned char XmlRoAttrLeaf::toUInt8() const
{
    if (value_.size() >= 3)
        return static_cast<unsigned char>(toInt16());
    return static_cast<unsigned char>(streamed<char>(value_));
}

short XmlRoAttrLeaf::toInt16() const
{
    if (value_.size() >= 5)
        return static_cast<short>(toInt());
    return streamed<short>(value_);
}

bool XmlRoAttrLeaf::toBool() const
{
    return value_ == "1" || equalsIgnoringCase(value_, "true") || equalsIgnoringCase(value_, "on");
}

float XmlRoAttrLeaf::toFloat() const
{
    return streamed<float>(value_);
}

double XmlRoAttrLeaf::toDouble() const
{
    return streamed<double>(value_);
}

long XmlRoAttrLeaf::toLong() const
{
    return streamed<long>(value_);
}

double XmlRoAttrLeaf::toPercent() const
{
    return streamed<double>(value_) / 100.0;
}

XmlRoAttrList::XmlRoAttrList()
{
    pool_.reserve(kInitialPool);
    for (int i = 0; i < kInitialPool; ++i)
        pool_.push_back(std::make_unique<XmlRoAttrLeaf>());
}

void XmlRoAttrList::toString(std::string& out) const
{
    out = "XmlRoAttrList(" + std::to_string(count_) + ")";
}

const XmlRoAttrValue* XmlRoAttrList::findIf(int token, bool enabled) const
{
    return enabled ? find(token) : nullptr;
}

const XmlRoAttrValue* XmlRoAttrList::find(int token) const
{
    for (int i = 0; i < count_; ++i) {
        if (pool_[static_cast<size_t>(i)]->token() == token)
            return pool_[static_cast<size_t>(i)].get();
    }
    return nullptr;
}

const XmlRoAttrValue* XmlRoAttrList::at(int index) const
{
    if (index < 0 || index >= poolSize())
        throw std::out_of_range("XmlRoAttrList::at");
    return pool_[static_cast<size_t>(index)].get();
}

int XmlRoAttrList::tokenAt(int index) const
{
    return at(index)->token();
}

void XmlRoAttrList::add(int token, const std::string& value)
{
    append(token).valueBuffer() = value;
}

XmlRoAttrLeaf& XmlRoAttrList::append(int token)
{
    if (count_ == poolSize()) {
        const size_t grown = pool_.size() * 2;
        while (pool_.size() < grown)
            pool_.push_back(std::make_unique<XmlRoAttrLeaf>());
    }
    XmlRoAttrLeaf& leaf = *pool_[static_cast<size_t>(count_)];
    leaf.set(token);
    ++count_;
    return leaf;
}

std::string XmlRoAttrList::text(int token) const
{
    std::string value;
    if (const XmlRoAttrValue* found = find(token))
        found->toString(value);
    return value;
}

}  // namespace quillet
