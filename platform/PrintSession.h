// The print session and its current printer. The host fills them in: by
// hand (a PPD file, an identifier and a device URI) or from a CUPS
// destination (queue name as identifier, its device-uri).
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace rx {

struct Printer {
    std::string identifier;  // the queue name; keys the per-printer settings
    std::string deviceUri;   // e.g. "lpd://192.0.2.7/queue"; may be empty
};

class PrintSession {
public:
    PrintSession() = default;
    explicit PrintSession(Printer printer) : printer_(std::move(printer)) {}

    // The current printer, or null when the session has none.
    const Printer* currentPrinter() const { return printer_ ? &*printer_ : nullptr; }
    void setCurrentPrinter(Printer printer) { printer_ = std::move(printer); }

private:
    std::optional<Printer> printer_;
};

}  // namespace rx
