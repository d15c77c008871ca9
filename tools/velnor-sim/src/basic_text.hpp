#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velnor {

std::string_view trim(std::string_view text);
// Upper-cases everything but string literals, whose case is kept.
std::string upper_outside_strings(std::string_view text);
// Splits a line at the colons that are not inside string literals.
std::vector<std::string_view> split_statements(std::string_view line);

} // namespace velnor
