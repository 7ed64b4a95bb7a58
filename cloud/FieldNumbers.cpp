#include "cloud/FieldNumbers.h"

#include <cctype>
#include <charconv>

namespace nebulo3d
{
namespace
{
// from_chars takes no '+' and reads "inf" and "nan", which extraction does not.
bool Prepare(std::string_view& field)
{
    if (!field.empty() && field[0] == '+') field.remove_prefix(1);
    if (field.empty()) return false;
    const unsigned char c = field[0] == '-' && field.size() > 1 ? field[1] : field[0];
    return std::isdigit(c) || c == '.';
}

template <class T> T Read(std::string_view field)
{
    T value{};
    if (!Prepare(field)) return T{};
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec == std::errc::result_out_of_range) return T{};
    return ec == std::errc() ? value : T{};
}
} // namespace

double FieldDouble(std::string_view field)
{
    return Read<double>(field);
}

float FieldFloat(std::string_view field)
{
    return Read<float>(field);
}

int FieldInt(std::string_view field)
{
    return Read<int>(field);
}
} // namespace nebulo3d
