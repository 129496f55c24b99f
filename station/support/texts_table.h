// The built-in language tables behind zev::Texts. Each language has two parts:
// part 1 holds numbers 113 to 1392 (kept in two files, split at 740/753 so that
// no file grows too long), part 2 numbers 1393 to 1537. Entries are ascending
// by number; the compiler checks that and the bounds of every file.
#pragma once

#include <span>

namespace zev::texts_table {

struct Entry {
    int number;
    const char* text;  // UTF-8
};

constexpr int kPart1First = 113;
constexpr int kPart1Last = 1392;
constexpr int kPart2First = 1393;
constexpr int kPart2Last = 1537;

// Strictly ascending numbers inside [first, last], none of them empty.
template <typename Range>
constexpr bool ascendingWithin(const Range& entries, int first, int last) {
    int previous = first - 1;
    for (const Entry& e : entries) {
        if (e.number <= previous || e.number > last) return false;
        if (e.text == nullptr || e.text[0] == '\0') return false;
        previous = e.number;
    }
    return true;
}

std::span<const Entry> german113();    // 113..740
std::span<const Entry> german753();    // 753..1392
std::span<const Entry> german1393();   // 1393..1537
std::span<const Entry> english113();
std::span<const Entry> english753();
std::span<const Entry> english1393();

// The text of number n in one segment, or nullptr.
const char* find(std::span<const Entry> segment, int n);

}  // namespace zev::texts_table
