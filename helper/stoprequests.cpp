#include "stoprequests.h"

#include "privileged/helpercontract.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QPointer>

namespace {

QPointer<StopRequests>& exportedInstance()
{
    static QPointer<StopRequests> instance;
    return instance;
}

} // namespace

void StopRequests::exportOnSystemBus()
{
    auto* stops = new StopRequests(QCoreApplication::instance());
    // Registered before KAuth takes the bus name, so no stop sent to the name is lost.
    if (QDBusConnection::systemBus().registerObject(QLatin1String(HelperContract::StopPath), stops,
                                                    QDBusConnection::ExportAllSlots))
        exportedInstance() = stops;
    else
        delete stops;
}

StopRequests* StopRequests::exported()
{
    return exportedInstance();
}

bool StopRequests::contains(const QString& secret) const
{
    return !secret.isEmpty() && m_recent.contains(secret);
}

void StopRequests::Stop(const QString& secret)
{
    if (secret.isEmpty() || secret.size() > HelperContract::MaxRequestChars || m_recent.contains(secret))
        return;
    m_recent.append(secret);
    while (m_recent.size() > HelperContract::RememberedStops)
        m_recent.removeFirst();
}
