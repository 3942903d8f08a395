#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace kansu {

// How assistive technology sees two of the lesson's widgets beyond what Qt gives them: the speed
// box named by its caption 速度 (Qt names an editable combo box by its text on Linux), its text
// as its value; and the lesson's top-level window as a frame.
QAccessibleInterface* windowAccessible(const QString& className, QObject* object);

} // namespace kansu
