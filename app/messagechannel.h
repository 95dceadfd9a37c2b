#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// The local socket over which later starts hand their command line to the running
// instance: one message (a QString in QDataStream form) per connection, which the
// receiver acknowledges with one byte. A plain AF_UNIX socket: QtNetwork would cost
// every running notifier about a megabyte for this alone.
namespace MessageChannel {

// True when something listens at path and takes a connection within timeoutMs.
bool answers(const QString& path, int timeoutMs);
// Sends message to the listener at path; true once it acknowledged the receipt.
bool send(const QString& path, const QString& message, int timeoutMs);

// Listens at a socket path that only the user can reach, and reports each message
// received from the event loop, after its acknowledgement has left.
class Listener : public QObject
{
    Q_OBJECT
public:
    explicit Listener(QObject* parent = nullptr);
    // Closes the socket and removes its file.
    ~Listener() override;

    // Replaces whatever lies at path; false (see errorString()) when it cannot listen.
    bool listen(const QString& path);
    QString errorString() const { return m_error; }

signals:
    void messageReceived(const QString& message);

private:
    void acceptConnections();

    int m_fd = -1;
    QByteArray m_path;
    QSocketNotifier* m_notifier = nullptr;
    QString m_error;
};

} // namespace MessageChannel
