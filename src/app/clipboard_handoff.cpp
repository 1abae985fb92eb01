#include "app/clipboard_handoff.h"

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace sirelo {
namespace {

// Managers that copy the clipboard whenever it changes, rather than when asked,
// may still be reading: the owner stays until they have been quiet this long.
constexpr qint64 kQuietMs = 150;

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_window_t SelectionOwner(xcb_connection_t* connection, xcb_atom_t selection) {
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection),
                                      nullptr),
        &std::free);
    return reply ? reply->owner : XCB_NONE;
}

// Watches the X events the toolkit receives: the manager's reply to our
// request, and every request for the clipboard's contents.
class HandoffWatch : public QAbstractNativeEventFilter {
  public:
    HandoffWatch(xcb_window_t requestor, xcb_atom_t manager)
        : requestor_(requestor), manager_(manager) {
        sinceRequest_.start();
    }

    bool replied() const { return replied_; }
    qint64 msSinceRequest() const { return sinceRequest_.elapsed(); }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7f) {
            case XCB_SELECTION_NOTIFY: {
                const auto* notify = static_cast<const xcb_selection_notify_event_t*>(message);
                if (notify->requestor == requestor_ && notify->selection == manager_) {
                    replied_ = true;
                }
                break;
            }
            case XCB_SELECTION_REQUEST:
                sinceRequest_.restart();
                break;
            default:
                break;
        }
        return false;  // the toolkit answers the requests itself
    }

  private:
    const xcb_window_t requestor_;
    const xcb_atom_t manager_;
    bool replied_ = false;
    QElapsedTimer sinceRequest_;
};

xcb_connection_t* X11Connection() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

}  // namespace

bool ClipboardManagerRuns() {
    xcb_connection_t* connection = X11Connection();
    return connection != nullptr &&
           SelectionOwner(connection, InternAtom(connection, "CLIPBOARD_MANAGER")) != XCB_NONE;
}

void HandClipboardToManager(std::chrono::milliseconds limit) {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr || !QGuiApplication::clipboard()->ownsClipboard()) return;
    auto* app = qGuiApp;
    const xcb_atom_t manager = InternAtom(connection, "CLIPBOARD_MANAGER");
    const xcb_atom_t saveTargets = InternAtom(connection, "SAVE_TARGETS");
    const xcb_atom_t property = InternAtom(connection, "SIRELO_SAVE_TARGETS");
    if (manager == XCB_ATOM_NONE || SelectionOwner(connection, manager) == XCB_NONE) return;

    // An unmapped window of our own receives the manager's reply.
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    const xcb_window_t requestor = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, requestor, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    HandoffWatch watch(requestor, manager);
    app->installNativeEventFilter(&watch);
    xcb_convert_selection(connection, requestor, manager, saveTargets, property, XCB_CURRENT_TIME);
    xcb_flush(connection);

    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        const bool done = watch.replied() && watch.msSinceRequest() >= kQuietMs;
        if (done || clock.elapsed() >= limit.count()) loop.quit();
    });
    check.start(5);
    loop.exec(QEventLoop::ExcludeUserInputEvents);

    app->removeNativeEventFilter(&watch);
    xcb_destroy_window(connection, requestor);
    xcb_flush(connection);
}

void EndProgram() {
    // The window goes at once; only the hand-over may outlast it, briefly.
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    HandClipboardToManager(std::chrono::seconds(2));
    std::fflush(nullptr);
    std::_Exit(0);
}

}  // namespace sirelo
