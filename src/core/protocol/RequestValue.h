#pragma once

#include <optional>
#include <string>
#include <string_view>

struct SessionFields;

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

// The value of the decimal number a text begins with (after blanks and one sign); 0 when there
// is none. Beyond 65535 either way it stops at 65536 (or -65536), so that any long run of digits
// stays outside every range a page accepts.
long DecimalValue(std::string_view text);

// The session message a refused entry shows (one of its msg fields, in the current language).
enum class FormMessage {
    EmptyValue,
    Number0To255,
    Number32To65535,
    BadValueType,
    NameTooLong,  // the bad-value message, then a plain note that the name is too long
    Length13,
    Length5,
    Length8To63,
};
const char* FormMessageText(const SessionFields& session, FormMessage message);

// The first entry of a form that cannot be accepted: what to say and which control gets the focus
// (0: none).
struct FormFailure {
    FormMessage message;
    int control;
    bool operator==(const FormFailure&) const = default;
};
using FormCheck = std::optional<FormFailure>;
