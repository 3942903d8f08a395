#pragma once

#include "app/form1.h"
#include "desktop/lesson_frame.h"
#include "script/script_line.h"
#include "surface/virtual_host.h"

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace kansu {

// Runs the real lesson window from a script on a virtual clock, and writes what it holds as JSON
// and PNG. Needs a QApplication.
class ScriptRunner {
public:
    // Where state lines without a file go; returns false when the write failed.
    using Output = std::function<bool(std::string_view)>;
    explicit ScriptRunner(Output standardOutput = {});
    ~ScriptRunner();

    // Runs one line of the script (without its line end). False when it could not run, and
    // error() then says why, as "line N: reason".
    bool runLine(std::string_view line, int number);
    // After the last line: false when an action queued for a wait was never delivered.
    bool finish();
    // Runs a whole script, line by line: 0 when every line ran, 2 otherwise.
    int run(std::string_view script);

    const std::string& error() const { return error_; }
    // What state lines without a file wrote, when no output was given.
    const std::string& standardOutput() const { return stdout_; }
    const Form1& form() const { return *form_; }
    std::string state() const;

private:
    class Host;
    struct Failure {
        std::string reason;
        std::optional<int> line; // the line to blame, when not the one running
    };

    void perform(const script::Action& action);
    void check(const script::Action& action) const;
    ControlId controlNamed(const std::string& name) const;
    // A write that failed stops the script on its line, saying which file and why.
    static void written(const std::string& path, const QString& why);
    void writeStandardOutput(std::string_view bytes);
    void writeFile(const std::string& path, std::string_view bytes);
    void writePicture(const std::string& path, const QImage& image);

    std::unique_ptr<Host> host_;
    std::unique_ptr<Form1> form_;
    std::unique_ptr<LessonFrame> window_;
    Output output_;
    std::string error_;
    std::optional<Failure> deferredError_; // a failure inside a wait, reported after its line
    std::multiset<int> queuedBy_;          // the line of every action still queued
    std::string stdout_;
};

} // namespace kansu
