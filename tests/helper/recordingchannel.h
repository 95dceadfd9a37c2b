#pragma once

#include "helper/packagerun.h"

#include <QStringList>
#include <QVariantMap>
#include <functional>

// Keeps what an action sends; a stop is requested when `stopWhen` says so.
class RecordingChannel : public ActionChannel
{
public:
    void send(const QVariantMap& data) override { sent << data; }
    bool stopRequested() override { return stopWhen && stopWhen(*this); }

    QStringList outputs() const { return valuesOf("output"); }
    QStringList messages() const { return valuesOf("message"); }
    QList<double> progress() const
    {
        QList<double> values;
        for (const QVariantMap& data : sent) {
            if (data.value("type") == "progress")
                values << data.value("progress").toDouble();
        }
        return values;
    }

    QList<QVariantMap> sent;
    std::function<bool(const RecordingChannel&)> stopWhen;

private:
    QStringList valuesOf(const QString& type) const
    {
        QStringList values;
        for (const QVariantMap& data : sent) {
            if (data.value("type") == type)
                values << data.value(type).toString();
        }
        return values;
    }
};
