#include "script_runner.h"

#include "app/state_json.h"
#include "app/widgets/picture_box_widget.h"
#include "app/widgets/qt_bridge.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPainter>
#include <QRegularExpression>
#include <cmath>

namespace kansu {

// The virtual clock, keeping the window's widgets in step while events run inside a wait.
class ScriptRunner::Host : public VirtualHost {
public:
    LessonWindow* window = nullptr;

    void endProgram() override {
        VirtualHost::endProgram();
        if (window)
            window->hide();
    }
};

ScriptRunner::ScriptRunner() : host_(std::make_unique<Host>()) {
    form_ = std::make_unique<Form1>(*host_);
    form_->Form_Load();
    window_ = std::make_unique<LessonWindow>(*form_);
    host_->window = window_.get();
    window_->show();
}

ScriptRunner::~ScriptRunner() {
    host_->window = nullptr;
}

QByteArray ScriptRunner::state() const {
    RunRecord run;
    run.closed = form_->ended();
    run.clockMs = host_->elapsed();
    run.waits = host_->waits();
    return QByteArray::fromStdString(stateJson(*form_, run));
}

int ScriptRunner::run(const QString& script) {
    const QStringList lines = script.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        try {
            runLine(trimmed, i + 1);
        } catch (const Failure& failure) {
            error_ =
                QStringLiteral("line %1: %2").arg(failure.line.value_or(i + 1)).arg(failure.reason);
            return 2;
        }
    }
    return 0;
}

void ScriptRunner::runLine(const QString& line, int number) {
    const QString verb = line.section(u' ', 0, 0, QString::SectionSkipEmpty);
    if (verb == u"during-wait") {
        const QString count = line.section(u' ', 1, 1, QString::SectionSkipEmpty);
        bool ok = false;
        const int wait = count.toInt(&ok);
        if (!ok || wait < 1)
            throw Failure{QStringLiteral("during-wait needs a wait number of 1 or more")};
        const QString action = restAfterWords(line, 2);
        if (action.isEmpty())
            throw Failure{QStringLiteral("during-wait needs an action")};
        if (action.section(u' ', 0, 0, QString::SectionSkipEmpty) == u"during-wait")
            throw Failure{QStringLiteral("during-wait cannot queue another during-wait")};
        host_->deliverInWait(wait, [this, action, number] {
            if (deferredError_)
                return;
            try {
                perform(action);
            } catch (const Failure& failure) {
                deferredError_ = Failure{failure.reason, number};
            }
        });
        return;
    }
    perform(line);
    // What was queued for this line's waits and not delivered in them is delivered now.
    host_->deliverAll();
    if (deferredError_) {
        // Reported under the during-wait line that queued the action.
        const Failure failure = *deferredError_;
        deferredError_.reset();
        throw failure;
    }
}

QString ScriptRunner::restAfterWords(const QString& line, int words) {
    const QRegularExpression leadingWords(QStringLiteral("^\\s*(\\S+\\s+){%1}").arg(words));
    const QRegularExpressionMatch match = leadingWords.match(line);
    return match.hasMatch() ? line.mid(match.capturedLength()).trimmed() : QString();
}

ControlId ScriptRunner::controlNamed(const QString& name) const {
    for (std::size_t i = 0; i < controlCount; ++i)
        if (form_->controls()[i].name == name.toStdString())
            return static_cast<ControlId>(i);
    throw Failure{QStringLiteral("unknown control '%1'").arg(name)};
}

void ScriptRunner::writeFile(const QString& path, const QByteArray& bytes) const {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw Failure{QStringLiteral("cannot write '%1': %2").arg(path, file.errorString())};
}

void ScriptRunner::writeImage(const QString& path, const QImage& image) const {
    if (path.isEmpty())
        throw Failure{QStringLiteral("missing output file")};
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Failure{QStringLiteral("cannot write '%1': %2").arg(path, file.errorString())};
    if (!image.save(&file, "PNG"))
        throw Failure{QStringLiteral("cannot write '%1'").arg(path)};
}

void ScriptRunner::perform(const QString& line) {
    const QString verb = line.section(u' ', 0, 0, QString::SectionSkipEmpty);
    const QString first = line.section(u' ', 1, 1, QString::SectionSkipEmpty);

    if (verb == u"state") {
        const QString path = restAfterWords(line, 1);
        if (path.isEmpty())
            stdout_ += state();
        else
            writeFile(path, state());
        return;
    }
    static const QStringList known = {QStringLiteral("click"),    QStringLiteral("type"),
                                      QStringLiteral("maximize"), QStringLiteral("restore"),
                                      QStringLiteral("close"),    QStringLiteral("png"),
                                      QStringLiteral("image")};
    if (!known.contains(verb))
        throw Failure{QStringLiteral("unknown action '%1'").arg(verb)};
    if (form_->ended())
        throw Failure{QStringLiteral("the program has ended")};

    if (verb == u"click") {
        const ControlId id = controlNamed(first);
        if (!restAfterWords(line, 2).isEmpty())
            throw Failure{QStringLiteral("click takes one control name")};
        form_->click(id);
    } else if (verb == u"type") {
        const ControlId id = controlNamed(first);
        if (id != ControlId::Text1 && id != ControlId::Combo1)
            throw Failure{QStringLiteral("only Text1 and Combo1 take typing")};
        const QByteArray literal = restAfterWords(line, 2).toUtf8();
        QJsonParseError parseError{};
        const QJsonDocument doc = QJsonDocument::fromJson("[" + literal + "]", &parseError);
        if (literal.isEmpty() || parseError.error != QJsonParseError::NoError ||
            doc.array().size() != 1 || !doc.array().at(0).isString())
            throw Failure{QStringLiteral("malformed string: expected a JSON string literal")};
        form_->typeText(id, doc.array().at(0).toString().toStdString());
    } else if (verb == u"maximize" || verb == u"restore") {
        if (!first.isEmpty())
            throw Failure{QStringLiteral("%1 takes nothing more").arg(verb)};
        if (verb == u"maximize")
            window_->setWindowState(Qt::WindowMaximized);
        else
            window_->setWindowState(Qt::WindowNoState);
        // The window reports its state and size back to the lesson, as a real one would.
        form_->setWindowState(verb == u"maximize" ? 2 : 0);
    } else if (verb == u"close") {
        if (!first.isEmpty())
            throw Failure{QStringLiteral("close takes nothing more")};
        window_->close();
        if (!form_->ended())
            form_->closeByFrame();
        return;
    } else if (verb == u"png" || verb == u"image") {
        // png NAME FILE [SCALE]; image NAME FILE
        QString path = restAfterWords(line, 2);
        qreal scale = 1;
        if (verb == u"png") {
            static const QRegularExpression trailingScale(
                QStringLiteral("^(.*\\S)\\s+([0-9]*\\.?[0-9]+)$"));
            const QRegularExpressionMatch m = trailingScale.match(path);
            if (m.hasMatch()) {
                path = m.captured(1);
                scale = m.captured(2).toDouble();
                if (!(scale > 0 && scale <= 8))
                    throw Failure(QStringLiteral("the scale must lie between 0 and 8"));
            }
        }
        if (verb == u"png" && first == u"window") {
            writeImage(path, window_->renderAt(scale));
            return;
        }
        const ControlId id = controlNamed(first);
        if (form_->control(id).kind != ControlKind::Picture)
            throw Failure(QStringLiteral("'%1' is not a picture box").arg(first));
        const PictureBox& box = form_->box(id);
        if (verb == u"image") {
            writeImage(path, qtImage(box.image()));
        } else {
            QImage picture(QSize(static_cast<int>(std::ceil(box.width() * scale)),
                                 static_cast<int>(std::ceil(box.height() * scale))),
                           QImage::Format_RGB32);
            picture.setDevicePixelRatio(scale);
            QPainter painter(&picture);
            paintPictureContents(painter, *form_, id, QPoint(0, 0), scale);
            painter.end();
            writeImage(path, picture);
        }
        return;
    }
}

} // namespace kansu
