#include "x_display.h"

#include <QFile>
#include <chrono>
#include <csignal>
#include <cstring>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <xcb/xcb.h>

namespace kansu::e2e {

XDisplay::XDisplay() {
    for (int n = 91; n < 140; ++n) {
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) &&
            !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n))) {
            number_ = n;
            break;
        }
    }
    if (number_ == 0)
        return;
    const std::string display = ":" + std::to_string(number_);
    pid_ = fork();
    if (pid_ == 0) {
        execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    // Ready once its socket answers.
    const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number_);
    for (int i = 0; i < 100; ++i) {
        if (QFile::exists(socket)) {
            xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
            const bool ok = !xcb_connection_has_error(c);
            xcb_disconnect(c);
            if (ok)
                return;
        }
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

XDisplay::~XDisplay() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

bool requestClose(unsigned long window) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return false;
    }
    auto atom = [c](const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        free(reply);
        return a;
    };
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window);
    event.type = atom("WM_PROTOCOLS");
    event.data.data32[0] = atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    // Wait for the server's answer before hanging up: a request still unread when the
    // connection closes may be dropped, and the window would never hear of the close.
    xcb_generic_error_t* error = xcb_request_check(
        c, xcb_send_event_checked(c, 0, static_cast<xcb_window_t>(window), XCB_EVENT_MASK_NO_EVENT,
                                  reinterpret_cast<const char*>(&event)));
    free(error);
    xcb_disconnect(c);
    return error == nullptr;
}

bool destroyWindow(unsigned long window) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return false;
    }
    xcb_generic_error_t* error =
        xcb_request_check(c, xcb_destroy_window_checked(c, static_cast<xcb_window_t>(window)));
    free(error);
    xcb_disconnect(c);
    return error == nullptr;
}

} // namespace kansu::e2e
