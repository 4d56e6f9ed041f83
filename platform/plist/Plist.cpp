#include "platform/plist/Plist.h"

namespace plist {

Value Value::unsignedInteger(uint64_t u)
{
    Value v(static_cast<int64_t>(u));
    v.unsigned_ = u > uint64_t(INT64_MAX);
    return v;
}

std::optional<int64_t> Value::integer() const
{
    if (auto p = std::get_if<int64_t>(&v_))
        return *p;
    return std::nullopt;
}

std::optional<double> Value::real() const
{
    if (auto p = std::get_if<double>(&v_))
        return *p;
    return std::nullopt;
}

std::optional<bool> Value::boolean() const
{
    if (auto p = std::get_if<bool>(&v_))
        return *p;
    return std::nullopt;
}

DictionaryRef Value::dictionary() const
{
    if (auto p = std::get_if<DictionaryRef>(&v_))
        return *p;
    return nullptr;
}

ArrayRef Value::array() const
{
    if (auto p = std::get_if<ArrayRef>(&v_))
        return *p;
    return nullptr;
}

bool Value::operator==(const Value& other) const
{
    if (v_.index() != other.v_.index() || unsigned_ != other.unsigned_)
        return false;
    switch (type()) {
    case Type::Array: {
        auto a = array(), b = other.array();
        if (!a || !b)
            return a == b;
        return *a == *b;
    }
    case Type::Dictionary: {
        auto a = dictionary(), b = other.dictionary();
        if (!a || !b)
            return a == b;
        if (a->size() != b->size())
            return false;
        for (const auto& [k, v] : a->entries()) {
            const Value* o = b->find(k);
            if (!o || !(*o == v))
                return false;
        }
        return true;
    }
    default:
        return v_ == other.v_;
    }
}

const Value* Dictionary::find(std::string_view key) const
{
    auto it = index_.find(key);
    return it == index_.end() ? nullptr : &entries_[it->second].second;
}

Value* Dictionary::find(std::string_view key)
{
    auto it = index_.find(key);
    return it == index_.end() ? nullptr : &entries_[it->second].second;
}

Value Dictionary::get(std::string_view key) const
{
    const Value* v = find(key);
    return v ? *v : Value();
}

DictionaryRef Dictionary::dictionary(std::string_view key) const
{
    const Value* v = find(key);
    return v ? v->dictionary() : nullptr;
}

void Dictionary::set(std::string key, Value value)
{
    if (Value* v = find(key)) {
        *v = std::move(value);
        return;
    }
    index_.emplace(key, entries_.size());
    entries_.emplace_back(std::move(key), std::move(value));
}

bool Dictionary::remove(std::string_view key)
{
    auto it = index_.find(key);
    if (it == index_.end())
        return false;
    size_t pos = it->second;
    index_.erase(it);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(pos));
    for (auto& [k, i] : index_)
        if (i > pos)
            --i;
    return true;
}

void Dictionary::clear()
{
    entries_.clear();
    index_.clear();
}

void Dictionary::reserve(size_t n)
{
    entries_.reserve(n);
    index_.reserve(n);
}

static Value deepCopyValue(const Value& v)
{
    if (auto d = v.dictionary())
        return Value(d->deepCopy());
    if (auto a = v.array()) {
        auto copy = std::make_shared<Array>();
        copy->reserve(a->size());
        for (const auto& e : *a)
            copy->push_back(deepCopyValue(e));
        return Value(copy);
    }
    return v;
}

DictionaryRef Dictionary::deepCopy() const
{
    auto copy = create();
    copy->reserve(entries_.size());
    for (const auto& [k, v] : entries_)
        copy->set(k, deepCopyValue(v));
    return copy;
}

}  // namespace plist
