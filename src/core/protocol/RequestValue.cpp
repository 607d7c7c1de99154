#include "core/protocol/RequestValue.h"

#include <algorithm>

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
