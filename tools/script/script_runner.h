#pragma once

#include "app/form1.h"
#include "app/widgets/lesson_window.h"
#include "surface/virtual_host.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

namespace kansu {

// Runs the real lesson window from a script on a virtual clock, and writes what it holds as JSON
// and PNG. Needs a QApplication.
class ScriptRunner {
public:
    ScriptRunner();
    ~ScriptRunner();

    // Runs the script's lines in order; stops at the first line that cannot run. Returns the exit
    // status: 0 when every line ran, 2 otherwise (error() then says why).
    int run(const QString& script);

    // "line N: reason" for the line that stopped the script.
    const QString& error() const { return error_; }
    // What `state` lines without a file wrote.
    const QByteArray& standardOutput() const { return stdout_; }

    const Form1& form() const { return *form_; }
    QByteArray state() const;

private:
    class Host;
    struct Failure {
        explicit Failure(QString why, std::optional<int> at = std::nullopt)
            : reason(std::move(why)), line(at) {}
        QString reason;
        std::optional<int> line; // the line to blame, when not the one running
    };

    void runLine(const QString& line, int number);
    void perform(const QString& line);
    ControlId controlNamed(const QString& name) const;
    static QString restAfterWords(const QString& line, int words);
    void writeFile(const QString& path, const QByteArray& bytes) const;
    void writeImage(const QString& path, const QImage& image) const;

    std::unique_ptr<Host> host_;
    std::unique_ptr<Form1> form_;
    std::unique_ptr<LessonWindow> window_;
    QString error_;
    std::optional<Failure> deferredError_; // a failure inside a wait, reported after its line
    QByteArray stdout_;
};

} // namespace kansu
