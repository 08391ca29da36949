#include "callgrind.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <memory>

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

std::string profileLine(std::string_view line)
{
    const size_t first = line.find_first_not_of(' ');
    if (first == std::string_view::npos || !std::isdigit(static_cast<unsigned char>(line[first])))
        return {};
    const size_t percentEnd = line.find(")  ", first);
    if (percentEnd == std::string_view::npos)
        return {};
    const std::string_view cost = line.substr(first, percentEnd + 1 - first);
    std::string_view function = line.substr(percentEnd + 3);
    std::string_view library;
    if (const size_t open = function.rfind(" ["); open != std::string_view::npos) {
        library = function.substr(open + 2);
        if (!library.empty() && library.back() == ']')
            library.remove_suffix(1);
        library = library.substr(
            library.rfind('/') == std::string_view::npos ? 0 : library.rfind('/') + 1);
        function = function.substr(0, open);
    }
    // "file:function": the source file is "???" in libraries built without it.
    if (const size_t colon = function.find(':');
        colon != std::string_view::npos && function.find('(') > colon)
        function = function.substr(colon + 1);
    std::string result(cost);
    result.append("  ").append(function);
    if (!library.empty())
        result.append("  [").append(library).append("]");
    return result;
}

std::vector<std::string> topInclusive(const std::filesystem::path &dump, int count)
{
    const std::string command =
        "callgrind_annotate --inclusive=yes --auto=no '" + dump.string() + "' 2>/dev/null";
    std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), &pclose);
    std::vector<std::string> lines;
    if (!pipe)
        return lines;
    char buffer[4096];
    while (int(lines.size()) < count && fgets(buffer, sizeof buffer, pipe.get())) {
        std::string_view line(buffer);
        if (!line.empty() && line.back() == '\n')
            line.remove_suffix(1);
        if (line.find("PROGRAM TOTALS") != std::string_view::npos ||
            line.find("(below main)") != std::string_view::npos ||
            line.find("__libc_start") != std::string_view::npos ||
            line.find("ld-linux") != std::string_view::npos ||
            line.find(":main [") != std::string_view::npos)
            continue;
        const std::string shortened = profileLine(line);
        if (!shortened.empty())
            lines.push_back(shortened);
    }
    return lines;
}

} // namespace Callgrind
