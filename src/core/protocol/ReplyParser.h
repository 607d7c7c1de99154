#pragma once

#include <cstddef>

// Interprets one modem reply of the form "prefix?key=value&key=value..." in the given mode and
// condenses it into one integer result (see ReplyMode). Pure and reentrant: the tokenizer's
// position belongs to the call, so threads may parse at the same time.
//
// buffer is a NUL-terminated reply and is modified in place: separators are cut, and unless the
// interpretation returns early the reply bytes are zeroed and the collected value list is copied
// to the start of the buffer. valueList accumulates "value&" for every pair after "reason" in
// ReplyWirelessGet mode; it is never emptied here and never overflows its capacity. valueList
// may be null (with valueListSize 0): the values are then not collected.
int ParseReplyText(int mode, char* buffer, char* valueList, std::size_t valueListSize);

// The number at the start of text as atoi reads it (leading blanks, optional sign, digits; 0
// when there is none), saturated at the int range instead of overflowing.
int ReadLeadingInt(const char* text);
