// A MainDialog on a temporary working directory, driven by control id through
// a scripted UI port.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSettings>
#include <QTabBar>
#include <memory>

#include "ScriptedUiPort.h"
#include "app/DialogTemplates.h"
#include "app/MainDialog.h"
#include "app/PreviewPane.h"
#include "app/StringTableDialog.h"
#include "object/SpriteStore.h"
#include "object/TypeFile.h"
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
    QString text(int id) const {
        QWidget* w = control(id);
        if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
        if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
        return QString();
    }
    bool shown(int id) const {
        QWidget* w = control(id);
        return w && w->isVisible() && w->isEnabled();
    }
    // A left click (press and release) at a point of the dialog, delivered as
    // the window system would: to the widget under the point.
    void clickAt(QPoint point) {
        QWidget* target = m_dialog->childAt(point);
        if (!target) target = m_dialog.get();
        const QPointF local = target->mapFrom(m_dialog.get(), point);
        const QPointF global = m_dialog->mapToGlobal(QPointF(point));
        QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }
    int presents() const { return m_dialog->m_preview->presentCount(); }

    // Writes an object file (chunk stored uncoded) into the working directory.
    QString writeObject(const std::string& name, const std::vector<SpriteSpec>& sprites,
                        const StringEntries& strings = twelveStrings(), std::uint8_t supportType = 0,
                        std::uint8_t pathFlags = 0, std::uint32_t flags = 5) {
        auto file = storedObjectFile(buildChunk(strings, sprites, supportType, pathFlags), flags);
        return QString::fromStdString(m_dir.write(name, file));
    }
    // Loads a file through the Load command.
    void load(const QString& path) {
        m_ui.chooseNext(path);
        click(1002);
    }

    TempDir m_dir;
    ScriptedUiPort m_ui;
    std::unique_ptr<MainDialog> m_dialog;
};

}  // namespace trellisor::test
