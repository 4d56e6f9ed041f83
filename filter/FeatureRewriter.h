// Rewrites the DSC feature blocks of a PostScript stream so that each colour
// option's block carries the value the job must have:
//
//   %%BeginFeature: *QVImageHalftone Smooth      <- begin line
//   userdict /QVImageHalftone (Smooth) put       <- the PPD's invocation code
//   %%EndFeature                                 <- end line
//
// A block whose option has a wanted value other than its own is replaced by
// the begin line naming the wanted choice, that choice's invocation code
// (from the queue's PPD) and the end line. Every other byte passes as it
// came: blocks that already carry the wanted value, blocks of other options,
// and everything between blocks. Memory stays bounded by the buffer
// (kBufferSize) whatever the stream's length.
//
// A block that cannot be read (no keyword or choice, no end line within
// kMaxBlockSize bytes or before the stream ends, another begin line before
// its end line) passes as it came, and the stream goes on after its begin
// line.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace colourfilter {

inline constexpr std::size_t kMaxBlockSize = 64 * 1024;
inline constexpr std::size_t kBufferSize = 4 * kMaxBlockSize;

// What the rewriter reports, one line each, without the level prefix.
struct FilterLog {
    std::function<void(const std::string&)> debug;
    std::function<void(const std::string&)> warning;
};

struct RewriteCounts {
    int blocks = 0;     // colour blocks seen
    int changed = 0;    // of them rewritten
    int malformed = 0;  // blocks passed as they came because they could not be read
};

class FeatureRewriter {
public:
    // `wanted`: option keyword -> the choice its block must carry; options
    // not named are left alone. `code(option, choice)`: the invocation code
    // of that choice, or nothing when the PPD has no such choice (the wanted
    // value is then the job's own, and the block stays as it is).
    using CodeLookup = std::function<std::optional<std::string>(const std::string&, const std::string&)>;
    FeatureRewriter(std::map<std::string, std::string, std::less<>> wanted, CodeLookup code, FilterLog log);

    // Copies `in` to `out` (file descriptors) with the colour blocks
    // rewritten. False when reading or writing fails (what was read so far
    // has been written when possible).
    bool run(int in, int out, RewriteCounts* counts);

private:
    std::map<std::string, std::string, std::less<>> wanted_;
    CodeLookup code_;
    FilterLog log_;
};

}  // namespace colourfilter
