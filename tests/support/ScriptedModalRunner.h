#pragma once

#include "ModalRunner.h"

#include <QDialog>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

// Answers every modal dialog of the console instead of a person, through the one modal seam, and
// records which dialogs ran. Installed for its own lifetime.
class ScriptedModalRunner : public framework::ModalRunner
{
public:
    ScriptedModalRunner() : mPrevious(framework::setModalRunner(this)) {}
    ~ScriptedModalRunner() override { framework::setModalRunner(mPrevious); }
    ScriptedModalRunner(const ScriptedModalRunner&) = delete;
    ScriptedModalRunner& operator=(const ScriptedModalRunner&) = delete;

    int exec(QDialog& dialog) override
    {
        dialogs << QString::fromLatin1(dialog.metaObject()->className());
        titles << dialog.windowTitle();
        return answer ? answer(dialog) : int(QDialog::Rejected);
    }

    std::function<int(QDialog&)> answer;
    QStringList dialogs;
    QStringList titles;

private:
    framework::ModalRunner* mPrevious;
};

// A typed answer for one dialog class; any other dialog fails the test.
template <class D> std::function<int(QDialog&)> answerDialog(std::function<int(D&)> fill)
{
    return [fill](QDialog& dialog) {
        D* d = dynamic_cast<D*>(&dialog);
        if (!d) {
            ADD_FAILURE() << "unexpected dialog " << dialog.metaObject()->className();
            return int(QDialog::Rejected);
        }
        return fill(*d);
    };
}
