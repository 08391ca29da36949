#include "x11window.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <iterator>
#include <memory>

namespace {

xcb_connection_t *connection()
{
    if (!qGuiApp)
        return nullptr;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

template <typename T> using Reply = std::unique_ptr<T, decltype(&free)>;

// The error, if any, is taken here: a window that went away in the meantime is passed
// over quietly instead of being reported on Qt's event queue.
template <typename Cookie, typename T>
Reply<T> takeReply(xcb_connection_t *c, Cookie cookie,
                   T *(*fetch)(xcb_connection_t *, Cookie, xcb_generic_error_t **))
{
    xcb_generic_error_t *error = nullptr;
    Reply<T> reply(fetch(c, cookie, &error), &free);
    free(error);
    return reply;
}

void check(xcb_connection_t *c, xcb_void_cookie_t cookie)
{
    free(xcb_request_check(c, cookie));
}

xcb_atom_t internAtom(xcb_connection_t *c, const char *name)
{
    const auto reply =
        takeReply(c, xcb_intern_atom(c, 0, uint16_t(qstrlen(name)), name), xcb_intern_atom_reply);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t root(xcb_connection_t *c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

QList<xcb_window_t> childrenOf(xcb_connection_t *c, xcb_query_tree_cookie_t cookie)
{
    const auto tree = takeReply(c, cookie, xcb_query_tree_reply);
    if (!tree)
        return {};
    const xcb_window_t *ids = xcb_query_tree_children(tree.get());
    return QList<xcb_window_t>(ids, ids + xcb_query_tree_children_length(tree.get()));
}

bool hasProperty(xcb_connection_t *c, xcb_get_property_cookie_t cookie)
{
    const auto reply = takeReply(c, cookie, xcb_get_property_reply);
    return reply && reply->type != XCB_ATOM_NONE;
}

// The 32-bit values of a property, at most maxCount of them.
QList<quint32> readValues(xcb_connection_t *c, xcb_window_t window, xcb_atom_t name,
                          xcb_atom_t type, uint32_t maxCount)
{
    const auto reply = takeReply(c, xcb_get_property(c, 0, window, name, type, 0, maxCount),
                                 xcb_get_property_reply);
    if (!reply || reply->format != 32)
        return {};
    const auto *values = static_cast<const quint32 *>(xcb_get_property_value(reply.get()));
    return QList<quint32>(values, values + xcb_get_property_value_length(reply.get()) / 4);
}

struct Property
{
    xcb_atom_t type = XCB_ATOM_NONE;
    QByteArray bytes;
};

Property readProperty(xcb_connection_t *c, quint32 window, xcb_atom_t name)
{
    // Lengths are in 32-bit units: 64 of them hold a 256-byte buffer.
    const auto reply = takeReply(c,
                                 xcb_get_property(c, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0,
                                                  X11Window::CaptionBufferSize / 4),
                                 xcb_get_property_reply);
    Property property;
    if (!reply || reply->format != 8)
        return property;
    property.type = reply->type;
    property.bytes = QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
                                xcb_get_property_value_length(reply.get()));
    return property;
}

void writeProperty(xcb_connection_t *c, quint32 window, xcb_atom_t name, xcb_atom_t type,
                   const QByteArray &bytes)
{
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, name, type, 8, uint32_t(bytes.size()),
                        bytes.constData());
}

} // namespace

bool X11Window::available()
{
    return connection() != nullptr;
}

quint32 X11Window::createHidden(const QByteArray &instanceName, const QByteArray &className,
                                const QString &caption)
{
    xcb_connection_t *c = connection();
    if (!c)
        return 0;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const quint32 window = xcb_generate_id(c);
    // X has no windows of zero size; one pixel that is never mapped is never seen.
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root,
                      int16_t(screen->width_in_pixels / 2), int16_t(screen->height_in_pixels / 2),
                      1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    setWindowClass(window, instanceName, className);
    setCaption(window, caption);
    return window;
}

void X11Window::destroy(quint32 window)
{
    if (xcb_connection_t *c = connection(); c && window) {
        xcb_destroy_window(c, window);
        xcb_flush(c);
    }
}

void X11Window::setCaption(quint32 window, const QString &caption)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    const QByteArray utf8 = caption.toUtf8();
    const xcb_atom_t utf8String = internAtom(c, "UTF8_STRING");
    bool latin1 = true;
    for (QChar ch : caption)
        latin1 = latin1 && ch.unicode() < 256;
    if (latin1)
        writeProperty(c, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, caption.toLatin1());
    else
        writeProperty(c, window, XCB_ATOM_WM_NAME, utf8String, utf8);
    writeProperty(c, window, internAtom(c, "_NET_WM_NAME"), utf8String, utf8);
    xcb_flush(c);
}

QString X11Window::caption(quint32 window)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return {};
    const Property name = readProperty(c, window, XCB_ATOM_WM_NAME);
    QString text = name.type == XCB_ATOM_STRING ? QString::fromLatin1(name.bytes)
                                                : QString::fromUtf8(name.bytes);
    return text.left(CaptionBufferSize - 1);
}

void X11Window::setWindowClass(quint32 window, const QByteArray &instanceName,
                               const QByteArray &className)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    QByteArray value = instanceName;
    value += '\0';
    value += className;
    value += '\0';
    writeProperty(c, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, value);
    xcb_flush(c);
}

QByteArray X11Window::className(quint32 window)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return {};
    const QByteArray value = readProperty(c, window, XCB_ATOM_WM_CLASS).bytes;
    const qsizetype separator = value.indexOf('\0');
    if (separator < 0)
        return {};
    QByteArray name = value.mid(separator + 1);
    if (const qsizetype end = name.indexOf('\0'); end >= 0)
        name.truncate(end);
    return name.left(CaptionBufferSize - 1);
}

void X11Window::setTransientFor(quint32 window, quint32 owner)
{
    xcb_connection_t *c = connection();
    if (!c || !window || !owner)
        return;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_TRANSIENT_FOR,
                        XCB_ATOM_WINDOW, 32, 1, &owner);
    xcb_flush(c);
}

bool X11Window::queryPointer(QPoint *rootPosition, quint32 *topLevel)
{
    xcb_connection_t *c = connection();
    if (!c)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    std::unique_ptr<xcb_query_pointer_reply_t, decltype(&free)> reply(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, root), nullptr), &free);
    if (!reply || !reply->same_screen)
        return false;
    *rootPosition = QPoint(reply->root_x, reply->root_y);
    *topLevel = reply->child;
    return true;
}

quint32 X11Window::childAt(quint32 window, const QPoint &rootPosition)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return 0;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const auto cookie = xcb_translate_coordinates(c, root, window, int16_t(rootPosition.x()),
                                                  int16_t(rootPosition.y()));
    std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&free)> reply(
        xcb_translate_coordinates_reply(c, cookie, nullptr), &free);
    return reply ? reply->child : 0;
}

void X11Window::flush()
{
    if (xcb_connection_t *c = connection())
        xcb_flush(c);
}

QList<quint32> X11Window::topLevelWindows()
{
    xcb_connection_t *c = connection();
    if (!c)
        return {};
    const QList<xcb_window_t> rootChildren = childrenOf(c, xcb_query_tree(c, root(c)));
    // A reparenting window manager keeps a client, marked by WM_STATE, a few levels down
    // in its frame. Each level is searched with one batch of requests.
    constexpr int FrameDepth = 4;
    const xcb_atom_t wmState = internAtom(c, "WM_STATE");
    QList<QList<quint32>> framedClients(rootChildren.size());
    struct Candidate
    {
        qsizetype frame;
        xcb_window_t window;
    };
    QList<Candidate> level;
    for (qsizetype i = 0; i < rootChildren.size(); ++i)
        level.append({i, rootChildren[i]});
    for (int depth = 0; depth < FrameDepth && !level.isEmpty(); ++depth) {
        QList<xcb_get_property_cookie_t> states;
        QList<xcb_query_tree_cookie_t> trees;
        for (const Candidate &candidate : level) {
            states.append(
                xcb_get_property(c, 0, candidate.window, wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 0));
            trees.append(xcb_query_tree(c, candidate.window));
        }
        QList<Candidate> next;
        for (qsizetype i = 0; i < level.size(); ++i) {
            const QList<xcb_window_t> children = childrenOf(c, trees[i]);
            if (hasProperty(c, states[i])) {
                if (depth > 0)
                    framedClients[level[i].frame].append(level[i].window);
                continue;
            }
            for (xcb_window_t child : children)
                next.append({level[i].frame, child});
        }
        level = next;
    }
    QList<quint32> windows;
    for (qsizetype i = 0; i < rootChildren.size(); ++i) {
        windows.append(rootChildren[i]);
        windows += framedClients[i];
    }
    return windows;
}

quint32 X11Window::atom(const char *name)
{
    xcb_connection_t *c = connection();
    return c ? internAtom(c, name) : quint32(XCB_ATOM_NONE);
}

void X11Window::sendClientMessage(quint32 window, quint32 type,
                                  std::initializer_list<quint32> values)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    Q_ASSERT(values.size() <= std::size(event.data.data32));
    std::copy(values.begin(), values.end(), event.data.data32);
    check(c, xcb_send_event_checked(c, 0, window, XCB_EVENT_MASK_NO_EVENT,
                                    reinterpret_cast<const char *>(&event)));
}

bool X11Window::isClientMessage(const void *event, quint32 window, quint32 type)
{
    const auto *generic = static_cast<const xcb_generic_event_t *>(event);
    // The top bit marks an event that came through SendEvent, as every client message does.
    if ((generic->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto *message = static_cast<const xcb_client_message_event_t *>(event);
    return message->window == window && message->type == type;
}

bool X11Window::isPointerEvent(const void *event)
{
    // XInput 2's numbers for these events, without its headers.
    enum { XiButtonPress = 4, XiButtonRelease, XiMotion, XiEnter, XiLeave };
    const auto *generic = static_cast<const xcb_generic_event_t *>(event);
    switch (generic->response_type & 0x7f) {
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE:
    case XCB_MOTION_NOTIFY:
    case XCB_ENTER_NOTIFY:
    case XCB_LEAVE_NOTIFY:
        return true;
    case XCB_GE_GENERIC: {
        const auto type = static_cast<const xcb_ge_generic_event_t *>(event)->event_type;
        return type >= XiButtonPress && type <= XiLeave;
    }
    default:
        return false;
    }
}

bool X11Window::windowManagerActivates()
{
    xcb_connection_t *c = connection();
    if (!c)
        return false;
    // The root's properties outlive a window manager that ended; the check window goes
    // with it, so only a check window that points back at itself tells a running one.
    const xcb_atom_t checkAtom = internAtom(c, "_NET_SUPPORTING_WM_CHECK");
    const QList<quint32> checkWindow = readValues(c, root(c), checkAtom, XCB_ATOM_WINDOW, 1);
    if (checkWindow.isEmpty() ||
        readValues(c, checkWindow.first(), checkAtom, XCB_ATOM_WINDOW, 1) != checkWindow)
        return false;
    constexpr uint32_t MaxSupported = 1024;
    return readValues(c, root(c), internAtom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, MaxSupported)
        .contains(internAtom(c, "_NET_ACTIVE_WINDOW"));
}

void X11Window::setInputFocus(quint32 window)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return;
    check(c, xcb_set_input_focus_checked(c, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME));
}
