<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AptConfig</name>
    <message numerus="yes">
        <location filename="../aptconf/aptconfig.cpp" line="+81"/>
        <source>apt-config did not finish within %n second(s).</source>
        <translation>
            <numerusform>apt-config wurde nicht innerhalb von %n Sekunde beendet.</numerusform>
            <numerusform>apt-config wurde nicht innerhalb von %n Sekunden beendet.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+14"/>
        <source>The output of apt-config holds a NUL byte.</source>
        <translation>Die Ausgabe von apt-config enthält ein NUL-Byte.</translation>
    </message>
</context>
<context>
    <name>AptFilePolicy</name>
    <message>
        <location filename="../policy/aptfilepolicy.cpp" line="+34"/>
        <source>the value &quot;%1&quot; of &quot;%2&quot; is not allowed</source>
        <translation>der Wert „%1“ von „%2“ ist nicht erlaubt</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>the mail address &quot;%1&quot; is not allowed</source>
        <translation>die E-Mail-Adresse „%1“ ist nicht erlaubt</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the key &quot;%1&quot; is not allowed</source>
        <translation>der Schlüssel „%1“ ist nicht erlaubt</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Refused %1: byte %2 is the control character 0x%3, which is not plain text</source>
        <translation>Abgelehnt: %1: Byte %2 ist das Steuerzeichen 0x%3, das kein reiner Text ist</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>APT configuration</source>
        <translation>APT-Konfiguration</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Refused APT configuration line %1 &quot;%2&quot;: %3</source>
        <translation>Abgelehnt: APT-Konfiguration, Zeile %1 „%2“: %3</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>block comment markers are not allowed</source>
        <translation>Blockkommentarzeichen sind nicht erlaubt</translation>
    </message>
    <message>
        <location line="+8"/>
        <location line="+75"/>
        <source>control characters are not allowed</source>
        <translation>Steuerzeichen sind nicht erlaubt</translation>
    </message>
    <message>
        <location line="-66"/>
        <source>only quoted elements are allowed inside &quot;%1&quot;</source>
        <translation>in „%1“ sind nur Elemente in Anführungszeichen erlaubt</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>clearing &quot;%1&quot; is not allowed</source>
        <translation>„%1“ darf nicht geleert werden</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>the list &quot;%1&quot; is not allowed</source>
        <translation>die Liste „%1“ ist nicht erlaubt</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>it is not a setting the notifier writes</source>
        <translation>das ist keine Einstellung, die der Aktualisierungsmelder schreibt</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Refused APT configuration: the list &quot;%1&quot; is not closed</source>
        <translation>Abgelehnt: APT-Konfiguration: die Liste „%1“ ist nicht geschlossen</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Refused list file &quot;%1&quot;: %2</source>
        <translation>Abgelehnt: Listendatei „%1“: %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>it is not an absolute path</source>
        <translation>das ist kein absoluter Pfad</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&quot;%1&quot; is not allowed in a path</source>
        <translation>„%1“ ist in einem Pfad nicht erlaubt</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>it is neither the main list file nor inside the list directory</source>
        <translation>sie ist weder die Hauptlistendatei noch liegt sie im Listenordner</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>APT would skip the file name &quot;%1&quot;; it reads only names of ASCII letters, digits, &quot;_&quot;, &quot;-&quot;, &quot;:&quot; and &quot;.&quot; that do not begin with a dot and end in &quot;.list&quot; or &quot;.sources&quot;</source>
        <translation>APT würde den Dateinamen „%1“ überspringen; es liest nur Namen aus ASCII-Buchstaben, Ziffern, „_“, „-“, „:“ und „.“, die nicht mit einem Punkt beginnen und auf „.list“ oder „.sources“ enden</translation>
    </message>
</context>
<context>
    <name>AptLocks</name>
    <message>
        <location filename="../helper/aptlocks.cpp" line="+41"/>
        <source>%1 is locked by a program the helper cannot name.</source>
        <translation>%1 ist von einem Programm gesperrt, das der Helfer nicht benennen kann.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 is locked by process %2: %3</source>
        <translation>%1 ist von Prozess %2 gesperrt: %3</translation>
    </message>
</context>
<context>
    <name>AptVerdict</name>
    <message>
        <location filename="../helper/aptverdict.cpp" line="+36"/>
        <location line="+18"/>
        <location line="+19"/>
        <source>Cannot prepare a scratch copy for APT to read</source>
        <translation>Eine Arbeitskopie zum Prüfen durch APT kann nicht angelegt werden</translation>
    </message>
    <message>
        <location line="-29"/>
        <source>APT configuration</source>
        <translation>APT-Konfiguration</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Cannot copy %1 for APT to read</source>
        <translation>%1 kann nicht zum Prüfen durch APT kopiert werden</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>source lists</source>
        <translation>Paketquellenlisten</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Refused %1: APT cannot read it: %2</source>
        <translation>Abgelehnt: %1: APT kann sie nicht lesen: %2</translation>
    </message>
</context>
<context>
    <name>ChildProcess</name>
    <message>
        <location filename="../helper/childprocess.cpp" line="+258"/>
        <source>Cannot run %1: %2</source>
        <translation>%1 kann nicht ausgeführt werden: %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 did not answer</source>
        <translation>%1 hat nicht geantwortet</translation>
    </message>
</context>
<context>
    <name>CommandPolicy</name>
    <message>
        <location filename="../policy/commandpolicy.cpp" line="+15"/>
        <source>update command</source>
        <translation>Aktualisierungsbefehl</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>upgrade command</source>
        <translation>Upgrade-Befehl</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>fix-broken command</source>
        <translation>Reparaturbefehl</translation>
    </message>
    <message>
        <location line="+58"/>
        <source>&quot;%1&quot; is not an APT option of the form KEY=VALUE</source>
        <translation>„%1“ ist keine APT-Option der Form SCHLÜSSEL=WERT</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>the APT option &quot;%1&quot; is not allowed</source>
        <translation>die APT-Option „%1“ ist nicht erlaubt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the value &quot;%1&quot; of the APT option &quot;%2&quot; is not allowed</source>
        <translation>der Wert „%1“ der APT-Option „%2“ ist nicht erlaubt</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Refused %1: %2</source>
        <translation>Abgelehnt: %1: %2</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>it is empty</source>
        <translation>er ist leer</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>the program &quot;%1&quot; is not allowed; only apt-get and apt are</source>
        <translation>das Programm „%1“ ist nicht erlaubt, nur apt-get und apt</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>&quot;-o&quot; is not followed by an APT option</source>
        <translation>auf „-o“ folgt keine APT-Option</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>the option &quot;%1&quot; is not allowed</source>
        <translation>die Option „%1“ ist nicht erlaubt</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>the operation &quot;%1&quot; is not allowed here</source>
        <translation>der Vorgang „%1“ ist hier nicht erlaubt</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>the package name &quot;%1&quot; is not allowed; only &quot;install -f&quot; without packages is</source>
        <translation>der Paketname „%1“ ist nicht erlaubt, nur „install -f“ ohne Pakete</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>the word &quot;%1&quot; is not allowed after &quot;%2&quot;</source>
        <translation>das Wort „%1“ ist nach „%2“ nicht erlaubt</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>it has no operation</source>
        <translation>er enthält keinen Vorgang</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&quot;install&quot; is only allowed with -f or --fix-broken</source>
        <translation>„install“ ist nur mit -f oder --fix-broken erlaubt</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Refused package manager command: control characters are not allowed</source>
        <translation>Abgelehnt: Befehl der Paketverwaltung: Steuerzeichen sind nicht erlaubt</translation>
    </message>
</context>
<context>
    <name>HelperJobDialog</name>
    <message>
        <location filename="../privileged/helperjobdialog.cpp" line="+38"/>
        <source>Update Notifier</source>
        <translation>Aktualisierungsmelder</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
</context>
<context>
    <name>HelperJobs</name>
    <message>
        <location filename="../privileged/helperjobs.cpp" line="+46"/>
        <source>You are not allowed to do this, or the password was not accepted.</source>
        <translation>Sie dürfen dies nicht tun, oder das Passwort wurde nicht akzeptiert.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The authentication was cancelled.</source>
        <translation>Die Authentifizierung wurde abgebrochen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The privileged helper is busy with another action. Try again when it has finished.</source>
        <translation>Der privilegierte Helfer ist mit einer anderen Aktion beschäftigt. Versuchen Sie es erneut, wenn sie beendet ist.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The privileged helper could not be reached (error %1).</source>
        <translation>Der privilegierte Helfer konnte nicht erreicht werden (Fehler %1).</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The privileged helper could not be used (error %1).</source>
        <translation>Der privilegierte Helfer konnte nicht verwendet werden (Fehler %1).</translation>
    </message>
</context>
<context>
    <name>LockWatch</name>
    <message>
        <location filename="../core/lockwatch.cpp" line="+84"/>
        <source>The package system is in use by another program</source>
        <translation>Das Paketsystem wird von einem anderen Programm verwendet</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The package system is in use by %1 (process %2)</source>
        <translation>Das Paketsystem wird von %1 verwendet (Prozess %2)</translation>
    </message>
</context>
<context>
    <name>NotifierCore</name>
    <message>
        <location filename="../core/notifiercore.cpp" line="+27"/>
        <source>Update Notifier</source>
        <translation>Aktualisierungsmelder</translation>
    </message>
    <message>
        <location line="+107"/>
        <source>Remind me later in</source>
        <translation>Später erinnern in</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>1 hour</source>
        <translation>1 Stunde</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>12 hours</source>
        <translation>12 Stunden</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>1 day</source>
        <translation>1 Tag</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>2 days</source>
        <translation>2 Tagen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>a week</source>
        <translation>einer Woche</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>a month</source>
        <translation>einem Monat</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>&amp;Settings</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Package Manager</source>
        <translation>&amp;Paketverwaltung</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Do Upgrade</source>
        <translation>&amp;Aktualisierung ausführen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Repair Package System</source>
        <translation>Paketsystem &amp;reparieren</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Check for Updates</source>
        <translation>Nach Aktualisierungen &amp;suchen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>The program was replaced, and its new version cannot run yet. Try again in a moment.</source>
        <translation>Das Programm wurde ersetzt, und seine neue Version kann noch nicht laufen. Versuchen Sie es gleich noch einmal.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The notifier&apos;s windows cannot be loaded:
%1</source>
        <translation>Die Fenster des Aktualisierungsmelders können nicht geladen werden:
%1</translation>
    </message>
    <message>
        <location filename="../core/restartnotice.cpp" line="+30"/>
        <source>A restart is needed to finish the upgrade</source>
        <translation>Ein Neustart ist nötig, um die Aktualisierung abzuschließen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>A restart is needed to finish the upgrade of: %1</source>
        <translation>Ein Neustart ist nötig, um die Aktualisierung folgender Pakete abzuschließen: %1</translation>
    </message>
    <message>
        <location filename="../core/tray.cpp" line="+48"/>
        <source>%1: unable to check for updates&lt;br&gt;%2</source>
        <translation>%1: Suche nach Aktualisierungen nicht möglich&lt;br&gt;%2</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>%1: system is up-to-date</source>
        <translation>%1: System ist aktuell</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>%1: dpkg was interrupted, the package system needs a repair</source>
        <translation>%1: dpkg wurde unterbrochen, das Paketsystem muss repariert werden</translation>
    </message>
    <message numerus="yes">
        <location line="+26"/>
        <source>There are %n upgradable packages (security updates: %1)
Click to run system upgrade</source>
        <translation>
            <numerusform>Es gibt %n aktualisierbares Paket (Sicherheitsaktualisierungen: %1)
Klicken, um das System zu aktualisieren</numerusform>
            <numerusform>Es gibt %n aktualisierbare Pakete (Sicherheitsaktualisierungen: %1)
Klicken, um das System zu aktualisieren</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>There are %n upgradable packages
Click to run system upgrade</source>
        <translation>
            <numerusform>Es gibt %n aktualisierbares Paket
Klicken, um das System zu aktualisieren</numerusform>
            <numerusform>Es gibt %n aktualisierbare Pakete
Klicken, um das System zu aktualisieren</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../core/updatecheck.cpp" line="+210"/>
        <location line="+117"/>
        <source>Unable to run package management tool</source>
        <translation>Das Paketverwaltungsprogramm kann nicht gestartet werden</translation>
    </message>
    <message numerus="yes">
        <location line="-90"/>
        <source>%1 gave no answer within %n second(s)</source>
        <translation>
            <numerusform>%1 hat nicht innerhalb von %n Sekunde geantwortet</numerusform>
            <numerusform>%1 hat nicht innerhalb von %n Sekunden geantwortet</numerusform>
        </translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 printed more than expected</source>
        <translation>%1 hat mehr ausgegeben als erwartet</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1 crashed</source>
        <translation>%1 ist abgestürzt</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 ended with status %2</source>
        <translation>%1 wurde mit Status %2 beendet</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>invalid output from %1</source>
        <translation>ungültige Ausgabe von %1</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>No updates are available</source>
        <translation>Keine Aktualisierungen verfügbar</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Unable to check for updates: %1</source>
        <translation>Suche nach Aktualisierungen nicht möglich: %1</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Command: %1 %2</source>
        <translation>Befehl: %1 %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Error while checking apt cache: %1</source>
        <translation>Fehler beim Prüfen des APT-Zwischenspeichers: %1</translation>
    </message>
    <message numerus="yes">
        <location filename="../core/updatetext.cpp" line="+9"/>
        <source>&lt;b&gt;%n&lt;/b&gt; package(s) will be upgraded</source>
        <translation>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; Paket wird aktualisiert</numerusform>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; Pakete werden aktualisiert</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>&lt;b&gt;%n&lt;/b&gt; package(s) will be installed</source>
        <translation>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; Paket wird installiert</numerusform>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; Pakete werden installiert</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>&lt;b&gt;%n&lt;/b&gt; package(s) will be removed</source>
        <translation>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; Paket wird entfernt</numerusform>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; Pakete werden entfernt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+10"/>
        <source>Security updates: &lt;b&gt;%n&lt;/b&gt;</source>
        <translation>
            <numerusform>Sicherheitsaktualisierungen: &lt;b&gt;%n&lt;/b&gt;</numerusform>
            <numerusform>Sicherheitsaktualisierungen: &lt;b&gt;%n&lt;/b&gt;</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>&lt;b&gt;%n&lt;/b&gt; held back</source>
        <translation>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; zurückgehalten</numerusform>
            <numerusform>&lt;b&gt;%n&lt;/b&gt; zurückgehalten</numerusform>
        </translation>
    </message>
    <message>
        <location line="+5"/>
        <location line="+7"/>
        <source>Click to run system upgrade</source>
        <translation>Klicken, um das System zu aktualisieren</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>%1:&lt;br&gt;%2</source>
        <translation>%1:&lt;br&gt;%2</translation>
    </message>
    <message>
        <location filename="../core/useractions.cpp" line="+18"/>
        <source>NO setting for package management tool
Please verify settings</source>
        <translation>KEIN Paketverwaltungsprogramm eingestellt
Bitte prüfen Sie die Einstellungen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1: running package management tool</source>
        <translation>%1: Paketverwaltungsprogramm läuft</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Upgrade command does not set
Please verify settings</source>
        <translation>Kein Aktualisierungsbefehl eingestellt
Bitte prüfen Sie die Einstellungen</translation>
    </message>
    <message>
        <location filename="../core/phone.cpp" line="+10"/>
        <source>dpkg was interrupted, the package system needs a repair. Click to repair it</source>
        <translation>dpkg wurde unterbrochen, das Paketsystem muss repariert werden. Klicken, um es zu reparieren</translation>
    </message>
</context>
<context>
    <name>NotifierStarter</name>
    <message>
        <location filename="../app/notifierstarter.cpp" line="+46"/>
        <source>Quit application.</source>
        <translation>Anwendung beenden.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Hide balloon message and settings.</source>
        <translation>Sprechblasen-Meldung und Einstellungen ausblenden.</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>%1 belongs to another user or is open to others: not started</source>
        <translation>%1 gehört einem anderen Benutzer oder ist für andere offen: nicht gestartet</translation>
    </message>
</context>
<context>
    <name>OriginsPatternDialog</name>
    <message>
        <location filename="../settings/originspatterndialog.ui" line="+14"/>
        <source>Upgrade Pattern Editor</source>
        <translation>Editor für Aktualisierungsmuster</translation>
    </message>
    <message>
        <location line="+58"/>
        <source>Archive:</source>
        <translation>Archiv:</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Component:</source>
        <translation>Komponente:</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Label:</source>
        <translation>Bezeichnung:</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>Origin:</source>
        <translation>Herkunft:</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Code name:</source>
        <translation>Codename:</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Site:</source>
        <translation>Server:</translation>
    </message>
    <message>
        <location filename="../settings/originspatterndialog.cpp" line="+26"/>
        <source>%1 (Allowed-Origins, read-only)</source>
        <translation>%1 (Allowed-Origins, schreibgeschützt)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>A rule of the list Unattended-Upgrade::Allowed-Origins: updates from this origin and archive are installed too. It is kept as set; change it in APT&apos;s configuration files.</source>
        <translation>Eine Regel der Liste Unattended-Upgrade::Allowed-Origins: Aktualisierungen aus dieser Herkunft und diesem Archiv werden ebenfalls installiert. Sie bleibt, wie sie eingestellt ist; ändern Sie sie in den Konfigurationsdateien von APT.</translation>
    </message>
</context>
<context>
    <name>PackageBlackListDialog</name>
    <message>
        <location filename="../settings/packageblacklistdialog.ui" line="+14"/>
        <source>Ignored Package List</source>
        <translation>Liste ignorierter Pakete</translation>
    </message>
</context>
<context>
    <name>PackageRun</name>
    <message>
        <location filename="../helper/packagerun.cpp" line="+87"/>
        <source>Not all package lists could be updated; upgrading with the lists APT has.</source>
        <translation>Nicht alle Paketlisten konnten aktualisiert werden; das Upgrade verwendet die Listen, die APT hat.</translation>
    </message>
    <message>
        <location line="-17"/>
        <source>dpkg was interrupted and left packages half installed. Run &quot;dpkg --configure -a&quot; as root to finish their setup.</source>
        <translation>dpkg wurde unterbrochen und hat Pakete halb installiert zurückgelassen. Führen Sie „dpkg --configure -a“ als root aus, um ihre Einrichtung abzuschließen.</translation>
    </message>
    <message>
        <location line="+61"/>
        <source>Cannot read the package database&apos;s location from APT&apos;s configuration</source>
        <translation>Der Ort der Paketdatenbank lässt sich nicht aus der APT-Konfiguration lesen</translation>
    </message>
    <message numerus="yes">
        <location line="+82"/>
        <source>The package system was still locked after %n second(s); %1 gives up.</source>
        <translation>
            <numerusform>Das Paketsystem war nach %n Sekunde noch gesperrt; %1 gibt auf.</numerusform>
            <numerusform>Das Paketsystem war nach %n Sekunden noch gesperrt; %1 gibt auf.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Unable to start %1: %2</source>
        <translation>%1 kann nicht gestartet werden: %2</translation>
    </message>
    <message numerus="yes">
        <location line="+55"/>
        <source>%1 did not finish within %n second(s) and is being stopped.</source>
        <translation>
            <numerusform>%1 ist nicht innerhalb von %n Sekunde fertig geworden und wird angehalten.</numerusform>
            <numerusform>%1 ist nicht innerhalb von %n Sekunden fertig geworden und wird angehalten.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Stopping %1...</source>
        <translation>%1 wird angehalten …</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Packages are being installed, which must not be interrupted: %1 finishes all its work first.</source>
        <translation>Es werden Pakete installiert, was nicht unterbrochen werden darf: %1 beendet zuerst seine ganze Arbeit.</translation>
    </message>
    <message>
        <location line="+43"/>
        <source>The stop came too late to leave anything out: %1 has finished.</source>
        <translation>Der Abbruch kam zu spät, um etwas auszulassen: %1 ist fertig.</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>%1 did not stop in time and was ended by force.</source>
        <translation>%1 hat nicht rechtzeitig angehalten und wurde zwangsweise beendet.</translation>
    </message>
</context>
<context>
    <name>SafeWrite</name>
    <message>
        <location filename="../helper/safewrite.cpp" line="+61"/>
        <location line="+53"/>
        <source>Cannot create a temporary file for %1</source>
        <translation>Für %1 kann keine temporäre Datei angelegt werden</translation>
    </message>
    <message>
        <location line="-49"/>
        <location line="+171"/>
        <source>Cannot keep a backup of %1</source>
        <translation>Von %1 kann keine Sicherungskopie behalten werden</translation>
    </message>
    <message>
        <location line="-138"/>
        <source>Refused to replace %1: it is not a regular file</source>
        <translation>Ersetzen von %1 abgelehnt: das ist keine reguläre Datei</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Cannot keep a backup of %1: %2 is a folder</source>
        <translation>Von %1 kann keine Sicherungskopie behalten werden: %2 ist ein Ordner</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cannot examine %1</source>
        <translation>%1 kann nicht untersucht werden</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Cannot set the mode of %1</source>
        <translation>Die Zugriffsrechte von %1 können nicht gesetzt werden</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cannot set the owner of %1</source>
        <translation>Der Eigentümer von %1 kann nicht gesetzt werden</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+4"/>
        <source>Cannot write %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Cannot flush %1</source>
        <translation>%1 kann nicht auf den Datenträger geschrieben werden</translation>
    </message>
    <message>
        <location line="+43"/>
        <source>the new file %1 could not be removed</source>
        <translation>die neue Datei %1 konnte nicht entfernt werden</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 could not be put back, its old file is kept as %2: %3</source>
        <translation>%1 konnte nicht zurückgelegt werden, die alte Datei liegt als %2: %3</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>the backup of %1 could not be put back, it is kept as %2: %3</source>
        <translation>die Sicherungskopie von %1 konnte nicht zurückgelegt werden, sie liegt als %2: %3</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>the files already replaced were put back</source>
        <translation>die bereits ersetzten Dateien wurden zurückgelegt</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>Cannot replace %1</source>
        <translation>%1 kann nicht ersetzt werden</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <location filename="../settings/settingsdialog.ui" line="+14"/>
        <source>Update notifier - Settings</source>
        <translation>Aktualisierungsmelder – Einstellungen</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Check For Updates</source>
        <translation>Nach Aktualisierungen suchen</translation>
    </message>
    <message>
        <location line="+47"/>
        <source>More</source>
        <translation>Mehr</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>General Settings</source>
        <translation>Allgemeine Einstellungen</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Hide tray icon if no updates are available</source>
        <translation>Symbol in der Kontrollleiste ausblenden, wenn keine Aktualisierungen verfügbar sind</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Tray icon hide delay:</source>
        <translation>Verzögerung für das Ausblenden des Symbols:</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+87"/>
        <source>s</source>
        <translation>s</translation>
    </message>
    <message>
        <location line="-71"/>
        <source>Hide tray icon when notification is deferred</source>
        <translation>Symbol in der Kontrollleiste ausblenden, wenn die Benachrichtigung aufgeschoben ist</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Interval for checking lists of packages:</source>
        <translation>Intervall für die Prüfung der Paketlisten:</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Notification</source>
        <translation>Benachrichtigung</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Notify about available updates</source>
        <translation>Über verfügbare Aktualisierungen benachrichtigen</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Notification delay:</source>
        <translation>Verzögerung der Benachrichtigung:</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>Show notification every:</source>
        <translation>Benachrichtigung anzeigen alle:</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Unattended Upgrades</source>
        <translation>Unbeaufsichtigte Aktualisierungen</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Enable system update tasks</source>
        <translation>Systemaktualisierungsaufgaben aktivieren</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Update package lists every:</source>
        <translation>Paketlisten aktualisieren alle:</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+26"/>
        <location line="+26"/>
        <location line="+26"/>
        <source>Disabled</source>
        <translation>Deaktiviert</translation>
    </message>
    <message>
        <location line="-75"/>
        <location line="+26"/>
        <location line="+26"/>
        <location line="+26"/>
        <source>days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <location line="-65"/>
        <source>Download upgradeable packages every:</source>
        <translation>Aktualisierbare Pakete herunterladen alle:</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Do unattended upgrade every:</source>
        <translation>Unbeaufsichtigte Aktualisierung ausführen alle:</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Clear old packages from cache every:</source>
        <translation>Alte Pakete aus dem Zwischenspeicher löschen alle:</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Email address for reports:</source>
        <translation>E-Mail-Adresse für Berichte:</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Send log with mail:</source>
        <translation>Protokoll per E-Mail senden:</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Do not send</source>
        <translation>Nicht senden</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Progress report</source>
        <translation>Fortschrittsbericht</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Progress + command output</source>
        <translation>Fortschritt + Befehlsausgabe</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Progress + command output + tracing</source>
        <translation>Fortschritt + Befehlsausgabe + Ablaufverfolgung</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Edit upgrade patterns</source>
        <translation>Aktualisierungsmuster bearbeiten</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Edit ignored package list</source>
        <translation>Liste ignorierter Pakete bearbeiten</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Attention! Package &lt;b&gt;unattended-upgrades&lt;/b&gt; should be installed for full functionality.</source>
        <translation>Achtung! Das Paket &lt;b&gt;unattended-upgrades&lt;/b&gt; sollte für den vollen Funktionsumfang installiert sein.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Repositories</source>
        <translation>Paketquellen</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Enabled</source>
        <translation>Aktiviert</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>URI</source>
        <translation>URI</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Distribution</source>
        <translation>Distribution</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Sections</source>
        <translation>Bereiche</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Advanced Settings</source>
        <translation>Erweiterte Einstellungen</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Package management tool</source>
        <translation>Paketverwaltungsprogramm</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Upgrade command</source>
        <translation>Aktualisierungsbefehl</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Fix broken command</source>
        <translation>Befehl zum Reparieren defekter Pakete</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Run Package Manager</source>
        <translation>Paketverwaltung starten</translation>
    </message>
    <message>
        <location filename="../settings/settingsdialog.cpp" line="+93"/>
        <source>Number of the upgradable packages: %1</source>
        <translation>Anzahl der aktualisierbaren Pakete: %1</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Notification is deferred to %1</source>
        <translation>Benachrichtigung aufgeschoben bis %1</translation>
    </message>
    <message numerus="yes">
        <location line="+18"/>
        <source>The stored interval is %n second(s), which this field cannot show; it is kept unless you change this field.</source>
        <translation>
            <numerusform>Das gespeicherte Intervall beträgt %n Sekunde, was dieses Feld nicht anzeigen kann; es bleibt erhalten, solange Sie dieses Feld nicht ändern.</numerusform>
            <numerusform>Das gespeicherte Intervall beträgt %n Sekunden, was dieses Feld nicht anzeigen kann; es bleibt erhalten, solange Sie dieses Feld nicht ändern.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Next notification will be at %1</source>
        <translation>Nächste Benachrichtigung um %1</translation>
    </message>
    <message>
        <location line="+26"/>
        <location line="+155"/>
        <location filename="../settings/settingssaving.cpp" line="+242"/>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <location line="-155"/>
        <source>Unable to read APT settings. Error: %1</source>
        <translation>Die APT-Einstellungen können nicht gelesen werden. Fehler: %1</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>APT&apos;s configuration sets &quot;%1&quot;, which this field cannot show exactly; it is kept as set unless you change this field.</source>
        <translation>Die APT-Konfiguration setzt „%1“, was dieses Feld nicht genau anzeigen kann; der Wert bleibt wie gesetzt, solange Sie dieses Feld nicht ändern.</translation>
    </message>
    <message>
        <location line="+106"/>
        <source>Attention!</source>
        <translation>Achtung!</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Interactivity is not supported yet.
</source>
        <translation>Interaktivität wird noch nicht unterstützt.
</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The upgrade and fix commands must contain 
a non-interactive option and it will be added.</source>
        <translation>Die Aktualisierungs- und Reparaturbefehle müssen 
eine nicht-interaktive Option enthalten; sie wird hinzugefügt.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Unable to add non-interactive option 
to upgrade command</source>
        <translation>Die nicht-interaktive Option kann nicht 
zum Aktualisierungsbefehl hinzugefügt werden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Unable to add non-interactive option 
to fix broken command</source>
        <translation>Die nicht-interaktive Option kann nicht 
zum Reparaturbefehl hinzugefügt werden</translation>
    </message>
    <message>
        <location line="+183"/>
        <source>Select Package Manager</source>
        <translation>Paketverwaltung auswählen</translation>
    </message>
    <message>
        <location filename="../settings/settingssaving.cpp" line="-195"/>
        <source>Nothing was saved: %1</source>
        <translation>Nichts wurde gespeichert: %1</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>repository row %1 (%2) has neither a URI nor a distribution.</source>
        <translation>Paketquellen-Zeile %1 (%2) hat weder eine URI noch eine Distribution.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>repository row %1 (%2) has no URI.</source>
        <translation>Paketquellen-Zeile %1 (%2) hat keine URI.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>repository row %1 (%2) has no distribution.</source>
        <translation>Paketquellen-Zeile %1 (%2) hat keine Distribution.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>repository row %1 (%2) is not a repository line.</source>
        <translation>Paketquellen-Zeile %1 (%2) ist keine Paketquellen-Zeile.</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>Unable to save the settings to %1.</source>
        <translation>Die Einstellungen können nicht in %1 gespeichert werden.</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>Unable to write APT settings. Error: %1</source>
        <translation>Die APT-Einstellungen können nicht geschrieben werden. Fehler: %1</translation>
    </message>
    <message numerus="yes">
        <location line="+38"/>
        <source>The repositories were not saved: another program changed %n list file(s) since this window read them: %1. Cancel and open the settings again to edit what they hold now.</source>
        <translation>
            <numerusform>Die Paketquellen wurden nicht gespeichert: Ein anderes Programm hat %n Listendatei geändert, seit dieses Fenster sie gelesen hat: %1. Brechen Sie ab und öffnen Sie die Einstellungen erneut, um den aktuellen Inhalt zu bearbeiten.</numerusform>
            <numerusform>Die Paketquellen wurden nicht gespeichert: Ein anderes Programm hat %n Listendateien geändert, seit dieses Fenster sie gelesen hat: %1. Brechen Sie ab und öffnen Sie die Einstellungen erneut, um den aktuellen Inhalt zu bearbeiten.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Unable to write source.list. Error: %1</source>
        <translation>source.list kann nicht geschrieben werden. Fehler: %1</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Unable to save global configuration. Error: %1</source>
        <translation>Die globale Konfiguration kann nicht gespeichert werden. Fehler: %1</translation>
    </message>
</context>
<context>
    <name>SourceEditor</name>
    <message>
        <location filename="../settings/sourceeditor.ui" line="+14"/>
        <source>Edit Repository</source>
        <translation>Paketquelle bearbeiten</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Type:</source>
        <translation>Typ:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>URI:</source>
        <translation>URI:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Distribution:</source>
        <translation>Distribution:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Sections:</source>
        <translation>Bereiche:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Options:</source>
        <translation>Optionen:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>signed-by=/etc/apt/keyrings/example.asc arch=amd64</source>
        <translation>signed-by=/etc/apt/keyrings/example.asc arch=amd64</translation>
    </message>
    <message>
        <location filename="../settings/sourceeditor.cpp" line="+33"/>
        <source>Add Repository</source>
        <translation>Paketquelle hinzufügen</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>The key written into this repository&apos;s Signed-By field is kept as it is.</source>
        <translation>Der in das Signed-By-Feld dieser Paketquelle geschriebene Schlüssel bleibt unverändert.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Binary (deb)</source>
        <translation>Binär (deb)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Source (deb-src)</source>
        <translation>Quelltext (deb-src)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Options go into the Options field, not into the URI.</source>
        <translation>Optionen gehören in das Feld Optionen, nicht in die URI.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The URI must not contain &quot;#&quot;: APT would read the rest as a comment.</source>
        <translation>Die URI darf kein „#“ enthalten: APT würde den Rest als Kommentar lesen.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The distribution and the sections must not contain &quot;#&quot;: APT would read the rest as a comment.</source>
        <translation>Distribution und Sektionen dürfen kein „#“ enthalten: APT läse den Rest als Kommentar.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>A repository line holds one URI and one distribution, without blanks.</source>
        <translation>Eine Paketquellen-Zeile enthält eine URI und eine Distribution, ohne Leerzeichen.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>The URI &quot;%1&quot; needs a method, such as &quot;https://&quot; or &quot;file:&quot;.</source>
        <translation>Die URI „%1“ braucht eine Zugriffsart wie „https://“ oder „file:“.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The distribution &quot;%1&quot; needs at least one section, such as &quot;main&quot;; only a distribution ending in &quot;/&quot; has none.</source>
        <translation>Die Distribution „%1“ braucht mindestens einen Bereich, etwa „main“; nur eine Distribution, die auf „/“ endet, hat keinen.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The distribution &quot;%1&quot; ends in &quot;/&quot;: such a repository has no sections.</source>
        <translation>Die Distribution „%1“ endet auf „/“: Eine solche Paketquelle hat keine Sektionen.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The option &quot;%1&quot; is not of the form name=value.</source>
        <translation>Die Option „%1“ hat nicht die Form Name=Wert.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>This repository&apos;s key is written into its file; signed-by cannot be set here.</source>
        <translation>Der Schlüssel dieser Paketquelle steht in ihrer Datei; signed-by kann hier nicht gesetzt werden.</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Another row of &quot;%1&quot; &quot;%2&quot; has no signed-by: APT takes only one signed-by for a URI and distribution.</source>
        <translation>Eine andere Zeile von „%1“ „%2“ hat kein signed-by: APT nimmt für eine URI und Distribution nur ein signed-by.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Another row of &quot;%1&quot; &quot;%2&quot; has signed-by &quot;%3&quot;: APT takes only one signed-by for a URI and distribution.</source>
        <translation>Eine andere Zeile von „%1“ „%2“ hat signed-by „%3“: APT nimmt für eine URI und Distribution nur ein signed-by.</translation>
    </message>
</context>
<context>
    <name>TarnHelpMenu</name>
    <message>
        <location filename="../platform/tarnhelpmenu.cpp" line="+8"/>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>User Guide</source>
        <translation>Benutzerhandbuch</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&lt;h3&gt;%1 %2&lt;/h3&gt;&lt;p&gt;%3&lt;/p&gt;&lt;p&gt;Licensed under the GNU General Public License, version 2 or later.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;%1 %2&lt;/h3&gt;&lt;p&gt;%3&lt;/p&gt;&lt;p&gt;Lizenziert unter der GNU General Public License, Version 2 oder später.&lt;/p&gt;</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
</context>
<context>
    <name>TarnPhone::TarnNotificationsModelDbusNotifier</name>
    <message>
        <location filename="../platform/tarnphone.cpp" line="+179"/>
        <source>Upgrade</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
</context>
<context>
    <name>UpdateDialog</name>
    <message>
        <location filename="../privileged/updatedialog.cpp" line="+12"/>
        <source>Updating package list</source>
        <translation>Paketliste wird aktualisiert</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Really abort the package list update process?</source>
        <translation>Die Aktualisierung der Paketliste wirklich abbrechen?</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>&lt;b&gt;Updating...&lt;\b&gt;</source>
        <translation>&lt;b&gt;Aktualisierung läuft...&lt;\b&gt;</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&lt;b&gt;Waiting...&lt;\b&gt;</source>
        <translation>&lt;b&gt;Warten...&lt;\b&gt;</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>&lt;b&gt;Update complete&lt;\b&gt;</source>
        <translation>&lt;b&gt;Aktualisierung abgeschlossen&lt;\b&gt;</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&lt;b&gt;Update failed&lt;\b&gt;</source>
        <translation>&lt;b&gt;Aktualisierung fehlgeschlagen&lt;\b&gt;</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&lt;b&gt;Update canceled&lt;\b&gt;</source>
        <translation>&lt;b&gt;Aktualisierung abgebrochen&lt;\b&gt;</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&lt;b&gt;Unable to start package tool&lt;\b&gt;</source>
        <translation>&lt;b&gt;Paketprogramm kann nicht gestartet werden&lt;\b&gt;</translation>
    </message>
</context>
<context>
    <name>UpgradeDialog</name>
    <message>
        <location filename="../privileged/upgradedialog.ui" line="+14"/>
        <source>Upgrading system</source>
        <translation>System wird aktualisiert</translation>
    </message>
    <message>
        <location filename="../privileged/upgradedialog.cpp" line="+38"/>
        <source>Repairing the package system</source>
        <translation>Paketsystem wird repariert</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Really abort the repair of the package system?</source>
        <translation>Die Reparatur des Paketsystems wirklich abbrechen?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Really abort the system upgrade process?</source>
        <translation>Die Systemaktualisierung wirklich abbrechen?</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>&lt;b&gt;Updating package list...&lt;\b&gt;</source>
        <translation>&lt;b&gt;Paketliste wird aktualisiert...&lt;\b&gt;</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&lt;b&gt;Upgrading...&lt;\b&gt;</source>
        <translation>&lt;b&gt;Pakete werden aktualisiert...&lt;\b&gt;</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&lt;b&gt;Fixing broken packages...&lt;\b&gt;</source>
        <translation>&lt;b&gt;Defekte Pakete werden repariert...&lt;\b&gt;</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&lt;b&gt;Repairing the package system...&lt;/b&gt;</source>
        <translation>&lt;b&gt;Paketsystem wird repariert...&lt;/b&gt;</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&lt;b&gt;Waiting...&lt;\b&gt;</source>
        <translation>&lt;b&gt;Warten...&lt;\b&gt;</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Disabling security features</source>
        <translation>Sicherheitsfunktionen werden deaktiviert</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Enabling security features</source>
        <translation>Sicherheitsfunktionen werden aktiviert</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Packages were left half installed.</source>
        <translation>Pakete wurden halb installiert zurückgelassen.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Run &quot;dpkg --configure -a&quot; as root to finish their setup.</source>
        <translation>Führen Sie „dpkg --configure -a“ als root aus, um ihre Einrichtung abzuschließen.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&lt;b&gt;Upgrade complete&lt;\b&gt;</source>
        <translation>&lt;b&gt;Systemaktualisierung abgeschlossen&lt;\b&gt;</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>&lt;b&gt;Repair complete&lt;/b&gt;</source>
        <translation>&lt;b&gt;Reparatur abgeschlossen&lt;/b&gt;</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&lt;b&gt;Upgrade failed&lt;\b&gt;</source>
        <translation>&lt;b&gt;Systemaktualisierung fehlgeschlagen&lt;\b&gt;</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>&lt;b&gt;Repair failed&lt;/b&gt;</source>
        <translation>&lt;b&gt;Reparatur fehlgeschlagen&lt;/b&gt;</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&lt;b&gt;Upgrade canceled&lt;\b&gt;</source>
        <translation>&lt;b&gt;Systemaktualisierung abgebrochen&lt;\b&gt;</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>&lt;b&gt;Repair canceled&lt;/b&gt;</source>
        <translation>&lt;b&gt;Reparatur abgebrochen&lt;/b&gt;</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&lt;b&gt;Unable to start package tool&lt;\b&gt;</source>
        <translation>&lt;b&gt;Paketprogramm kann nicht gestartet werden&lt;\b&gt;</translation>
    </message>
</context>
<context>
    <name>UpgradeHelper</name>
    <message>
        <location filename="../helper/upgradehelper.cpp" line="+62"/>
        <source>Refused: the data is larger than %1 bytes</source>
        <translation>Abgelehnt: die Daten sind größer als %1 Byte</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>Canceled before it began.</source>
        <translation>Vor dem Beginn abgebrochen.</translation>
    </message>
    <message>
        <location line="+108"/>
        <source>Refused: no APT configuration text given</source>
        <translation>Abgelehnt: kein Text für die APT-Konfiguration angegeben</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Refused: no list file map given</source>
        <translation>Abgelehnt: keine Zuordnung von Listendateien angegeben</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Refused list file &quot;%1&quot;: its text is not text</source>
        <translation>Abgelehnt: Listendatei „%1“: ihr Inhalt ist kein Text</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>list file &quot;%1&quot;</source>
        <translation>Listendatei „%1“</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Refused: &quot;%1&quot; is not APT&apos;s list directory &quot;%2&quot;</source>
        <translation>Abgelehnt: „%1“ ist nicht APTs Listenordner „%2“</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Refused list file &quot;%1&quot;: it is not a regular file</source>
        <translation>Abgelehnt: Listendatei „%1“: das ist keine reguläre Datei</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Refused: &quot;%1&quot; is missing or not text</source>
        <translation>Abgelehnt: „%1“ fehlt oder ist kein Text</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Cannot create a scratch directory: %1</source>
        <translation>Ein Arbeitsordner kann nicht angelegt werden: %1</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Cannot produce the configuration text</source>
        <translation>Der Konfigurationstext kann nicht erzeugt werden</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Cannot produce the configuration text: %1</source>
        <translation>Der Konfigurationstext kann nicht erzeugt werden: %1</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Cannot read the list file locations from APT&apos;s configuration</source>
        <translation>Die Orte der Listendateien können nicht aus APTs Konfiguration gelesen werden</translation>
    </message>
</context>
<context>
    <name>UpgradeRequestDialog</name>
    <message>
        <location filename="../privileged/upgraderequestdialog.ui" line="+14"/>
        <source>Update Notifier</source>
        <translation>Aktualisierungsmelder</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Really upgrade system?</source>
        <translation>System wirklich aktualisieren?</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>List of packages</source>
        <translation>Liste der Pakete</translation>
    </message>
    <message>
        <location filename="../privileged/upgraderequestdialog.cpp" line="+186"/>
        <location line="+83"/>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <location line="-82"/>
        <source>Free disk space is less than %1 kB. Do you want to upgrade now?</source>
        <translation>Der freie Speicherplatz ist kleiner als %1 kB. Möchten Sie jetzt aktualisieren?</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Receiving package list...</source>
        <translation>Paketliste wird empfangen...</translation>
    </message>
    <message>
        <location line="+8"/>
        <location line="+11"/>
        <location line="+4"/>
        <source>Error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
    <message>
        <location line="-4"/>
        <source>%1 printed more than expected</source>
        <translation>%1 hat mehr ausgegeben als erwartet</translation>
    </message>
    <message numerus="yes">
        <location line="+27"/>
        <source>The upgrade would remove %n package(s) that the system needs (essential or of priority required): %1. Do you really want to upgrade?</source>
        <translation>
            <numerusform>Die Aktualisierung würde %n Paket entfernen, das das System braucht (essenziell oder mit Priorität „required“): %1. Wollen Sie wirklich aktualisieren?</numerusform>
            <numerusform>Die Aktualisierung würde %n Pakete entfernen, die das System braucht (essenziell oder mit Priorität „required“): %1. Wollen Sie wirklich aktualisieren?</numerusform>
        </translation>
    </message>
    <message>
        <location line="+83"/>
        <source>%1: </source>
        <translation>%1: </translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 (%2 =&gt; %3)</source>
        <translation>%1 (%2 =&gt; %3)</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+2"/>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>The following packages will be upgraded:</source>
        <translation>Die folgenden Pakete werden aktualisiert:</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The following packages will be installed:</source>
        <translation>Die folgenden Pakete werden installiert:</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The following packages will be removed:</source>
        <translation>Die folgenden Pakete werden entfernt:</translation>
    </message>
    <message numerus="yes">
        <location line="+8"/>
        <source>%n upgraded</source>
        <translation>
            <numerusform>%n aktualisiert</numerusform>
            <numerusform>%n aktualisiert</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n newly installed</source>
        <translation>
            <numerusform>%n neu installiert</numerusform>
            <numerusform>%n neu installiert</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n to remove</source>
        <translation>
            <numerusform>%n zu entfernen</numerusform>
            <numerusform>%n zu entfernen</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 kB to download</source>
        <translation>%1 kB herunterzuladen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>nothing to download</source>
        <translation>nichts herunterzuladen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 kB of disk space freed</source>
        <translation>%1 kB Speicherplatz freigegeben</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1 kB of disk space used</source>
        <translation>%1 kB Speicherplatz belegt</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>%1 (%2 =&gt; %3): held by the administrator; release it with &quot;apt-mark unhold %1&quot;</source>
        <translation>%1 (%2 =&gt; %3): vom Administrator gehalten; freigeben mit „apt-mark unhold %1“</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 (%2 =&gt; %3): deferred by a phased rollout, offered to %4% of systems so far</source>
        <translation>%1 (%2 =&gt; %3): durch eine schrittweise Verteilung aufgeschoben, bisher %4 % der Systeme angeboten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 (%2 =&gt; %3): deferred by a phased rollout</source>
        <translation>%1 (%2 =&gt; %3): durch eine schrittweise Verteilung aufgeschoben</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 (%2 =&gt; %3): kept back because it would remove %4</source>
        <translation>%1 (%2 =&gt; %3): zurückgehalten, weil es %4 entfernen würde</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 (%2 =&gt; %3): kept back because it needs %4, which cannot be installed</source>
        <translation>%1 (%2 =&gt; %3): zurückgehalten, weil es %4 braucht, das nicht installiert werden kann</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 (%2 =&gt; %3): kept back</source>
        <translation>%1 (%2 =&gt; %3): zurückgehalten</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The following packages have been kept back:</source>
        <translation>Die folgenden Pakete werden zurückgehalten:</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Need to get %1 kB of archives.</source>
        <translation>Es müssen %1 kB an Archiven heruntergeladen werden.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>After this operation, %1 kB disk space will be freed.</source>
        <translation>Nach dieser Operation werden %1 kB Plattenplatz freigegeben.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>After this operation, %1 kB of additional disk space will be used.</source>
        <translation>Nach dieser Operation werden %1 kB Plattenplatz zusätzlich belegt.</translation>
    </message>
</context>
<context>
    <name>WindowsModule</name>
    <message>
        <location filename="../core/windowsmodule.cpp" line="+37"/>
        <source>%1 belongs to another build of the program.</source>
        <translation>%1 stammt aus einem anderen Build des Programms.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="../app/main.cpp" line="+45"/>
        <source>%1: no display to show the notifier on</source>
        <translation>%1: keine Anzeige, auf der der Aktualisierungsmelder erscheinen kann</translation>
    </message>
    <message>
        <location filename="../app/notifierstarter.cpp" line="-26"/>
        <source>Update notifier for Tarn desktop</source>
        <translation>Aktualisierungsmelder für den Tarn-Desktop</translation>
    </message>
</context>
</TS>
