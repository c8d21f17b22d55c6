#pragma once
#include <QString>
#include <functional>

// Stand-in for the forms runtime's message box. Every message of the programs goes
// through here, so tests can answer it instead of a person.
namespace plat {

enum MsgStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256
};

enum MsgResult : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

// Shows the message modally and returns the button pressed.
int MsgBox(const QString& prompt, int style, const QString& title);

// The program's step before each box shows (also one a test's hook answers): a text it
// returns is added to the prompt as a paragraph of its own; "" adds nothing.
using BeforeShow = std::function<QString()>;
void SetBeforeShow(BeforeShow before);

// Only tests set this: every message box is answered by the hook instead (none shown).
using MsgBoxHook = std::function<int(const QString& prompt, int style, const QString& title)>;
void SetMsgBoxHook(MsgBoxHook hook);

}  // namespace plat
