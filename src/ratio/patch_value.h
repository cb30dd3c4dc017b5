#pragma once

#include <array>
#include <cstdint>
#include <iostream>
#include <string>

// The four bytes written into the executable, in file order: the ratio's
// IEEE 754 single-precision bits, least significant byte first.
using PatchValue = std::array<std::uint8_t, 4>;

// The ratio's bit pattern as uppercase hexadecimal and a newline ("%X\n").
std::string formatPatchText(float ratio);

// Cuts the patch text into four byte pairs, echoes them most significant
// first, one per line after an empty one, and returns them in file order.
PatchValue decodePatchBytes(const std::string& patchText, std::ostream& out = std::cout);

// Value of one uppercase hexadecimal digit.
int hexDigitValue(char c);

// The four bytes of a ratio, in file order, as the echo above gives them.
PatchValue patchValueOf(float ratio);
// The single-precision value that four bytes in file order hold.
float ratioOf(const PatchValue& value);
