#include "desktop/lesson_window.h"

#include "desktop/control_painter.h"
#include "desktop/face_button.h"
#include "desktop/picture_box_widget.h"
#include "desktop/qt_bridge.h"
#include "desktop/scaled_style.h"
#include "desktop/table_accessible.h"
#include "desktop/window_accessible.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>
#include <map>

namespace kansu {

namespace {

int scaled(double v, double scale) {
    return static_cast<int>(std::lround(v * scale));
}

// A control's place at a scale: its edges scaled, so that neighbours still meet.
QRect placeOf(const Control& c, double scale) {
    const int left = scaled(c.left, scale), top = scaled(c.top, scale);
    return QRect(left, top, scaled(c.left + c.width, scale) - left,
                 scaled(c.top + c.height, scale) - top);
}

} // namespace

LessonWindow::LessonWindow(Form1& form, QWidget* parent)
    : QWidget(parent), form_(form), style_(new ScaledStyle) {
    style_->setParent(this);
    static const bool readable = (QAccessible::installFactory(tableAccessible),
                                  QAccessible::installFactory(windowAccessible), true);
    (void)readable;
    setAccessibleLesson(&form_);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, qtColour(window::backColour));
    setPalette(pal);
    // Controls inherit the lesson's face from the start: a text box lays out its text as it is
    // made, and in the application's font that would load a second font only to throw it away.
    setFont(designFont(form_.control(ControlId::Text1).font));
    build();
    changes_ = form_.changes().connect([this](const Changes& changes) { showChanges(changes); });
    describe();
    const WindowGeometry& g = form_.geometry();
    resize(g.clientWidth, g.clientHeight);
}

void LessonWindow::setScale(double scale) {
    if (scale == scale_ || !(scale > 0))
        return;
    scale_ = scale;
    style_->setScale(scale);
    for (std::size_t i = 0; i < controlCount; ++i)
        if (widgets_[i])
            place(static_cast<ControlId>(i));
    const WindowGeometry& g = form_.geometry();
    resize(scaled(g.clientWidth, scale), scaled(g.clientHeight, scale));
    update();
}

void LessonWindow::place(ControlId id) {
    const Control& c = form_.control(id);
    QWidget* w = widgets_[indexOf(id)];
    w->setGeometry(placeOf(c, scale_));
    if (auto* button = qobject_cast<FaceButton*>(w)) {
        button->setScale(scale_);
    } else if (auto* box = qobject_cast<PictureBoxWidget*>(w)) {
        box->setScale(scale_);
    } else {
        // Qt's own controls: their fonts and the small parts of their style grow with the scale.
        w->setFont(designFont({c.font.points * scale_, c.font.bold}));
        if (w->style() == style_) {
            style_->unpolish(w);
            style_->polish(w);
        } else {
            w->setStyle(style_);
        }
        w->updateGeometry();
    }
}

void LessonWindow::build() {
    std::map<int, QWidget*> focusChain;
    for (std::size_t i = 0; i < controlCount; ++i) {
        const auto id = static_cast<ControlId>(i);
        const Control& c = form_.control(id);
        if (c.container != Container::Form)
            continue;
        QWidget* w = nullptr;
        switch (c.kind) {
        case ControlKind::Button: {
            auto* b =
                new FaceButton(qt(c.caption), qtColour(c.backColour), designFont(c.font), this);
            connect(b, &QPushButton::clicked, this, [this, id] { form_.click(id); });
            w = b;
            break;
        }
        case ControlKind::Check: {
            auto* b = new QCheckBox(qt(c.caption), this);
            b->setAutoFillBackground(true);
            b->setBackgroundRole(QPalette::Window);
            QPalette colours = b->palette();
            colours.setColor(QPalette::Window, qtColour(c.backColour));
            colours.setColor(QPalette::WindowText,
                             qtColour(c.foreColour.value_or(colours::windowText)));
            b->setPalette(colours);
            // Toggled by a click, the keyboard or assistive technology alike; the lesson's own
            // changes come back with the signal blocked.
            connect(b, &QCheckBox::toggled, this, [this, id] {
                form_.click(id);
                // The box shows the lesson's value, whatever the click did to it.
                showControl(id);
            });
            w = b;
            break;
        }
        case ControlKind::Text: {
            auto* e = new QLineEdit(this);
            connect(e, &QLineEdit::textEdited, this,
                    [this, id](const QString& text) { form_.typeText(id, text.toStdString()); });
            w = e;
            break;
        }
        case ControlKind::Combo: {
            auto* box = new QComboBox(this);
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);
            // Any text, as typed: no completion from the list ("5" stays "5", not "50").
            box->setCompleter(nullptr);
            for (const std::string& item : c.items)
                box->addItem(qt(item));
            connect(box, &QComboBox::editTextChanged, this,
                    [this, id](const QString& text) { form_.typeText(id, text.toStdString()); });
            // Read by its caption, not by the speed it shows.
            box->lineEdit()->setAccessibleName(qt(c.accessibleName));
            w = box;
            break;
        }
        case ControlKind::Picture:
            w = new PictureBoxWidget(form_, id, this);
            break;
        default:
            break; // labels are painted by the window itself
        }
        if (!w)
            continue;
        w->setObjectName(qt(c.name));
        w->setAccessibleName(qt(c.accessibleName));
        widgets_[i] = w;
        place(id);
        showControl(id);
        if (c.tabIndex)
            focusChain[*c.tabIndex] = w;
        else
            w->setFocusPolicy(Qt::NoFocus);
        focusPolicies_[i] = w->focusPolicy();
    }
    QWidget* previous = nullptr;
    for (const auto& [position, w] : focusChain) {
        (void)position;
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
    keepFocusInView();
}

bool LessonWindow::inView(ControlId id) const {
    const WindowGeometry& g = form_.geometry();
    return placeOf(form_.control(id), 1).intersects(QRect(0, 0, g.clientWidth, g.clientHeight));
}

void LessonWindow::keepFocusInView() {
    for (std::size_t i = 0; i < controlCount; ++i) {
        QWidget* w = widgets_[i];
        if (!w)
            continue;
        const bool shown = inView(static_cast<ControlId>(i));
        w->setFocusPolicy(shown ? focusPolicies_[i] : Qt::NoFocus);
        if (!shown && w->hasFocus())
            focusNextChild();
    }
}

QWidget* LessonWindow::firstFocus() const {
    std::map<int, QWidget*> order;
    for (std::size_t i = 0; i < controlCount; ++i) {
        const Control& c = form_.controls()[i];
        if (widgets_[i] && c.tabIndex && c.kind == ControlKind::Picture &&
            inView(static_cast<ControlId>(i)))
            order[*c.tabIndex] = widgets_[i];
    }
    return order.empty() ? nullptr : order.begin()->second;
}

void LessonWindow::showControl(ControlId id) {
    const Control& c = form_.control(id);
    QWidget* w = widgets_[indexOf(id)];
    if (!w)
        return; // a lightweight control: its container paints it
    w->setEnabled(c.enabled);
    w->setVisible(c.visible);
    // Why it is disabled, where the lesson says why.
    if (w->toolTip() != qt(c.tip))
        w->setToolTip(qt(c.tip));
    if (auto* check = qobject_cast<QCheckBox*>(w)) {
        const QSignalBlocker block(check);
        check->setChecked(c.value != 0);
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (edit->text() != qt(c.text)) {
            const QSignalBlocker block(edit);
            edit->setText(qt(c.text));
        }
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        // The list's current entry follows the text: the entry it equals, else none.
        const QString text = qt(c.text);
        const int entry = combo->findText(text);
        if (combo->currentIndex() != entry || combo->currentText() != text) {
            const QSignalBlocker block(combo);
            QLineEdit* edit = combo->lineEdit();
            const int cursor = edit->cursorPosition();
            combo->setCurrentIndex(entry);
            if (combo->currentText() != text)
                combo->setEditText(text);
            edit->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
        }
    }
}

void LessonWindow::showChanges(const Changes& changes) {
    bool windowLabels = false;
    for (std::size_t i = 0; i < controlCount; ++i) {
        const auto id = static_cast<ControlId>(i);
        if (changes.controls.test(i)) {
            if (widgets_[i])
                showControl(id);
            else if (form_.control(id).container == Container::Form)
                windowLabels = true; // painted on the window itself
        }
        // Each picture box repaints once, however many of its labels, dots and lines moved.
        if (changes.pictures.test(i) && widgets_[i])
            widgets_[i]->update();
    }
    if (windowLabels)
        update();
    if (changes.window)
        keepFocusInView();
    describe();
}

void LessonWindow::describe() {
    auto set = [](QWidget* widget, const std::string& text) {
        const QString description = qt(text);
        if (!widget || widget->accessibleDescription() == description)
            return;
        widget->setAccessibleDescription(description);
        if (QAccessible::isActive()) {
            QAccessibleEvent event(widget, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&event);
        }
    };
    set(widgets_[indexOf(role::figure)], form_.describeFigure());
    set(widgets_[indexOf(role::graph)], form_.describeGraph());
    const std::vector<int> columns = form_.tableColumns();
    if (columns != describedColumns_) {
        describedColumns_ = columns;
        QWidget* table = widgets_[indexOf(role::table)];
        if (table && QAccessible::isActive()) {
            QAccessibleTableModelChangeEvent event(table,
                                                   QAccessibleTableModelChangeEvent::ModelReset);
            QAccessible::updateAccessibility(&event);
        }
    }
}

QImage LessonWindow::renderAt(qreal scale) {
    QImage image(QSize(static_cast<int>(std::ceil(width() * scale)),
                       static_cast<int>(std::ceil(height() * scale))),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(qtColour(window::backColour));
    auto boxes = findChildren<PictureBoxWidget*>();
    for (PictureBoxWidget* box : boxes)
        box->setRenderScale(scale);
    render(&image);
    for (PictureBoxWidget* box : boxes)
        box->setRenderScale(0);
    return image;
}

void LessonWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.scale(scale_, scale_);
    for (const Control& c : form_.controls())
        if (c.container == Container::Form && c.kind == ControlKind::Label)
            paintLightweightControl(painter, c, QPoint(0, 0));
}

void LessonWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The controls stay where they are; only what is in view of the picture boxes changes.
    form_.setClientSize(scaled(width(), 1 / scale_), scaled(height(), 1 / scale_));
}

} // namespace kansu
