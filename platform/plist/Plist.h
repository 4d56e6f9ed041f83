// Property-list values: the in-memory form of XML property lists, shared by
// the print settings and the profile list store. Dictionaries and arrays are
// held by reference (copying a Value shares them), so a dictionary stored in
// another one can be changed in place, as the print settings require.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

namespace plist {

class Value;
class Dictionary;
using Array = std::vector<Value>;
using DictionaryRef = std::shared_ptr<Dictionary>;
using ArrayRef = std::shared_ptr<Array>;

// Raw bytes of a <data> element.
struct Data {
    std::string bytes;
    bool operator==(const Data&) const = default;
};

// The text of a <date> element, kept as written (ISO 8601).
struct Date {
    std::string iso8601;
    bool operator==(const Date&) const = default;
};

// The enumerators share names with the types above; they are scoped, so the
// shadowing that GCC reports is harmless.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
enum class Type { None, String, Integer, Real, Boolean, Date, Data, Array, Dictionary };
#pragma GCC diagnostic pop

class Value {
public:
    Value() = default;
    Value(std::string s) : v_(std::move(s)) {}
    Value(const char* s) : v_(std::string(s)) {}
    Value(std::string_view s) : v_(std::string(s)) {}
    Value(int64_t i) : v_(i) {}
    Value(int i) : v_(int64_t(i)) {}
    Value(double d) : v_(d) {}
    Value(bool b) : v_(b) {}
    Value(Date d) : v_(std::move(d)) {}
    Value(Data d) : v_(std::move(d)) {}
    Value(ArrayRef a) : v_(std::move(a)) {}
    Value(DictionaryRef d) : v_(std::move(d)) {}
    // An integer that keeps an unsigned value above the signed 64-bit range
    // (written back as it was); integer() gives such a value as two's
    // complement, as 32-bit fields take it.
    static Value unsignedInteger(uint64_t u);

    Type type() const { return static_cast<Type>(v_.index()); }
    bool isNone() const { return type() == Type::None; }
    bool isString() const { return type() == Type::String; }
    bool isInteger() const { return type() == Type::Integer; }
    bool isDictionary() const { return type() == Type::Dictionary && std::get<DictionaryRef>(v_); }
    bool isArray() const { return type() == Type::Array && std::get<ArrayRef>(v_); }
    // True for an integer made by unsignedInteger() above INT64_MAX.
    bool isUnsignedInteger() const { return unsigned_; }

    // Typed access; a value of another type gives null / nullopt.
    const std::string* string() const { return std::get_if<std::string>(&v_); }
    std::optional<int64_t> integer() const;
    std::optional<double> real() const;
    std::optional<bool> boolean() const;
    const Date* date() const { return std::get_if<Date>(&v_); }
    const Data* data() const { return std::get_if<Data>(&v_); }
    DictionaryRef dictionary() const;
    ArrayRef array() const;

    // Structural equality: dictionaries and arrays compare by content.
    bool operator==(const Value& other) const;

private:
    std::variant<std::monostate, std::string, int64_t, double, bool, Date, Data, ArrayRef, DictionaryRef> v_;
    bool unsigned_ = false;
};

// A dictionary keyed by strings. Entries keep their insertion order (so
// written files are stable); look-up is by hash.
class Dictionary {
public:
    static DictionaryRef create() { return std::make_shared<Dictionary>(); }

    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    bool contains(std::string_view key) const { return find(key) != nullptr; }

    // Null when the key is absent.
    const Value* find(std::string_view key) const;
    Value* find(std::string_view key);
    // The value under the key, or a None value.
    Value get(std::string_view key) const;
    // The dictionary under the key, or null when absent or of another type.
    DictionaryRef dictionary(std::string_view key) const;

    // Inserts or replaces; a replaced key keeps its position.
    void set(std::string key, Value value);
    bool remove(std::string_view key);
    void clear();
    void reserve(size_t n);

    const std::vector<std::pair<std::string, Value>>& entries() const { return entries_; }

    // A deep copy: nested dictionaries and arrays are copied too.
    DictionaryRef deepCopy() const;

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::vector<std::pair<std::string, Value>> entries_;
    std::unordered_map<std::string, size_t, Hash, std::equal_to<>> index_;
};

}  // namespace plist
