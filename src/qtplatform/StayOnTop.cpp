#include "qtplatform/StayOnTop.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#ifdef Q_OS_LINUX
#include <xcb/xcb.h>
#endif

namespace kalvex {

namespace {

#ifdef Q_OS_LINUX

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

// A mapped window's state belongs to the window manager: a client asks for a change by a
// _NET_WM_STATE message to the root window. False where there is no X11 connection.
bool askWindowManager(const QWindow& window, bool above) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return false;
    xcb_connection_t* connection = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window.winId());
    message.type = atomNamed(connection, "_NET_WM_STATE");
    message.data.data32[0] = above ? 1 : 0; // _NET_WM_STATE_ADD or _NET_WM_STATE_REMOVE
    message.data.data32[1] = atomNamed(connection, "_NET_WM_STATE_ABOVE");
    message.data.data32[3] = 1; // the request comes from an application
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    return true;
}
#else
// Other window systems change the topmost state of a shown native window in place.
bool askWindowManager(const QWindow&, bool) {
    return false;
}
#endif

} // namespace

void setStaysOnTop(QWidget& window, bool onTop) {
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    // The widget's own record of its flags, without telling the window system.
    window.overrideWindowFlags(flags);
    QWindow* native = window.windowHandle();
    if (!native)
        return;
    // The native window keeps the flag for the next time it is shown.
    native->setFlags(flags);
    if (native->isVisible())
        askWindowManager(*native, onTop);
}

} // namespace kalvex
