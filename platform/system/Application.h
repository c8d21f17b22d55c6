#pragma once
#include <QApplication>
#include <functional>

// Stand-in for the forms runtime's application object as the one that delivers the user's
// input. It holds the one list of what counts as the user's input, runs the delivery of
// each input that starts something inside a step the program registers (so that the
// program knows what runs as a command of its user's, while it runs), and takes the input
// still queued off the queue, unrun, when the program asks.
namespace plat {

class Application : public QApplication {
public:
    Application(int& argc, char** argv);

    // What an event is to the user. Starts: a press, a double-click, a key, a turn of the
    // wheel, a shortcut, a context menu, a drop or the close box. Follows: what goes on
    // with input started before, a release of a mouse button or a key (the release that
    // completes a click belongs to its press) or a move of the mouse. None: anything else,
    // also a close the program asks for itself.
    enum class Input { None, Starts, Follows };
    static Input KindOf(const QEvent& event);

    // Wraps the delivery of each input that starts something: calls deliver once and
    // returns its result. None registered: the input is delivered as it is.
    using Deliver = std::function<bool()>;
    using AroundInput = std::function<bool(const Deliver& deliver)>;
    static void SetAroundInput(AroundInput around);

    // Takes every input of the user's still queued off the queue, unrun, and lets nothing
    // else run meanwhile but the window's own events (no timer, no input): the step before
    // a message box, whose own loop would run them. Returns how many of the inputs taken
    // would have started something. A button held down by a press whose release was taken
    // is let up, so that one that repeats stops.
    static int TakeOffQueuedInput();

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace plat
