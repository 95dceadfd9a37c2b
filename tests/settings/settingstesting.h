#pragma once

// A sandbox for the settings dialog: a scripted apt-config first on PATH whose dump points
// APT's list locations into a temporary directory, the global configuration file and the
// unattended-upgrades program there too, and Qt's test location for the per-user settings.

#include "aptconf/sourcelist.h"
#include "privileged/messagebox.h"
#include "privileged/systempaths.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

namespace SettingsTesting {

// A dump as apt-config prints it, with every key the dialog shows.
inline QByteArray standardDump()
{
    return "APT::Periodic::Enable \"1\";\n"
           "APT::Periodic::Update-Package-Lists \"1\";\n"
           "APT::Periodic::Download-Upgradeable-Packages \"0\";\n"
           "APT::Periodic::Unattended-Upgrade \"1\";\n"
           "APT::Periodic::AutocleanInterval \"7\";\n"
           "APT::Periodic::Verbose \"1\";\n"
           "Unattended-Upgrade \"\";\n"
           "Unattended-Upgrade::Mail \"root\";\n"
           "Unattended-Upgrade::Origins-Pattern \"\";\n"
           "Unattended-Upgrade::Origins-Pattern:: "
           "\"origin=Debian,codename=${distro_codename},label=Debian\";\n"
           "Unattended-Upgrade::Origins-Pattern:: "
           "\"origin=Debian,codename=${distro_codename},label=Debian-Security\";\n"
           "Unattended-Upgrade::Package-Blacklist \"\";\n"
           "Unattended-Upgrade::Package-Blacklist:: \"linux-\";\n";
}

class Sandbox
{
public:
    Sandbox()
    {
        QVERIFY(m_dir.isValid());
        m_savedPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(path(QStringLiteral("bin"))) + ':' + m_savedPath);
        SystemPaths paths;
        paths.globalConfig = path(QStringLiteral("etc/tarn-update-notifier.conf"));
        paths.unattendedUpgrades = path(QStringLiteral("usr/bin/unattended-upgrades"));
        SystemPaths::setCurrent(paths);
        setUnattendedUpgradesInstalled(true);
        setDump(standardDump());
        QSettings().clear();
        MessageBox::setAutoAnswer(true);
        MessageBox::takeShownTexts();
    }
    ~Sandbox()
    {
        qputenv("PATH", m_savedPath);
        SystemPaths::setCurrent(SystemPaths());
        MessageBox::setAutoAnswer(false);
        QSettings().clear();
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }
    // APT's "Dir::Etc" as the scripted dump gives it: absolute, with a final slash.
    QString etc() const { return path(QStringLiteral("etc/apt")) + QLatin1Char('/'); }
    QString mainList() const { return QLatin1Char('/') + etc() + QLatin1String("/sources.list"); }
    QString listDir() const { return QLatin1Char('/') + etc() + QLatin1String("/sources.list.d"); }

    // The dump apt-config prints, followed by the list locations of this sandbox.
    void setDump(const QByteArray& dump)
    {
        const QByteArray locations = "Dir::Etc \"" + etc().toLocal8Bit() +
                                     "\";\nDir::Etc::sourcelist \"sources.list\";\n"
                                     "Dir::Etc::sourceparts \"sources.list.d\";\n";
        QVERIFY(TestSupport::writeFile(path(QStringLiteral("dump")), dump + locations));
        QVERIFY(TestSupport::writeScript(path(QStringLiteral("bin/apt-config")),
                                         "cat '" + path(QStringLiteral("dump")).toLocal8Bit() + "'\n"));
    }
    void setFailingAptConfig(const QByteArray& output, int status)
    {
        QVERIFY(TestSupport::writeScript(path(QStringLiteral("bin/apt-config")),
                                         "printf '%s' '" + output + "'\nexit " + QByteArray::number(status) +
                                             "\n"));
    }
    void setUnattendedUpgradesInstalled(bool installed)
    {
        const QString program = SystemPaths::current().unattendedUpgrades;
        if (installed)
            QVERIFY(TestSupport::writeScript(program, "exit 0\n"));
        else
            QFile::remove(program);
    }
    void writeMainList(const QByteArray& text) { QVERIFY(TestSupport::writeFile(mainList(), text)); }
    void writeListFile(const QString& name, const QByteArray& text)
    {
        QVERIFY(TestSupport::writeFile(listDir() + QLatin1Char('/') + name, text));
    }

    static void writeUserSettings(const QVariantMap& values)
    {
        QSettings settings;
        settings.beginGroup(QStringLiteral("General"));
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            settings.setValue(it.key(), it.value());
    }
    static QVariant userSetting(const QString& key)
    {
        return QSettings().value(QStringLiteral("General/") + key);
    }
    void writeGlobalSettings(const QVariantMap& values) const
    {
        QSettings settings(SystemPaths::current().globalConfig, QSettings::IniFormat);
        settings.beginGroup(QStringLiteral("General"));
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            settings.setValue(it.key(), it.value());
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_savedPath;
};

// The process-wide set-up every settings test needs once.
inline void initSettingsTests(const char* name)
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("tarn-tests"));
    QCoreApplication::setApplicationName(QString::fromLatin1(name));
}

template <class T> T* child(QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no %s named %s", T::staticMetaObject.className(), name);
    return found;
}

inline QAbstractButton* okButton(QDialog* dialog)
{
    return child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok);
}

// Calls `open`, which runs a modal dialog of type D, and `act` on that dialog from inside its
// event loop; `act` must close it. A dialog left open is closed after ten seconds, so a
// fault fails the test instead of hanging it. Returns whether `act` ran.
template <class D> bool whileModal(const std::function<void()>& open, const std::function<void(D*)>& act)
{
    bool ran = false;
    QTimer::singleShot(0, [&ran, act] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        ran = true;
        act(dialog);
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->done(-1);
    });
    guard.start(10000);
    open();
    return ran;
}

// The tree's rows: a shown row as its URI, a hidden one as "hidden: " and its line.
inline QStringList rowsOf(QTreeWidget* tree)
{
    QStringList rows;
    for (int row = 0; row < tree->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = tree->topLevelItem(row);
        if (item->isHidden())
            rows.append(QLatin1String("hidden: ") + static_cast<SourceItem*>(item)->entry().line.trimmed());
        else
            rows.append(item->text(2));
    }
    return rows;
}

// The row that shows the repository with this URI, or null.
inline QTreeWidgetItem* rowWithUri(QTreeWidget* tree, const QString& uri)
{
    for (int row = 0; row < tree->topLevelItemCount(); ++row) {
        if (tree->topLevelItem(row)->text(2) == uri)
            return tree->topLevelItem(row);
    }
    return nullptr;
}

// A list file with visible A, hidden H and visible B.
inline const QByteArray AHB = "deb http://a.example/ stable main\n# H\ndeb http://b.example/ stable main\n";

} // namespace SettingsTesting
