// LinkedFolder: events and timers around the link.
#include "app/LinkedFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

namespace trellisor {

LinkedFolder::LinkedFolder(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder), m_link(QFile::encodeName(folder).toStdString()) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &LinkedFolder::checkDue);
}

Result<SpriteFolderLink::Start> LinkedFolder::start(PathObject& obj) {
    auto started = m_link.start(obj);
    if (!started) return started;
    // Watched once the folder exists: an export may have made it.
    m_events = std::make_unique<FolderEvents>(m_link.dir(), m_link.watch(), steadyWatchTime());
    if (m_events->isOpen()) {
        m_notifier = new QSocketNotifier(m_events->descriptor(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &LinkedFolder::deliverEvents);
    }
    schedule();
    return started;
}

QString LinkedFolder::shortName() const {
    const QFileInfo info(QDir::cleanPath(m_folder));
    const QString parent = info.dir().dirName();
    return parent.isEmpty() || parent == QStringLiteral(".") ? info.fileName()
                                                             : parent + '/' + info.fileName();
}

void LinkedFolder::deliverEvents() {
    m_events->deliver(m_link.watch(), steadyWatchTime());
    schedule();
}

std::optional<FolderUpdate> LinkedFolder::check(const FolderWatch::Apply& apply) {
    const WatchTime now = steadyWatchTime();
    if (!hasEvents() && now >= m_nextLook) {
        m_link.watch().touched("", now);
        m_nextLook = now + FolderEvents::kFallbackInterval;
    }
    auto update = m_link.watch().poll(now, apply);
    schedule();
    return update;
}

void LinkedFolder::schedule() {
    if (!m_events) return;  // not started
    std::optional<WatchTime> due = m_link.watch().nextCheck();
    if (!hasEvents()) due = due ? std::min(*due, m_nextLook) : m_nextLook;
    if (!due) return m_timer.stop();
    m_timer.start(int(std::max(WatchTime{0}, *due - steadyWatchTime()).count()));
}

}  // namespace trellisor
