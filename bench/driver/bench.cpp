#include "bench.h"

#include "callgrind.h"
#include "procstats.h"
#include "programprocess.h"
#include "textfile.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <sys/stat.h>

using namespace std::chrono_literals;

namespace {

// Where the about box is opened and its roll started, in the windows' own coordinates.
constexpr int PopupX = 400; // bare background below the panels, right of the result
constexpr int PopupY = 195;
constexpr uint32_t AboutItemMnemonic = 'a'; // "&A propos"
constexpr int PictureX = 16;
constexpr int PictureY = 14;
constexpr int PictureSize = 50;
const Rect CreditsText{4, 6, 290, 176};
constexpr const char *AboutBoxClass = "TAboutBox";
constexpr const char *ApplicationClass = "TApplication";

// The roll steps every 50 ms: this many separate updates of its text prove it runs.
constexpr int RollUpdates = 5;
constexpr auto RollUpdateGap = 20ms;
constexpr auto RollEvidenceSpan = 150ms;
constexpr auto RollEvidenceWait = 3s;

// Under callgrind: the event loop sleeps when its main thread waits in poll() and the
// process has used next to no CPU for several samples in a row.
constexpr auto IdleSample = 10ms;
constexpr int IdleSamples = 5;
constexpr auto IdleCpuPerSample = 1ms;
constexpr auto IdleWait = 300s;

constexpr auto NativeStartWait = 30s;
constexpr auto CallgrindStartWait = 600s;
constexpr auto PopupWait = 5s;
constexpr auto AboutBoxWait = 10s;
constexpr auto WindowsGoneWait = 10s;
constexpr int ProfileLines = 25;

double mebibytes(long long kibibytes)
{
    return double(kibibytes) / 1024;
}

double milliseconds(std::chrono::nanoseconds duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

double percentOfCore(std::chrono::nanoseconds cpu, Clock::duration elapsed)
{
    return 100.0 * double(cpu.count()) /
           double(std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count());
}

std::string readTail(const std::filesystem::path &path, size_t bytes)
{
    const std::string all = readText(path);
    return all.size() > bytes ? all.substr(all.size() - bytes) : all;
}

} // namespace

struct Bench::Launch
{
    std::filesystem::path folder;
    std::unique_ptr<ProgramProcess> process;
    xcb_window_t window = XCB_NONE;
    Rect rect;
    Clock::time_point mapped;
    Clock::time_point painted;

    ~Launch()
    {
        process.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

Bench::Bench(XServer &server, const BenchOptions &options, const std::filesystem::path &workFolder,
             Results &results)
    : m_server(server), m_options(options), m_workFolder(workFolder), m_results(results)
{
    std::filesystem::create_directories(m_workFolder / "home");
    std::filesystem::create_directories(m_workFolder / "runtime");
    chmod((m_workFolder / "runtime").c_str(), 0700);
}

Bench::~Bench() = default;

// The same for both programs. No session bus: the address leads nowhere, so that
// neither starts one on its own (D-Bus autolaunch) and the runs stay alike.
std::vector<std::string> Bench::environment() const
{
    return {
        "PATH=/usr/local/bin:/usr/bin:/bin",
        "HOME=" + (m_workFolder / "home").string(),
        "XDG_RUNTIME_DIR=" + (m_workFolder / "runtime").string(),
        "LC_ALL=C.UTF-8",
        "DISPLAY=" + m_server.display(),
        "DBUS_SESSION_BUS_ADDRESS=unix:path=" + (m_workFolder / "no-session-bus").string(),
    };
}

void Bench::run(const ProgramUnderTest &program, const ProgramUnderTest &floor)
{
    const int total = m_options.warmupRounds + m_options.rounds;
    for (int index = 0; index < total; ++index) {
        const int countedIndex = index - m_options.warmupRounds;
        const bool counted = countedIndex >= 0;
        const std::string round = counted ? "round " + std::to_string(countedIndex + 1) + "/" +
                                                std::to_string(m_options.rounds)
                                          : "warm-up " + std::to_string(index + 1) + "/" +
                                                std::to_string(m_options.warmupRounds);
        measure(program, counted, round);
        measure(floor, counted, round);
        if (counted && countedIndex < m_options.instructionRounds) {
            measureInstructions(program, counted, countedIndex == 0, round);
            measureInstructions(floor, counted, countedIndex == 0, round);
        }
    }
}

void Bench::record(bool counted, Subject subject, Measure measure, double value)
{
    if (counted)
        m_results.add(subject, measure, value);
}

void Bench::movePointerAway()
{
    m_server.movePointer(m_server.width() - 1, m_server.height() - 1);
}

// Starts a fresh copy and follows it until its main window is mapped and then drawn
// into. The damage watch exists before the exec, so no frame can be missed.
std::unique_ptr<Bench::Launch> Bench::launch(const ProgramUnderTest &subject, bool underCallgrind,
                                             std::chrono::seconds timeout)
{
    auto run = std::make_unique<Launch>();
    run->folder = m_workFolder / ("start-" + std::to_string(++m_launchCount));
    std::filesystem::create_directory(run->folder);
    const std::filesystem::path copy = run->folder / subject.executable.filename();
    std::filesystem::copy_file(subject.executable, copy);

    std::vector<std::string> arguments;
    if (underCallgrind)
        arguments = {m_options.valgrind, "--tool=callgrind",
                     "--callgrind-out-file=" + (run->folder / "callgrind.out.%p").string()};
    arguments.push_back(copy.string());

    movePointerAway();
    const uint32_t damage = m_server.createDamage();
    run->process = std::make_unique<ProgramProcess>(arguments, environment(), run->folder,
                                                    run->folder / "output.log");
    bool mapped = false;
    const XServer::Wait result = m_server.waitEvents(
        run->process->execTime() + timeout,
        [&](const xcb_generic_event_t &event, Clock::time_point received) {
            if (!mapped) {
                if (!m_server.isMapNotify(event))
                    return false;
                const auto &map = reinterpret_cast<const xcb_map_notify_event_t &>(event);
                if (m_server.windowClass(map.window) != subject.windowClass)
                    return false;
                mapped = true;
                run->mapped = received;
                run->window = map.window;
                run->rect = m_server.geometry(map.window).value_or(Rect{});
                return false;
            }
            if ((event.response_type & 0x7f) == XCB_CONFIGURE_NOTIFY) {
                const auto &configure =
                    reinterpret_cast<const xcb_configure_notify_event_t &>(event);
                if (configure.window == run->window)
                    run->rect = {configure.x, configure.y, configure.width, configure.height};
                return false;
            }
            const std::optional<Rect> area = m_server.damageArea(event, damage);
            if (!area || !area->intersects(run->rect))
                return false;
            run->painted = received;
            return true;
        },
        run->process->exitFd());
    // Watching every drawing costs the X server work: none of it may fall in a measure.
    m_server.destroyDamage(damage);
    if (result == XServer::Wait::FdReady)
        programEnded(subject, *run);
    if (result == XServer::Wait::TimedOut)
        throw std::runtime_error(subject.name +
                                 (mapped ? " painted nothing in its window" : " mapped no window") +
                                 " of class " + subject.windowClass + " within " +
                                 std::to_string(timeout.count()) + " s");
    return run;
}

void Bench::programEnded(const ProgramUnderTest &subject, const Launch &run)
{
    throw std::runtime_error(subject.name +
                             " ended in the middle of its measurement; its output:\n" +
                             readTail(run.folder / "output.log", 2000));
}

void Bench::measure(const ProgramUnderTest &subject, bool counted, const std::string &round)
{
    const std::unique_ptr<Launch> run = launch(subject, false, NativeStartWait);
    const pid_t pid = run->process->pid();
    const int exitFd = run->process->exitFd();
    const double mapMs = millisecondsBetween(run->process->execTime(), run->mapped);
    const double paintMs = millisecondsBetween(run->process->execTime(), run->painted);
    record(counted, subject.subject, Measure::Map, mapMs);
    record(counted, subject.subject, Measure::FirstPaint, paintMs);

    if (m_server.pause(run->mapped + m_options.memoryDelay, exitFd) == XServer::Wait::FdReady)
        programEnded(subject, *run);
    const ProcStats::Memory memory = ProcStats::memory(pid);
    record(counted, subject.subject, Measure::Rss, mebibytes(memory.rssKiB));
    record(counted, subject.subject, Measure::PrivateDirty, mebibytes(memory.privateDirtyKiB));

    const auto cpuBefore = ProcStats::cpuTime(pid);
    const ProcStats::Wakeups wakeupsBefore = ProcStats::voluntarySwitches(pid);
    const auto serverBefore = ProcStats::cpuTime(m_server.pid());
    if (m_server.pause(Clock::now() + m_options.idle, exitFd) == XServer::Wait::FdReady)
        programEnded(subject, *run);
    const double idleCpu = milliseconds(ProcStats::cpuTime(pid) - cpuBefore);
    const ProcStats::Wakeups wakeupsAfter = ProcStats::voluntarySwitches(pid);
    const long long wakeups = ProcStats::total(wakeupsAfter) - ProcStats::total(wakeupsBefore);
    const double serverCpu = milliseconds(ProcStats::cpuTime(m_server.pid()) - serverBefore);
    record(counted, subject.subject, Measure::IdleCpu, idleCpu);
    record(counted, subject.subject, Measure::IdleWakeups, double(wakeups));
    record(counted, subject.subject, Measure::IdleServerCpu, serverCpu);

    char line[1024];
    std::snprintf(line, sizeof line,
                  "%s, %s: map %.1f ms, first frame %.1f ms, VmRSS %.2f MiB, Private_Dirty %.2f "
                  "MiB; idle: CPU %.2f ms, %lld wakeups (%s), X server %.2f ms",
                  round.c_str(), subject.name.c_str(), mapMs, paintMs, mebibytes(memory.rssKiB),
                  mebibytes(memory.privateDirtyKiB), idleCpu, wakeups,
                  ProcStats::wakeupsByThread(wakeupsBefore, wakeupsAfter).c_str(), serverCpu);
    std::string progress = line;
    if (subject.hasCreditsRoll) {
        if (const std::optional<RollCost> roll = measureCreditsRoll(*run)) {
            record(counted, subject.subject, Measure::RollCpu, roll->programPercent);
            record(counted, subject.subject, Measure::RollServerCpu, roll->serverPercent);
            std::snprintf(line, sizeof line, "; credits roll: CPU %.3f %%, X server %.3f %%",
                          roll->programPercent, roll->serverPercent);
            progress += line;
        }
    }
    std::cerr << progress << std::endl;
    finish(subject, *run);
}

std::optional<Bench::RollCost> Bench::measureCreditsRoll(Launch &run)
{
    if (m_toldNoAboutBox)
        return std::nullopt;
    Rect about;
    if (!openAboutBox(run, about)) {
        m_toldNoAboutBox = true;
        std::cerr << "No about box (class " << AboutBoxClass << ") opened from the popup item "
                  << "\"&A propos\": the credits roll is not measured in this run." << std::endl;
        return std::nullopt;
    }
    m_server.click(about.x + PictureX + PictureSize / 2, about.y + PictureY + PictureSize / 2, 1);
    // Away from the box, so that no tooltip comes and goes during the measure.
    movePointerAway();
    const Rect text{about.x + CreditsText.x, about.y + CreditsText.y, CreditsText.width,
                    CreditsText.height};
    const pid_t pid = run.process->pid();
    const int exitFd = run.process->exitFd();
    if (!creditsRolling(text, exitFd))
        throw std::runtime_error(
            "the credits do not roll after a click on the about box's picture");

    const auto cpuBefore = ProcStats::cpuTime(pid);
    const auto serverBefore = ProcStats::cpuTime(m_server.pid());
    const auto start = Clock::now();
    if (m_server.pause(start + m_options.roll, exitFd) == XServer::Wait::FdReady)
        throw std::runtime_error("the program ended while its credits were rolling");
    const auto elapsed = Clock::now() - start;
    const RollCost cost{percentOfCore(ProcStats::cpuTime(pid) - cpuBefore, elapsed),
                        percentOfCore(ProcStats::cpuTime(m_server.pid()) - serverBefore, elapsed)};
    if (!creditsRolling(text, exitFd))
        throw std::runtime_error("the credits stopped rolling during the measure");
    return cost;
}

// The about box opens from the popup menu, which opens where the right button is
// released anywhere on the main window; its item is chosen by its mnemonic.
bool Bench::openAboutBox(Launch &run, Rect &aboutBox)
{
    const int exitFd = run.process->exitFd();
    const uint32_t damage = m_server.createDamage();
    m_server.click(run.rect.x + PopupX, run.rect.y + PopupY, 3);
    XServer::Wait result = m_server.waitEvents(
        Clock::now() + PopupWait,
        [&](const xcb_generic_event_t &event, Clock::time_point) {
            return m_server.isMapNotify(event);
        },
        exitFd);
    if (result == XServer::Wait::Handled) {
        m_server.typeKey(AboutItemMnemonic);
        bool mapped = false;
        result = m_server.waitEvents(
            Clock::now() + AboutBoxWait,
            [&](const xcb_generic_event_t &event, Clock::time_point) {
                if (!mapped) {
                    if (!m_server.isMapNotify(event))
                        return false;
                    const auto &map = reinterpret_cast<const xcb_map_notify_event_t &>(event);
                    if (m_server.windowClass(map.window) != AboutBoxClass)
                        return false;
                    mapped = true;
                    aboutBox = m_server.geometry(map.window).value_or(Rect{});
                    return false;
                }
                // Drawn, so ready for the click on its picture.
                const std::optional<Rect> area = m_server.damageArea(event, damage);
                return area && area->intersects(aboutBox);
            },
            exitFd);
    }
    m_server.destroyDamage(damage);
    if (result == XServer::Wait::FdReady)
        throw std::runtime_error("the program ended while its about box was being opened");
    return result == XServer::Wait::Handled;
}

bool Bench::creditsRolling(const Rect &textArea, int watchFd)
{
    const uint32_t damage = m_server.createDamage();
    std::vector<Clock::time_point> updates;
    const XServer::Wait result = m_server.waitEvents(
        Clock::now() + RollEvidenceWait,
        [&](const xcb_generic_event_t &event, Clock::time_point received) {
            const std::optional<Rect> area = m_server.damageArea(event, damage);
            if (!area || !area->intersects(textArea))
                return false;
            if (updates.empty() || received - updates.back() >= RollUpdateGap)
                updates.push_back(received);
            return int(updates.size()) >= RollUpdates &&
                   updates.back() - updates.front() >= RollEvidenceSpan;
        },
        watchFd);
    m_server.destroyDamage(damage);
    return result == XServer::Wait::Handled;
}

void Bench::measureInstructions(const ProgramUnderTest &subject, bool counted, bool profile,
                                const std::string &round)
{
    const std::unique_ptr<Launch> run = launch(subject, true, CallgrindStartWait);
    waitUntilIdle(*run);
    const pid_t pid = run->process->pid();
    const std::string command =
        m_options.callgrindControl + " --dump " + std::to_string(pid) + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("callgrind_control could not dump the profile of " + subject.name);
    const std::filesystem::path dump =
        run->folder / ("callgrind.out." + std::to_string(pid) + ".1");
    const std::optional<unsigned long long> total = Callgrind::total(readText(dump));
    if (!total)
        throw std::runtime_error("no instruction count in " + dump.string());
    record(counted, subject.subject, Measure::Instructions, double(*total) / 1e6);
    if (profile && counted)
        m_results.setProfile(subject.subject, Callgrind::topInclusive(dump, ProfileLines));
    std::cerr << round << ", " << subject.name << " under callgrind: " << double(*total) / 1e6
              << " M instructions to the first idle" << std::endl;
    finish(subject, *run);
}

// Sampling /proc only decides when to take the dump; the count itself does not depend
// on when that happens as long as the program sleeps in its event loop meanwhile.
void Bench::waitUntilIdle(Launch &run)
{
    const pid_t pid = run.process->pid();
    const auto deadline = Clock::now() + IdleWait;
    auto lastCpu = ProcStats::cpuTime(pid);
    int quietSamples = 0;
    while (quietSamples < IdleSamples) {
        if (Clock::now() > deadline)
            throw std::runtime_error("the program did not go idle under callgrind");
        if (m_server.pause(Clock::now() + IdleSample, run.process->exitFd()) ==
            XServer::Wait::FdReady)
            throw std::runtime_error("the program ended under callgrind before going idle");
        const auto cpu = ProcStats::cpuTime(pid);
        const bool quiet =
            cpu - lastCpu < IdleCpuPerSample && ProcStats::mainThreadSleepsInPoll(pid);
        quietSamples = quiet ? quietSamples + 1 : 0;
        lastCpu = cpu;
    }
}

// Ends the program and waits until the X server has dropped its windows, so that the
// next copy finds no running instance.
void Bench::finish(const ProgramUnderTest &subject, Launch &run)
{
    run.process->stop();
    const auto deadline = Clock::now() + WindowsGoneWait;
    while (m_server.hasTopLevelOfClass({subject.windowClass, ApplicationClass, AboutBoxClass})) {
        const XServer::Wait result =
            m_server.waitEvents(deadline, [](const xcb_generic_event_t &event, Clock::time_point) {
                return (event.response_type & 0x7f) == XCB_DESTROY_NOTIFY;
            });
        if (result == XServer::Wait::TimedOut)
            throw std::runtime_error("windows of " + subject.name + " remain after it ended");
    }
}
