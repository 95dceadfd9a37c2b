<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>NotifierCore</name>
    <message>
        <location filename="../core/notifiercore.cpp" line="+22" />
        <source>Update Notifier</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+71" />
        <source>Remind me later in</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+6" />
        <source>1 hour</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+0" />
        <source>12 hours</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+0" />
        <source>1 day</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+1" />
        <source>2 days</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+0" />
        <source>a week</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+0" />
        <source>a month</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+9" />
        <source>&amp;Settings</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>&amp;Package Manager</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+1" />
        <source>&amp;Do Upgrade</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+3" />
        <source>&amp;Check for Updates</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>&amp;Quit</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../core/tray.cpp" line="+38" />
        <source>Error</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+11" />
        <source>%1: system is up-to-date</source>
        <translation type="unfinished" />
    </message>
    <message numerus="yes">
        <location line="+33" />
        <source>There are %n upgradable packages
Click to run system upgrade</source>
        <translation>
            <numerusform>There is %n upgradable package
Click to run system upgrade</numerusform>
            <numerusform>There are %n upgradable packages
Click to run system upgrade</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../core/updatecheck.cpp" line="+99" />
        <location line="+70" />
        <source>Unable to run package managment tool</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="-54" />
        <location line="+41" />
        <source>Unable to check for updates</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="-21" />
        <source>invalid output from %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+14" />
        <source>No updates are available</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+32" />
        <source>Command: %1 %2</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+1" />
        <source>Error: %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+8" />
        <source>Error while checking apt cache: %1</source>
        <translation type="unfinished" />
    </message>
    <message numerus="yes">
        <location filename="../core/updatetext.cpp" line="+9" />
        <source>&lt;b&gt;%n&lt;/b&gt; package(s) will be upgraded</source>
        <translation>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; package will be upgraded</numerusform>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; packages will be upgraded</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2" />
        <source>&lt;b&gt;%n&lt;/b&gt; package(s) will be installed</source>
        <translation>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; package will be installed</numerusform>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; packages will be installed</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2" />
        <source>&lt;b&gt;%n&lt;/b&gt; package(s) will be removed</source>
        <translation>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; package will be removed</numerusform>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; packages will be removed</numerusform>
        </translation>
    </message>
    <message>
        <location line="+9" />
        <location line="+7" />
        <source>Click to run system upgrade</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="-6" />
        <source>%1:&lt;br&gt;%2</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../core/useractions.cpp" line="+13" />
        <source>NO setting for package managment tool
Please verify settings</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>%1: runing package managment tool</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>NotifierStarter</name>
    <message>
        <location filename="../app/notifierstarter.cpp" line="+26" />
        <source>Quit application.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+1" />
        <source>Hide baloon message and settings.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+24" />
        <source>Update Notifier</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+0" />
        <source>Couldn't detect any system tray on this system</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <location filename="../settings/settingsdialog.cpp" line="+15" />
        <source>Update notifier - Settings</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+8" />
        <source>Check for updates</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+21" />
        <source>Number of the upgradable packages: %1</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>TarnHelpMenu</name>
    <message>
        <location filename="../platform/tarnhelpmenu.cpp" line="+8" />
        <source>Help</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+3" />
        <source>User Guide</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+3" />
        <source>About</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+7" />
        <source>&lt;h3&gt;%1 %2&lt;/h3&gt;&lt;p&gt;%3&lt;/p&gt;&lt;p&gt;Licensed under the GNU General Public License, version 2 or later.&lt;/p&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+7" />
        <source>About %1</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>UpdateDialog</name>
    <message>
        <location filename="../privileged/updatedialog.cpp" line="+15" />
        <source>Updating package list</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+28" />
        <source>Update Notifier</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+0" />
        <source>Really abort the package list update process?</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+18" />
        <source>&lt;b&gt;Updating...&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>&lt;b&gt;Waiting...&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+13" />
        <source>&lt;b&gt;Update complete&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+3" />
        <source>&lt;b&gt;Update failed&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>&lt;b&gt;Update canceled&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+3" />
        <source>&lt;b&gt;Unable to start package tool&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>UpgradeDialog</name>
    <message>
        <location filename="../privileged/upgradedialog.ui" line="+14" />
        <source>Upgrading system</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../privileged/upgradedialog.cpp" line="+57" />
        <source>Update Notifier</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+0" />
        <source>Really abort the system upgrade process?</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+19" />
        <source>&lt;b&gt;Updating package list...&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>&lt;b&gt;Upgrading...&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>&lt;b&gt;Fixing broken packages...&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>&lt;b&gt;Waiting...&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>Disabling security features</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>Enabling security features</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+18" />
        <source>&lt;b&gt;Upgrade copmlete&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>&lt;b&gt;Upgrade failed&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>&lt;b&gt;Upgrade canceled&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+3" />
        <source>&lt;b&gt;Unable to start package tool&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="../app/notifierstarter.cpp" line="-22" />
        <source>Update notifier for Tarn desktop</source>
        <translation type="unfinished" />
    </message>
</context>
</TS>