#pragma once

#include "helpersettings.h"

#include <KAuth/ActionReply>
#include <QObject>
#include <QVariantMap>
#include <memory>

class ActionChannel;
class QTranslator;

// The helper's actions; KAuth calls the slot named like the action.
class UpgradeHelper : public QObject
{
    Q_OBJECT

public:
    // The real helper: settings from its environment, progress through KAuth, stops through
    // StopRequests.
    UpgradeHelper();
    // For tests: other locations and a channel of their own. The channel is not owned.
    UpgradeHelper(const HelperSettings& settings, ActionChannel* channel);
    ~UpgradeHelper() override;

    // The APT configuration file the notifier owns. It sorts after the distribution's
    // 10periodic, 20auto-upgrades and 50unattended-upgrades, so its values win.
    static QString aptConfigPath();

public Q_SLOTS:
    KAuth::ActionReply update(const QVariantMap& args);
    KAuth::ActionReply upgrade(const QVariantMap& args);
    KAuth::ActionReply repair(const QVariantMap& args);
    KAuth::ActionReply setaptconfig(const QVariantMap& args);
    KAuth::ActionReply setsourcelist(const QVariantMap& args);
    KAuth::ActionReply setappconfig(const QVariantMap& args);

private:
    // APT's main list file and list directory, as APT itself resolves them.
    bool locateSourceLists(QString* mainList, QString* listDir, QString* error) const;
    // What every action does first: takes the caller's language for its messages and the
    // request's secret, so that only that request's stops (also one sent before now) count.
    void beginAction(const QVariantMap& args);
    // Replies carry the request's public id (see KAuthChannel::send).
    KAuth::ActionReply stamped(KAuth::ActionReply reply) const;
    KAuth::ActionReply errorReply(const QString& description) const;
    KAuth::ActionReply statusReply(const QString& status) const;
    // Messages from now on in the caller's language (LanguageKey), or in English.
    void useLanguage(const QString& localeName);

    HelperSettings m_settings;
    std::unique_ptr<ActionChannel> m_ownChannel;
    ActionChannel* m_channel;
    std::unique_ptr<QTranslator> m_translator;
    QString m_requestId;
};
