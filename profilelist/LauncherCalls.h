// The plug-in side of the store's file changes: every write, copy, removal
// and writability probe is a request to the service, made by running the
// launcher and reading what it prints. This file offers the pieces that the
// plug-in's other service calls (discovery) share; the store functions
// themselves are declared in ProfileList.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The launcher's path below TARNVALE_ROOT.
std::string QVPListLauncherPath();

// Runs the launcher with the command and its further arguments, standard
// output on a pipe, waits for it and returns everything it printed (UTF-8).
// Empty when no file exists at the launcher path (nothing is started) or the
// process or pipe could not be made. The exit status is not looked at.
std::optional<std::string> QVPListRunLauncher(const std::vector<std::string>& commandAndArguments);

// One request of a sequence: the command and its further arguments, and
// whether it runs only when the request before it answered "TRUE" (else
// whatever that one answered).
struct LauncherRequest {
    std::vector<std::string> commandAndArguments;
    bool onlyAfterTrue = true;
};

// Runs the requests in order, in one launcher run, or in several when their
// arguments pass what the system lets one process start with; a request
// that may not run (the one before it did not answer "TRUE") ends the
// sequence. A staged write's lease that a run's output hands out goes in
// front of every later run, and into *lease (when not null) even when the
// sequence failed or its wait was given up afterwards. Returns what the runs
// printed, a "COMMAND=REPLY" line per request that ran; empty, as
// QVPListRunLauncher's, when a run could not be made or read or its wait was
// given up.
std::optional<std::string> QVPListRunLauncherSequence(const std::vector<LauncherRequest>& requests,
                                                      std::string* lease = nullptr);

// True when the output is present and holds `expected` ("COMMAND=TRUE").
bool QVPListOutputHolds(const std::optional<std::string>& output, std::string_view expected);

// Number of launcher processes this process has started.
std::size_t QVPListLauncherRuns();

// ---- Pieces -------------------------------------------------------------
// Length in UTF-16 code units of a piece of a staged write.
inline constexpr std::uint64_t kPieceLength = 90000;
// The longest command-line argument execve accepts, without its NUL.
inline constexpr std::size_t kMaxArgumentBytes = 128 * 1024 - 1;

// Cuts UTF-16 text into pieces of at most `chunkLength` units (at least 1),
// in order. A text of at most `chunkLength` units is one piece, the text
// itself; an empty text gives one empty piece. A cut never falls between
// the two halves of a surrogate pair (a piece then ends one unit early; with
// a chunk length of 1 a pair makes a piece of 2), and no piece's UTF-8 form
// exceeds `maxUtf8Bytes` (a piece then ends early).
std::vector<std::u16string> splitCharEvery(std::u16string_view text, std::uint64_t chunkLength,
                                           std::size_t maxUtf8Bytes = kMaxArgumentBytes);

// splitCharEvery over the UTF-8 form of the text, without converting it:
// the same cuts, as views into `text`, which must be well-formed UTF-8.
std::vector<std::string_view> splitUtf8Every(std::string_view text, std::uint64_t chunkLength,
                                             std::size_t maxUtf8Bytes = kMaxArgumentBytes);

// UTF-8 to UTF-16; empty when the bytes are not well-formed UTF-8.
std::optional<std::u16string> QVPListUtf16FromUtf8(std::string_view text);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string QVPListUtf8FromUtf16(std::u16string_view text);
