#pragma once

#include <KAuth/Action>
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
inline constexpr char WaitingMessage[] = "waiting";
inline constexpr char DisablingSecurityMessage[] = "disabling_security_features";
inline constexpr char EnablingSecurityMessage[] = "enabling_security_features";

// Values of "message" in the reply of a finished long action.
inline constexpr char SuccessStatus[] = "success";
inline constexpr char FailedStatus[] = "failed";
inline constexpr char CanceledStatus[] = "canceled";
inline constexpr char FailedToStartStatus[] = "failed_to_start";
// Reply data set (true) when an upgrade ended with dpkg's work left unfinished.
inline constexpr char DpkgInterruptedKey[] = "dpkg_interrupted";

// D-Bus call timeouts. The writes wait for the administrator's password too; libdbus's
// default of 25 s would cut a slow typist off, so they get minutes as well.
inline constexpr int UpgradeTimeoutMs = 36000000;
inline constexpr int UpdateTimeoutMs = 3600000;
inline constexpr int WriteTimeoutMs = 300000;

// The largest "data" the helper accepts for a write.
inline constexpr int MaxDataBytes = 1024 * 1024;

// APT writes its machine-readable progress only when asked; the upgrade progress bar needs it.
QString withStatusFd(const QString& upgradeCommand);

// The action `name` of our helper with its arguments, the caller's language, timeout and
// parent widget.
KAuth::Action makeAction(const QString& name, const QVariantMap& arguments, QWidget* parent = nullptr);

// The timeout that goes with an action name.
int timeoutFor(const QString& name);

} // namespace HelperContract
