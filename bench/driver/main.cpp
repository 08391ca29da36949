#include "bench.h"
#include "report.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <sys/utsname.h>
#include <thread>

namespace {

constexpr int ScreenWidth = 1280;
constexpr int ScreenHeight = 1024;

const char *const Usage =
    "Usage: morphobench --program PATH --floor PATH [options]\n"
    "  --rounds N              counted rounds, each Morphocalcule then the floor (7)\n"
    "  --warmup N              rounds run first and not counted (1)\n"
    "  --instruction-rounds N  counted rounds also run under callgrind (all)\n"
    "  --idle S                seconds of the idle measure (30)\n"
    "  --roll S                seconds of the credits-roll measure (30)\n"
    "  --quick                 3 rounds, 5 s windows, 1 round under callgrind\n"
    "  --output FILE           the Markdown table (results.md)\n"
    "  --keep                  keep the work folder\n";

std::string commandOutput(const std::string &command)
{
    std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), &pclose);
    std::string output;
    char buffer[512];
    while (pipe && fgets(buffer, sizeof buffer, pipe.get()))
        output += buffer;
    while (!output.empty() && (output.back() == '\n' || output.back() == ' '))
        output.pop_back();
    return output;
}

std::string orUnknown(const std::string &text)
{
    return text.empty() ? "unknown" : text;
}

RunInfo machine(const BenchOptions &options)
{
    RunInfo info;
    char date[64];
    const std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M %Z", std::localtime(&now));
    info.date = date;
    info.cpuModel = orUnknown(commandOutput("lscpu | sed -n 's/^Model name: *//p' | head -n 1"));
    info.cores = int(std::thread::hardware_concurrency());
    info.debianVersion = orUnknown(commandOutput("cat /etc/debian_version 2>/dev/null"));
    info.qtVersion =
        orUnknown(commandOutput("dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null"));
    utsname system{};
    uname(&system);
    info.kernel = system.release;
    info.rounds = options.rounds;
    info.warmupRounds = options.warmupRounds;
    info.instructionRounds = std::min(options.instructionRounds, options.rounds);
    info.idleSeconds = int(options.idle.count());
    info.rollSeconds = int(options.roll.count());
    return info;
}

// A program on PATH, as an absolute path: the programs are started with execve.
std::string onPath(const std::string &name)
{
    const std::string found = commandOutput("command -v " + name);
    if (found.empty())
        throw std::runtime_error(name + " is not installed");
    return found;
}

int number(const char *text, const char *option)
{
    char *end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || value < 0 || value > 100000)
        throw std::invalid_argument(std::string(option) + " takes a whole number, not \"" + text +
                                    "\"");
    return int(value);
}

} // namespace

int main(int argc, char **argv)
{
    try {
        BenchOptions options;
        std::filesystem::path program, floor, output = "results.md";
        bool keep = false;
        bool instructionRoundsGiven = false;
        for (int index = 1; index < argc; ++index) {
            const std::string option = argv[index];
            const auto value = [&] {
                if (index + 1 >= argc)
                    throw std::invalid_argument(option + " needs a value");
                return argv[++index];
            };
            if (option == "--program")
                program = value();
            else if (option == "--floor")
                floor = value();
            else if (option == "--output")
                output = value();
            else if (option == "--rounds")
                options.rounds = number(value(), argv[index - 1]);
            else if (option == "--warmup")
                options.warmupRounds = number(value(), argv[index - 1]);
            else if (option == "--instruction-rounds") {
                options.instructionRounds = number(value(), argv[index - 1]);
                instructionRoundsGiven = true;
            } else if (option == "--idle")
                options.idle = std::chrono::seconds(number(value(), argv[index - 1]));
            else if (option == "--roll")
                options.roll = std::chrono::seconds(number(value(), argv[index - 1]));
            else if (option == "--quick") {
                options.rounds = 3;
                options.idle = options.roll = std::chrono::seconds(5);
                options.instructionRounds = 1;
                instructionRoundsGiven = true;
            } else if (option == "--keep")
                keep = true;
            else if (option == "--help" || option == "-h") {
                std::cout << Usage;
                return 0;
            } else
                throw std::invalid_argument("unknown option " + option);
        }
        if (program.empty() || floor.empty())
            throw std::invalid_argument("--program and --floor are required");
        if (options.rounds < 1)
            throw std::invalid_argument("--rounds must be at least 1");
        if (!instructionRoundsGiven)
            options.instructionRounds = options.rounds;
        options.valgrind = onPath("valgrind");
        options.callgrindControl = onPath("callgrind_control");

        char pattern[] = "/tmp/morphobench.XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("cannot make a work folder in /tmp");
        const std::filesystem::path work = pattern;

        Results results;
        {
            XServer server(ScreenWidth, ScreenHeight, (work / "xvfb.log").string());
            std::cerr << "Benchmark X server " << server.display() << ", work folder "
                      << work.string() << std::endl;
            Bench bench(server, options, work, results);
            bench.run(
                {Subject::Morphocalcule, "Morphocalcule", std::filesystem::absolute(program),
                 "TPrincipale", true},
                {Subject::Floor, "floor", std::filesystem::absolute(floor), "MorphoFloor", false});
        }
        const Report report(results, machine(options));
        std::cout << '\n' << report.text();
        std::ofstream(output) << report.markdown();
        std::cout << "\nMarkdown table written to " << output.string() << '\n';
        if (!keep)
            std::filesystem::remove_all(work);
        return 0;
    } catch (const std::invalid_argument &error) {
        std::cerr << "morphobench: " << error.what() << '\n' << Usage;
        return 2;
    } catch (const std::exception &error) {
        std::cerr << "morphobench: " << error.what() << '\n';
        return 1;
    }
}
