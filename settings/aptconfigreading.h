#pragma once

#include <QMap>
#include <QString>

class QThread;

// "apt-config dump" run on a thread of its own from construction on, so that the dialog
// builds its widgets meanwhile instead of waiting for APT first.
class AptConfigReading
{
public:
    AptConfigReading();
    ~AptConfigReading();
    AptConfigReading(const AptConfigReading&) = delete;
    AptConfigReading& operator=(const AptConfigReading&) = delete;

    // What readAptConfig() gives, once the dump is done; call it once.
    QMap<QString, QString> result(bool* ok, QString* error);

private:
    QThread* m_thread = nullptr;
    QMap<QString, QString> m_config;
    bool m_ok = false;
    QString m_error;
};
