#pragma once

#include <QString>

// This build installed as a user installs it, with `cmake --install` into a prefix.
class InstallTree
{
public:
    // True when the install succeeded; otherwise what cmake said goes to the test log.
    static bool into(const QString &prefix);
};
