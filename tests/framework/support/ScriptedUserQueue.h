// A scripted user for tests: records every modal request and answers from
// queues filled by the test, in order, on the real boxes and dialogs. A
// message box that the test gave no answer for is a failure (an error box
// must never pass unnoticed), and so is a box or dialog left open.
#pragma once

#include "support/UserInput.h"

#include "framework/Dialog.h"
#include "framework/Modal.h"

#include <QAbstractButton>
#include <QMessageBox>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

class ScriptedUserQueue : public framework::ScriptedUser {
public:
    std::vector<framework::MessageRequest> messages;
    std::deque<int> messageAnswers;
    std::deque<std::function<void(framework::Dialog&)>> dialogSteps;
    std::vector<framework::FileDialogRequest> fileDialogs;
    // Each answer: the paths picked, as bytes; an empty one cancels.
    std::deque<std::vector<std::string>> fileAnswers;

    // Each answer is a DialogResult, given by a click on the box's button for
    // it; escapeKey presses Esc and closeBox the box's close box instead.
    static constexpr int escapeKey = -1;
    static constexpr int closeBox = -2;

    void useMessage(QMessageBox& box, const framework::MessageRequest& request) override
    {
        messages.push_back(request);
        if (messageAnswers.empty()) {
            ADD_FAILURE() << "unexpected message \"" << request.text.toStdString() << "\" captioned \""
                          << request.caption.toStdString() << '"';
            userinput::pressKey(box, Qt::Key_Escape);
            return;
        }
        const int answer = messageAnswers.front();
        messageAnswers.pop_front();
        if (answer == escapeKey) return userinput::pressKey(box, Qt::Key_Escape);
        if (answer == closeBox) return userinput::closeBox(box);
        QAbstractButton* button = box.button(standardButtonOf(answer));
        if (!button) {
            ADD_FAILURE() << "the message \"" << request.text.toStdString() << "\" has no button for " << answer;
            return;
        }
        userinput::click(*button);
    }

    void useDialog(framework::Dialog& dialog) override
    {
        if (dialogSteps.empty()) {
            ADD_FAILURE() << "unexpected dialog " << dialog.windowTitle().toStdString();
            userinput::pressKey(dialog, Qt::Key_Escape);
            return;
        }
        auto step = std::move(dialogSteps.front());
        dialogSteps.pop_front();
        step(dialog);
    }

    void leftOpen(const QString& windowTitle) override
    {
        ADD_FAILURE() << '"' << windowTitle.toStdString() << "\" is still open after the user was done with it";
    }

    std::vector<std::string> answerFileDialog(const framework::FileDialogRequest& request) override
    {
        fileDialogs.push_back(request);
        if (fileAnswers.empty()) return {};
        std::vector<std::string> answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }

private:
    static QMessageBox::StandardButton standardButtonOf(int answer)
    {
        switch (answer) {
        case framework::ResultOk: return QMessageBox::Ok;
        case framework::ResultCancel: return QMessageBox::Cancel;
        case framework::ResultYes: return QMessageBox::Yes;
        case framework::ResultNo: return QMessageBox::No;
        default: return QMessageBox::NoButton;
        }
    }
};
