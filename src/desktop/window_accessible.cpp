#include "desktop/window_accessible.h"

#include "desktop/lesson_frame.h"

#include <QAccessibleWidget>
#include <QComboBox>

namespace kansu {

namespace {

class SpeedBoxAccessible : public QAccessibleWidget {
public:
    explicit SpeedBoxAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        const auto* box = static_cast<const QComboBox*>(widget());
        if (t == QAccessible::Name)
            return box->accessibleName();
        if (t == QAccessible::Value)
            return box->currentText();
        return QAccessibleWidget::text(t);
    }
};

} // namespace

QAccessibleInterface* windowAccessible(const QString& className, QObject* object) {
    // The lesson's one combo box; asked for as it is made, before it is named.
    if (className == QLatin1String("QComboBox")) {
        if (auto* box = qobject_cast<QComboBox*>(object))
            return new SpeedBoxAccessible(box);
    }
    if (className == QLatin1String("kansu::LessonFrame")) {
        if (auto* frame = qobject_cast<LessonFrame*>(object))
            return new QAccessibleWidget(frame, QAccessible::Window);
    }
    return nullptr;
}

} // namespace kansu
