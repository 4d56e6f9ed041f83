#include "filter/FeatureRewriter.h"

#include "platform/FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace colourfilter {

namespace {

constexpr std::string_view kBegin = "%%BeginFeature:";
constexpr std::string_view kEnd = "%%EndFeature";

bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

// The input in one bounded buffer: [start, end) is read and not yet used.
class Input {
public:
    explicit Input(int fd) : fd_(fd), buf_(kBufferSize) {}

    const char* data() const { return buf_.data(); }
    std::size_t start = 0;
    std::size_t end = 0;
    bool eof() const { return eof_; }
    bool failed() const { return failed_; }

    // Moves the unused bytes to the front and reads more. False when nothing
    // more came: the end of the stream, a read error, or a full buffer.
    bool fill()
    {
        if (eof_)
            return false;
        if (start > 0) {
            std::memmove(buf_.data(), buf_.data() + start, end - start);
            end -= start;
            start = 0;
        }
        if (end == buf_.size())
            return false;
        ssize_t n;
        do
            n = ::read(fd_, buf_.data() + end, buf_.size() - end);
        while (n < 0 && errno == EINTR);
        if (n <= 0) {
            eof_ = true;
            failed_ = n < 0;
            return false;
        }
        end += std::size_t(n);
        return true;
    }

private:
    int fd_;
    std::vector<char> buf_;
    bool eof_ = false;
    bool failed_ = false;
};

// Buffered output; large pieces go straight through.
class Output {
public:
    static constexpr std::size_t kDirectWrite = 16 * 1024;
    explicit Output(int fd) : fd_(fd), buf_(kMaxBlockSize) {}
    ~Output() { flush(); }

    void write(const char* p, std::size_t n)
    {
        if (n == 0)
            return;
        // Large pieces (the stream between blocks) go out from the input's
        // buffer without a copy.
        if (used_ + n > buf_.size() || n >= kDirectWrite) {
            flush();
            if (n >= kDirectWrite) {
                writeAll(p, n);
                return;
            }
        }
        std::memcpy(buf_.data() + used_, p, n);
        used_ += n;
    }
    void write(std::string_view s) { write(s.data(), s.size()); }
    bool flush()
    {
        writeAll(buf_.data(), used_);
        used_ = 0;
        return ok_;
    }
    bool ok() const { return ok_; }

private:
    void writeAll(const char* p, std::size_t n) { ok_ = ok_ && rx::writeAll(fd_, p, n); }

    int fd_;
    std::vector<char> buf_;
    std::size_t used_ = 0;
    bool ok_ = true;
};

// One block as found in the buffer, offsets from the block's first byte.
struct Block {
    std::size_t beginLineEnd = 0;  // one past the begin line's '\n'
    std::size_t size = 0;          // one past the end line (and its '\n' when it has one)
};

// The line terminator that ends `line` ("\r\n", "\n" or "").
std::string_view terminator(std::string_view line)
{
    if (line.ends_with("\r\n"))
        return "\r\n";
    if (line.ends_with("\n"))
        return "\n";
    return "";
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || isLineEnd(s.back())))
        s.remove_suffix(1);
    return s;
}

// Keyword (without '*') and choice of a begin line. The keyword is set
// whenever the line names one; the result is true only when it names both.
bool parseBeginLine(std::string_view line, std::string_view* keyword, std::string_view* choice)
{
    std::string_view rest = trimmed(line.substr(kBegin.size()));
    if (rest.empty() || rest.front() != '*')
        return false;
    const std::size_t space = rest.find_first_of(" \t");
    *keyword = rest.substr(1, space == std::string_view::npos ? std::string_view::npos : space - 1);
    if (space == std::string_view::npos)
        return false;
    rest = trimmed(rest.substr(space));
    *choice = rest.substr(0, rest.find_first_of(" \t"));
    return !keyword->empty() && !choice->empty();
}

enum class Scan { Found, NeedMore, Malformed };

// Looks for the whole block that begins at `p` (n bytes available, all of
// the stream's rest when `eof`).
Scan scanBlock(const char* p, std::size_t n, bool eof, Block* block)
{
    *block = {};
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', n));
    if (!nl)
        return eof || n >= kMaxBlockSize ? Scan::Malformed : Scan::NeedMore;
    block->beginLineEnd = std::size_t(nl - p) + 1;
    for (std::size_t line = block->beginLineEnd; line < n;) {
        const char* next = static_cast<const char*>(std::memchr(p + line, '\n', n - line));
        if (!next && !eof)
            break;  // the line is still coming
        const std::string_view rest(p + line, n - line);
        if (rest.starts_with(kBegin))
            return Scan::Malformed;
        if (rest.starts_with(kEnd)) {
            block->size = next ? std::size_t(next - p) + 1 : n;
            return Scan::Found;
        }
        if (!next)
            break;
        line = std::size_t(next - p) + 1;
    }
    return eof || n >= kMaxBlockSize ? Scan::Malformed : Scan::NeedMore;
}

// The first begin marker at a line start in [from, to) of `data`, or null.
// `lineStart` says whether data[from] begins a line. Markers are rare and
// '%' is rare outside comments, so the search goes from '%' to '%'.
const char* findBegin(const char* data, std::size_t from, std::size_t to, bool lineStart)
{
    const char* p = data + from;
    const char* const last = data + to;
    while (p < last) {
        const char* h = static_cast<const char*>(std::memchr(p, '%', std::size_t(last - p)));
        if (!h)
            return nullptr;
        if ((h == data + from ? lineStart : isLineEnd(h[-1])) && std::size_t(last - h) >= kBegin.size() &&
            std::memcmp(h, kBegin.data(), kBegin.size()) == 0)
            return h;
        p = h + 1;
    }
    return nullptr;
}

}  // namespace

FeatureRewriter::FeatureRewriter(std::map<std::string, std::string, std::less<>> wanted, CodeLookup code,
                                 FilterLog log)
    : wanted_(std::move(wanted)), code_(std::move(code)), log_(std::move(log))
{
}

bool FeatureRewriter::run(int inFd, int outFd, RewriteCounts* counts)
{
    Input in(inFd);
    Output out(outFd);
    bool lineStart = true;
    auto emit = [&](std::size_t from, std::size_t to) {
        if (to <= from)
            return;
        out.write(in.data() + from, to - from);
        lineStart = isLineEnd(in.data()[to - 1]);
        in.start = to;
    };

    for (;;) {
        if (in.start == in.end && !in.fill())
            break;
        const char* hit = findBegin(in.data(), in.start, in.end, lineStart);
        if (!hit) {
            // Keep a tail that may be the first part of a marker.
            const std::size_t keep = in.eof() ? 0 : std::min(kBegin.size() - 1, in.end - in.start);
            emit(in.start, in.end - keep);
            in.fill();
            continue;
        }
        emit(in.start, std::size_t(hit - in.data()));

        // The begin line first: only a colour option's block is read whole.
        const char* nl;
        while (!(nl = static_cast<const char*>(std::memchr(in.data() + in.start, '\n', in.end - in.start))) &&
               in.end - in.start < kMaxBlockSize && in.fill()) {
        }
        const std::size_t beginLineEnd = nl ? std::size_t(nl - in.data()) + 1 - in.start : in.end - in.start;
        std::string_view keyword, choice;
        const bool parsed = parseBeginLine(std::string_view(in.data() + in.start, beginLineEnd), &keyword, &choice);
        const auto wanted = wanted_.find(keyword);
        if (wanted == wanted_.end()) {
            // Not a colour option: the block passes, line by line.
            emit(in.start, in.start + beginLineEnd);
            continue;
        }

        Block block;
        Scan scan = scanBlock(in.data() + in.start, in.end - in.start, in.eof(), &block);
        while (scan == Scan::NeedMore) {
            if (!in.fill() && !in.eof()) {
                scan = Scan::Malformed;  // longer than the buffer
                break;
            }
            scan = scanBlock(in.data() + in.start, in.end - in.start, in.eof(), &block);
        }
        // Reading on may have moved the buffer: the line is read again.
        const char* p = in.data() + in.start;
        const std::string_view beginLine(p, beginLineEnd);
        parseBeginLine(beginLine, &keyword, &choice);
        if (scan == Scan::Malformed || !parsed) {
            ++counts->malformed;
            log_.warning("feature block \"" + std::string(trimmed(beginLine)) +
                         (parsed ? "\" has no end line" : "\" names no choice") + "; it passes as it came");
            emit(in.start, in.start + beginLineEnd);
            continue;
        }
        ++counts->blocks;
        if (choice == wanted->second) {
            emit(in.start, in.start + block.size);
            continue;
        }
        const std::optional<std::string> code = code_(wanted->first, wanted->second);
        if (!code) {
            // A value the PPD does not offer is the job's own, which the
            // block already carries as the chain understood it.
            log_.debug("*" + wanted->first + " " + wanted->second + " is not a choice of the PPD; *" +
                       std::string(keyword) + " " + std::string(choice) + " stays");
            emit(in.start, in.start + block.size);
            continue;
        }
        const std::string_view endLine(p + block.beginLineEnd, block.size - block.beginLineEnd);
        const std::string_view endTerminator = terminator(endLine.substr(endLine.rfind(kEnd)));
        out.write(std::string(kBegin) + " *" + wanted->first + " " + wanted->second);
        out.write(terminator(beginLine));
        out.write(*code);
        if (!code->empty() && code->back() != '\n')
            out.write(terminator(beginLine));
        out.write(kEnd);
        out.write(endTerminator);
        log_.debug("*" + wanted->first + " " + std::string(choice) + " -> " + wanted->second);
        ++counts->changed;
        in.start += block.size;
        lineStart = !endTerminator.empty();
    }
    return out.flush() && !in.failed();
}

}  // namespace colourfilter
