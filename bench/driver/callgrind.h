#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reading callgrind's dumps.
namespace Callgrind {

// The instructions counted in a dump (its "totals:" or "summary:" line).
std::optional<unsigned long long> total(std::string_view dump);

// The heaviest functions by inclusive cost, from callgrind_annotate, with the frames
// that every program shares (loader, libc start, main) left out.
std::vector<std::string> topInclusive(const std::filesystem::path &dump, int count);

// One callgrind_annotate line made short: the cost, the function, the library's file
// name without its folder; empty for a line that is not a function's.
std::string profileLine(std::string_view line);

} // namespace Callgrind
