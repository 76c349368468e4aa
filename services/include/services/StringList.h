// An ordered list of texts, each held in its own copy. A list built with a
// capacity never grows; a default list starts with 256 slots and grows by 16.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace services {

class StringList {
public:
    static constexpr int defaultCapacity = 256;
    static constexpr int growthStep = 16;

    // Results of add and grow.
    static constexpr int ok = 0;
    static constexpr int growFailed = -1;        // add: growing failed; grow: no slot array
    static constexpr int full = -2;              // add: a fixed list is full; grow: no memory
    static constexpr int copyNotAllocated = -3;  // add: the entry's copy could not be made
    static constexpr int badSlotCount = -4;      // grow: not a positive count, or beyond any capacity

    // capacity <= 0: a growable list of defaultCapacity slots; otherwise a
    // list that holds at most `capacity` entries.
    explicit StringList(int capacity = 0);
    // The copy is growable, whatever the original was.
    StringList(const StringList& other);
    StringList& operator=(const StringList& other);
    virtual ~StringList();

    int count() const { return count_; }
    int capacity() const { return capacity_; }
    bool hasFixedCapacity() const { return fixedCapacity_; }

    int add(std::string_view text);
    // Index of the first entry equal to `text` (exact bytes), or -1.
    int find(std::string_view text) const;
    // The entry, or the empty text when the index is outside the list.
    std::string getAt(int index) const;
    void removeAt(int index);
    void remove(std::string_view text);
    // The fresh copy now at `index`, or null when the index is outside the list.
    const std::string* replaceAt(int index, std::string_view text);
    const std::string* replace(std::string_view oldText, std::string_view newText);
    void clear();
    // index >= 0: the entry's length, or -1 past the end; index < 0: the
    // total length of all entries.
    long long textLength(int index) const;
    // Adds `slots` slots; the new capacity, or growFailed / full / badSlotCount.
    int grow(int slots);

private:
    void copyEntriesOf(const StringList& other);
    bool reserve(int needed);

    bool fixedCapacity_ = false;
    int capacity_ = 0;
    int count_ = 0;
    // Slots allocated: capacity_ of them are the list's, the rest set aside.
    int reserved_ = 0;
    std::unique_ptr<std::unique_ptr<std::string>[]> slots_;
};

}  // namespace services
