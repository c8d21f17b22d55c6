#pragma once
#include <QDialog>
#include <functional>

// Every modal dialog a control shows goes through here, so that a test can answer it
// instead of a person: the answerer sees the dialog, may work it, and says its result.
namespace plat {

class ModalHook {
public:
    using Answerer = std::function<int(QDialog& dialog)>;

    // The dialog's result: the answerer's when one is set, else the user's.
    static int Exec(QDialog& dialog);
    // Only tests call this; an empty function returns to showing dialogs to the user.
    static void SetAnswererForTest(Answerer answerer);
};

}  // namespace plat
