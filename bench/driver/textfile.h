#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// A whole file as text; empty when it cannot be read, as the /proc entries of a thread
// that has just ended.
inline std::string readText(const std::filesystem::path &path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
