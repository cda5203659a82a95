#include "platform/ModalRunner.h"

#include <QDialog>

std::function<int(QDialog&)> ModalRunner;

int RunModal(QDialog& dialog) { return ModalRunner ? ModalRunner(dialog) : dialog.exec(); }
