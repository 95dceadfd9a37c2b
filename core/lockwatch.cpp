#include "lockwatch.h"

#include "pkgsystem/lockholder.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <sys/inotify.h>
#include <unistd.h>

#include <optional>

namespace {
constexpr int PollMs = 1000;
// How long after a lock file was opened its lock is still looked for.
constexpr qint64 LockAfterOpenMs = 5000;
// Enough of a command line for a tooltip.
constexpr int MaxCommandChars = 80;
} // namespace

LockWatch::LockWatch(const QStringList& lockFiles, QObject* parent)
    : QObject(parent), m_files(lockFiles), m_poll(new QTimer(this))
{
    m_poll->setInterval(PollMs);
    connect(m_poll, &QTimer::timeout, this, &LockWatch::refresh);
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return;
    for (const QString& file : qAsConst(m_files)) {
        const QFileInfo info(file);
        const int watch = ::inotify_add_watch(m_fd, QFile::encodeName(info.path()).constData(),
                                              IN_OPEN | IN_CLOSE | IN_ONLYDIR);
        // A folder that is missing here (no APT cache yet) has no lock to hold.
        if (watch >= 0)
            m_watchedNames[watch].insert(info.fileName());
    }
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &LockWatch::readEvents);
}

LockWatch::~LockWatch()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void LockWatch::readEvents()
{
    alignas(struct inotify_event) char buffer[16 * 1024];
    bool relevant = false;
    for (;;) {
        const ssize_t size = ::read(m_fd, buffer, sizeof buffer);
        if (size <= 0)
            break;
        for (ssize_t at = 0; at + ssize_t(sizeof(struct inotify_event)) <= size;) {
            const auto* event = reinterpret_cast<const struct inotify_event*>(buffer + at);
            at += ssize_t(sizeof(struct inotify_event)) + event->len;
            if (event->mask & IN_Q_OVERFLOW) {
                relevant = true;
                m_sinceOpened.start();
                continue;
            }
            const QString name = event->len ? QFile::decodeName(event->name) : QString();
            if (name.isEmpty() || !m_watchedNames.value(event->wd).contains(name))
                continue;
            relevant = true;
            if (event->mask & IN_OPEN)
                m_sinceOpened.start();
        }
    }
    if (relevant)
        refresh();
}

void LockWatch::refresh()
{
    QString text;
    for (const std::optional<LockHolder>& holder : LockHolder::of(m_files)) {
        if (!holder)
            continue;
        if (holder->pid <= 0) {
            text = tr("The package system is in use by another program");
        } else {
            QString command = holder->command;
            if (command.size() > MaxCommandChars)
                command = command.left(MaxCommandChars - 3) + QStringLiteral("...");
            text = tr("The package system is in use by %1 (process %2)").arg(command).arg(holder->pid);
        }
        break;
    }
    const bool looking =
        !text.isEmpty() || (m_sinceOpened.isValid() && !m_sinceOpened.hasExpired(LockAfterOpenMs));
    if (!looking)
        m_poll->stop();
    else if (!m_poll->isActive())
        m_poll->start();
    if (text == m_text)
        return;
    m_text = text;
    Q_EMIT changed();
}
