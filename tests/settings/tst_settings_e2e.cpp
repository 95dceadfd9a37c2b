// The settings dialog through real KAuth: client -> private system bus -> polkitd -> the
// bus-activated helper, which writes below a sandbox root. Runs under
// tests/helper/e2e/run-e2e.sh and e2e/settings-e2e.sh, which provide the bus, the helper,
// the sandbox files of e2e/root and a mount namespace whose /etc/apt is the sandbox's.
#include "settings/originspatterndialog.h"
#include "settings/packageblacklistdialog.h"
#include "settings/settingsdialog.h"
#include "settings/sourceeditor.h"

#include "core/notifiercore.h"
#include "privileged/commands.h"

#include "settingstesting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QSpinBox>
#include <QTimeEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <unistd.h>

using namespace SettingsTesting;
using TestSupport::readFile;

namespace {

const QString Debian = QStringLiteral("origin=Debian,codename=${distro_codename},label=Debian");
const QString Security = QStringLiteral("origin=Debian,codename=${distro_codename},label=Debian-Security");
const QString Updates = QStringLiteral("origin=Debian,codename=${distro_codename}-updates");
const QString SecurityUri = QStringLiteral("http://deb.debian.org/debian-security");

// Every file below `root` with its contents.
QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path.mid(root.size()), readFile(path));
    }
    return files;
}

// `apt-config dump` of the sandbox root, as a list of key and value pairs in its order.
QList<QPair<QString, QString>> aptDump()
{
    QProcess dump;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("APT_CONFIG", qEnvironmentVariable("TARN_E2E_CHECK_APT_CONFIG"));
    dump.setProcessEnvironment(environment);
    dump.start("apt-config", {"dump"});
    if (!dump.waitForFinished(30000) || dump.exitCode() != 0)
        qFatal("apt-config dump failed: %s", dump.readAllStandardError().constData());
    QList<QPair<QString, QString>> entries;
    for (const QString& line : QString::fromLocal8Bit(dump.readAllStandardOutput()).split('\n')) {
        const int blank = line.indexOf(' ');
        if (blank > 0 && line.endsWith("\";"))
            entries.append({line.left(blank), line.mid(blank + 2).chopped(2)});
    }
    return entries;
}

QStringList valuesOf(const QList<QPair<QString, QString>>& dump, const QString& key)
{
    QStringList values;
    for (const auto& entry : dump) {
        if (entry.first == key)
            values.append(entry.second);
    }
    return values;
}

SettingsDialog* findSettingsDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("SettingsDialog") && widget->isVisible())
            return qobject_cast<SettingsDialog*>(widget);
    }
    return nullptr;
}

} // namespace

class TestSettingsE2E : public QObject
{
    Q_OBJECT

private:
    QString m_root;
    QTemporaryDir m_scratch;

    QString rooted(const QString& path) const { return m_root + path; }
    void needsHarness()
    {
        if (m_root.isEmpty())
            QSKIP("run by tests/settings/e2e/settings-e2e.sh under tests/helper/e2e/run-e2e.sh");
    }
    // Presses OK, which a change must have enabled.
    static void press(QWidget* dialog)
    {
        QVERIFY(okButton(qobject_cast<QDialog*>(dialog))->isEnabled());
        okButton(qobject_cast<QDialog*>(dialog))->click();
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Every KJob holds the application alive while it runs; none must end it.
        QApplication::setQuitOnLastWindowClosed(false);
        QCoreApplication::setOrganizationName(QStringLiteral("tarn-tests"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_settings_e2e"));
        m_root = qEnvironmentVariable("TARN_E2E_ROOT");
        QVERIFY(m_scratch.isValid());
        SystemPaths paths;
        paths.globalConfig = rooted(QStringLiteral("/etc/tarn-update-notifier.conf"));
        paths.unattendedUpgrades = QCoreApplication::applicationFilePath();
        paths.aptCheck = m_scratch.filePath(QStringLiteral("apt_check"));
        paths.packageCache = m_scratch.filePath(QStringLiteral("pkgcache.bin"));
        SystemPaths::setCurrent(paths);
        QVERIFY(TestSupport::writeScript(paths.aptCheck, "echo '0;0;0'\n"));
        QVERIFY(TestSupport::writeFile(paths.packageCache, "cache"));
        MessageBox::setAutoAnswer(true);
    }

    void okWritesTheSystemFiles()
    {
        needsHarness();
        if (getuid() != 0)
            QSKIP("needs the administrator's authorization");
        QPointer<SettingsDialog> dialog = new SettingsDialog;
        dialog->show();
        QCOMPARE(MessageBox::takeShownTexts(), QStringList());
        auto* tree = child<QTreeWidget>(dialog.data(), "sourcesTreeWidget");
        QCOMPARE(rowsOf(tree),
                 (QStringList{"hidden: # Debian bookworm", "http://deb.debian.org/debian", SecurityUri,
                              "http://deb.debian.org/debian", "http://extra.example/"}));

        child<QSpinBox>(dialog.data(), "updatePackageListsSpinBox")->setValue(2);
        child<QSpinBox>(dialog.data(), "downloadUpgradeablePackagesSpinBox")->setValue(1);
        child<QSpinBox>(dialog.data(), "autocleanIntervalSpinBox")->setValue(7);
        child<QComboBox>(dialog.data(), "verboseComboBox")->setCurrentIndex(1);
        child<QLineEdit>(dialog.data(), "mailLineEdit")->setText("admin@example.org");
        QVERIFY(whileModal<OriginsPatternDialog>(
            [&] { child<QPushButton>(dialog.data(), "originsPatternButton")->click(); },
            [](OriginsPatternDialog* patterns) {
                QCOMPARE(patterns->patterns(), (QStringList{Security, Debian}));
                child<QToolButton>(patterns, "addPatternButton")->click();
                child<QComboBox>(patterns, "codeNameComboBox")->setEditText("${distro_codename}-updates");
                patterns->accept();
            }));
        QVERIFY(whileModal<PackageBlackListDialog>(
            [&] { child<QPushButton>(dialog.data(), "packageBlackListButton")->click(); },
            [](PackageBlackListDialog* packages) {
                child<QToolButton>(packages, "addPackageButton")->click();
                child<QListWidget>(packages, "packagesListWidget")->currentItem()->setText("firefox-esr");
                packages->accept();
            }));
        tree->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
        tree->setCurrentItem(tree->topLevelItem(4));
        child<QPushButton>(dialog.data(), "removeSourceButton")->click();
        QVERIFY(whileModal<SourceEditor>(
            [&] { child<QPushButton>(dialog.data(), "addSourceButton")->click(); },
            [](SourceEditor* editor) {
                child<QLineEdit>(editor, "uriLineEdit")->setText("http://new.example/");
                child<QLineEdit>(editor, "distLineEdit")->setText("bookworm");
                child<QLineEdit>(editor, "sectionsLineEdit")->setText("main contrib");
                editor->accept();
            }));
        tree->topLevelItem(tree->topLevelItemCount() - 1)->setCheckState(0, Qt::Checked);
        child<QLineEdit>(dialog.data(), "upgCmdLineEdit")->setText("apt-get dist-upgrade");
        child<QCheckBox>(dialog.data(), "hideTrayCheckBox")->setChecked(false);

        QSignalSpy accepted(dialog.data(), &QDialog::accepted);
        press(dialog);
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(
            MessageBox::takeShownTexts(),
            QStringList{"Interactivity is not supported yet.\nThe upgrade and fix commands must contain \na "
                        "non-interactive option and it will be added."});
        QTRY_VERIFY(dialog.isNull());

        // What the helper wrote.
        QCOMPARE(readFile(rooted("/etc/apt/apt.conf.d/99tarn-update-notifier")),
                 QByteArray("// This file was generated by tarn-update-notifier\n"
                            "APT::Periodic::AutocleanInterval \"7\";\n"
                            "APT::Periodic::Download-Upgradeable-Packages \"1\";\n"
                            "APT::Periodic::Enable \"1\";\n"
                            "APT::Periodic::Unattended-Upgrade \"1\";\n"
                            "APT::Periodic::Update-Package-Lists \"2\";\n"
                            "APT::Periodic::Verbose \"1\";\n"
                            "Unattended-Upgrade::Mail \"admin@example.org\";\n"
                            "#clear Unattended-Upgrade::Origins-Pattern;\n"
                            "Unattended-Upgrade::Origins-Pattern {\n    \"") +
                     Updates.toLatin1() + "\";\n    \"" + Debian.toLatin1() + "\";\n    \"" +
                     Security.toLatin1() +
                     "\";\n};\n"
                     "#clear Unattended-Upgrade::Package-Blacklist;\n"
                     "Unattended-Upgrade::Package-Blacklist {\n    \"firefox-esr\";\n    \"linux-\";\n};\n");
        QCOMPARE(readFile(rooted("/etc/apt/sources.list")),
                 QByteArray("# Debian bookworm\n"
                            "deb http://deb.debian.org/debian bookworm main\n"
                            "#deb http://deb.debian.org/debian-security bookworm-security main\n"
                            "#deb-src http://deb.debian.org/debian bookworm main\n"
                            "deb http://new.example/ bookworm main contrib\n"));
        QVERIFY(QFile::exists(rooted("/etc/apt/sources.list.d/extra.list")));
        QCOMPARE(readFile(rooted("/etc/apt/sources.list.d/extra.list")), QByteArray());
        QSettings global(SystemPaths::current().globalConfig, QSettings::IniFormat);
        const auto globalValue = [&global](const QString& key) {
            return global.value("General/" + key, global.value(key)).toString();
        };
        QCOMPARE(globalValue("upgCommand"), QStringLiteral("apt-get -y dist-upgrade"));
        QCOMPARE(globalValue("PMTool"), defaultCommand(PackageManagerCommandIndex));
        QCOMPARE(globalValue("fixBrokenCommand"), defaultCommand(FixBrokenCommandIndex));
        QCOMPARE(Sandbox::userSetting("hideTray").toBool(), false);

        // What APT itself now reads: the written file overrides the older one, and the
        // pattern added last in the dialog comes first, the others in APT's old order.
        const auto dump = aptDump();
        QCOMPARE(valuesOf(dump, "APT::Periodic::Update-Package-Lists"), QStringList{"2"});
        QCOMPARE(valuesOf(dump, "APT::Periodic::Download-Upgradeable-Packages"), QStringList{"1"});
        QCOMPARE(valuesOf(dump, "APT::Periodic::Unattended-Upgrade"), QStringList{"1"});
        QCOMPARE(valuesOf(dump, "APT::Periodic::AutocleanInterval"), QStringList{"7"});
        QCOMPARE(valuesOf(dump, "APT::Periodic::Verbose"), QStringList{"1"});
        QCOMPARE(valuesOf(dump, "APT::Periodic::Enable"), QStringList{"1"});
        QCOMPARE(valuesOf(dump, "Unattended-Upgrade::Mail"), QStringList{"admin@example.org"});
        QCOMPARE(valuesOf(dump, "Unattended-Upgrade::Origins-Pattern::"),
                 (QStringList{Updates, Debian, Security}));
        QCOMPARE(valuesOf(dump, "Unattended-Upgrade::Package-Blacklist::"),
                 (QStringList{"firefox-esr", "linux-"}));

        // A fresh dialog shows what was saved, and OK without a change writes nothing.
        const auto written = snapshot(m_root);
        dialog = new SettingsDialog;
        QCOMPARE(child<QLineEdit>(dialog.data(), "upgCmdLineEdit")->text(),
                 QStringLiteral("apt-get -y dist-upgrade"));
        QCOMPARE(child<QSpinBox>(dialog.data(), "updatePackageListsSpinBox")->value(), 2);
        QCOMPARE(child<QLineEdit>(dialog.data(), "mailLineEdit")->text(),
                 QStringLiteral("admin@example.org"));
        tree = child<QTreeWidget>(dialog.data(), "sourcesTreeWidget");
        QCOMPARE(rowsOf(tree),
                 (QStringList{"hidden: # Debian bookworm", "http://deb.debian.org/debian", SecurityUri,
                              "http://deb.debian.org/debian", "http://new.example/"}));
        QCOMPARE(tree->topLevelItem(2)->checkState(0), Qt::Unchecked);
        QCOMPARE(tree->topLevelItem(4)->checkState(0), Qt::Checked);
        QVERIFY(whileModal<OriginsPatternDialog>(
            [&] { child<QPushButton>(dialog.data(), "originsPatternButton")->click(); },
            [](OriginsPatternDialog* patterns) {
                QCOMPARE(patterns->patterns(), (QStringList{Security, Debian, Updates}));
                patterns->reject();
            }));
        dialog->accept();
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(snapshot(m_root), written);
        QCOMPARE(MessageBox::takeShownTexts(), QStringList());
    }

    void coreReReadsAfterOk()
    {
        needsHarness();
        if (getuid() != 0)
            QSKIP("needs the administrator's authorization");
        NotifierCore core(true, true, nullptr);
        auto* checkTimer = core.findChild<QTimer*>(QStringLiteral("checkTimer"));
        QVERIFY(checkTimer);
        QCOMPARE(checkTimer->interval(), 1800000);
        QMetaObject::invokeMethod(&core, "showSettings");
        QPointer<SettingsDialog> dialog = findSettingsDialog();
        QVERIFY(dialog);
        child<QTimeEdit>(dialog.data(), "aptIntervalTimeEdit")->setTime(QTime(0, 5));
        child<QLineEdit>(dialog.data(), "mailLineEdit")
            ->setText("core@example.org"); // goes through the helper
        press(dialog);
        QCOMPARE(checkTimer->interval(), 300000);
        QVERIFY(checkTimer->isActive());
        QVERIFY(readFile(rooted("/etc/apt/apt.conf.d/99tarn-update-notifier"))
                    .contains("Unattended-Upgrade::Mail \"core@example.org\";\n"));
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(MessageBox::takeShownTexts(), QStringList());
    }

    void refusedAuthorizationShowsNothing()
    {
        needsHarness();
        if (getuid() == 0)
            QSKIP("run as another user by the settings_e2e_denied test");
        const auto before = snapshot(m_root);
        QPointer<SettingsDialog> dialog = new SettingsDialog;
        dialog->show();
        child<QCheckBox>(dialog.data(), "hideTrayCheckBox")->setChecked(false);
        child<QLineEdit>(dialog.data(), "mailLineEdit")->setText("nobody@example.org");
        child<QTreeWidget>(dialog.data(), "sourcesTreeWidget")
            ->topLevelItem(1)
            ->setCheckState(0, Qt::Unchecked);
        child<QLineEdit>(dialog.data(), "PMToolLineEdit")->setText("/usr/bin/other");
        QSignalSpy accepted(dialog.data(), &QDialog::accepted);
        press(dialog);
        QCOMPARE(accepted.count(), 1);
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(MessageBox::takeShownTexts(), QStringList());
        QCOMPARE(Sandbox::userSetting("hideTray").toBool(), false);
        QCOMPARE(snapshot(m_root), before);
    }
};

QTEST_MAIN(TestSettingsE2E)
#include "tst_settings_e2e.moc"
