// The settings dialog through real KAuth: client -> private system bus -> polkitd -> the
// bus-activated helper, which writes below a sandbox root. Run by e2e/settings-e2e.sh under
// tests/helper/e2e/run-e2e.sh. fixtures/settings/expected holds what APT must read back.
#include "settings/originspatterndialog.h"
#include "settings/settingsdialog.h"
#include "settings/sourceeditor.h"

#include "dialogtesting.h"
#include "privileged/messagebox.h"
#include "privileged/systempaths.h"
#include "testsupport.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using DialogTesting::runWhileOpen;

namespace {

const QString Expected = QStringLiteral(SETTINGS_EXPECTED);

template <class T> T* child(QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(name);
    if (!found)
        qFatal("no %s", name);
    return found;
}

// Clicks the button that opens a sub-dialog and lets `edit` fill it in before it is accepted.
void inSubDialog(QWidget* parent, const char* button, const std::function<void(QDialog*)>& edit)
{
    runWhileOpen(
        [&] {
            child<QAbstractButton>(parent, button)->click();
            return 0;
        },
        [&](QDialog* dialog) {
            edit(dialog);
            dialog->accept();
        });
}

} // namespace

class TestSettingsE2E : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void okWritesWhatAptReads()
    {
        const QString root = qEnvironmentVariable("TARN_E2E_ROOT");
        if (root.isEmpty())
            QSKIP("run by tests/settings/e2e/settings-e2e.sh under tests/helper/e2e/run-e2e.sh");
        QApplication::setQuitOnLastWindowClosed(false);      // a finished KJob must not end the test
        QCoreApplication::setOrganizationName("tarn-tests"); // without one, no settings are saved
        SystemPaths paths;
        paths.globalConfig = root + "/etc/tarn-update-notifier.conf";
        SystemPaths::setCurrent(paths);
        MessageBox::setAutoAnswer(true);

        QPointer<SettingsDialog> dialog = new SettingsDialog;
        dialog->show();
        // A command the helper would refuse is refused at OK, with its reason; the dialog stays.
        auto* upgrade = child<QLineEdit>(dialog, "upgCmdLineEdit");
        const QString upgradeCommand = upgrade->text();
        upgrade->setText("apt-get -yq dist-upgrade");
        child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok)->click();
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(MessageBox::takeShownTexts().join("|").contains("Refused upgrade command"));
        upgrade->setText(upgradeCommand);
        child<QSpinBox>(dialog, "updatePackageListsSpinBox")->setValue(2);
        child<QSpinBox>(dialog, "downloadUpgradeablePackagesSpinBox")->setValue(1);
        child<QSpinBox>(dialog, "autocleanIntervalSpinBox")->setValue(7);
        child<QComboBox>(dialog, "verboseComboBox")->setCurrentIndex(1);
        // Quotes as pasted from a mail program: APT has no escape for them.
        child<QLineEdit>(dialog, "mailLineEdit")->setText("\"admin@example.org\"");
        inSubDialog(dialog, "originsPatternButton", [](QDialog* patterns) {
            child<QToolButton>(patterns, "addPatternButton")->click();
            child<QComboBox>(patterns, "codeNameComboBox")->setEditText("${distro_codename}-updates");
        });
        // Rows: "# Debian bookworm" (hidden), debian, debian-security, "# deb-src", extra.example.
        auto* tree = child<QTreeWidget>(dialog, "sourcesTreeWidget");
        tree->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
        tree->topLevelItem(3)->setCheckState(0, Qt::Checked);
        tree->setCurrentItem(tree->topLevelItem(4));
        inSubDialog(dialog, "editSourceButton",
                    [](QDialog* editor) { child<QLineEdit>(editor, "distLineEdit")->setText("trixie"); });
        inSubDialog(dialog, "addSourceButton", [](QDialog* editor) {
            child<QLineEdit>(editor, "uriLineEdit")->setText("http://new.example/debian");
            child<QLineEdit>(editor, "distLineEdit")->setText("bookworm");
            child<QLineEdit>(editor, "sectionsLineEdit")->setText("main contrib");
        });
        tree->topLevelItem(5)->setCheckState(0, Qt::Checked);
        child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok)->click();
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(MessageBox::takeShownTexts().join("|"), QString()); // a box would say what failed

        // /etc/apt is the sandbox's here: what APT reads is what the helper wrote.
        QProcess apt;
        apt.start("apt-config", {"dump"});
        QVERIFY(apt.waitForFinished(30000) && apt.exitCode() == 0);
        const QStringList dump = QString(apt.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        const QStringList expected =
            QString(TestSupport::readFile(Expected + "/apt-config-dump")).split('\n', Qt::SkipEmptyParts);
        QStringList keys;
        for (const QString& line : expected)
            keys.append(line.section(' ', 0, 0));
        QStringList read;
        for (const QString& line : dump) {
            if (keys.contains(line.section(' ', 0, 0)))
                read.append(line);
        }
        QCOMPARE(read, expected);
        for (QDirIterator it(Expected + "/etc", QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString file = it.next().mid(Expected.size());
            QCOMPARE(TestSupport::readFile(root + file), TestSupport::readFile(Expected + file));
        }
    }

    // Whatever the dialog writes from the configurations found on real systems, the helper
    // takes: a save never fails on values the administrator set elsewhere.
    void stockConfigurationsSave_data()
    {
        QTest::addColumn<QString>("file");
        for (const QString& name : QDir(Expected + "/../stock").entryList(QDir::Files))
            QTest::newRow(qPrintable(name)) << Expected + "/../stock/" + name;
    }
    void stockConfigurationsSave()
    {
        QFETCH(QString, file);
        const QString parts = qEnvironmentVariable("TARN_E2E_ROOT") + "/etc/apt/apt.conf.d/";
        for (const QString& name : QDir(parts).entryList(QDir::Files))
            QVERIFY(QFile::remove(parts + name));
        QVERIFY(QFile::copy(file, parts + "50stock"));
        QPointer<SettingsDialog> dialog = new SettingsDialog;
        dialog->show();
        child<QLineEdit>(dialog, "mailLineEdit")->setText("root"); // something of APT's to save
        child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok)->click();
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(MessageBox::takeShownTexts().join("|"), QString());
        QVERIFY(QFile::exists(parts + "99tarn-update-notifier"));
    }
};

QTEST_MAIN(TestSettingsE2E)
#include "tst_settings_e2e.moc"
