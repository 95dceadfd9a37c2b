#pragma once

#include <QObject>
#include <QStringList>

// The stop requests callers send to the helper's own D-Bus object, by request secret. KAuth's
// own stop is one flag for whatever runs, which a stop meant for another action (or for one that
// has not begun) would set; a secret names exactly one action of one caller.
class StopRequests : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.nordwave.tarn.upgradehelper.Stop")

public:
    using QObject::QObject;

    // Makes the helper's instance and exports it on the system bus; needs the application.
    static void exportOnSystemBus();
    // The exported instance, or nullptr before exportOnSystemBus().
    static StopRequests* exported();

    bool contains(const QString& secret) const;

public Q_SLOTS:
    // Remembered for a bounded number of recent requests: a stop may come before its action
    // begins (during the password prompt), and every action has a secret of its own.
    void Stop(const QString& secret);

private:
    QStringList m_recent;
};
