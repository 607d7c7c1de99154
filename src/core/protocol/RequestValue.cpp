#include "core/protocol/RequestValue.h"

#include <algorithm>

#include "core/session/SessionFields.h"

namespace {

constexpr long kDecimalLimit = 65536;

}  // namespace

bool IsCarriableValue(std::string_view value) {
    return std::none_of(value.begin(), value.end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return c == '&' || c < 0x20 || c == 0x7f;
    });
}

bool AppendPair(std::string& out, std::string_view key, std::string_view value) {
    if (!IsCarriableValue(value)) return false;
    out += '&';
    out += key;
    out += '=';
    out += value;
    return true;
}

long DecimalValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    long sign = 1;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) sign = text[i++] == '-' ? -1 : 1;
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min(value * 10 + (text[i] - '0'), kDecimalLimit);
    }
    return sign * value;
}

const char* FormMessageText(const SessionFields& session, FormMessage message) {
    switch (message) {
        case FormMessage::EmptyValue:
            return session.msgEmptyValue;
        case FormMessage::Number0To255:
            return session.msgNumber0To255;
        case FormMessage::Number32To65535:
            return session.msgNumber32To65535;
        case FormMessage::BadValueType:
        case FormMessage::NameTooLong:
            return session.msgBadValueType;
        case FormMessage::Length13:
            return session.msgLength13;
        case FormMessage::Length5:
            return session.msgLength5;
        case FormMessage::Length8To63:
            return session.msgLength8To63;
    }
    return "";
}
