#pragma once

#include "timing.h"

#include <xcb/xcb.h>

#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>

struct Rect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool intersects(const Rect &other) const
    {
        return x < other.x + other.width && other.x < x + width && y < other.y + other.height &&
               other.y < y + height;
    }
};

// The benchmark's own X server (Xvfb, no window manager, so every top-level window is a
// child of the root) and one connection to it that watches the root's structure events,
// follows drawing through DAMAGE and sends input through XTEST.
class XServer
{
public:
    // Xvfb's own messages go to logPath.
    XServer(int width, int height, const std::string &logPath);
    ~XServer();
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    std::string display() const { return m_display; }
    pid_t pid() const { return m_pid; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    enum class Wait { Handled, TimedOut, FdReady };
    using Handler =
        std::function<bool(const xcb_generic_event_t &event, Clock::time_point received)>;
    // Hands each X event, stamped when it was taken from the connection, to the handler
    // until it returns true; stops early at the deadline or when watchFd becomes readable.
    Wait waitEvents(Clock::time_point deadline, const Handler &handler, int watchFd = -1);
    // Lets time pass while the events that arrive are drained.
    Wait pause(Clock::time_point until, int watchFd = -1);

    bool isMapNotify(const xcb_generic_event_t &event) const;
    // The area of a DAMAGE notification, in root coordinates.
    std::optional<Rect> damageArea(const xcb_generic_event_t &event, uint32_t damage) const;

    // Raw damage rectangles on the root: every drawing into any window is reported.
    uint32_t createDamage();
    void destroyDamage(uint32_t damage);

    std::string windowClass(xcb_window_t window);
    std::optional<Rect> geometry(xcb_window_t window);
    // Whether a top-level window of one of these classes still exists.
    bool hasTopLevelOfClass(std::initializer_list<std::string_view> classes);

    void movePointer(int x, int y);
    void click(int x, int y, uint8_t button);
    void typeKey(uint32_t keysym);

private:
    void start(const std::string &logPath);
    void fakeInput(uint8_t type, uint8_t detail);
    std::optional<xcb_keycode_t> keycode(uint32_t keysym);

    const int m_width;
    const int m_height;
    pid_t m_pid = -1;
    std::string m_display;
    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    uint8_t m_damageEvent = 0;
    xcb_atom_t m_wmClass = XCB_ATOM_WM_CLASS;
};
