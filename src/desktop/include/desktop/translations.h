#pragma once

#include <QLocale>

class QCoreApplication;

namespace kansu {

// The frame's words in the user's language: the program's own (its menu, About, its messages)
// from the translations built into it, Qt's (its dialogs and buttons) from the system's. The
// lesson's captions are the design's whatever the language. Returns whether the program's own
// translation for the language was found (English needs none).
bool installTranslations(QCoreApplication& application, const QLocale& locale);

} // namespace kansu
