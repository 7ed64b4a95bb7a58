// Numbers as printf's "%.4E" writes them (five significant digits, rounded to nearest, ties to
// even on the exact binary value; "1.2345E-06"), a few times faster: the averaging tool writes
// millions of them.
#pragma once

namespace volumira3d
{
// Room WriteScientific4 needs, the terminating zero not included (it writes none).
inline constexpr int Scientific4Chars = 24;

// Writes value at out and returns the end of what it wrote.
char* WriteScientific4(char* out, double value);
} // namespace volumira3d
