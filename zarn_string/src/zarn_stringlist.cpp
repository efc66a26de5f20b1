#include <zarn_string/zarn_stringlist.h>

#include <cstring>

zarn_stringlistIterator::zarn_stringlistIterator(const zarn_stringlist* list,
                                                 unsigned position) noexcept
    : list_(list), position_(position) {}

const zarn_string& zarn_stringlistIterator::operator*() const noexcept {
    return list_->at(position_);
}

bool zarn_stringlistIterator::operator==(const zarn_stringlistIterator& other) const noexcept {
    return list_ == other.list_ && position_ == other.position_;
}

bool zarn_stringlistIterator::operator!=(const zarn_stringlistIterator& other) const noexcept {
    return !(*this == other);
}

zarn_stringlistIterator& zarn_stringlistIterator::operator++() noexcept {
    ++position_;
    return *this;
}

zarn_stringlist::zarn_stringlist() noexcept = default;

zarn_stringlist::zarn_stringlist(const zarn_string& text, char separator) {
    const char* rest = text.data();
    const char* const end = rest + text.length();
    if (rest == end) {
        return;
    }
    for (;;) {
        const auto* cut = static_cast<const char*>(std::memchr(rest, separator, end - rest));
        const char* itemEnd = cut != nullptr ? cut : end;
        items_.emplace_back(rest, static_cast<unsigned>(itemEnd - rest));
        if (cut == nullptr) {
            return;
        }
        rest = cut + 1;
    }
}

zarn_stringlist::zarn_stringlist(const zarn_stringlist& other) = default;
zarn_stringlist::zarn_stringlist(zarn_stringlist&& other) noexcept = default;
zarn_stringlist::~zarn_stringlist() = default;
zarn_stringlist& zarn_stringlist::operator=(const zarn_stringlist& other) = default;
zarn_stringlist& zarn_stringlist::operator=(zarn_stringlist&& other) noexcept = default;

zarn_stringlist& zarn_stringlist::operator<<(const zarn_string& item) {
    items_.push_back(item);
    return *this;
}

zarn_string zarn_stringlist::toString(char separator) const {
    unsigned total = 0;
    for (const zarn_string& item : items_) {
        total += item.length() + 1;
    }
    zarn_string result;
    result.reserve(total);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (i != 0) {
            result.append(&separator, 1);
        }
        result.append(items_[i].data(), items_[i].length());
    }
    return result;
}

unsigned zarn_stringlist::count() const noexcept {
    return static_cast<unsigned>(items_.size());
}

const zarn_string& zarn_stringlist::at(unsigned position) const noexcept {
    return items_[position];
}

zarn_stringlistIterator zarn_stringlist::begin() const noexcept {
    return zarn_stringlistIterator(this, 0);
}

zarn_stringlistIterator zarn_stringlist::end() const noexcept {
    return zarn_stringlistIterator(this, count());
}
