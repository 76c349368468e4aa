#include "services/StringList.h"

#include <gtest/gtest.h>

#include <limits>

using services::StringList;

namespace {

std::vector<std::string> entriesOf(const StringList& list)
{
    std::vector<std::string> entries;
    for (int i = 0; i < list.count(); ++i) entries.push_back(list.getAt(i));
    return entries;
}

}  // namespace

TEST(StringList, FixedCapacityRefusesTheEntryTooMany)
{
    StringList list(3);
    EXPECT_TRUE(list.hasFixedCapacity());
    for (const char* text : {"a", "b", "c"}) EXPECT_EQ(list.add(text), StringList::ok);
    EXPECT_EQ(list.add("d"), StringList::full);
    EXPECT_EQ(entriesOf(list), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(list.capacity(), 3);
}

TEST(StringList, DefaultListGrowsBySixteenKeepingOrder)
{
    StringList list;
    EXPECT_EQ(list.capacity(), 256);
    for (int i = 0; i < 257; ++i) ASSERT_EQ(list.add(std::to_string(i)), StringList::ok);
    EXPECT_EQ(list.capacity(), 272);
    for (int i = 0; i < 257; ++i) ASSERT_EQ(list.getAt(i), std::to_string(i));
    EXPECT_EQ(list.grow(4), 276);
}

TEST(StringList, GrowRefusesCountsThatWouldLeaveEntriesOutsideTheArray)
{
    StringList list(3);
    for (const char* entry : {"a", "b", "c"}) ASSERT_EQ(list.add(entry), StringList::ok);
    for (const int slots : {0, -1, -3, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                            std::numeric_limits<int>::max() - 2})
        EXPECT_EQ(list.grow(slots), StringList::badSlotCount) << slots;
    EXPECT_EQ(list.capacity(), 3);
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.getAt(2), "c");
    EXPECT_EQ(list.grow(1), 4);
    EXPECT_EQ(list.add("d"), StringList::ok);
    EXPECT_EQ(list.add("e"), StringList::full);  // a fixed list still never grows by itself
}

TEST(StringList, FindAndRemoveAreExactAndTakeTheFirstMatch)
{
    StringList list;
    for (const char* text : {"Alpha", "beta", "alpha", "beta"}) list.add(text);
    EXPECT_EQ(list.find("ALPHA"), -1);
    EXPECT_EQ(list.find("alpha"), 2);
    list.remove("beta");
    EXPECT_EQ(entriesOf(list), (std::vector<std::string>{"Alpha", "alpha", "beta"}));
    list.remove("gamma");
    list.removeAt(3);
    list.removeAt(-1);
    EXPECT_EQ(list.count(), 3);
    list.removeAt(0);
    EXPECT_EQ(entriesOf(list), (std::vector<std::string>{"alpha", "beta"}));
}

TEST(StringList, BadIndicesAreHarmless)
{
    StringList list;
    list.add("only");
    EXPECT_EQ(list.getAt(-1), "");
    EXPECT_EQ(list.getAt(1), "");
    EXPECT_EQ(list.replaceAt(1, "x"), nullptr);
    EXPECT_EQ(list.replace("absent", "x"), nullptr);
    EXPECT_EQ(list.textLength(1), -1);
    const std::string* replaced = list.replace("only", "other");
    ASSERT_NE(replaced, nullptr);
    EXPECT_EQ(*replaced, "other");
    EXPECT_EQ(list.getAt(0), "other");
}

TEST(StringList, TextLengthOfOneEntryOrAll)
{
    StringList list;
    EXPECT_EQ(list.textLength(-1), 0);
    for (const char* text : {"ab", "", "cde"}) list.add(text);
    EXPECT_EQ(list.textLength(-1), 5);
    EXPECT_EQ(list.textLength(1), 0);
    EXPECT_EQ(list.textLength(2), 3);
}

TEST(StringList, ClearKeepsTheSlots)
{
    StringList list;
    for (int i = 0; i < 300; ++i) list.add("x");
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.capacity(), 304);
    list.add("again");
    EXPECT_EQ(entriesOf(list), std::vector<std::string>{"again"});
}

TEST(StringList, CopiesAreGrowableAndEqual)
{
    StringList original(300);
    for (int i = 0; i < 300; ++i) original.add("entry " + std::to_string(i));
    const StringList copy(original);
    EXPECT_FALSE(copy.hasFixedCapacity());
    EXPECT_EQ(copy.capacity(), 304);
    EXPECT_EQ(entriesOf(copy), entriesOf(original));

    StringList assigned;
    assigned.add("old");
    assigned = original;
    EXPECT_EQ(entriesOf(assigned), entriesOf(original));
    // Long entries are kept whole, never cut at a buffer size.
    const std::string longEntry(5000, 'p');
    assigned.add(longEntry);
    EXPECT_EQ(StringList(assigned).getAt(300), longEntry);
}
