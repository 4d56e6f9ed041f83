// The print job's settings (the "ticket"): string keys to property-list
// values. Dictionaries are held by reference, so a panel may change a nested
// dictionary in place and the change is part of the settings. Read and
// written as XML property lists; the top-level string entries are what
// becomes CUPS job options.
#pragma once

#include "platform/plist/Plist.h"

#include <string>
#include <utility>
#include <vector>

namespace rx {

class PrintSettings {
public:
    PrintSettings() : root_(plist::Dictionary::create()) {}
    explicit PrintSettings(plist::DictionaryRef root) : root_(std::move(root)) {}

    // The value under the key, or a None value.
    plist::Value value(const std::string& key) const { return root_->get(key); }
    void setValue(const std::string& key, plist::Value value) { root_->set(key, std::move(value)); }
    bool remove(const std::string& key) { return root_->remove(key); }

    const plist::DictionaryRef& root() const { return root_; }

    // The top-level entries whose values are strings, in insertion order.
    std::vector<std::pair<std::string, std::string>> stringEntries() const;

    // Reads an XML property list whose root is a dictionary. On failure the
    // settings are unchanged, the result is false and, when given, *why
    // holds the reason ("Is a directory", "its root is not a dictionary").
    bool readFile(const std::string& path, std::string* why = nullptr);
    std::string toXml() const;
    // Replaces the file whole; false when it cannot be written.
    bool writeFile(const std::string& path) const;

private:
    plist::DictionaryRef root_;
};

}  // namespace rx
