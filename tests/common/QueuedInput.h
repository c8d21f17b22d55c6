#pragma once
#include <QString>
#include <Qt>

class QWidget;

// Input queued as the windowing system queues it: it waits in Qt's window system queue
// and is delivered only once the program lets the user's input run (never by a yield of
// work under way), in the order queued. Each names the widget it is aimed at; keys go to
// the window's focus.
namespace QueuedInput {
void Press(QWidget& target);
void Release(QWidget& target);
void Click(QWidget& target);
void Key(QWidget& window, Qt::Key key, const QString& text = QString(),
         Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void Type(QWidget& window, const QString& text);  // letters only
void Wheel(QWidget& target, int steps);  // a step is one notch; below 0 turns down
void CloseBox(QWidget& window);
// Whether input is still queued, undelivered.
bool Waiting();
// Lets the event loop go on until every input queued has run, and what it set off.
void RunAll();
}  // namespace QueuedInput
