#include "principale.h"
#include "startup.h"

// The command line is never read; only the program name is passed on.
int main(int, char **argv)
{
    return Startup::run(argv[0], [] { return std::make_unique<Principale>(); });
}
