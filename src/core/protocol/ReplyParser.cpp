#include "core/protocol/ReplyParser.h"

#include <climits>
#include <cstring>

#include "core/protocol/ReplyMode.h"

namespace {

// strtok semantics with the position held by the caller: skip any run of the separator, then
// cut the token at the next separator. Returns nullptr when only separators (or nothing) remain.
char* NextToken(char*& pos, char separator) {
    while (*pos == separator) ++pos;
    if (*pos == '\0') return nullptr;
    char* token = pos;
    while (*pos != '\0' && *pos != separator) ++pos;
    if (*pos == separator) *pos++ = '\0';
    return token;
}

void AppendBounded(char* list, std::size_t size, const char* text) {
    if (list == nullptr || size == 0) return;
    std::size_t used = strnlen(list, size - 1);
    std::size_t room = size - 1 - used;
    std::size_t n = std::strlen(text);
    if (n > room) n = room;
    std::memcpy(list + used, text, n);
    list[used + n] = '\0';
}

int WirelessModeCode(const char* value) {
    if (std::strcmp(value, "open") == 0) return 0;
    if (std::strcmp(value, "WEP128") == 0) return 1;
    if (std::strcmp(value, "WEP64") == 0) return 2;
    if (std::strcmp(value, "WPA") == 0) return 3;
    return 10;
}

}  // namespace

int ReadLeadingInt(const char* text) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    long long value = 0;
    while (*p >= '0' && *p <= '9') {
        value = value * 10 + (*p++ - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

int ParseReplyText(int mode, char* buffer, char* valueList, std::size_t valueListSize) {
    char* question = std::strchr(buffer, '?');
    if (question == nullptr) return 0;
    const std::size_t replyLength = std::strlen(buffer);

    int result = 0;
    bool reasonSeen = false;
    char* pos = question + 1;
    for (char* key = NextToken(pos, '='); key != nullptr; key = NextToken(pos, '=')) {
        char* value = NextToken(pos, '&');
        // A key with nothing after it ends the interpretation; there is no value to read.
        if (value == nullptr) break;
        switch (mode) {
            case ReplyWirelessGet:
                if (reasonSeen) {
                    AppendBounded(valueList, valueListSize, value);
                    AppendBounded(valueList, valueListSize, "&");
                    if (std::strcmp(key, "wlAuthMode") == 0) result = WirelessModeCode(value);
                }
                if (std::strcmp(key, "reason") == 0) reasonSeen = true;
                break;
            case ReplyReason:
                if (std::strcmp(key, "reason") == 0) return ReadLeadingInt(value);
                break;
            case ReplyLanTest:
                if (std::strcmp(key, "connection") == 0)
                    return std::strcmp(value, "ok") == 0 ? 0 : 1;
                break;
            case ReplyWanTest:
                if (std::strcmp(key, "connection") == 0) {
                    int n = ReadLeadingInt(value);
                    return n == 6 ? 0 : n == 0 ? 6 : n;
                }
                break;
            default:
                return 10;
        }
    }

    // End step: the reply's bytes give way to the collected value list (never more of it than
    // the reply occupied, so the buffer cannot be overrun).
    std::memset(buffer, 0, replyLength);
    // Without a value list there is nothing to copy (and memcpy must not see a null pointer,
    // even for no bytes).
    std::size_t n = valueList && valueListSize ? strnlen(valueList, valueListSize) : 0;
    if (n > replyLength) n = replyLength;
    if (n > 0) std::memcpy(buffer, valueList, n);
    buffer[n] = '\0';
    return result;
}
