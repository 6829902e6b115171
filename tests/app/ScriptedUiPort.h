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

    // Answers, used front first. An empty queue, an empty path, folder or a null name cancels;
    // an empty message queue answers OK (Discard to "Save changes?").
    std::deque<QString> fileAnswers;
    std::deque<MessageAnswer> messageAnswers;
    std::deque<QString> nameAnswers;
    std::deque<QString> folderAnswers;

    std::vector<FileDialogRequest> fileRequests;
    std::vector<QString> folderTitles;
    std::vector<Message> messages;
    std::vector<std::pair<QString, QString>> namePrompts;  // prompt, proposed name
    std::vector<QString> modalTitles;
    int waitBegins = 0;
    int waitEnds = 0;

    std::optional<FileChoice> chooseFile(const FileDialogRequest& request) override {
        fileRequests.push_back(request);
        const QString path = next(fileAnswers);
        if (path.isEmpty()) return std::nullopt;
        return FileChoice{path, path.mid(path.lastIndexOf(QLatin1Char('/')) + 1)};
    }
    std::optional<QString> chooseFolder(const QString& title) override {
        folderTitles.push_back(title);
        const QString folder = next(folderAnswers);
        return folder.isEmpty() ? std::nullopt : std::optional(folder);
    }
    MessageAnswer messageBox(const QString& text, const QString& caption, MessageButtons buttons) override {
        messages.push_back({text, caption, buttons});
        if (!messageAnswers.empty()) return next(messageAnswers);
        return buttons == MessageButtons::SaveDiscardCancel ? MessageAnswer::Discard : MessageAnswer::Ok;
    }
    std::optional<QString> promptName(const QString& prompt, const QString& proposed) override {
        namePrompts.emplace_back(prompt, proposed);
        const QString name = next(nameAnswers);
        return name.isNull() ? std::nullopt : std::optional(name);
    }
    int runModal(QDialog& dialog) override {
        modalTitles.push_back(dialog.windowTitle());
        return QDialog::Rejected;
    }
    void beginWaitCursor() override { ++waitBegins; }
    void endWaitCursor() override { ++waitEnds; }

private:
    template <class T>
    static T next(std::deque<T>& queue) {
        if (queue.empty()) return T();
        T front = queue.front();
        queue.pop_front();
        return front;
    }
};

}  // namespace trellisor::test
