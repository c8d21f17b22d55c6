#pragma once
#include <QApplication>
#include <functional>

// Stand-in for the forms runtime's application object as the one that delivers the user's
// input: a QApplication that runs the delivery of each input the user made (a press or
// release of a button or key, the wheel, a shortcut, a context menu, a drop, the close box)
// inside a step the program registers, so that the program knows what that input runs as
// a command of its user's, while it runs and not from the events before it.
namespace plat {

class Application : public QApplication {
public:
    Application(int& argc, char** argv);

    // Wraps the delivery of one input of the user's: calls deliver once and returns its
    // result. None registered: the input is delivered as it is.
    using Deliver = std::function<bool()>;
    using AroundInput = std::function<bool(QObject* receiver, const Deliver& deliver)>;
    static void SetAroundInput(AroundInput around);

    // Whether the event is one the user made with the mouse, the keyboard or the window's
    // close box (not one the program sent itself).
    static bool IsUserInput(const QEvent& event);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace plat
