#include "ModalHook.h"

namespace plat {
namespace {

ModalHook::Answerer& answerer() {
    static ModalHook::Answerer a;
    return a;
}

}  // namespace

int ModalHook::Exec(QDialog& dialog) {
    if (answerer()) return answerer()(dialog);
    return dialog.exec();
}

void ModalHook::SetAnswererForTest(Answerer a) { answerer() = std::move(a); }

}  // namespace plat
