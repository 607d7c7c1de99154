#pragma once

// Checks one dotted IPv4 address (isMask 0) or subnet mask (isMask 1) typed by the user.
// 0 = valid, 1 = invalid. The text is only read.
//
// Both: exactly four parts of one to three decimal digits, each 0..255.
// Address: not 0.0.0.0 or 255.255.255.255; first octet 1..223 and not 127; last octet neither 0
// nor 255 (so network numbers and broadcast-looking addresses are refused whatever the mask).
// Mask: contiguous ones from the top bit, first octet 255, and neither 255.255.255.254 nor
// 255.255.255.255. The byte-boundary masks 255.0.0.0, 255.255.0.0 and 255.255.255.0 are valid.
int CheckIpText(const char* text, int isMask);
