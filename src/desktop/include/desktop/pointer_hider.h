#pragma once

#include <QObject>
#include <QTimer>

namespace kansu {

// Hides the mouse pointer over a projected lesson after a while without movement, and shows it
// again as soon as the mouse moves; only while it is switched on (in full screen).
class PointerHider : public QObject {
public:
    explicit PointerHider(int idleMilliseconds, QObject* parent = nullptr);
    ~PointerHider() override;

    void setActive(bool active);
    bool hidden() const { return hidden_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hide();
    void show();

    QTimer idle_;
    bool active_ = false;
    bool hidden_ = false;
};

} // namespace kansu
