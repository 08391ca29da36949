#include "callgrind.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <memory>
#include <set>

namespace Callgrind {

std::optional<unsigned long long> total(std::string_view dump)
{
    for (std::string_view key : {"totals:", "summary:"}) {
        size_t at = 0;
        while ((at = dump.find(key, at)) != std::string_view::npos) {
            const bool lineStart = at == 0 || dump[at - 1] == '\n';
            at += key.size();
            if (!lineStart)
                continue;
            while (at < dump.size() && dump[at] == ' ')
                ++at;
            unsigned long long value = 0;
            const auto [end, error] =
                std::from_chars(dump.data() + at, dump.data() + dump.size(), value);
            if (error == std::errc())
                return value;
        }
    }
    return std::nullopt;
}

std::string ProfileEntry::text() const
{
    return cost + "  " + function + (library.empty() ? "" : "  [" + library + "]");
}

std::optional<ProfileEntry> profileEntry(std::string_view line)
{
    const size_t first = line.find_first_not_of(' ');
    if (first == std::string_view::npos || !std::isdigit(static_cast<unsigned char>(line[first])))
        return std::nullopt;
    const size_t costEnd = line.find(")  ", first);
    if (costEnd == std::string_view::npos)
        return std::nullopt;
    ProfileEntry entry;
    entry.cost = line.substr(first, costEnd + 1 - first);
    std::string_view function = line.substr(costEnd + 3);
    if (const size_t open = function.rfind(" ["); open != std::string_view::npos) {
        std::string_view library = function.substr(open + 2);
        if (!library.empty() && library.back() == ']')
            library.remove_suffix(1);
        if (const size_t slash = library.rfind('/'); slash != std::string_view::npos)
            library.remove_prefix(slash + 1);
        entry.library = library;
        function = function.substr(0, open);
    }
    // "file:function", the file being "???" in libraries built without debug information.
    if (const size_t colon = function.find(':');
        colon != std::string_view::npos && function.find('(') > colon)
        function.remove_prefix(colon + 1);
    entry.function = function;
    return entry;
}

std::vector<std::string> topInclusive(const std::filesystem::path &dump, int count)
{
    const std::string command =
        "callgrind_annotate --inclusive=yes --auto=no '" + dump.string() + "' 2>/dev/null";
    std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), &pclose);
    std::vector<std::string> lines;
    if (!pipe)
        return lines;
    std::set<std::string> seen;
    char buffer[4096];
    while (int(lines.size()) < count && fgets(buffer, sizeof buffer, pipe.get())) {
        std::string_view line(buffer);
        if (!line.empty() && line.back() == '\n')
            line.remove_suffix(1);
        const std::optional<ProfileEntry> entry = profileEntry(line);
        // A function inlined from several files is listed once per file: keep the first.
        if (!entry || !seen.insert(entry->function).second)
            continue;
        const bool shared = entry->function == "PROGRAM TOTALS" || entry->function == "main" ||
                            entry->function == "(below main)" ||
                            entry->function.starts_with("__libc_start") ||
                            entry->library.starts_with("ld-linux");
        if (!shared)
            lines.push_back(entry->text());
    }
    return lines;
}

} // namespace Callgrind
