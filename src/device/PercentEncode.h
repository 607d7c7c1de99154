#pragma once

#include <string>
#include <string_view>

// Values typed by the user go into "key=value&..." requests. A byte that would break that pair
// grammar ("%", "&", "=", "+", "#", "?", space, control and non-ASCII bytes) is written as %XX
// with upper-case hex digits; every other byte goes as typed, so ordinary values are sent
// byte-identical to what the user entered.
void AppendEncodedValue(std::string& out, std::string_view value);
std::string EncodeValue(std::string_view value);

// The inverse for values read back from the modem: every valid %XX becomes its byte; a "%" not
// followed by two hex digits stays as it is.
std::string DecodeValue(std::string_view value);
