#pragma once

// Keys the settings dialog reads and writes: per-user settings, the global configuration
// file, and APT's configuration.
namespace SettingsKeys {

inline constexpr char General[] = "General";
inline constexpr char ShowMessage[] = "showMessage";
inline constexpr char MessageTimeout[] = "messageTimeout";
inline constexpr char NotifyInterval[] = "notifyInterval";
inline constexpr char AptCacheCheckInterval[] = "aptCacheCheckInterval";
inline constexpr char HideTray[] = "hideTray";
inline constexpr char HideTrayDelay[] = "hideTrayDelay";
inline constexpr char HideTrayDeferred[] = "hideTrayDeferred";
inline constexpr char SkipNotificationDelay[] = "skipNotificationDelay";
inline constexpr char SkipNotificationSince[] = "skipNotificationSince";

inline constexpr char PeriodicEnable[] = "APT::Periodic::Enable";
inline constexpr char UpdatePackageLists[] = "APT::Periodic::Update-Package-Lists";
inline constexpr char DownloadUpgradeablePackages[] = "APT::Periodic::Download-Upgradeable-Packages";
inline constexpr char UnattendedUpgrade[] = "APT::Periodic::Unattended-Upgrade";
inline constexpr char AutocleanInterval[] = "APT::Periodic::AutocleanInterval";
inline constexpr char Verbose[] = "APT::Periodic::Verbose";
inline constexpr char Mail[] = "Unattended-Upgrade::Mail";
inline constexpr char OriginsPattern[] = "Unattended-Upgrade::Origins-Pattern::";
inline constexpr char PackageBlacklist[] = "Unattended-Upgrade::Package-Blacklist::";
// Read only: the older form of origin patterns, which unattended-upgrades still applies.
inline constexpr char AllowedOrigins[] = "Unattended-Upgrade::Allowed-Origins::";

} // namespace SettingsKeys
