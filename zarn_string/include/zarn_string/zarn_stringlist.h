// zarn_stringlist: an ordered list of zarn_string values, and its iterator.
#pragma once

#include <zarn_string/zarn_string.h>
#include <zarn_string/zarn_string_export.h>

#include <vector>

class zarn_stringlist;

// A position in a zarn_stringlist. Valid while the list lives and is not appended to.
class ZARN_STRING_API zarn_stringlistIterator {
public:
    // The item at this position; the position must not be the list's end.
    const zarn_string& operator*() const noexcept;
    bool operator==(const zarn_stringlistIterator& other) const noexcept;
    bool operator!=(const zarn_stringlistIterator& other) const noexcept;
    // Moves to the next item.
    zarn_stringlistIterator& operator++() noexcept;

private:
    friend class zarn_stringlist;
    zarn_stringlistIterator(const zarn_stringlist* list, unsigned position) noexcept;

    const zarn_stringlist* list_;
    unsigned position_;
};

class ZARN_STRING_API zarn_stringlist {
public:
    // The empty list.
    zarn_stringlist() noexcept;
    // The items of `text` cut at every `separator`, in order; empty items are kept.
    // ("a,b", ',') gives "a" and "b"; ("a,,b,", ',') gives "a", "", "b" and "";
    // ("abc", ',') gives the one item "abc"; the empty text gives the empty list.
    zarn_stringlist(const zarn_string& text, char separator);
    zarn_stringlist(const zarn_stringlist& other);
    zarn_stringlist(zarn_stringlist&& other) noexcept;
    virtual ~zarn_stringlist();

    zarn_stringlist& operator=(const zarn_stringlist& other);
    zarn_stringlist& operator=(zarn_stringlist&& other) noexcept;

    // Appends one item: list << "a" << "b".
    zarn_stringlist& operator<<(const zarn_string& item);

    // The items joined with `separator` between them and none after the last:
    // "a", "b" joined with '\n' gives "a\nb"; the empty list gives the empty text.
    zarn_string toString(char separator) const;

    unsigned count() const noexcept;
    // The item at `position`, which must be below count().
    const zarn_string& at(unsigned position) const noexcept;

    zarn_stringlistIterator begin() const noexcept;
    zarn_stringlistIterator end() const noexcept;

private:
    std::vector<zarn_string> items_;
};
