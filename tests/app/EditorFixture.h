// A MainDialog on a temporary working directory, driven by control id through
// a scripted UI port.
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
#include <QMouseEvent>
#include <QSettings>
#include <QTabBar>
#include <memory>

#include "ScriptedUiPort.h"
#include "app/DialogTemplates.h"
#include "app/MainDialog.h"
#include "app/PreviewPane.h"
#include "app/StringTableDialog.h"
#include "object/ObjectFile.h"
#include "object/SpriteStore.h"
#include "support/ObjectBuilder.h"
#include "support/TempDir.h"

namespace trellisor::test {

class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        SpriteStore::resetForTesting();
        QSettings().clear();  // no recent files or window position from another test
    }
    void TearDown() override {
        m_dialog.reset();
        SpriteStore::resetForTesting();
    }

    // Opens the editor on the working directory (descriptor files are read now).
    MainDialog& open() {
        m_dialog = std::make_unique<MainDialog>(m_dir.path(), m_ui);
        m_dialog->show();
        QApplication::processEvents();
        return *m_dialog;
    }
    MainDialog& dialog() { return *m_dialog; }

    QWidget* control(int id) const { return findControl(m_dialog.get(), id); }
    // Clicks a button as the user would: nothing happens when it is disabled.
    void click(int id) {
        auto* button = qobject_cast<QAbstractButton*>(control(id));
        ASSERT_NE(button, nullptr) << "no button " << id;
        button->click();
    }
    void selectTab(int page) { m_dialog->m_tabs->setCurrentIndex(page); }
    void chooseType(int index) {
        m_dialog->m_typeCombo->setCurrentIndex(index);
        emit m_dialog->m_typeCombo->activated(index);
    }
    QString text(int id) const {
        if (auto* b = qobject_cast<QAbstractButton*>(control(id))) return b->text();
        if (auto* e = qobject_cast<QLineEdit*>(control(id))) return e->text();
        return QString();
    }
    bool shown(int id) const { return control(id)->isVisible() && control(id)->isEnabled(); }
    // A left click (press and release) at a point of the dialog, delivered as the
    // window system would: to the widget under the point.
    void clickAt(QPoint point) {
        QWidget* target = m_dialog->childAt(point);
        if (!target) target = m_dialog.get();
        const QPointF local = target->mapFrom(m_dialog.get(), point);
        const QPointF global = m_dialog->mapToGlobal(QPointF(point));
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, local, global, Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(target, &event);
        }
    }
    int presents() const { return m_dialog->m_preview->presentCount(); }
    QAction* menuAction(const QString& text) {
        for (QAction* action : m_dialog->contextMenu()->actions())
            if (action->text() == text) return action;
        return nullptr;
    }
    // The file Save would write now (named X.DAT), from a copy of the document.
    std::vector<std::uint8_t> savedBytes() {
        PathObject copy = m_dialog->m_object.clone();
        std::array<std::string, kLanguageCount> texts;
        for (int i = 0; i < kLanguageCount; ++i)
            texts[std::size_t(i)] = m_dialog->m_document.texts()[std::size_t(i)].toStdString();
        return serializeObjectFile(copy, "X.DAT", texts);
    }

    // Writes an object file (chunk stored uncoded) into the working directory.
    QString writeObject(const std::string& name, const StringEntries& strings = twelveStrings(),
                        std::uint8_t pathFlags = 0, std::uint32_t flags = 5) {
        auto file = storedObjectFile(buildChunk(strings, standardSprites(), 0, pathFlags), flags);
        return QString::fromStdString(m_dir.write(name, file));
    }
    // Loads a file through the Load command.
    void load(const QString& path) {
        m_ui.fileAnswers.push_back(path);
        click(1002);
    }

    TempDir m_dir;
    ScriptedUiPort m_ui;
    std::unique_ptr<MainDialog> m_dialog;
};

}  // namespace trellisor::test
