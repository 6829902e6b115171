// MainDialog: the linked sprite folder. Pictures saved in the folder come in as one undo
// step "Update from Folder" each; every change of the object (undo and redo included) goes
// out to the folder. What happens is said on the status line, never in a message box.
#include <QTime>

#include "app/LinkedFolder.h"
#include "app/MainDialog.h"

namespace trellisor {

namespace {

QString clockTime() { return QTime::currentTime().toString(QStringLiteral("HH:mm:ss")); }

}  // namespace

void MainDialog::showLinkStatus(const QString& what) {
    showStatus(QStringLiteral("linked to ") + m_linkedFolder->shortName() + QStringLiteral(" \u2014 ") +
               what);
}

void MainDialog::OnLinkSpriteFolder() {
    if (!m_object.isLoaded()) return;
    const auto folder = chooseSpriteFolder(QStringLiteral("Link Sprite Folder"));
    if (!folder) return;
    unlinkSpriteFolder();
    auto linked = std::make_unique<LinkedFolder>(*folder, this);
    SpriteFolderLink::Start start;
    Status started = [&] {
        WaitCursor wait(*m_ui);
        // A sprite folder's pictures come in as one step (none when they show the object).
        return m_document.change(QStringLiteral("Link Sprite Folder"), [&](PathObject& object) {
            auto begun = linked->start(object);
            if (begun) start = begun.value();
            return begun ? Status::ok() : Status::fail(begun.error());
        });
    }();
    if (!started)
        return showStatus(QStringLiteral("Cannot link ") + *folder + QStringLiteral(": ") +
                          QString::fromStdString(started.error()) + QLatin1Char('.'));
    m_linkedFolder = std::move(linked);
    connect(m_linkedFolder.get(), &LinkedFolder::checkDue, this, &MainDialog::checkLinkedFolder);
    writeBackToFolder();  // the icons, composed again after an import
    showLinkStatus((start.exported ? QStringLiteral("exported %1, %2 sprites")
                                   : QStringLiteral("imported %1, %2 sprites"))
                       .arg(clockTime())
                       .arg(start.count));
    refreshPreview();
}

void MainDialog::OnUnlinkSpriteFolder() { unlinkSpriteFolder(); }

void MainDialog::unlinkSpriteFolder() {
    if (!m_linkedFolder) return;
    showStatus(QStringLiteral("unlinked from ") + m_linkedFolder->shortName());
    // It may be the one whose signal runs now: it goes once that is over.
    LinkedFolder* linked = m_linkedFolder.release();
    disconnect(linked, nullptr, this, nullptr);
    linked->deleteLater();
}

void MainDialog::checkLinkedFolder() {
    if (!m_linkedFolder) return;
    int count = 0;
    m_updatingFromFolder = true;
    auto update = m_linkedFolder->check([&](const std::vector<std::string>& changed) {
        return m_document.change(QStringLiteral("Update from Folder"), [&](PathObject& object) {
            auto updated = m_linkedFolder->link().update(object, changed);
            if (updated) count = updated.value();
            return updated ? Status::ok() : Status::fail(updated.error());
        });
    });
    m_updatingFromFolder = false;
    if (!update) return;
    switch (update->kind) {
        case FolderUpdate::Kind::FolderGone: {
            const QString name = m_linkedFolder->shortName();
            unlinkSpriteFolder();
            return showStatus(name + QStringLiteral(" was deleted or renamed: the link has ended, the object "
                                                    "stays as it is"));
        }
        case FolderUpdate::Kind::Refused:
            return showLinkStatus(QStringLiteral("not updated %1, nothing changed: %2")
                                      .arg(clockTime(), QString::fromStdString(update->reason)));
        case FolderUpdate::Kind::Applied:
            break;
    }
    QStringList said;
    if (!update->changed.empty())
        said << QStringLiteral("updated %1, %2 sprites").arg(clockTime()).arg(count);
    if (!update->missing.empty())
        said << QStringLiteral("missing %1: %2 (their sprites keep their pixels)")
                    .arg(clockTime(), QString::fromStdString(nameList(update->missing)));
    showLinkStatus(said.join(QStringLiteral("; ")));
    if (!update->changed.empty()) refreshPreview();
}

void MainDialog::writeBackToFolder() {
    if (!m_linkedFolder) return;
    auto written = m_linkedFolder->link().writeBack(m_object);
    if (!written)
        showLinkStatus(QStringLiteral("not written back: ") + QString::fromStdString(written.error()));
    else if (written.value() > 0 && !m_updatingFromFolder)
        showLinkStatus(QStringLiteral("written back %1, %2 files").arg(clockTime()).arg(written.value()));
}

}  // namespace trellisor
