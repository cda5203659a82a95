#pragma once
// Runs the geometry dialogs without a user: each modal run calls the next
// scripted step, which fills the fields and returns the dialog's result.
#include "platform/FormPattern.h"
#include "platform/ScriptedPrompter.h"

#include <QDialog>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

inline std::deque<std::function<int(QDialog&)>>& DialogSteps() {
    static std::deque<std::function<int(QDialog&)>> steps;
    return steps;
}

inline int RunScriptedDialog(QDialog& dialog) {
    if (DialogSteps().empty()) return QDialog::Rejected;
    auto step = std::move(DialogSteps().front());
    DialogSteps().pop_front();
    return step(dialog);
}

class DialogScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        DialogSteps().clear();
        modal_ = std::make_unique<ScopedModalRoutine>(RunScriptedDialog);
        scope_ = std::make_unique<ScopedPrompter>(prompter);
    }
    void TearDown() override {
        modal_.reset();
        scope_.reset();
        DialogSteps().clear();
    }
    template <class Dialog>
    void Then(std::function<int(Dialog&)> step) {
        DialogSteps().push_back([step](QDialog& d) { return step(static_cast<Dialog&>(d)); });
    }
    ScriptedPrompter prompter;

private:
    std::unique_ptr<ScopedModalRoutine> modal_;
    std::unique_ptr<ScopedPrompter> scope_;
};
