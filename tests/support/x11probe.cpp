#include "x11probe.h"

#include "x11window.h"

#include <QGuiApplication>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>
#include <memory>

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_connection_t *connection()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_window_t root()
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
}

QList<xcb_window_t> children(xcb_window_t parent)
{
    xcb_connection_t *c = connection();
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, parent), nullptr),
                                       &std::free);
    QList<xcb_window_t> result;
    if (!tree)
        return result;
    const xcb_window_t *ids = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
        result.append(ids[i]);
    return result;
}

X11Probe::Window describe(xcb_window_t id)
{
    xcb_connection_t *c = connection();
    X11Probe::Window window;
    window.id = id;
    window.className = X11Window::className(id);
    window.caption = X11Window::caption(id);
    Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, id), nullptr), &std::free);
    window.mapped = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr), &std::free);
    Reply<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, id, root(), 0, 0), nullptr),
        &std::free);
    if (geometry && origin)
        window.geometry = QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    return window;
}

} // namespace

QList<X11Probe::Window> X11Probe::topLevelWindows()
{
    QList<Window> result;
    for (xcb_window_t id : children(root()))
        result.append(describe(id));
    return result;
}

QList<X11Probe::Window> X11Probe::find(const QByteArray &className, const QString &caption)
{
    QList<Window> result;
    for (xcb_window_t id : children(root())) {
        QList<xcb_window_t> candidates{id};
        candidates += children(id); // a window manager's frame holds the client
        for (xcb_window_t candidate : candidates) {
            const Window window = describe(candidate);
            if (window.className == className && window.caption == caption)
                result.append(window);
        }
    }
    return result;
}

X11Probe::Window X11Probe::waitForMapped(const QByteArray &className, const QString &caption,
                                         int timeoutMs)
{
    QList<Window> found;
    const bool mapped = QTest::qWaitFor(
        [&] {
            found = find(className, caption);
            return found.size() == 1 && found.first().mapped;
        },
        timeoutMs);
    return mapped ? found.first() : Window();
}

QSize X11Probe::screenSize()
{
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection())).data;
    return {screen->width_in_pixels, screen->height_in_pixels};
}

QString X11Probe::shownCaption(quint32 window)
{
    xcb_connection_t *c = connection();
    const auto cookie =
        xcb_get_property(c, 0, window, X11Window::atom("_NET_WM_NAME"), X11Window::atom("UTF8_STRING"), 0, 256);
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr), &std::free);
    if (!reply || reply->format != 8)
        return {};
    return QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(reply.get())),
                             xcb_get_property_value_length(reply.get()));
}

QImage X11Probe::icon(quint32 window)
{
    xcb_connection_t *c = connection();
    // Width, height, then ARGB pixels, as 32-bit values; 64 x 64 icons fit in this length.
    const auto cookie = xcb_get_property(c, 0, window, X11Window::atom("_NET_WM_ICON"), XCB_ATOM_CARDINAL,
                                         0, 2 + 64 * 64);
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr), &std::free);
    if (!reply || reply->format != 32)
        return {};
    const auto *values = static_cast<const quint32 *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    if (count < 2 || count < 2 + int(values[0] * values[1]))
        return {};
    QImage image(static_cast<int>(values[0]), static_cast<int>(values[1]), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, values[2 + y * image.width() + x]);
    }
    return image;
}

X11Probe::Cursor X11Probe::cursor()
{
    xcb_connection_t *c = connection();
    // The extension answers a client only once it has said which version it speaks.
    Reply<xcb_xfixes_query_version_reply_t> version(
        xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 4, 0), nullptr), &std::free);
    Reply<xcb_xfixes_get_cursor_image_reply_t> reply(
        xcb_xfixes_get_cursor_image_reply(c, xcb_xfixes_get_cursor_image(c), nullptr), &std::free);
    if (!version || !reply)
        return {};
    const quint32 *pixels = xcb_xfixes_get_cursor_image_cursor_image(reply.get());
    QImage image(reply->width, reply->height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, pixels[y * image.width() + x]);
    }
    return {image.convertToFormat(QImage::Format_ARGB32), QPoint(reply->xhot, reply->yhot)};
}

void X11Probe::sendDeleteRequest(quint32 window)
{
    X11Window::sendClientMessage(window, X11Window::atom("WM_PROTOCOLS"),
                                 {X11Window::atom("WM_DELETE_WINDOW"), XCB_CURRENT_TIME});
}

quint32 X11Probe::inputFocus()
{
    xcb_connection_t *c = connection();
    Reply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr), &std::free);
    return focus ? focus->focus : 0;
}

quint32 X11Probe::activeWindow()
{
    xcb_connection_t *c = connection();
    const xcb_atom_t active = X11Window::atom("_NET_ACTIVE_WINDOW");
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, root(), active, XCB_ATOM_WINDOW, 0, 1),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return 0;
    return *static_cast<const quint32 *>(xcb_get_property_value(reply.get()));
}
