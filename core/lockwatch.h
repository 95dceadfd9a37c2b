#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

class QSocketNotifier;
class QTimer;

// Who is using the package system, kept current without waking while nobody is: inotify on
// the lock files' folders (readable by everybody, unlike the files) tells when a lock file is
// opened or closed. After an opening, and while a lock is held, the holder is asked every
// second, since APT opens a lock file a moment before it locks it.
class LockWatch : public QObject
{
    Q_OBJECT

public:
    explicit LockWatch(const QStringList& lockFiles, QObject* parent = nullptr);
    ~LockWatch() override;

    // One line naming the holder of the first held lock, or empty.
    QString text() const { return m_text; }
    // Asks the lock files now.
    void refresh();

Q_SIGNALS:
    void changed();

private:
    void readEvents();

    QStringList m_files;
    QHash<int, QSet<QString>> m_watchedNames; // by watch descriptor
    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_poll = nullptr;
    QElapsedTimer m_sinceOpened;
    QString m_text;
};
