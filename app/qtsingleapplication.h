#pragma once

#include <QApplication>
#include <QLockFile>
#include <memory>

namespace MessageChannel {
class Listener;
}

// One running instance per user and program path. The first instance listens on a
// local socket guarded by a lock file; later starts find it and send it a message.
// A lock left behind by a crashed or killed instance is recovered on the next start.
class QtSingleApplication : public QApplication
{
    Q_OBJECT
public:
    QtSingleApplication(int& argc, char** argv);
    ~QtSingleApplication() override;

    bool isRunning() const { return m_running; }
    // Set when the lock or socket, or their folder, belongs to someone else: the
    // instance then neither runs nor forwards anything.
    QString unsafePath() const { return m_unsafePath; }
    // Sends a message to the running instance; true once it confirmed the receipt.
    bool sendMessage(const QString& message, int timeoutMs);
    // The same without an application object of this kind (no display): false when no
    // instance runs, or its folder is not ours alone.
    static bool sendToRunning(const QString& message, int timeoutMs);

    // The key for this user and program path; the lock file and socket derive from it.
    static QString instanceKey(const QString& programPath, uint userId);

signals:
    void messageReceived(const QString& message);

private:
    void becomePrimary();
    bool primaryAnswers() const;

    QString m_socketPath;
    std::unique_ptr<QLockFile> m_lock;
    MessageChannel::Listener* m_listener = nullptr;
    bool m_running = false;
    QString m_unsafePath;
};
