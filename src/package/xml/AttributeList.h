#pragma once

#include <memory>
#include <string>
#include <vector>

namespace quillet {

// A read-only attribute value, or a list of them. Each operation belongs to
// one of the two kinds; called on the other it throws
// std::runtime_error("Not implemented").
class AttributeValue {
public:
    virtual ~AttributeValue() = default;

    virtual void toString(std::string& out) const = 0;
    virtual int toInt() const;
    virtual unsigned char toUInt8() const;
    virtual short toInt16() const;
    virtual bool toBool() const;
    virtual float toFloat() const;
    virtual double toDouble() const;
    virtual long toLong() const;
    // "50%" and "50" both give 0.5.
    virtual double toPercent() const;
    virtual const AttributeValue* findIf(int token, bool enabled) const;
    // The first leaf in use with this token, or null.
    virtual const AttributeValue* find(int token) const;
    // Any leaf of the pool; out of range raises std::out_of_range.
    virtual const AttributeValue* at(int index) const;
    virtual int tokenAt(int index) const;
    virtual int poolSize() const;
    virtual int token() const;
    virtual bool isLeaf() const = 0;
};

// One attribute: its token and its entity-decoded UTF-8 value.
class Attribute : public AttributeValue {
public:
    Attribute() = default;
    Attribute(int token, std::string value) : token_(token), value_(std::move(value)) {}

    void toString(std::string& out) const override { out = value_; }
    int toInt() const override;
    unsigned char toUInt8() const override;
    short toInt16() const override;
    bool toBool() const override;
    float toFloat() const override;
    double toDouble() const override;
    long toLong() const override;
    double toPercent() const override;
    int token() const override { return token_; }
    bool isLeaf() const override { return true; }

    const std::string& value() const { return value_; }
    void set(int token) { token_ = token; }
    std::string& valueBuffer() { return value_; }

private:
    int token_ = -1;
    std::string value_;
};

// The known attributes of one tag. The leaves are reused from tag to tag, so
// parsing a tag allocates nothing once the pool is large enough.
class AttributeList : public AttributeValue {
public:
    AttributeList();

    void toString(std::string& out) const override;
    const AttributeValue* findIf(int token, bool enabled) const override;
    const AttributeValue* find(int token) const override;
    const AttributeValue* at(int index) const override;
    int tokenAt(int index) const override;
    int poolSize() const override { return static_cast<int>(pool_.size()); }
    bool isLeaf() const override { return false; }

    int count() const { return count_; }
    void clear() { count_ = 0; }
    void add(int token, const std::string& value);
    // The next leaf, with its token set; the caller fills its value.
    Attribute& append(int token);

    // A value's text, or "" when the token is absent.
    std::string text(int token) const;
    // The same without a copy: null when the token is absent.
    const std::string* valueOf(int token) const;

private:
    // The first leaf in use with this token, or null.
    const Attribute* leafOf(int token) const;

    std::vector<std::unique_ptr<Attribute>> pool_;
    int count_ = 0;
};

}  // namespace quillet
