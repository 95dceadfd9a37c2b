#pragma once

#include "core/coretypes.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QObject>

class NotifierCore;
class QSessionManager;
class QSocketNotifier;
class QtSingleApplication;

// Performs the whole start-up: forwards the command line to a running instance,
// admits only administrators, picks desktop or mobile mode and creates the core.
class NotifierStarter : public QObject
{
    Q_OBJECT
public:
    explicit NotifierStarter(QtSingleApplication* application);
    ~NotifierStarter() override;

    bool shouldExit() const { return m_shouldExit; }
    int exitCode() const { return m_exitCode; }

    static void termSignalHandler(int signal);
    // The program's description and options, for the start-up and for --help.
    static void describeOptions(QCommandLineParser& parser);
    // Without a display: true for --quit, which is handed to a running instance (that one
    // may show on a display of its own).
    static bool forwardsQuit(const QCommandLineParser& parser);
    // Mobile mode: a phone shell, told apart by the environment.
    static bool isMobileSession(const QString& desktopSession, const QString& launcherSettings);
    // Root or a member of the administrators' group: nobody else gets the notifier.
    static bool isAdministrator();

public slots:
    void onMessageReceived(QString message);
    void handleSigTerm();
    void onSaveStateRequest(QSessionManager& manager);

private:
    void startCore(Presentation presentation);
    void handleOptions(const QString& workingDirectory);

    QSocketNotifier* m_termNotifier = nullptr;
    int m_exitCode = 0;
    bool m_shouldExit = false;
    QCommandLineParser m_parser;
    NotifierCore* m_core = nullptr;
};
