#include "services/StringList.h"

#include <algorithm>
#include <limits>
#include <new>
#include <utility>

namespace services {

namespace {

std::unique_ptr<std::unique_ptr<std::string>[]> allocateSlots(int capacity) {
    return std::unique_ptr<std::unique_ptr<std::string>[]>(new (std::nothrow) std::unique_ptr<std::string>[capacity]);
}

std::unique_ptr<std::string> copyOf(std::string_view text)
{
    try {
        return std::make_unique<std::string>(text);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

StringList::StringList(int capacity)
    : fixedCapacity_(capacity > 0), capacity_(capacity > 0 ? capacity : defaultCapacity)
{
    slots_ = allocateSlots(capacity_);
    if (!slots_) capacity_ = 0;
    reserved_ = capacity_;
}

StringList::StringList(const StringList& other) : StringList(0) { copyEntriesOf(other); }

StringList& StringList::operator=(const StringList& other)
{
    if (this != &other) {
        clear();
        copyEntriesOf(other);
    }
    return *this;
}

StringList::~StringList() = default;

void StringList::copyEntriesOf(const StringList& other)
{
    for (int i = 0; i < other.count_; ++i) {
        if (add(*other.slots_[i]) != ok) return;
    }
}

int StringList::add(std::string_view text)
{
    if (count_ >= capacity_) {
        if (fixedCapacity_) return full;
        if (grow(growthStep) < 0) return growFailed;
    }
    auto entry = copyOf(text);
    if (!entry) return copyNotAllocated;
    slots_[count_++] = std::move(entry);
    return ok;
}

int StringList::grow(int slots)
{
    if (!slots_) return growFailed;
    // A count that would shrink the array, or overflow its size, would leave
    // entries outside it.
    if (slots <= 0 || slots > std::numeric_limits<int>::max() - capacity_) return badSlotCount;
    if (capacity_ + slots > reserved_ && !reserve(capacity_ + slots)) return full;
    capacity_ += slots;
    return capacity_;
}

// Slots are set aside in doubling steps, so that a list that grows a few
// slots at a time still takes each new entry in constant time on average.
// Where the double cannot be had, exactly the slots needed will do.
bool StringList::reserve(int needed)
{
    const int doubled =
        reserved_ > std::numeric_limits<int>::max() / 2 ? std::numeric_limits<int>::max() : 2 * reserved_;
    for (const int size : {std::max(needed, doubled), needed}) {
        auto larger = allocateSlots(size);
        if (!larger) continue;
        for (int i = 0; i < count_; ++i) larger[i] = std::move(slots_[i]);
        slots_ = std::move(larger);
        reserved_ = size;
        return true;
    }
    return false;
}

int StringList::find(std::string_view text) const
{
    for (int i = 0; i < count_; ++i) {
        if (*slots_[i] == text) return i;
    }
    return -1;
}

std::string StringList::getAt(int index) const
{
    if (index < 0 || index >= count_) return {};
    return *slots_[index];
}

void StringList::removeAt(int index)
{
    if (index < 0 || index >= count_) return;
    for (int i = index; i + 1 < count_; ++i) slots_[i] = std::move(slots_[i + 1]);
    slots_[--count_].reset();
}

void StringList::remove(std::string_view text) { removeAt(find(text)); }

const std::string* StringList::replaceAt(int index, std::string_view text)
{
    if (index < 0 || index >= count_) return nullptr;
    auto entry = copyOf(text);
    if (!entry) return nullptr;
    slots_[index] = std::move(entry);
    return slots_[index].get();
}

const std::string* StringList::replace(std::string_view oldText, std::string_view newText)
{
    return replaceAt(find(oldText), newText);
}

void StringList::clear()
{
    for (int i = 0; i < count_; ++i) slots_[i].reset();
    count_ = 0;
}

long long StringList::textLength(int index) const
{
    if (index >= 0) return index < count_ ? static_cast<long long>(slots_[index]->size()) : -1;
    long long total = 0;
    for (int i = 0; i < count_; ++i) total += static_cast<long long>(slots_[i]->size());
    return total;
}

}  // namespace services
