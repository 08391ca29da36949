#include "xserver.h"

#include <xcb/damage.h>
#include <xcb/xtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&free)>;

template <typename T> Reply<T> owned(T *reply)
{
    return Reply<T>(reply, &free);
}

constexpr int XvfbStartSeconds = 20;

std::runtime_error systemError(const std::string &what)
{
    return std::runtime_error(what + ": " + std::strerror(errno));
}

int millisecondsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return int(std::max<long long>(0, left.count()));
}

} // namespace

XServer::XServer(int width, int height, const std::string &logPath)
    : m_width(width), m_height(height)
{
    start(logPath);
    m_connection = xcb_connect(m_display.c_str(), nullptr);
    if (xcb_connection_has_error(m_connection))
        throw std::runtime_error("cannot connect to the benchmark's X server " + m_display);
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;

    const xcb_query_extension_reply_t *damage =
        xcb_get_extension_data(m_connection, &xcb_damage_id);
    const xcb_query_extension_reply_t *test = xcb_get_extension_data(m_connection, &xcb_test_id);
    if (!damage || !damage->present || !test || !test->present)
        throw std::runtime_error("the X server lacks the DAMAGE or XTEST extension");
    m_damageEvent = damage->first_event;
    // The version handshake is what enables DAMAGE for this client.
    free(xcb_damage_query_version_reply(
        m_connection,
        xcb_damage_query_version(m_connection, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
        nullptr));

    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    free(xcb_request_check(m_connection, xcb_change_window_attributes_checked(
                                             m_connection, m_root, XCB_CW_EVENT_MASK, &mask)));
}

XServer::~XServer()
{
    if (m_connection)
        xcb_disconnect(m_connection);
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
}

// Xvfb writes its display number on a descriptor once it accepts clients (-displayfd).
void XServer::start(const std::string &logPath)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        throw systemError("pipe");
    const std::string screen = std::to_string(m_width) + "x" + std::to_string(m_height) + "x24";
    const std::string fd = std::to_string(pipeFds[1]);
    m_pid = fork();
    if (m_pid < 0)
        throw systemError("fork");
    if (m_pid == 0) {
        close(pipeFds[0]);
        const int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, STDIN_FILENO);
        dup2(devNull, STDOUT_FILENO);
        const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(log >= 0 ? log : devNull, STDERR_FILENO);
        // No screen saver: it would blank and redraw the screen in the middle of a window.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
               "-nolisten", "tcp", "-noreset", "-s", "0", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    std::string number;
    const auto deadline = Clock::now() + std::chrono::seconds(XvfbStartSeconds);
    for (;;) {
        pollfd readable{pipeFds[0], POLLIN, 0};
        if (poll(&readable, 1, millisecondsUntil(deadline)) <= 0)
            break;
        char buffer[32];
        const ssize_t count = read(pipeFds[0], buffer, sizeof buffer);
        if (count <= 0)
            break;
        number.append(buffer, size_t(count));
        if (number.find('\n') != std::string::npos)
            break;
    }
    close(pipeFds[0]);
    while (!number.empty() && (number.back() == '\n' || number.back() == ' '))
        number.pop_back();
    if (number.empty())
        throw std::runtime_error("Xvfb did not start; its messages are in " + logPath);
    m_display = ":" + number;
}

XServer::Wait XServer::waitEvents(Clock::time_point deadline, const Handler &handler, int watchFd)
{
    const int xcbFd = xcb_get_file_descriptor(m_connection);
    for (;;) {
        while (xcb_generic_event_t *raw = xcb_poll_for_event(m_connection)) {
            const auto received = Clock::now();
            const auto event = owned(raw);
            if (handler(*event, received))
                return Wait::Handled;
        }
        if (xcb_connection_has_error(m_connection))
            throw std::runtime_error("lost the connection to the benchmark's X server");
        if (Clock::now() >= deadline)
            return Wait::TimedOut;
        pollfd fds[2] = {{xcbFd, POLLIN, 0}, {watchFd, POLLIN, 0}};
        const int ready = poll(fds, watchFd >= 0 ? 2 : 1, millisecondsUntil(deadline));
        if (ready < 0 && errno != EINTR)
            throw systemError("poll");
        if (watchFd >= 0 && fds[1].revents != 0)
            return Wait::FdReady;
    }
}

XServer::Wait XServer::pause(Clock::time_point until, int watchFd)
{
    return waitEvents(
        until, [](const xcb_generic_event_t &, Clock::time_point) { return false; }, watchFd);
}

bool XServer::isMapNotify(const xcb_generic_event_t &event) const
{
    return (event.response_type & 0x7f) == XCB_MAP_NOTIFY;
}

std::optional<Rect> XServer::damageArea(const xcb_generic_event_t &event, uint32_t damage) const
{
    if ((event.response_type & 0x7f) != m_damageEvent + XCB_DAMAGE_NOTIFY)
        return std::nullopt;
    const auto &notify = reinterpret_cast<const xcb_damage_notify_event_t &>(event);
    if (notify.damage != damage)
        return std::nullopt;
    return Rect{notify.area.x, notify.area.y, notify.area.width, notify.area.height};
}

uint32_t XServer::createDamage()
{
    const uint32_t damage = xcb_generate_id(m_connection);
    xcb_damage_create(m_connection, damage, m_root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    xcb_flush(m_connection);
    return damage;
}

void XServer::destroyDamage(uint32_t damage)
{
    xcb_damage_destroy(m_connection, damage);
    xcb_flush(m_connection);
}

std::string XServer::windowClass(xcb_window_t window)
{
    const auto reply = owned(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, m_wmClass, XCB_ATOM_STRING, 0, 64),
        nullptr));
    if (!reply || reply->format != 8)
        return {};
    // WM_CLASS holds the instance name, a NUL, then the class name.
    const std::string value(static_cast<const char *>(xcb_get_property_value(reply.get())),
                            size_t(xcb_get_property_value_length(reply.get())));
    const size_t split = value.find('\0');
    if (split == std::string::npos)
        return {};
    return value.substr(split + 1, value.find('\0', split + 1) - split - 1);
}

std::optional<Rect> XServer::geometry(xcb_window_t window)
{
    const auto reply = owned(
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr));
    if (!reply)
        return std::nullopt;
    return Rect{reply->x, reply->y, reply->width, reply->height};
}

bool XServer::hasTopLevelOfClass(std::initializer_list<std::string_view> classes)
{
    const auto tree =
        owned(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr));
    if (!tree)
        return false;
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const std::string name = windowClass(children[i]);
        for (std::string_view wanted : classes)
            if (name == wanted)
                return true;
    }
    return false;
}

void XServer::fakeInput(uint8_t type, uint8_t detail)
{
    xcb_test_fake_input(m_connection, type, detail, XCB_CURRENT_TIME, m_root, 0, 0, 0);
}

void XServer::movePointer(int x, int y)
{
    xcb_test_fake_input(m_connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, m_root, int16_t(x),
                        int16_t(y), 0);
    xcb_flush(m_connection);
}

void XServer::click(int x, int y, uint8_t button)
{
    movePointer(x, y);
    fakeInput(XCB_BUTTON_PRESS, button);
    fakeInput(XCB_BUTTON_RELEASE, button);
    xcb_flush(m_connection);
}

void XServer::typeKey(uint32_t keysym)
{
    const std::optional<xcb_keycode_t> code = keycode(keysym);
    if (!code)
        throw std::runtime_error("no key gives keysym " + std::to_string(keysym));
    fakeInput(XCB_KEY_PRESS, *code);
    fakeInput(XCB_KEY_RELEASE, *code);
    xcb_flush(m_connection);
}

std::optional<xcb_keycode_t> XServer::keycode(uint32_t keysym)
{
    const xcb_setup_t *setup = xcb_get_setup(m_connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto mapping = owned(xcb_get_keyboard_mapping_reply(
        m_connection, xcb_get_keyboard_mapping(m_connection, setup->min_keycode, uint8_t(count)),
        nullptr));
    if (!mapping)
        return std::nullopt;
    const xcb_keysym_t *symbols = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int perKey = mapping->keysyms_per_keycode;
    for (int key = 0; key < count; ++key)
        for (int column = 0; column < perKey; ++column)
            if (symbols[key * perKey + column] == keysym)
                return xcb_keycode_t(setup->min_keycode + key);
    return std::nullopt;
}
