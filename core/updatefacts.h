#pragma once

#include <QObject>

class BoundedProcess;
class QTimer;

// What the tray tells beside the counts; -1 where the checker could not tell.
struct UpdateFacts
{
    int heldBack = -1; // upgradable packages the upgrade leaves out ("apt_check -k")
    int security = -1; // upgrades from a security archive ("apt_check -p")
};

// Asks the checker for the facts after a count, one run after the other, each bounded in
// output and time like the count. A run that fails only leaves its fact out.
class UpdateFactsReader : public QObject
{
    Q_OBJECT

public:
    explicit UpdateFactsReader(QObject* parent = nullptr);

    void start(int timeoutMs);
    UpdateFacts facts() const { return m_facts; }

Q_SIGNALS:
    void finished();

private:
    void run(const QString& argument);
    void onRunEnded(bool started);

    BoundedProcess* m_process;
    QTimer* m_timeout;
    UpdateFacts m_facts;
    int m_timeoutMs = 0;
    bool m_timedOut = false;
};
