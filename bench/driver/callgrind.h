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

// One line of callgrind_annotate's function table, made short.
struct ProfileEntry
{
    std::string cost; // "45,583,099 (60.47%)"
    std::string function;
    std::string library; // the file name, without its folder; may be empty

    std::string text() const;
};
std::optional<ProfileEntry> profileEntry(std::string_view line);

} // namespace Callgrind
