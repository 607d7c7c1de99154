#pragma once

#include <string>
#include <string_view>

// The request texts carry the user's texts exactly as typed (UTF-8, nothing escaped), each as the
// value of a "key=value" pair between "&" separators. An "&" would end the value and begin a pair
// of the user's making, and a control byte (below 0x20, or 0x7F) is no text the modem takes: a
// value holding either cannot be carried, and no request is formatted with it.
bool IsCarriableValue(std::string_view value);

// Appends "&key=value"; false, with nothing appended, when the value cannot be carried.
bool AppendPair(std::string& out, std::string_view key, std::string_view value);

// Why a request text was not formatted.
enum class RequestRefusal {
    None,
    UnknownForm,       // the record asks for a form the request does not have
    UncarriableValue,  // one of the texts holds "&" or a control byte
};
