#include "aptconfigreading.h"

#include "aptconf/aptconfig.h"

#include <QThread>

AptConfigReading::AptConfigReading()
    : m_thread(QThread::create([this] { m_config = readAptConfig(&m_ok, &m_error); }))
{
    m_thread->start();
}

AptConfigReading::~AptConfigReading()
{
    m_thread->wait();
    delete m_thread;
}

QMap<QString, QString> AptConfigReading::result(bool* ok, QString* error)
{
    m_thread->wait();
    *ok = m_ok;
    if (!m_ok)
        *error = m_error;
    return m_config;
}
