#pragma once

// Writes exactly length (1..21) lowercase hexadecimal characters into output, without a
// terminator (the caller's cleared buffer of length + 1 bytes terminates it). The key is built
// from random numbers 0..32767 written in base 16 without leading zeros and cut after length
// characters; the numbers come from the system's cryptographic random source. A length outside
// 1..21 writes nothing.
void GenerateRandomKey(char* output, int length);

constexpr int kMaxRandomKeyLength = 21;
