// A MainDialog on a temporary working directory, driven by control id through a UI port
// whose answers come from queues and which records every request.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QTabBar>
#include <QTest>
#include <deque>

#include "app/DialogTemplates.h"
#include "app/MainDialog.h"
#include "app/PreviewPane.h"
#include "app/StringTableDialog.h"
#include "app/TextCodec.h"
#include "object/ObjectFile.h"
#include "object/SpriteStore.h"
#include "support/ObjectBuilder.h"
#include "support/Reference.h"
#include "support/TempDir.h"

namespace trellisor::test {

// The arguments the application reads (its start-up runs in process).
void setCommandLine(std::vector<std::string> words);

// An empty queue, path, folder or a null name cancels; with no answer queued a message box
// answers OK (Discard to "Save changes?").
class ScriptedUiPort : public UiPort {
public:
    std::deque<QString> fileAnswers, folderAnswers, nameAnswers;
    std::deque<MessageAnswer> messageAnswers;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<QString> folderTitles, folderStarts, modalTitles;
    struct Message {
        QString text, caption;
        MessageButtons buttons;
    };
    std::vector<Message> messages;
    std::vector<std::pair<QString, QString>> namePrompts;  // prompt, proposed name
    int waitBegins = 0, waitEnds = 0;

    std::optional<FileChoice> chooseFile(const FileDialogRequest& request) override {
        fileRequests.push_back(request);
        const QString path = next(fileAnswers);
        if (path.isEmpty()) return std::nullopt;
        return FileChoice{path, path.mid(path.lastIndexOf(QLatin1Char('/')) + 1)};
    }
    std::optional<QString> chooseFolder(const QString& title, const QString& initialFolder) override {
        folderTitles.push_back(title);
        folderStarts.push_back(initialFolder);
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
    // The first message's start, as long as expected; none: empty.
    QString firstSaid(const QString& expected) const {
        return messages.empty() ? QString() : messages[0].text.left(expected.size());
    }
    int runModal(QDialog& dialog) override {
        modalTitles.push_back(dialog.windowTitle());
        return 0;
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

// A picture as its colours, alpha included, to compare with a reference PNG.
inline RefPicture colours(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    RefPicture picture{argb.width(), argb.height(), false, {}, {}};
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) picture.pixels.push_back(argb.pixel(x, y));
    return picture;
}

// What a widget paints (or the area of it) matches the reference tests/data/app/<name>.png,
// give or take the rounding of antialiased text between CPUs.
inline ::testing::AssertionResult paints(QWidget& widget, const std::string& name,
                                         QRect area = QRect(0, 0, -1, -1)) {
    return matchesReference(colours(widget.grab(area).toImage()), "app/" + name, 2);
}

// The file Save would write now under the name given, from a copy of the document.
inline std::vector<std::uint8_t> documentBytes(const EditorDocument& document, const char* name = "X.DAT") {
    PathObject copy = document.m_object.clone();
    std::array<std::string, kLanguageCount> texts;
    for (int i = 0; i < kLanguageCount; ++i)
        texts[std::size_t(i)] = toWindows1252(document.texts()[std::size_t(i)]).bytes;
    return serializeObjectFile(copy, name, texts);
}

class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        SpriteStore::resetForTesting();
        QSettings().clear();  // no recent files or window position from another test
    }
    // Opens the editor on the working directory (descriptor files are read now).
    MainDialog& open() {
        m_dialog = std::make_unique<MainDialog>(m_dir.path(), m_ui);
        m_dialog->show();
        QApplication::processEvents();
        return *m_dialog;
    }
    QWidget* control(int id) const { return findControl(m_dialog.get(), id); }
    // Clicks a button as the user would: nothing happens when it is disabled.
    void click(int id) { qobject_cast<QAbstractButton*>(control(id))->click(); }
    void selectTab(int page) { m_dialog->m_tabs->setCurrentIndex(page); }
    void chooseType(int index) {
        m_dialog->m_typeCombo->setCurrentIndex(index);
        emit m_dialog->m_typeCombo->activated(index);
    }
    QString text(int id) const {
        auto* b = qobject_cast<QAbstractButton*>(control(id));
        return b ? b->text() : qobject_cast<QLineEdit*>(control(id))->text();
    }
    bool shown(int id) const { return control(id)->isVisible() && control(id)->isEnabled(); }
    // A left click at a point of the dialog, delivered as the window system would: to the widget under it.
    void clickAt(QPoint point) {
        QWidget* target = m_dialog->childAt(point) ? m_dialog->childAt(point) : m_dialog.get();
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(m_dialog.get(), point));
    }
    int presents() const { return m_dialog->m_preview->presentCount(); }
    QAction* menuAction(const QString& text) {
        for (QAction* action : m_dialog->contextMenu()->actions())
            if (action->text() == text) return action;
        return nullptr;
    }
    std::vector<std::uint8_t> savedBytes() { return documentBytes(m_dialog->m_document); }
    // Writes an object file of the standard sprites into the working directory.
    QString writeObject(const std::string& name, const StringEntries& strings = twelveStrings(),
                        std::uint8_t pathFlags = 0, std::uint32_t flags = 5) {
        const auto chunk = buildChunk(strings, standardSprites(), 0, pathFlags);
        return put(name, storedObjectFile(chunk, flags));
    }
    QString dir() const { return QString::fromStdString(m_dir.path()); }
    QString inDir(const std::string& name) const { return QString::fromStdString(m_dir.file(name)); }
    QString put(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        return QString::fromStdString(m_dir.write(name, bytes));
    }
    void load(const QString& path) {
        m_ui.fileAnswers.push_back(path);
        click(1002);
    }

    TempDir m_dir;
    ScriptedUiPort m_ui;
    std::unique_ptr<MainDialog> m_dialog;
};

}  // namespace trellisor::test
