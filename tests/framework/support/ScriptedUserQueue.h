// A scripted user for tests: records every modal request and answers from
// queues filled by the test, in order. A message box that the test gave no
// answer for is a failure: an error box must never pass unnoticed.
#pragma once

#include "framework/Dialog.h"
#include "framework/Modal.h"

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

    int answerMessage(const framework::MessageRequest& request) override
    {
        messages.push_back(request);
        if (messageAnswers.empty()) {
            ADD_FAILURE() << "unexpected message \"" << request.text.toStdString() << "\" captioned \""
                          << request.caption.toStdString() << '"';
            return framework::ResultCancel;
        }
        const int answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }

    void useDialog(framework::Dialog& dialog) override
    {
        if (dialogSteps.empty()) {
            ADD_FAILURE() << "unexpected dialog " << dialog.windowTitle().toStdString();
            return;
        }
        auto step = std::move(dialogSteps.front());
        dialogSteps.pop_front();
        step(dialog);
    }

    std::vector<std::string> answerFileDialog(const framework::FileDialogRequest& request) override
    {
        fileDialogs.push_back(request);
        if (fileAnswers.empty()) return {};
        std::vector<std::string> answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
};
