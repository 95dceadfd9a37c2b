// The settings dialog through real KAuth: client -> private system bus -> polkitd -> the
// bus-activated helper, which writes below a sandbox root. Run by e2e/settings-e2e.sh under
// tests/helper/e2e/run-e2e.sh. fixtures/settings/expected holds what APT must read back and
// the files the helper must write.
#include "settings/originspatterndialog.h"
#include "settings/settingsdialog.h"
#include "settings/sourceeditor.h"

#include "base/messagebox.h"
#include "base/systempaths.h"
#include "dialogtesting.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTimeEdit>
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
    // The editor refuses in place what APT would refuse; what it takes becomes this line.
    void editorRefuses_data()
    {
        QTest::addColumn<QStringList>("fields"); // URI, distribution, sections, options[, other row]
        QTest::addColumn<QString>("outcome");    // the line (still unticked), or the refusal
        const QString uri = "https://tools.example.org/debian";
        QTest::newRow("key and architecture")
            << QStringList{uri, "bookworm", "main", "signed-by=/k.asc arch=amd64"}
            << "#deb [ arch=amd64 signed-by=/k.asc ] " + uri + " bookworm main";
        QTest::newRow("flat") << QStringList{"file:/srv/repo", "./", "", "trusted=yes"}
                              << "#deb [ trusted=yes ] file:/srv/repo ./";
        QTest::newRow("cdrom") << QStringList{"cdrom:[Debian 12 #1]/", "bookworm", "main", ""}
                               << "#deb cdrom:[Debian 12 #1]/ bookworm main";
        QTest::newRow("no section") << QStringList{uri, "bookworm", "", ""}
                                    << "The distribution \"bookworm\" needs";
        QTest::newRow("hash") << QStringList{uri + "#x", "bookworm", "main", ""}
                              << "The URI must not contain";
        QTest::newRow("blank") << QStringList{uri + " x", "bookworm", "main", ""}
                               << "A repository line holds";
        QTest::newRow("options in URI")
            << QStringList{"[trusted=yes] " + uri, "bookworm", "main", ""} << "Options go into";
        QTest::newRow("bare option") << QStringList{uri, "bookworm", "main", "trusted"}
                                     << "The option \"trusted\"";
        QTest::newRow("empty option")
            << QStringList{uri, "bookworm", "main", "signed-by="} << "The option \"signed-by=\"";
        QTest::newRow("flat with a section")
            << QStringList{"file:/srv/repo", "./", "main", ""} << "The distribution \"./\" ends in";
        QTest::newRow("hash in sections") << QStringList{uri, "bookworm", "main #contrib", ""}
                                          << "The distribution and the sections must not";
        QTest::newRow("no method") << QStringList{"deb.debian.org/debian", "bookworm", "main", ""}
                                   << "The URI \"deb.debian.org/debian\" needs";
        const QString twin = "deb-src [ signed-by=/k.asc ] " + uri + "/ bookworm main";
        QTest::newRow("twin, other key")
            << QStringList{uri, "bookworm", "main", "signed-by=/o.asc", twin} << "Another row of";
        QTest::newRow("twin, same key") << QStringList{uri, "bookworm", "main", "signed-by=/k.asc", twin}
                                        << "#deb [ signed-by=/k.asc ] " + uri + " bookworm main";
    }
    void editorRefuses()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, outcome);
        SourceEditor editor;
        if (fields.size() > 4)
            editor.setOtherRows({SourceList::parseLine(fields.at(4) + "\n", "/etc/apt/sources.list")});
        const char* names[] = {"uriLineEdit", "distLineEdit", "sectionsLineEdit", "optionsLineEdit"};
        for (int field = 0; field < 4; ++field)
            child<QLineEdit>(&editor, names[field])->setText(fields.at(field));
        editor.accept();
        const QString problem = child<QLabel>(&editor, "problemLabel")->text();
        QCOMPARE(editor.result() == QDialog::Accepted ? SourceList::formatLine(editor.entry())
                                                      : problem.left(outcome.size()),
                 outcome);
    }

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

        // APT's own words say why its configuration cannot be read, as it said them: markup in
        // them is no markup. The box is read as the user reads it.
        const QString broken = root + "/<b>broken.conf";
        TestSupport::writeFile(broken, "APT::Periodic::Enable \"1\"\n");
        qputenv("APT_CONFIG", QFile::encodeName(broken));
        QString shown;
        bool editable = true; // nothing of APT's is written then, so nothing may be edited
        runWhileOpen(
            [&] {
                SettingsDialog unread;
                editable = child<QWidget>(&unread, "packageBlackListButton")->isEnabled();
                return 0;
            },
            [&](QDialog* box) {
                auto* label = child<QLabel>(box, "qt_msgbox_label");
                label->setTextInteractionFlags(Qt::TextSelectableByMouse);
                label->setSelection(0, label->text().size());
                shown = label->selectedText();
                box->reject();
            });
        qunsetenv("APT_CONFIG");
        QVERIFY2(shown.contains("E: Syntax error " + broken) && !editable, qPrintable(shown));
        MessageBox::setAutoAnswer(true);

        QPointer<SettingsDialog> dialog = new SettingsDialog;
        dialog->show();
        // After the first or last visible row goes, nothing may move past the list's ends.
        auto* tree = child<QTreeWidget>(dialog, "sourcesTreeWidget");
        tree->setCurrentItem(tree->topLevelItem(tree->topLevelItemCount() - 1));
        child<QAbstractButton>(dialog, "removeSourceButton")->click();
        QVERIFY(!child<QAbstractButton>(dialog, "moveDownSourceButton")->isEnabled());
        tree->setCurrentItem(tree->topLevelItem(1));
        child<QAbstractButton>(dialog, "removeSourceButton")->click();
        QVERIFY(!child<QAbstractButton>(dialog, "moveUpSourceButton")->isEnabled());
        // A row that cannot be written is refused by name instead of dropped.
        inSubDialog(dialog, "addSourceButton", [](QDialog* editor) {
            child<QLineEdit>(editor, "uriLineEdit")->setText("http://half.example/debian");
        });
        auto* ok = child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok);
        ok->click();
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(MessageBox::takeShownTexts().join("|").contains(
            "(http://half.example/debian) has no distribution"));
        tree->setCurrentItem(tree->topLevelItem(tree->topLevelItemCount() - 1));
        child<QAbstractButton>(dialog, "removeSourceButton")->click();
        // A list another program changed meanwhile is not overwritten with the copy read.
        const QString extra = root + "/etc/apt/sources.list.d/extra.list";
        const QByteArray original = TestSupport::readFile(extra);
        QVERIFY(TestSupport::writeFile(extra, original + "# added by another program\n"));
        ok->click();
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(MessageBox::takeShownTexts().join("|").contains(QFileInfo(extra).fileName()));
        QVERIFY(TestSupport::writeFile(extra, original));
        dialog->reject();
        QTRY_VERIFY(dialog.isNull());

        // A deferral is shown with its end; "Run Package Manager" runs the field's command.
        const QDateTime deferredAt = QDateTime::currentDateTime().addSecs(-60);
        QSettings().setValue("General/skipNotificationDelay", 3600);
        QSettings().setValue("General/skipNotificationSince", deferredAt);
        dialog = new SettingsDialog;
        dialog->show();
        QVERIFY(child<QLabel>(dialog, "nextCheckLabel")
                    ->text()
                    .endsWith(deferredAt.addSecs(3600).toString("yyyy-MM-dd HH:mm:ss")));
        QSignalSpy run(dialog.data(), &SettingsDialog::runPackageManagerRequest);
        child<QAbstractButton>(dialog, "runPMButton")->click();
        QCOMPARE(run.value(0), QVariantList{"/usr/bin/synaptic-pkexec"});
        // A step the helper refuses keeps the dialog open with the edits, and says which.
        child<QLineEdit>(dialog, "mailLineEdit")->setText("-oops");
        child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok)->click();
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(MessageBox::takeShownTexts().join("|").contains("Unable to write APT settings"));
        QCOMPARE(child<QLineEdit>(dialog, "mailLineEdit")->text(), "-oops");
        // A command the helper would refuse is refused at OK, with its reason; the dialog stays.
        auto* upgrade = child<QLineEdit>(dialog, "upgCmdLineEdit");
        upgrade->setText("apt-get -yq dist-upgrade");
        child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok)->click();
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(MessageBox::takeShownTexts().join("|").contains("Refused upgrade command"));
        // A command without the non-interactive option gets it, and the commands are saved.
        upgrade->setText("apt-get -q dist-upgrade");
        child<QSpinBox>(dialog, "updatePackageListsSpinBox")->setValue(2);
        child<QSpinBox>(dialog, "downloadUpgradeablePackagesSpinBox")->setValue(1);
        child<QSpinBox>(dialog, "autocleanIntervalSpinBox")->setValue(7);
        child<QComboBox>(dialog, "verboseComboBox")->setCurrentIndex(1);
        // Quotes as pasted from a mail program: APT has no escape for them. Not ASCII: it
        // must read back unchanged.
        child<QLineEdit>(dialog, "mailLineEdit")->setText("\"jürgen@example.org\"");
        // The ignored packages: a canceled edit changes nothing; the selected row goes.
        runWhileOpen(
            [&] {
                child<QAbstractButton>(dialog, "packageBlackListButton")->click();
                return 0;
            },
            [](QDialog* ignored) {
                child<QListWidget>(ignored, "packagesListWidget")->clear();
                ignored->reject();
            });
        inSubDialog(dialog, "packageBlackListButton", [](QDialog* ignored) {
            child<QListWidget>(ignored, "packagesListWidget")->setCurrentRow(1); // firefox-esr
            child<QAbstractButton>(ignored, "removePackageButton")->click();
        });
        inSubDialog(dialog, "originsPatternButton", [](QDialog* patterns) {
            // An Allowed-Origins rule is shown with what it matches, but only APT's files change it.
            auto* list = child<QListWidget>(patterns, "patternsListWidget");
            list->setCurrentItem(list->findItems("${distro_id}:", Qt::MatchStartsWith).value(0));
            QCOMPARE(child<QComboBox>(patterns, "archiveComboBox")->currentText(),
                     "${distro_codename}-security");
            QVERIFY(!child<QWidget>(patterns, "editAreaWidget")->isEnabled());
            // Editing one field of a pattern keeps the others, the site among them.
            list->setCurrentItem(list->findItems("site=", Qt::MatchContains).value(0));
            child<QComboBox>(patterns, "labelComboBox")->setEditText("Example");
            child<QToolButton>(patterns, "addPatternButton")->click();
            child<QComboBox>(patterns, "codeNameComboBox")->setEditText("${distro_codename}-updates");
        });
        // Rows: "# Debian bookworm" (hidden), debian, debian-security, "# deb-src", extra.example.
        tree = child<QTreeWidget>(dialog, "sourcesTreeWidget");
        // A row moves with the comment above it; moved down and back up, all is as it was.
        tree->setCurrentItem(tree->topLevelItem(1));
        child<QAbstractButton>(dialog, "moveDownSourceButton")->click();
        QCOMPARE(tree->topLevelItem(0)->text(2), "http://deb.debian.org/debian-security");
        child<QAbstractButton>(dialog, "moveUpSourceButton")->click();
        QVERIFY(tree->topLevelItem(0)->isHidden() && tree->currentItem() == tree->topLevelItem(1));
        // Rows move only within their file, by buttons that show arrows without an icon theme.
        tree->setCurrentItem(tree->topLevelItem(3));
        QVERIFY(!child<QAbstractButton>(dialog, "moveDownSourceButton")->isEnabled());
        QVERIFY(!child<QAbstractButton>(dialog, "moveUpSourceButton")->icon().isNull());
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
        const QStringList shownTexts = MessageBox::takeShownTexts(); // an error box would say what failed
        QVERIFY2(shownTexts.size() == 1 && shownTexts.at(0).startsWith("Interactivity is not supported"),
                 qPrintable(shownTexts.join("|")));

        // /etc/apt is the sandbox's here: what APT reads is what the helper wrote.
        const QStringList dump = aptConfigDump();
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

        // An emptied list empties APT's, the distribution's entries included.
        dialog = new SettingsDialog;
        dialog->show();
        inSubDialog(dialog, "packageBlackListButton",
                    [](QDialog* ignored) { child<QListWidget>(ignored, "packagesListWidget")->clear(); });
        child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok)->click();
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(aptConfigDump().filter("Package-Blacklist"),
                 QStringList{"Unattended-Upgrade::Package-Blacklist \"\";"});
    }

    // Whatever the dialog writes from the configurations found on real systems, the helper
    // takes: a save never fails on values the administrator set elsewhere. "written" is what
    // the notifier's own file holds after the user changed the mail address.
    void stockConfigurationsSave_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("as");
        QTest::addColumn<QByteArray>("written");
        for (const auto& [name, as] :
             {std::pair{"debian-12", "50stock"}, {"hand-edited", "99tarn-update-notifier"}})
            QTest::newRow(name) << Expected + "/../stock/" + name << as
                                << TestSupport::readFile(Expected + "/../written/" + name);
    }
    void stockConfigurationsSave()
    {
        QFETCH(QString, file);
        QFETCH(QString, as);
        QFETCH(QByteArray, written);
        const QString parts = qEnvironmentVariable("TARN_E2E_ROOT") + "/etc/apt/apt.conf.d/";
        for (const QString& name : QDir(parts).entryList(QDir::Files))
            QVERIFY(QFile::remove(parts + name));
        QVERIFY(QFile::copy(file, parts + as));
        const QString own = parts + "99tarn-update-notifier";
        const QByteArray ownBefore = TestSupport::readFile(own);
        QStringList before = aptConfigDump();
        before.removeAll("Unattended-Upgrade \"\";");
        before.sort(); // APT prints in the order of the files it read
        const int twoDays = 2 * 24 * 3600 * 1000;
        QSettings().setValue("General/aptCacheCheckInterval", twoDays);

        // Only per-user settings change: no password, nothing of APT's written.
        QPointer<SettingsDialog> dialog = new SettingsDialog;
        dialog->show();
        auto* interval = child<QTimeEdit>(dialog, "aptIntervalTimeEdit");
        QCOMPARE(interval->time(), QTime(23, 59, 59));
        QCOMPARE(interval->minimumTime(), QTime(0, 1));
        for (const auto& [control, value] : {std::pair{"updatePackageListsSpinBox", "\"always\""},
                                             {"downloadUpgradeablePackagesSpinBox", "\"-1\""},
                                             {"verboseComboBox", "\"5\""}})
            QCOMPARE(child<QWidget>(dialog, control)->toolTip().contains(value),
                     file.endsWith("hand-edited"));
        // "always" and "-1" run the task at every start of APT's daily job; "48h" is 2 days.
        const bool handEdited = file.endsWith("hand-edited");
        for (const auto& [control, shown, stock] : {std::tuple{"updatePackageListsSpinBox", 1, 1},
                                                    {"downloadUpgradeablePackagesSpinBox", 1, 0},
                                                    {"autocleanIntervalSpinBox", 2, 0}})
            QCOMPARE(child<QSpinBox>(dialog, control)->value(), handEdited ? shown : stock);
        QCOMPARE(child<QCheckBox>(dialog, "enableCheckBox")->isChecked(), !handEdited);
        // The per-user settings are saved as shown.
        child<QSpinBox>(dialog, "messageTimeoutSpinBox")->setValue(7);
        child<QCheckBox>(dialog, "hideTrayCheckBox")->setChecked(false);
        child<QCheckBox>(dialog, "hideTrayDeferredCheckBox")->setChecked(true);
        QSettings().setValue("General/skipNotificationDelay", 3600); // the tray's "remind later"
        child<QSpinBox>(dialog, "hideTrayDelaySpinBox")->stepBy(1);
        child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok)->click();
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(TestSupport::readFile(own), ownBefore);
        QCOMPARE(QSettings().value("General/aptCacheCheckInterval").toInt(), twoDays);
        QCOMPARE(QSettings().value("General/skipNotificationDelay").toInt(), 3600);
        QCOMPARE(QSettings().value("General/messageTimeout").toInt(), 7000);
        QCOMPARE(QSettings().value("General/hideTray").toBool(), false);
        QCOMPARE(QSettings().value("General/hideTrayDeferred").toBool(), true);

        // Only what the user changed is written; everything else reads back as it was.
        dialog = new SettingsDialog;
        dialog->show();
        child<QLineEdit>(dialog, "mailLineEdit")->setText("root");
        child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok)->click();
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(MessageBox::takeShownTexts().join("|"), QString());
        QCOMPARE(TestSupport::readFile(own), written);
        QStringList after = aptConfigDump();
        QCOMPARE(after.removeAll("Unattended-Upgrade::Mail \"root\";"), 1);
        after.removeAll("Unattended-Upgrade \"\";"); // the parent APT prints with its first child
        after.sort();
        QCOMPARE(after, before);
    }

private:
    static QStringList aptConfigDump()
    {
        QProcess apt;
        apt.start("apt-config", {"dump"});
        if (!apt.waitForFinished(30000) || apt.exitCode() != 0)
            return {"apt-config failed"};
        return QString(apt.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }
};

QTEST_MAIN(TestSettingsE2E)
#include "tst_settings_e2e.moc"
