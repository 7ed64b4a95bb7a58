// Numbers read from a text field the way formatted stream extraction reads them: a leading sign
// and exponent forms are taken, reading stops at the first character that does not belong to
// the number, and a field that does not start with a number gives 0.
#pragma once
#include <string_view>

namespace nebulo3d
{
double FieldDouble(std::string_view field);
float FieldFloat(std::string_view field);
int FieldInt(std::string_view field);
} // namespace nebulo3d
