#pragma once

#include <QString>
#include <sys/types.h>

namespace kansu::e2e {

// A private Xvfb server for the test, started on a free display number and stopped at the end.
class XDisplay {
public:
    XDisplay();
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    bool running() const { return pid_ > 0; }
    QString name() const { return QStringLiteral(":%1").arg(number_); }

private:
    pid_t pid_ = -1;
    int number_ = 0;
};

// Sends WM_DELETE_WINDOW to a window, as a window manager's close button does.
bool requestClose(unsigned long window);

// Destroys a window from a connection of our own, as another X client may.
bool destroyWindow(unsigned long window);

} // namespace kansu::e2e
