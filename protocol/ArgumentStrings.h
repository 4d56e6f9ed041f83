// The argument strings of the service operations: the marker format that
// joins several values into the one argument text of a request, and its
// parsing. Pure functions over text, no I/O; both the launcher (joining) and
// the service (parsing) use them.
#pragma once

#include "protocol/Wire.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

// Markers. Each one ends the value before it; a marker is found by the first
// literal, case-sensitive occurrence in the whole argument.
inline constexpr std::string_view kMarkerSwapType = RX_MARKER_SWAP_TYPE;
inline constexpr std::string_view kMarkerCurrent = RX_MARKER_CURRENT;
inline constexpr std::string_view kMarkerPrevious = RX_MARKER_PREVIOUS;
inline constexpr std::string_view kMarkerUrl = RX_MARKER_URL;
inline constexpr std::string_view kMarkerModel = RX_MARKER_MODEL;
inline constexpr std::string_view kMarkerUser = RX_MARKER_USER;
inline constexpr std::string_view kMarkerArg = RX_MARKER_ARG;
// The swap argument's stand-in for a missing value.
inline constexpr std::string_view kNullValue = "NULL";

// Operation names.
inline constexpr std::string_view kOpIsAdmin = RX_OP_IS_ADMIN;
inline constexpr std::string_view kOpSwap = RX_OP_SWAP;
inline constexpr std::string_view kOpExist = RX_OP_EXIST;
inline constexpr std::string_view kOpRemove = RX_OP_REMOVE;
inline constexpr std::string_view kOpWriteDictionary = RX_OP_WRITE_DICTIONARY;
inline constexpr std::string_view kOpWritePiece = RX_OP_WRITE_PIECE;
inline constexpr std::string_view kOpCommit = RX_OP_COMMIT;
inline constexpr std::string_view kOpWalk = RX_OP_WALK;
inline constexpr std::string_view kOpLease = RX_OP_LEASE;

// Replies.
inline constexpr std::string_view kReplyTrue = RX_REPLY_TRUE;
inline constexpr std::string_view kReplyFalse = "FALSE";
// The reply to a request marked to run only after a TRUE when the request
// before it on the connection was not answered TRUE: it did not run.
inline constexpr std::string_view kReplySkipped = RX_REPLY_SKIPPED;
inline constexpr std::string_view kOnlyAfterTrue = RX_ONLY_AFTER_TRUE;
// "iRet=" and the walk's result in signed decimal.
std::string walkReply(int result);
// The reply that begins a staged write: "TRUE", the lease mark and the token.
inline constexpr std::string_view kLeaseMark = RX_LEASE_MARK;
inline constexpr std::size_t kLeaseTokenSize = RX_LEASE_TOKEN_SIZE;
std::string leaseReply(std::string_view token);
// True for "TRUE" and for a lease reply.
bool isTrueReply(std::string_view reply);
// True when the text is a lease token's form (kLeaseTokenSize lower-case
// hexadecimal digits).
bool isLeaseToken(std::string_view text);
// The token of a lease reply; empty for any other reply.
std::string leaseOfReply(std::string_view reply);
// The token of the last lease reply in a launcher's output
// ("COMMAND=TRUE lease=TOKEN" lines); empty when it holds none.
std::string leaseOfOutput(std::string_view output);

// The walk's argument vector holds at most this many elements.
inline constexpr std::size_t kMaxWalkElements = 512;

// True when the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF). Every text of a request must be.
bool isValidUtf8(std::string_view bytes);

// ---- Joining (the launcher) ---------------------------------------------
// Joins the launcher's further arguments into the argument string of the
// operation. Empty when the operation is unknown or the number of arguments
// does not fit it (the walk needs at least model and user name).
std::optional<std::string> joinArguments(std::string_view operation,
                                         const std::vector<std::string_view>& arguments);

// ---- Parsing (the service) ----------------------------------------------
struct SwapArgument {
    int swapType = 0;
    std::optional<std::string> currentPath;   // absent for "NULL" or a missing marker
    std::optional<std::string> previousPath;
};
// Never fails: missing markers give type 0 and absent paths.
SwapArgument parseSwapArgument(std::string_view argument);

// The decimal value of a swap-type text: leading white space skipped, an
// optional sign, then digits; text without digits gives 0. Values beyond
// the int range saturate.
int parseDecimal(std::string_view text);

struct UrlAndText {
    std::string url;
    std::string text;  // everything after the marker
};
// Empty when the argument has no ":AddURL:END".
std::optional<UrlAndText> parseUrlAndText(std::string_view argument);

struct WalkArgument {
    std::string modelName;
    std::string userName;
    std::vector<std::string> vector;  // the walk's argument vector, program name first
};
enum class WalkParse { Ok, MissingMarker, TooManyElements };
// Splits the walk argument. The text after the last ":arg:" is dropped.
WalkParse parseWalkArgument(std::string_view argument, WalkArgument* out);

// ---- File URLs ------------------------------------------------------------
// "file://" followed by the absolute path with every byte outside the
// unreserved set and "/" percent-escaped.
std::string fileUrlFromPath(std::string_view absolutePath);
// The file-system path of a file URL ("file://" with an empty or "localhost"
// host, an absolute path, percent escapes decoded). Empty when the text is no
// such URL: another scheme, a query or fragment, a bad escape, an escaped NUL.
std::optional<std::string> pathFromFileUrl(std::string_view url);

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
