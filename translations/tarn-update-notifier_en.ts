<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>AptConfig</name>
    <message numerus="yes">
        <location filename="../aptconf/aptconfig.cpp" line="+81" />
        <source>apt-config did not finish within %n second(s).</source>
        <translation>
            <numerusform>apt-config did not finish within %n second.</numerusform>
            <numerusform>apt-config did not finish within %n seconds.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+14" />
        <source>The output of apt-config holds a NUL byte.</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>AptFilePolicy</name>
    <message>
        <location filename="../policy/aptfilepolicy.cpp" line="+34" />
        <source>the value "%1" of "%2" is not allowed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+7" />
        <source>the mail address "%1" is not allowed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+4" />
        <source>the key "%1" is not allowed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+12" />
        <source>Refused %1: byte %2 is the control character 0x%3, which is not plain text</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+41" />
        <source>APT configuration</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+10" />
        <source>Refused APT configuration line %1 "%2": %3</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+11" />
        <source>block comment markers are not allowed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+8" />
        <location line="+75" />
        <source>control characters are not allowed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="-66" />
        <source>only quoted elements are allowed inside "%1"</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+10" />
        <source>clearing "%1" is not allowed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+8" />
        <source>the list "%1" is not allowed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+4" />
        <source>it is not a setting the notifier writes</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+4" />
        <source>Refused APT configuration: the list "%1" is not closed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+28" />
        <source>Refused list file "%1": %2</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+3" />
        <source>it is not an absolute path</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>"%1" is not allowed in a path</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+15" />
        <source>it is neither the main list file nor inside the list directory</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+3" />
        <source>APT would skip the file name "%1"; it reads only names of ASCII letters, digits, "_", "-", ":" and "." that do not begin with a dot and end in ".list" or ".sources"</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>AptLocks</name>
    <message>
        <location filename="../helper/aptlocks.cpp" line="+41" />
        <source>%1 is locked by a program the helper cannot name.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+4" />
        <source>%1 is locked by process %2: %3</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>AptVerdict</name>
    <message>
        <location filename="../helper/aptverdict.cpp" line="+36" />
        <location line="+18" />
        <location line="+19" />
        <source>Cannot prepare a scratch copy for APT to read</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="-29" />
        <source>APT configuration</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+25" />
        <source>Cannot copy %1 for APT to read</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+11" />
        <source>source lists</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+24" />
        <source>Refused %1: APT cannot read it: %2</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>ChildProcess</name>
    <message>
        <location filename="../helper/childprocess.cpp" line="+258" />
        <source>Cannot run %1: %2</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>%1 did not answer</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>CommandPolicy</name>
    <message>
        <location filename="../policy/commandpolicy.cpp" line="+15" />
        <source>update command</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>upgrade command</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>fix-broken command</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+58" />
        <source>"%1" is not an APT option of the form KEY=VALUE</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+8" />
        <source>the APT option "%1" is not allowed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>the value "%1" of the APT option "%2" is not allowed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+13" />
        <source>Refused %1: %2</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+6" />
        <source>it is empty</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+8" />
        <source>the program "%1" is not allowed; only apt-get and apt are</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+15" />
        <source>"-o" is not followed by an APT option</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+6" />
        <source>the option "%1" is not allowed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+15" />
        <source>the operation "%1" is not allowed here</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+3" />
        <source>the package name "%1" is not allowed; only "install -f" without packages is</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+7" />
        <source>the word "%1" is not allowed after "%2"</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>it has no operation</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>"install" is only allowed with -f or --fix-broken</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+18" />
        <source>Refused package manager command: control characters are not allowed</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>HelperJobDialog</name>
    <message>
        <location filename="../privileged/helperjobdialog.cpp" line="+38" />
        <source>Update Notifier</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+18" />
        <source>Error: %1</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>HelperJobs</name>
    <message>
        <location filename="../privileged/helperjobs.cpp" line="+46" />
        <source>You are not allowed to do this, or the password was not accepted.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>The authentication was cancelled.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>The privileged helper is busy with another action. Try again when it has finished.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+3" />
        <source>The privileged helper could not be reached (error %1).</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>The privileged helper could not be used (error %1).</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>LockWatch</name>
    <message>
        <location filename="../core/lockwatch.cpp" line="+84" />
        <source>The package system is in use by another program</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>The package system is in use by %1 (process %2)</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>NotifierCore</name>
    <message>
        <location filename="../core/notifiercore.cpp" line="+27" />
        <source>Update Notifier</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+107" />
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
        <location line="+2" />
        <source>&amp;Repair Package System</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>&amp;Check for Updates</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>&amp;Quit</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+35" />
        <source>The program was replaced, and its new version cannot run yet. Try again in a moment.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>The notifier's windows cannot be loaded:
%1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../core/tray.cpp" line="+48" />
        <source>%1: unable to check for updates&lt;br&gt;%2</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+11" />
        <source>%1: system is up-to-date</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+32" />
        <source>%1: dpkg was interrupted, the package system needs a repair</source>
        <translation type="unfinished" />
    </message>
    <message numerus="yes">
        <location line="+26" />
        <source>There are %n upgradable packages (security updates: %1)
Click to run system upgrade</source>
        <translation>
            <numerusform>There is %n upgradable package (security updates: %1)
Click to run system upgrade</numerusform>
            <numerusform>There are %n upgradable packages (security updates: %1)
Click to run system upgrade</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3" />
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
        <location filename="../core/updatecheck.cpp" line="+210" />
        <location line="+117" />
        <source>Unable to run package management tool</source>
        <translation type="unfinished" />
    </message>
    <message numerus="yes">
        <location line="-90" />
        <source>%1 gave no answer within %n second(s)</source>
        <translation>
            <numerusform>%1 gave no answer within %n second</numerusform>
            <numerusform>%1 gave no answer within %n seconds</numerusform>
        </translation>
    </message>
    <message>
        <location line="+4" />
        <source>%1 printed more than expected</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+9" />
        <source>%1 crashed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+4" />
        <source>%1 ended with status %2</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+6" />
        <source>invalid output from %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+27" />
        <source>No updates are available</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+21" />
        <source>Unable to check for updates: %1</source>
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
        <location line="+19" />
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
        <location line="+3" />
        <source>&lt;b&gt;%n&lt;/b&gt; package(s) will be installed</source>
        <translation>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; package will be installed</numerusform>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; packages will be installed</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3" />
        <source>&lt;b&gt;%n&lt;/b&gt; package(s) will be removed</source>
        <translation>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; package will be removed</numerusform>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; packages will be removed</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+10" />
        <source>Security updates: &lt;b&gt;%n&lt;/b&gt;</source>
        <translation>
            <numerusform>Security updates: &lt;b&gt;%n&lt;/b&gt;</numerusform>
            <numerusform>Security updates: &lt;b&gt;%n&lt;/b&gt;</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3" />
        <source>&lt;b&gt;%n&lt;/b&gt; held back</source>
        <translation>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; held back</numerusform>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; held back</numerusform>
        </translation>
    </message>
    <message>
        <location line="+5" />
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
        <location filename="../core/useractions.cpp" line="+18" />
        <source>NO setting for package management tool
Please verify settings</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>%1: running package management tool</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+24" />
        <source>Upgrade command does not set
Please verify settings</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../core/restartnotice.cpp" line="+30" />
        <source>A restart is needed to finish the upgrade</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+1" />
        <source>A restart is needed to finish the upgrade of: %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../core/phone.cpp" line="+10" />
        <source>dpkg was interrupted, the package system needs a repair. Click to repair it</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>NotifierStarter</name>
    <message>
        <location filename="../app/notifierstarter.cpp" line="+46" />
        <source>Quit application.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+1" />
        <source>Hide balloon message and settings.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+22" />
        <source>%1 belongs to another user or is open to others: not started</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>OriginsPatternDialog</name>
    <message>
        <location filename="../settings/originspatterndialog.ui" line="+14" />
        <source>Upgrade Pattern Editor</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+58" />
        <source>Archive:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+32" />
        <source>Component:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+32" />
        <source>Label:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+31" />
        <source>Origin:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+27" />
        <source>Code name:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+32" />
        <source>Site:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../settings/originspatterndialog.cpp" line="+26" />
        <source>%1 (Allowed-Origins, read-only)</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>A rule of the list Unattended-Upgrade::Allowed-Origins: updates from this origin and archive are installed too. It is kept as set; change it in APT's configuration files.</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>PackageBlackListDialog</name>
    <message>
        <location filename="../settings/packageblacklistdialog.ui" line="+14" />
        <source>Ignored Package List</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>PackageRun</name>
    <message>
        <location filename="../helper/packagerun.cpp" line="+87" />
        <source>Not all package lists could be updated; upgrading with the lists APT has.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="-17" />
        <source>dpkg was interrupted and left packages half installed. Run "dpkg --configure -a" as root to finish their setup.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+61" />
        <source>Cannot read the package database's location from APT's configuration</source>
        <translation type="unfinished" />
    </message>
    <message numerus="yes">
        <location line="+82" />
        <source>The package system was still locked after %n second(s); %1 gives up.</source>
        <translation>
            <numerusform>The package system was still locked after %n second; %1 gives up.</numerusform>
            <numerusform>The package system was still locked after %n seconds; %1 gives up.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+26" />
        <source>Unable to start %1: %2</source>
        <translation type="unfinished" />
    </message>
    <message numerus="yes">
        <location line="+55" />
        <source>%1 did not finish within %n second(s) and is being stopped.</source>
        <translation>
            <numerusform>%1 did not finish within %n second and is being stopped.</numerusform>
            <numerusform>%1 did not finish within %n seconds and is being stopped.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3" />
        <source>Stopping %1...</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+14" />
        <source>Packages are being installed, which must not be interrupted: %1 finishes all its work first.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+43" />
        <source>The stop came too late to leave anything out: %1 has finished.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="-6" />
        <source>%1 did not stop in time and was ended by force.</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>SafeWrite</name>
    <message>
        <location filename="../helper/safewrite.cpp" line="+61" />
        <location line="+53" />
        <source>Cannot create a temporary file for %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="-49" />
        <location line="+171" />
        <source>Cannot keep a backup of %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="-138" />
        <source>Refused to replace %1: it is not a regular file</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+7" />
        <source>Cannot keep a backup of %1: %2 is a folder</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+3" />
        <source>Cannot examine %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+15" />
        <source>Cannot set the mode of %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+3" />
        <source>Cannot set the owner of %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <location line="+4" />
        <source>Cannot write %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="-2" />
        <source>Cannot flush %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+43" />
        <source>the new file %1 could not be removed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>%1 could not be put back, its old file is kept as %2: %3</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+9" />
        <source>the backup of %1 could not be put back, it is kept as %2: %3</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+8" />
        <source>the files already replaced were put back</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+34" />
        <source>Cannot replace %1</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <location filename="../settings/settingsdialog.ui" line="+14" />
        <source>Update notifier - Settings</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+8" />
        <source>Check For Updates</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+47" />
        <source>More</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+19" />
        <source>General Settings</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+6" />
        <source>Hide tray icon if no updates are available</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+7" />
        <source>Tray icon hide delay:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+10" />
        <location line="+87" />
        <source>s</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="-71" />
        <source>Hide tray icon when notification is deferred</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+10" />
        <source>Interval for checking lists of packages:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+35" />
        <source>Notification</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+6" />
        <source>Notify about available updates</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+7" />
        <source>Notification delay:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+29" />
        <source>Show notification every:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+38" />
        <source>Reset</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+10" />
        <source>Unattended Upgrades</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+6" />
        <source>Enable system update tasks</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+7" />
        <source>Update package lists every:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+10" />
        <location line="+26" />
        <location line="+26" />
        <location line="+26" />
        <source>Disabled</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="-75" />
        <location line="+26" />
        <location line="+26" />
        <location line="+26" />
        <source>days</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="-65" />
        <source>Download upgradeable packages every:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+26" />
        <source>Do unattended upgrade every:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+26" />
        <source>Clear old packages from cache every:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+26" />
        <source>Email address for reports:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+14" />
        <source>Send log with mail:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+11" />
        <source>Do not send</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>Progress report</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>Progress + command output</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>Progress + command output + tracing</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+10" />
        <source>Edit upgrade patterns</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+7" />
        <source>Edit ignored package list</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+22" />
        <source>Attention! Package &lt;b&gt;unattended-upgrades&lt;/b&gt; should be installed for full functionality.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+14" />
        <source>Repositories</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+16" />
        <source>Enabled</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>Type</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>URI</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>Distribution</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>Sections</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>File</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+54" />
        <source>New</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+7" />
        <source>Edit</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+7" />
        <source>Delete</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+24" />
        <source>Advanced Settings</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+9" />
        <source>Package management tool</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+24" />
        <source>Upgrade command</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+10" />
        <source>Fix broken command</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+12" />
        <source>Run Package Manager</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../settings/settingsdialog.cpp" line="+93" />
        <source>Number of the upgradable packages: %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+21" />
        <source>Notification is deferred to %1</source>
        <translation type="unfinished" />
    </message>
    <message numerus="yes">
        <location line="+18" />
        <source>The stored interval is %n second(s), which this field cannot show; it is kept unless you change this field.</source>
        <translation>
            <numerusform>The stored interval is %n second, which this field cannot show; it is kept unless you change this field.</numerusform>
            <numerusform>The stored interval is %n seconds, which this field cannot show; it is kept unless you change this field.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+18" />
        <source>Next notification will be at %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+26" />
        <location line="+155" />
        <location filename="../settings/settingssaving.cpp" line="+242" />
        <source>Error</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="-155" />
        <source>Unable to read APT settings. Error: %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+30" />
        <source>APT's configuration sets "%1", which this field cannot show exactly; it is kept as set unless you change this field.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+106" />
        <source>Attention!</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+1" />
        <source>Interactivity is not supported yet.
</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+1" />
        <source>The upgrade and fix commands must contain 
a non-interactive option and it will be added.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+8" />
        <source>Unable to add non-interactive option 
to upgrade command</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>Unable to add non-interactive option 
to fix broken command</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+183" />
        <source>Select Package Manager</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../settings/settingssaving.cpp" line="-195" />
        <source>Nothing was saved: %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+40" />
        <source>repository row %1 (%2) has neither a URI nor a distribution.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>repository row %1 (%2) has no URI.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>repository row %1 (%2) has no distribution.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+1" />
        <source>repository row %1 (%2) is not a repository line.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+30" />
        <source>Unable to save the settings to %1.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+31" />
        <source>Unable to write APT settings. Error: %1</source>
        <translation type="unfinished" />
    </message>
    <message numerus="yes">
        <location line="+38" />
        <source>The repositories were not saved: another program changed %n list file(s) since this window read them: %1. Cancel and open the settings again to edit what they hold now.</source>
        <translation>
            <numerusform>The repositories were not saved: another program changed %n list file since this window read them: %1. Cancel and open the settings again to edit what they hold now.</numerusform>
            <numerusform>The repositories were not saved: another program changed %n list files since this window read them: %1. Cancel and open the settings again to edit what they hold now.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+10" />
        <source>Unable to write source.list. Error: %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+13" />
        <source>Unable to save global configuration. Error: %1</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>SourceEditor</name>
    <message>
        <location filename="../settings/sourceeditor.ui" line="+14" />
        <source>Edit Repository</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+8" />
        <source>Type:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+10" />
        <source>URI:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+10" />
        <source>Distribution:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+10" />
        <source>Sections:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+10" />
        <source>Options:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+7" />
        <source>signed-by=/etc/apt/keyrings/example.asc arch=amd64</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../settings/sourceeditor.cpp" line="+33" />
        <source>Add Repository</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+21" />
        <source>The key written into this repository's Signed-By field is kept as it is.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+7" />
        <source>Binary (deb)</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+1" />
        <source>Source (deb-src)</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+7" />
        <source>Options go into the Options field, not into the URI.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>The URI must not contain "#": APT would read the rest as a comment.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+3" />
        <source>The distribution and the sections must not contain "#": APT would read the rest as a comment.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+6" />
        <source>A repository line holds one URI and one distribution, without blanks.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+9" />
        <source>The URI "%1" needs a method, such as "https://" or "file:".</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>The distribution "%1" needs at least one section, such as "main"; only a distribution ending in "/" has none.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+4" />
        <source>The distribution "%1" ends in "/": such a repository has no sections.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+6" />
        <source>The option "%1" is not of the form name=value.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>This repository's key is written into its file; signed-by cannot be set here.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+24" />
        <source>Another row of "%1" "%2" has no signed-by: APT takes only one signed-by for a URI and distribution.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+3" />
        <source>Another row of "%1" "%2" has signed-by "%3": APT takes only one signed-by for a URI and distribution.</source>
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
        <location line="+8" />
        <source>About %1</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>TarnPhone::TarnNotificationsModelDbusNotifier</name>
    <message>
        <location filename="../platform/tarnphone.cpp" line="+179" />
        <source>Upgrade</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>Settings</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>UpdateDialog</name>
    <message>
        <location filename="../privileged/updatedialog.cpp" line="+12" />
        <source>Updating package list</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+14" />
        <source>Really abort the package list update process?</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+12" />
        <source>&lt;b&gt;Updating...&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>&lt;b&gt;Waiting...&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+10" />
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
        <location filename="../privileged/upgradedialog.cpp" line="+38" />
        <source>Repairing the package system</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+8" />
        <source>Really abort the repair of the package system?</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+1" />
        <source>Really abort the system upgrade process?</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+12" />
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
        <source>&lt;b&gt;Repairing the package system...&lt;/b&gt;</source>
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
        <source>Packages were left half installed.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+1" />
        <source>Run "dpkg --configure -a" as root to finish their setup.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+4" />
        <source>&lt;b&gt;Upgrade complete&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+0" />
        <source>&lt;b&gt;Repair complete&lt;/b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>&lt;b&gt;Upgrade failed&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+0" />
        <source>&lt;b&gt;Repair failed&lt;/b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>&lt;b&gt;Upgrade canceled&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+0" />
        <source>&lt;b&gt;Repair canceled&lt;/b&gt;</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+4" />
        <source>&lt;b&gt;Unable to start package tool&lt;\b&gt;</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>UpgradeHelper</name>
    <message>
        <location filename="../helper/upgradehelper.cpp" line="+62" />
        <source>Refused: the data is larger than %1 bytes</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+36" />
        <source>Canceled before it began.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+108" />
        <source>Refused: no APT configuration text given</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+20" />
        <source>Refused: no list file map given</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+8" />
        <source>Refused list file "%1": its text is not text</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+6" />
        <source>list file "%1"</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+21" />
        <source>Refused: "%1" is not APT's list directory "%2"</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+12" />
        <source>Refused list file "%1": it is not a regular file</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+25" />
        <source>Refused: "%1" is missing or not text</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+22" />
        <source>Cannot create a scratch directory: %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+12" />
        <source>Cannot produce the configuration text</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>Cannot produce the configuration text: %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+19" />
        <source>Cannot read the list file locations from APT's configuration</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>UpgradeRequestDialog</name>
    <message>
        <location filename="../privileged/upgraderequestdialog.ui" line="+14" />
        <source>Update Notifier</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+6" />
        <source>Really upgrade system?</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+10" />
        <source>List of packages</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../privileged/upgraderequestdialog.cpp" line="+186" />
        <location line="+83" />
        <source>Warning</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="-82" />
        <source>Free disk space is less than %1 kB. Do you want to upgrade now?</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+32" />
        <source>Receiving package list...</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+8" />
        <location line="+11" />
        <location line="+4" />
        <source>Error: %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="-4" />
        <source>%1 printed more than expected</source>
        <translation type="unfinished" />
    </message>
    <message numerus="yes">
        <location line="+27" />
        <source>The upgrade would remove %n package(s) that the system needs (essential or of priority required): %1. Do you really want to upgrade?</source>
        <translation>
            <numerusform>The upgrade would remove %n package that the system needs (essential or of priority required): %1. Do you really want to upgrade?</numerusform>
            <numerusform>The upgrade would remove %n packages that the system needs (essential or of priority required): %1. Do you really want to upgrade?</numerusform>
        </translation>
    </message>
    <message>
        <location line="+83" />
        <source>%1: </source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+5" />
        <source>%1 (%2 =&gt; %3)</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+3" />
        <location line="+2" />
        <source>%1 (%2)</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+10" />
        <source>The following packages will be upgraded:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+4" />
        <source>The following packages will be installed:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+4" />
        <source>The following packages will be removed:</source>
        <translation type="unfinished" />
    </message>
    <message numerus="yes">
        <location line="+8" />
        <source>%n upgraded</source>
        <translation>
            <numerusform>%n upgraded</numerusform>
            <numerusform>%n upgraded</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1" />
        <source>%n newly installed</source>
        <translation>
            <numerusform>%n newly installed</numerusform>
            <numerusform>%n newly installed</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1" />
        <source>%n to remove</source>
        <translation>
            <numerusform>%n to remove</numerusform>
            <numerusform>%n to remove</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3" />
        <source>%1 kB to download</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+1" />
        <source>nothing to download</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>%1 kB of disk space freed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+0" />
        <source>%1 kB of disk space used</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+18" />
        <source>%1 (%2 =&gt; %3): held by the administrator; release it with "apt-mark unhold %1"</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>%1 (%2 =&gt; %3): deferred by a phased rollout, offered to %4% of systems so far</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>%1 (%2 =&gt; %3): deferred by a phased rollout</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>%1 (%2 =&gt; %3): kept back because it would remove %4</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>%1 (%2 =&gt; %3): kept back because it needs %4, which cannot be installed</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>%1 (%2 =&gt; %3): kept back</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+7" />
        <source>The following packages have been kept back:</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+11" />
        <source>Need to get %1 kB of archives.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+2" />
        <source>After this operation, %1 kB disk space will be freed.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location line="+3" />
        <source>After this operation, %1 kB of additional disk space will be used.</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>WindowsModule</name>
    <message>
        <location filename="../core/windowsmodule.cpp" line="+37" />
        <source>%1 belongs to another build of the program.</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="../app/notifierstarter.cpp" line="-26" />
        <source>Update notifier for Tarn desktop</source>
        <translation type="unfinished" />
    </message>
    <message>
        <location filename="../app/main.cpp" line="+45" />
        <source>%1: no display to show the notifier on</source>
        <translation type="unfinished" />
    </message>
</context>
</TS>