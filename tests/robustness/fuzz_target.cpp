// libFuzzer entry for long runs by hand (make fuzz). The first byte chooses what the rest drives:
// a random user session over the headless lesson (even), or a kansu-script script (odd), whose
// lines are parsed and run on the real window offscreen, writing its files in a folder of its own.
#include "script/script_runner.h"
#include "session.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    static QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    if (data[0] % 2 == 0) {
        kansu::robustness::Totals totals;
        const std::string failure =
            kansu::robustness::playSession(std::span(data + 1, size - 1), totals);
        if (!failure.empty()) {
            std::fprintf(stderr, "invariant broken: %s\n", failure.c_str());
            std::abort();
        }
        return 0;
    }
    // File names stay inside the folder: no slash reaches the runner.
    std::string script(reinterpret_cast<const char*>(data + 1), size - 1);
    for (char& c : script)
        if (c == '/')
            c = '_';
    kansu::ScriptRunner runner([](std::string_view) { return true; });
    const int status = runner.run(script);
    if (status != 0 && runner.error().rfind("line ", 0) != 0) {
        std::fprintf(stderr, "an error that names no line: %s\n", runner.error().c_str());
        std::abort();
    }
    return 0;
}
