// rx8240-colour JOB USER TITLE COPIES OPTIONS [FILE]
// The CUPS filter that makes every PostScript job carry the colour options
// the Color Options panel would have sent for it (colormodel/JobColorOptions.h):
// it reads the job's options (OPTIONS) and the queue's PPD ($PPD), and
// rewrites each colour option's feature block of the stream (FILE, or
// standard input) with the PPD's code for the wanted choice
// (FeatureRewriter.h). Nothing here fails a job: without a usable PPD the
// stream passes as it came, with a WARNING: line; what changed goes to the
// job's log as INFO:/DEBUG: lines.
#include "colormodel/ColorOptionTable.h"
#include "filter/FeatureRewriter.h"
#include "filter/JobOptions.h"
#include "platform/FileDescriptor.h"
#include "filter/QueuePpd.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

void message(const char* level, const std::string& text)
{
    std::fprintf(stderr, "%s: rx8240-colour: %s\n", level, text.c_str());
}

// The job's options that name colour options; a value the PPD does not offer
// is reported (the model then keeps the PPD's default, as the panel does).
colormodel::OptionValues jobOptions(const char* text, const colormodel::OfferedOptions& offered)
{
    colormodel::OptionValues out;
    for (const auto& [name, value] : colourfilter::parseJobOptions(text)) {
        const colormodel::ColorOption* option = colormodel::findColorOption(name);
        if (!option)
            continue;
        out[name] = value;
        const auto o = offered.find(name);
        const bool known = o != offered.end() &&
                           (option->kind == colormodel::OptionKind::Boolean ||
                            std::find(o->second.choices.begin(), o->second.choices.end(), value) !=
                                o->second.choices.end());
        if (!known)
            message("WARNING", "the queue's PPD does not offer " + name + "=" + value + "; its default stands");
    }
    return out;
}

// Copies the stream as it came.
int passThrough(int in)
{
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(in, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            message("ERROR", std::string("cannot read the job: ") + std::strerror(errno));
            return 1;
        }
        if (n == 0)
            return 0;
        if (!rx::writeAll(STDOUT_FILENO, buf, std::size_t(n))) {
            message("ERROR", std::string("cannot write the job: ") + std::strerror(errno));
            return 1;
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 6 || argc > 7) {
        std::fprintf(stderr, "Usage: %s job-id user title copies options [file]\n", argv[0]);
        return 1;
    }
    int in = STDIN_FILENO;
    if (argc == 7) {
        in = ::open(argv[6], O_RDONLY | O_CLOEXEC);
        if (in < 0) {
            message("ERROR", std::string("cannot open ") + argv[6] + ": " + std::strerror(errno));
            return 1;
        }
    }

    std::string error;
    const std::unique_ptr<colourfilter::QueuePpd> ppd = colourfilter::QueuePpd::open(std::getenv("PPD"), &error);
    if (!ppd) {
        message("WARNING", error + "; the job's colour options pass as they came");
        return passThrough(in);
    }
    const colormodel::OfferedOptions offered = ppd->colorOptions();
    const colormodel::OptionValues wanted = colormodel::jobColorOptions(offered, jobOptions(argv[5], offered));

    colourfilter::FilterLog log{[](const std::string& m) { message("DEBUG", m); },
                                [](const std::string& m) { message("WARNING", m); }};
    colourfilter::FeatureRewriter rewriter(
        {wanted.begin(), wanted.end()},
        [&ppd](const std::string& option, const std::string& choice) { return ppd->code(option, choice); }, log);
    colourfilter::RewriteCounts counts;
    if (!rewriter.run(in, STDOUT_FILENO, &counts)) {
        message("ERROR", std::string("cannot copy the job: ") + std::strerror(errno));
        return 1;
    }
    std::string unreadable;
    if (counts.malformed)
        unreadable = ", " + std::to_string(counts.malformed) + " unreadable block(s) left";
    message("INFO", std::to_string(counts.changed) + " of " + std::to_string(counts.blocks) +
                        " colour settings set as the colour model wants" + unreadable);
    return 0;
}
