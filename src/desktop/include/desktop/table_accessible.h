#pragma once

#include <QAccessibleWidget>

class QObject;
class QString;

namespace kansu {

class Form1;

// Lets assistive technology read the table of values as a table: a row for x and one for y,
// a column for every whole second the table shows.
QAccessibleInterface* tableAccessible(const QString& className, QObject* object);

// The lesson whose table the interface reads; set before the window is built.
void setAccessibleLesson(const Form1* form);

} // namespace kansu
