#pragma once
// Every modal tool form is run through one replaceable runner, so that tests
// can answer a form without ever blocking on it.
#include <functional>

class QDialog;

// The runner in use; empty means QDialog::exec.
extern std::function<int(QDialog&)> ModalRunner;
// Runs the form modally and returns its result (QDialog::Accepted or Rejected).
int RunModal(QDialog& dialog);
