// A UI port for tests: answers come from queues, every request is recorded.
#pragma once

#include <QDialog>
#include <deque>
#include <optional>
#include <vector>

#include "app/UiPort.h"

namespace trellisor::test {

class ScriptedUiPort : public UiPort {
public:
    struct Message {
        QString text;
        QString caption;
        MessageButtons buttons;
    };

    // Answers, used front first. An empty queue, a choice without a path or a
    // null name cancels; an empty message queue answers OK (Discard to "Save changes?").
    std::deque<FileChoice> fileAnswers;
    std::deque<MessageAnswer> messageAnswers;
    std::deque<QString> nameAnswers;
    std::deque<QString> folderAnswers;  // an empty folder cancels

    std::vector<FileDialogRequest> fileRequests;
    std::vector<QString> folderTitles;
    std::vector<Message> messages;
    std::vector<std::pair<QString, QString>> namePrompts;  // prompt, proposed name
    std::vector<QString> modalTitles;
    int waitBegins = 0;
    int waitEnds = 0;
    int waitDepthAtMessage = -1;

    void chooseNext(const QString& path) {
        FileChoice choice;
        choice.path = path;
        choice.fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
        fileAnswers.push_back(choice);
    }

    std::optional<FileChoice> chooseFile(const FileDialogRequest& request) override {
        fileRequests.push_back(request);
        if (fileAnswers.empty()) return std::nullopt;
        const FileChoice answer = fileAnswers.front();
        fileAnswers.pop_front();
        if (answer.path.isEmpty()) return std::nullopt;
        return answer;
    }
    std::optional<QString> chooseFolder(const QString& title) override {
        folderTitles.push_back(title);
        if (folderAnswers.empty()) return std::nullopt;
        const QString answer = folderAnswers.front();
        folderAnswers.pop_front();
        if (answer.isEmpty()) return std::nullopt;
        return answer;
    }
    MessageAnswer messageBox(const QString& text, const QString& caption, MessageButtons buttons) override {
        messages.push_back({text, caption, buttons});
        waitDepthAtMessage = waitBegins - waitEnds;
        if (messageAnswers.empty())
            return buttons == MessageButtons::SaveDiscardCancel ? MessageAnswer::Discard : MessageAnswer::Ok;
        MessageAnswer answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    std::optional<QString> promptName(const QString& prompt, const QString& proposed) override {
        namePrompts.emplace_back(prompt, proposed);
        if (nameAnswers.empty()) return std::nullopt;
        const QString answer = nameAnswers.front();
        nameAnswers.pop_front();
        if (answer.isNull()) return std::nullopt;
        return answer;
    }
    int runModal(QDialog& dialog) override {
        modalTitles.push_back(dialog.windowTitle());
        return QDialog::Rejected;
    }
    void beginWaitCursor() override { ++waitBegins; }
    void endWaitCursor() override { ++waitEnds; }
};

}  // namespace trellisor::test
