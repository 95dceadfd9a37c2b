#pragma once

#include <KAuth/Action>
#include <QCryptographicHash>
#include <QString>
#include <QVariantMap>

class QWidget;

// What the notifier and its privileged helper agree on. The helper builds against this
// header too, so the names below exist once.
namespace HelperContract {

inline constexpr char HelperId[] = "org.nordwave.tarn.upgradehelper";

// Action names; the action id is the helper id, a dot and the name.
inline constexpr char UpgradeAction[] = "upgrade";
inline constexpr char UpdateAction[] = "update";
inline constexpr char SetAptConfigAction[] = "setaptconfig";
inline constexpr char SetSourceListAction[] = "setsourcelist";
inline constexpr char SetAppConfigAction[] = "setappconfig";
// Finishes what an interrupted dpkg left half done ("dpkg --configure -a"), then runs the
// fix-broken command when one is given (FixBrokenCommandKey; empty: left out).
inline constexpr char RepairAction[] = "repair";

// Argument keys.
inline constexpr char UpdateCommandKey[] = "update_command";
inline constexpr char UpgradeCommandKey[] = "upgrade_command";
inline constexpr char FixBrokenCommandKey[] = "fix_broken_command";
inline constexpr char DataKey[] = "data";
inline constexpr char SourceDirKey[] = "sourceDir";
inline constexpr char PackageManagerKey[] = "PMTool";
inline constexpr char UpgradeCommandSettingKey[] = "upgCommand";
inline constexpr char FixBrokenCommandSettingKey[] = "fixBrokenCommand";
// The caller's language (a locale name such as "de_DE"), in which the helper writes the
// messages the user reads. makeAction() adds it to every action.
inline constexpr char LanguageKey[] = "language";
// A random secret of each request, which makeAction() adds to every action: whoever knows it
// may stop that action (StopMethod), and only its caller knows it.
inline constexpr char RequestKey[] = "request";
inline constexpr int MaxRequestChars = 64;
// The public id of a request (requestIdOf), which the helper puts into every progress map and
// reply of that request: progress and replies are broadcast to every caller of the same action
// name, so each caller keeps only its own.
inline constexpr char RequestIdKey[] = "request_id";

// Progress maps sent while an action runs.
inline constexpr char TypeKey[] = "type";
inline constexpr char OutputType[] = "output";
inline constexpr char ProgressType[] = "progress";
inline constexpr char MessageType[] = "message";
inline constexpr char OutputKey[] = "output";
inline constexpr char ProgressKey[] = "progress";
inline constexpr char MessageKey[] = "message";

// Values of "message" in progress maps.
inline constexpr char UpdatingMessage[] = "updating";
inline constexpr char UpgradingMessage[] = "upgrading";
inline constexpr char FixingBrokenMessage[] = "fixing_broken";
inline constexpr char RepairingMessage[] = "repairing"; // dpkg finishes its pending work
inline constexpr char WaitingMessage[] = "waiting";
inline constexpr char DisablingSecurityMessage[] = "disabling_security_features";
inline constexpr char EnablingSecurityMessage[] = "enabling_security_features";

// Values of "message" in the reply of a finished long action.
inline constexpr char SuccessStatus[] = "success";
inline constexpr char FailedStatus[] = "failed";
inline constexpr char CanceledStatus[] = "canceled";
inline constexpr char FailedToStartStatus[] = "failed_to_start";
// Reply data set (true) when an upgrade or a repair ended with dpkg's work left unfinished.
inline constexpr char DpkgInterruptedKey[] = "dpkg_interrupted";

// D-Bus call timeouts. The writes wait for the administrator's password too; libdbus's
// default of 25 s would cut a slow typist off, so they get minutes as well.
inline constexpr int UpgradeTimeoutMs = 36000000;
inline constexpr int UpdateTimeoutMs = 3600000;
inline constexpr int WriteTimeoutMs = 300000;

// The helper's own object on its bus name, where a caller stops its request by secret.
inline constexpr char StopPath[] = "/org/nordwave/tarn/upgradehelper";
inline constexpr char StopInterface[] = "org.nordwave.tarn.upgradehelper.Stop";
inline constexpr char StopMethod[] = "Stop";
// How many recent stop requests the helper remembers.
inline constexpr int RememberedStops = 32;

// KAuth's broadcast from the helper (interface, member, and the type of an action's start).
inline constexpr char KAuthInterface[] = "org.kde.kf5auth";
inline constexpr char KAuthSignal[] = "remoteSignal";
inline constexpr int KAuthActionStarted = 0;
// KAuth announces an action's start before polkit asks for the password; a call that does not
// start within this time was refused because another action runs.
inline constexpr int StartWaitMs = 5000;

// The largest "data" the helper accepts for a write.
inline constexpr int MaxDataBytes = 1024 * 1024;

// APT writes its machine-readable progress only when asked; the upgrade progress bar needs it.
QString withStatusFd(const QString& upgradeCommand);

// The action `name` of our helper with its arguments, the caller's language, a new request
// secret, timeout and parent widget.
KAuth::Action makeAction(const QString& name, const QVariantMap& arguments, QWidget* parent = nullptr);

// The public id of the request with `secret`: it names the request without giving its secret away.
inline QString requestIdOf(const QString& secret)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(secret.toUtf8(), QCryptographicHash::Sha256).toHex().left(32));
}

// The timeout that goes with an action name.
int timeoutFor(const QString& name);

} // namespace HelperContract
