#include "plugin/frame/PDELogging.h"

#include "platform/TextConversion.h"
#include "plugin/options/PDEControlItem.h"

#include <QObject>
#include <cstring>
#include <langinfo.h>
#include <string>
#include <syslog.h>
#include <vector>

namespace {

// "%@" becomes "%s"; everything else is the format as given.
std::string objectSpecifiersAsStrings(const char* format)
{
    std::string out = format ? format : "";
    for (size_t at = out.find("%@"); at != std::string::npos; at = out.find("%@", at + 2))
        out[at + 1] = 's';
    return out;
}

std::string vformat(const std::string& format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format.c_str(), copy);
    va_end(copy);
    if (n < 0)
        return format;
    std::vector<char> buffer(size_t(n) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format.c_str(), args);
    return std::string(buffer.data(), size_t(n));
}

void logLine(const char* prefix, const QObject* self, const char* separator, const char* format, va_list args)
{
    std::string line = std::string(prefix) + " self(" + PDEDescribe(self) + ")" + separator;
    line += objectSpecifiersAsStrings(format);
    syslog(LOG_NOTICE, "%s", vformat(line, args).c_str());
}

// UTF-8 text in the encoding of the current locale, "?" for each character
// it cannot hold; the text as it is when the locale's encoding is unknown.
std::string inLocaleEncoding(const std::string& utf8)
{
    const std::optional<std::string> local = rx::convertText(utf8, "UTF-8", nl_langinfo(CODESET), "?");
    return local ? *local : utf8;
}

}  // namespace

const char* PDEDescribe(const QObject* object)
{
    thread_local std::string text;
    if (!object)
        return "(null)";
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(object));
    text = std::string(object->metaObject()->className()) + "(" + address + ")";
    return text.c_str();
}

extern "C" {

int MyLog(FILE* stream, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = vformat(objectSpecifiersAsStrings(format), args);
    va_end(args);
    const std::string local = inLocaleEncoding(text);
    if (stream) {
        std::fwrite(local.data(), 1, local.size(), stream);
        std::fflush(stream);
    }
    return 0;
}

void _PDEProlog(const QObject* self, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    logLine("BEGIN", self, " ", format, args);
    va_end(args);
}

void _PDEEpilog(const QObject* self, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    logLine("END", self, " ", format, args);
    va_end(args);
}

void _PDELog(const QObject* self, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    logLine("LOG", self, ": ", format, args);
    va_end(args);
}

int _DEBUGControlTable(const pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846::PDEControlItem* table)
{
    int n = 0;
    if (!table)
        return 0;
    while (table[n].control)
        ++n;
    return n + 1;
}

}  // extern "C"
