// A foreign top-level window for the tests: its WM_CLASS class and caption are given on
// the command line, either of them may be missing, empty or unreadable (32-bit data).
// It prints its window id, then one line for every client message it receives.
//
//   x11testwindow [--class NAME | --unreadable-class] [--caption TEXT | --unreadable-caption]
//                 [--mapped] [--focus] [--lower]
//
// --focus maps the window and gives it the keyboard focus, as a user working in another
// program would; --lower puts it at the bottom of the stacking order.

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

namespace {

struct Options
{
    std::optional<std::string> className;
    std::optional<std::string> caption;
    bool unreadableClass = false;
    bool unreadableCaption = false;
    bool mapped = false;
    bool focus = false;
    bool lower = false;
};

std::optional<Options> parse(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--class" && hasValue)
            options.className = argv[++i];
        else if (argument == "--caption" && hasValue)
            options.caption = argv[++i];
        else if (argument == "--unreadable-class")
            options.unreadableClass = true;
        else if (argument == "--unreadable-caption")
            options.unreadableCaption = true;
        else if (argument == "--mapped")
            options.mapped = true;
        else if (argument == "--focus")
            options.mapped = options.focus = true;
        else if (argument == "--lower")
            options.lower = true;
        else
            return std::nullopt;
    }
    return options;
}

std::string atomName(xcb_connection_t *c, xcb_atom_t atom)
{
    std::unique_ptr<xcb_get_atom_name_reply_t, decltype(&free)> reply(
        xcb_get_atom_name_reply(c, xcb_get_atom_name(c, atom), nullptr), &free);
    if (!reply)
        return "?";
    return std::string(xcb_get_atom_name_name(reply.get()),
                       size_t(xcb_get_atom_name_name_length(reply.get())));
}

void setText(xcb_connection_t *c, xcb_window_t window, xcb_atom_t name, const std::string &text)
{
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, name, XCB_ATOM_STRING, 8,
                        uint32_t(text.size()), text.data());
}

// Data of the wrong format: a reader that wants 8-bit text cannot use it.
void setUnreadable(xcb_connection_t *c, xcb_window_t window, xcb_atom_t name)
{
    const uint32_t values[] = {0x4d6f7270, 0x686f6361};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, name, XCB_ATOM_CARDINAL, 32, 2, values);
}

} // namespace

int main(int argc, char **argv)
{
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::fprintf(stderr, "x11testwindow: unknown arguments\n");
        return 2;
    }
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "x11testwindow: no X server\n");
        return 1;
    }
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t window = xcb_generate_id(c);
    const uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 20, 20, 200, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);

    if (options->unreadableClass) {
        setUnreadable(c, window, XCB_ATOM_WM_CLASS);
    } else if (options->className) {
        std::string value = "x11testwindow";
        value += '\0';
        value += *options->className;
        value += '\0';
        setText(c, window, XCB_ATOM_WM_CLASS, value);
    }
    if (options->unreadableCaption)
        setUnreadable(c, window, XCB_ATOM_WM_NAME);
    else if (options->caption)
        setText(c, window, XCB_ATOM_WM_NAME, *options->caption);
    if (options->lower) {
        const uint32_t below[] = {XCB_STACK_MODE_BELOW};
        xcb_configure_window(c, window, XCB_CONFIG_WINDOW_STACK_MODE, below);
    }
    if (options->mapped)
        xcb_map_window(c, window);
    xcb_flush(c);

    bool announced = false;
    auto announce = [&] {
        std::printf("window %u\n", window);
        std::fflush(stdout);
        announced = true;
    };
    if (!options->mapped)
        announce();
    while (xcb_generic_event_t *event = xcb_wait_for_event(c)) {
        switch (event->response_type & 0x7f) {
        case XCB_MAP_NOTIFY:
            // A window manager may have reparented it by now; focus needs it viewable.
            if (options->focus) {
                xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
                xcb_flush(c);
            }
            if (!announced)
                announce();
            break;
        case XCB_CLIENT_MESSAGE: {
            const auto *message = reinterpret_cast<xcb_client_message_event_t *>(event);
            std::printf("client-message %s\n", atomName(c, message->type).c_str());
            std::fflush(stdout);
            break;
        }
        default:
            break;
        }
        free(event);
    }
    xcb_disconnect(c);
    return 0;
}
