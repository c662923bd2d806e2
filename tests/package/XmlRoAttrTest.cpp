#include "package/XmlRoAttr.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace quillet;

TEST(XmlRoAttr, LeafConversions)
{
    EXPECT_EQ(XmlRoAttrLeaf(1, "42").toInt(), 42);
    EXPECT_EQ(XmlRoAttrLeaf(1, "x").toInt(), 0);
    EXPECT_EQ(XmlRoAttrLeaf(1, "-7pt").toLong(), -7);
    EXPECT_EQ(XmlRoAttrLeaf(1, "70000").toInt16(), static_cast<short>(70000));
    EXPECT_EQ(XmlRoAttrLeaf(1, "123").toInt16(), 123);
    EXPECT_EQ(XmlRoAttrLeaf(1, "300").toUInt8(), 44);
    EXPECT_EQ(XmlRoAttrLeaf(1, " 5").toUInt8(), '5');
    EXPECT_TRUE(XmlRoAttrLeaf(1, "1").toBool());
    EXPECT_TRUE(XmlRoAttrLeaf(1, "TRUE").toBool());
    EXPECT_TRUE(XmlRoAttrLeaf(1, "On").toBool());
    EXPECT_FALSE(XmlRoAttrLeaf(1, "0").toBool());
    EXPECT_FALSE(XmlRoAttrLeaf(1, "yes").toBool());
    EXPECT_FALSE(XmlRoAttrLeaf(1, "true ").toBool());
    EXPECT_DOUBLE_EQ(XmlRoAttrLeaf(1, "2.5").toDouble(), 2.5);
    EXPECT_FLOAT_EQ(XmlRoAttrLeaf(1, "0.25").toFloat(), 0.25f);
    EXPECT_DOUBLE_EQ(XmlRoAttrLeaf(1, "50%").toPercent(), 0.5);
    EXPECT_DOUBLE_EQ(XmlRoAttrLeaf(1, "12.5").toPercent(), 0.125);
    XmlRoAttrLeaf leaf(9, "v");
    std::string out;
    leaf.toString(out);
    EXPECT_EQ(out, "v");
    EXPECT_EQ(leaf.token(), 9);
    EXPECT_TRUE(leaf.isLeaf());
    EXPECT_THROW(leaf.find(9), std::runtime_error);
    EXPECT_THROW(leaf.poolSize(), std::runtime_error);
}

TEST(XmlRoAttr, ListReusesItsLeaves)
{
    XmlRoAttrList list;
    EXPECT_FALSE(list.isLeaf());
    EXPECT_EQ(list.poolSize(), 16);
    list.add(5, "first");
    list.add(6, "other");
    list.add(5, "second");
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.text(5), "first");
    EXPECT_EQ(list.findIf(6, false), nullptr);
    EXPECT_EQ(list.findIf(6, true), list.find(6));
    EXPECT_EQ(list.tokenAt(2), 5);
    list.clear();
    EXPECT_EQ(list.find(5), nullptr);
    EXPECT_EQ(list.text(5), "");
    // Cleared leaves keep their old values until reused.
    std::string old;
    list.at(1)->toString(old);
    EXPECT_EQ(old, "other");
    EXPECT_THROW(list.at(16), std::out_of_range);
    EXPECT_THROW(list.at(-1), std::out_of_range);
    EXPECT_THROW(list.toInt(), std::runtime_error);
    EXPECT_THROW(list.token(), std::runtime_error);
    for (int i = 0; i < 17; ++i)
        list.add(i, std::to_string(i));
    EXPECT_EQ(list.poolSize(), 32);
    EXPECT_EQ(list.text(16), "16");
}
