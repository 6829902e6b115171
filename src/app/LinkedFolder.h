// The editor's linked sprite folder on the window's event loop: the link itself
// (imageio/SpriteFolderLink.h), the kernel's events for the folder on a socket notifier,
// and a timer for the watch's next check. It only says when a check is due; MainDialog
// runs the check and the write-back through its document.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "imageio/SpriteFolderLink.h"
#include "watch/FolderEvents.h"

class QSocketNotifier;

namespace trellisor {

class LinkedFolder : public QObject {
    Q_OBJECT
public:
    LinkedFolder(const QString& folder, QObject* parent = nullptr);

    const QString& folder() const { return m_folder; }
    // "paths/sprites": the folder's last two names, for the status line.
    QString shortName() const;
    SpriteFolderLink& link() { return m_link; }
    // Begins the link on obj (SpriteFolderLink::start), then follows the folder.
    Result<SpriteFolderLink::Start> start(PathObject& obj);
    // Runs the watch's check if one is due (the folder's update through apply), then sets
    // the timer for the next.
    std::optional<FolderUpdate> check(const FolderWatch::Apply& apply);
    // Sets the timer for the watch's next check (after the link's own writes, say).
    void schedule();

signals:
    void checkDue();

private:
    void deliverEvents();
    bool hasEvents() const { return m_events && m_events->isOpen(); }

    QString m_folder;
    SpriteFolderLink m_link;
    std::unique_ptr<FolderEvents> m_events;  // from the start on
    QSocketNotifier* m_notifier = nullptr;
    QTimer m_timer;
    WatchTime m_nextLook{0};  // without events: when the files are looked at next
};

}  // namespace trellisor
