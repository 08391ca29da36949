#include "x11window.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <memory>

namespace {

xcb_connection_t *connection()
{
    if (!qGuiApp)
        return nullptr;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const auto cookie = xcb_intern_atom(c, 0, uint16_t(qstrlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
        xcb_intern_atom_reply(c, cookie, nullptr), &free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

struct Property
{
    xcb_atom_t type = XCB_ATOM_NONE;
    QByteArray bytes;
};

Property readProperty(xcb_connection_t *c, quint32 window, xcb_atom_t name)
{
    // Lengths are in 32-bit units: 64 of them hold a 256-byte buffer.
    const auto cookie =
        xcb_get_property(c, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0,
                         X11Window::CaptionBufferSize / 4);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
        xcb_get_property_reply(c, cookie, nullptr), &free);
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
    const xcb_atom_t utf8String = atom(c, "UTF8_STRING");
    bool latin1 = true;
    for (QChar ch : caption)
        latin1 = latin1 && ch.unicode() < 256;
    if (latin1)
        writeProperty(c, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, caption.toLatin1());
    else
        writeProperty(c, window, XCB_ATOM_WM_NAME, utf8String, utf8);
    writeProperty(c, window, atom(c, "_NET_WM_NAME"), utf8String, utf8);
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
