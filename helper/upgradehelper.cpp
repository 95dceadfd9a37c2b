#include "upgradehelper.h"

#include "aptconfigvalues.h"
#include "aptverdict.h"
#include "childprocess.h"
#include "packagerun.h"
#include "policy/aptfilepolicy.h"
#include "policy/commandpolicy.h"
#include "privileged/helpercontract.h"
#include "safewrite.h"
#include "stoprequests.h"
#include "translations/catalogue.h"

#include <KAuth/HelperSupport>
#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>

#include <sys/stat.h>

using KAuth::ActionReply;
using namespace HelperContract;

namespace {

class KAuthChannel : public ActionChannel
{
public:
    // Every map carries the request's public id: KAuth broadcasts it to every caller of the
    // action's name, and each keeps only its own.
    void send(const QVariantMap& data) override
    {
        QVariantMap stamped = data;
        if (!m_requestId.isEmpty())
            stamped.insert(QLatin1String(RequestIdKey), m_requestId);
        KAuth::HelperSupport::progressStep(stamped);
    }
    // Runs the event loop, which is how stop requests reach the helper (KAuth's own
    // isStopped() does the same), and looks for one with this action's secret only.
    bool stopRequested() override
    {
        QCoreApplication::processEvents();
        const StopRequests* stops = StopRequests::exported();
        return stops && stops->contains(m_secret);
    }
    void beginAction(const QString& secret, const QString& requestId) override
    {
        m_secret = secret;
        m_requestId = requestId;
    }

private:
    QString m_secret;
    QString m_requestId;
};

QString tooLarge()
{
    return QCoreApplication::translate("UpgradeHelper", "Refused: the data is larger than %1 bytes")
        .arg(MaxDataBytes);
}

bool isText(const QVariant& value)
{
    return value.userType() == QMetaType::QString || value.userType() == QMetaType::QByteArray;
}

} // namespace

UpgradeHelper::UpgradeHelper()
    : m_settings(HelperSettings::fromEnvironment()), m_ownChannel(new KAuthChannel),
      m_channel(m_ownChannel.get())
{
}

UpgradeHelper::UpgradeHelper(const HelperSettings& settings, ActionChannel* channel)
    : m_settings(settings), m_channel(channel)
{
}

UpgradeHelper::~UpgradeHelper() = default;

void UpgradeHelper::beginAction(const QVariantMap& args)
{
    useLanguage(args.value(QLatin1String(LanguageKey)).toString());
    const QVariant secret = args.value(QLatin1String(RequestKey));
    const bool usable =
        secret.userType() == QMetaType::QString && secret.toString().size() <= MaxRequestChars;
    m_requestId = usable && !secret.toString().isEmpty() ? requestIdOf(secret.toString()) : QString();
    m_channel->beginAction(usable ? secret.toString() : QString(), m_requestId);
    // A stop sent while the password was asked for is honoured before anything runs.
    if (m_channel->stopRequested())
        m_channel->send({{QLatin1String(TypeKey), QLatin1String(OutputType)},
                         {QLatin1String(OutputKey),
                          QCoreApplication::translate("UpgradeHelper", "Canceled before it began.")}});
}

ActionReply UpgradeHelper::stamped(ActionReply reply) const
{
    if (!m_requestId.isEmpty())
        reply.addData(QLatin1String(RequestIdKey), m_requestId);
    return reply;
}

ActionReply UpgradeHelper::errorReply(const QString& description) const
{
    ActionReply reply = ActionReply::HelperErrorReply();
    reply.setErrorDescription(description);
    return stamped(reply);
}

ActionReply UpgradeHelper::statusReply(const QString& status) const
{
    ActionReply reply = ActionReply::SuccessReply();
    reply.addData(QLatin1String(MessageKey), status);
    return stamped(reply);
}

void UpgradeHelper::useLanguage(const QString& localeName)
{
    // The helper is started by the system bus, without the user's locale: the caller names it.
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
    m_translator.reset();
    // QLocale reads any text as a locale (unknown ones as C), so the name never becomes a path.
    const QLocale locale(localeName);
    if (locale.language() == QLocale::C)
        return;
    auto translator = std::make_unique<QTranslator>();
    if (Catalogue::load(*translator, locale)) {
        QCoreApplication::installTranslator(translator.get());
        m_translator = std::move(translator);
    }
}

QString UpgradeHelper::aptConfigPath()
{
    return QString::fromLatin1(OwnAptConfigPath);
}

ActionReply UpgradeHelper::update(const QVariantMap& args)
{
    beginAction(args);
    const CheckedCommand command =
        checkCommand(args.value(QLatin1String(UpdateCommandKey)).toString(), CommandRole::Update);
    if (!command.isAcceptable())
        return errorReply(command.error);
    PackageRun run(m_settings, *m_channel);
    return statusReply(run.update(command));
}

ActionReply UpgradeHelper::upgrade(const QVariantMap& args)
{
    beginAction(args);
    // Every command is checked before the first one runs.
    const QString updateLine = args.value(QLatin1String(UpdateCommandKey)).toString();
    const QString fixLine = args.value(QLatin1String(FixBrokenCommandKey)).toString();
    const CheckedCommand upgrade =
        checkCommand(args.value(QLatin1String(UpgradeCommandKey)).toString(), CommandRole::Upgrade);
    const CheckedCommand update = checkCommand(updateLine, CommandRole::Update);
    const CheckedCommand fix = checkCommand(fixLine, CommandRole::FixBroken);
    // An empty update or fix-broken command means that step is left out.
    const bool withUpdate = !updateLine.trimmed().isEmpty();
    const bool withFix = !fixLine.trimmed().isEmpty();
    if (withUpdate && !update.isAcceptable())
        return errorReply(update.error);
    if (!upgrade.isAcceptable())
        return errorReply(upgrade.error);
    if (withFix && !fix.isAcceptable())
        return errorReply(fix.error);

    PackageRun run(m_settings, *m_channel);
    ActionReply reply =
        statusReply(run.upgrade(withUpdate ? &update : nullptr, upgrade, withFix ? &fix : nullptr));
    if (run.dpkgInterrupted())
        reply.addData(QLatin1String(DpkgInterruptedKey), true);
    return reply;
}

ActionReply UpgradeHelper::repair(const QVariantMap& args)
{
    beginAction(args);
    // dpkg's command is the helper's own; the caller's fix-broken step is checked before it runs.
    const QString fixLine = args.value(QLatin1String(FixBrokenCommandKey)).toString();
    const CheckedCommand fix = checkCommand(fixLine, CommandRole::FixBroken);
    const bool withFix = !fixLine.trimmed().isEmpty();
    if (withFix && !fix.isAcceptable())
        return errorReply(fix.error);

    PackageRun run(m_settings, *m_channel);
    ActionReply reply = statusReply(run.repair(withFix ? &fix : nullptr));
    if (run.dpkgInterrupted())
        reply.addData(QLatin1String(DpkgInterruptedKey), true);
    return reply;
}

ActionReply UpgradeHelper::setaptconfig(const QVariantMap& args)
{
    beginAction(args);
    const QVariant data = args.value(QLatin1String(DataKey));
    if (!isText(data))
        return errorReply(
            QCoreApplication::translate("UpgradeHelper", "Refused: no APT configuration text given"));
    const QByteArray text = data.toByteArray();
    if (text.size() > MaxDataBytes)
        return errorReply(tooLarge());
    QString problem = checkAptConfigText(text);
    if (problem.isEmpty())
        problem = AptVerdict(m_settings).onConfiguration(text);
    if (!problem.isEmpty())
        return errorReply(problem);
    const QString error = replaceFile(m_settings.underRoot(aptConfigPath()), text);
    if (!error.isEmpty())
        return errorReply(error);
    return stamped(ActionReply::SuccessReply());
}

ActionReply UpgradeHelper::setsourcelist(const QVariantMap& args)
{
    beginAction(args);
    const QVariant data = args.value(QLatin1String(DataKey));
    if (data.userType() != QMetaType::QVariantMap)
        return errorReply(QCoreApplication::translate("UpgradeHelper", "Refused: no list file map given"));
    // The bytes checked are the bytes written: given bytes stay as they are.
    QMap<QString, QByteArray> files;
    qint64 size = 0;
    const QVariantMap given = data.toMap();
    for (auto it = given.cbegin(); it != given.cend(); ++it) {
        if (!isText(it.value()))
            return errorReply(
                QCoreApplication::translate("UpgradeHelper", "Refused list file \"%1\": its text is not text")
                    .arg(it.key()));
        const QByteArray text = it.value().userType() == QMetaType::QByteArray
                                    ? it.value().toByteArray()
                                    : it.value().toString().toUtf8();
        const QString problem = checkPlainText(
            text, QCoreApplication::translate("UpgradeHelper", "list file \"%1\"").arg(it.key()), true);
        if (!problem.isEmpty())
            return errorReply(problem);
        files.insert(it.key(), text);
        size += text.size();
    }
    if (size > MaxDataBytes)
        return errorReply(tooLarge());

    // The caller's view of the list locations is only compared, never used.
    QString mainList;
    QString listDir;
    QString error;
    if (!locateSourceLists(&mainList, &listDir, &error))
        return errorReply(error);
    const QString sourceDir = args.value(QLatin1String(SourceDirKey)).toString();
    const auto normalise = [](const QString& p) {
        return QLatin1Char('/') + p.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
    };
    if (normalise(sourceDir) != normalise(listDir))
        return errorReply(
            QCoreApplication::translate("UpgradeHelper", "Refused: \"%1\" is not APT's list directory \"%2\"")
                .arg(sourceDir, listDir));

    // Everything is checked before the first file is written.
    QList<QPair<QString, QByteArray>> writes;
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const QString problem = checkSourceListPath(it.key(), mainList, listDir);
        if (!problem.isEmpty())
            return errorReply(problem);
        const QString target = m_settings.underRoot(normalise(it.key()));
        struct stat info;
        if (::lstat(QFile::encodeName(target).constData(), &info) == 0 && !S_ISREG(info.st_mode))
            return errorReply(QCoreApplication::translate(
                                  "UpgradeHelper", "Refused list file \"%1\": it is not a regular file")
                                  .arg(it.key()));
        writes.append({target, it.value()});
    }
    error = AptVerdict(m_settings).onSourceLists(files, mainList, listDir);
    if (error.isEmpty())
        error = replaceFiles(writes);
    if (!error.isEmpty())
        return errorReply(error);
    return stamped(ActionReply::SuccessReply());
}

ActionReply UpgradeHelper::setappconfig(const QVariantMap& args)
{
    beginAction(args);
    const QStringList keys = {
        QLatin1String(PackageManagerKey),
        QLatin1String(UpgradeCommandSettingKey),
        QLatin1String(FixBrokenCommandSettingKey),
    };
    qint64 size = 0;
    for (const QString& key : keys) {
        if (args.value(key).userType() != QMetaType::QString)
            return errorReply(
                QCoreApplication::translate("UpgradeHelper", "Refused: \"%1\" is missing or not text")
                    .arg(key));
        size += args.value(key).toString().toUtf8().size();
    }
    if (size > MaxDataBytes)
        return errorReply(tooLarge());
    // Stored commands are checked as their use will check them, so a mistake shows now.
    QString problem = refusalOfPackageManagerCommand(args.value(QLatin1String(PackageManagerKey)).toString());
    if (problem.isEmpty())
        problem = refusalOfCommand(CommandRole::Upgrade,
                                   args.value(QLatin1String(UpgradeCommandSettingKey)).toString());
    if (problem.isEmpty())
        problem = refusalOfCommand(CommandRole::FixBroken,
                                   args.value(QLatin1String(FixBrokenCommandSettingKey)).toString());
    if (!problem.isEmpty())
        return errorReply(problem);

    // QSettings writes the text, so the notifier's QSettings reads it back exactly; it only
    // writes files in place, hence the scratch directory.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return errorReply(
            QCoreApplication::translate("UpgradeHelper", "Cannot create a scratch directory: %1")
                .arg(scratch.errorString()));
    const QString scratchFile = scratch.filePath(QStringLiteral("config.conf"));
    {
        QSettings settings(scratchFile, QSettings::IniFormat);
        settings.beginGroup(QStringLiteral("General"));
        for (const QString& key : keys)
            settings.setValue(key, args.value(key).toString());
        settings.endGroup();
        settings.sync();
        if (settings.status() != QSettings::NoError)
            return errorReply(
                QCoreApplication::translate("UpgradeHelper", "Cannot produce the configuration text"));
    }
    QFile produced(scratchFile);
    if (!produced.open(QIODevice::ReadOnly))
        return errorReply(
            QCoreApplication::translate("UpgradeHelper", "Cannot produce the configuration text: %1")
                .arg(produced.errorString()));
    const QString error = replaceFile(m_settings.underRoot(QStringLiteral("/etc/tarn-update-notifier.conf")),
                                      produced.readAll());
    if (!error.isEmpty())
        return errorReply(error);
    return stamped(ActionReply::SuccessReply());
}

bool UpgradeHelper::locateSourceLists(QString* mainList, QString* listDir, QString* error) const
{
    const QStringList values = aptConfigValues(
        m_settings, {QStringLiteral("Dir::Etc::sourcelist/f"), QStringLiteral("Dir::Etc::sourceparts/d")},
        error);
    if (!error->isEmpty())
        return false;
    *mainList = values.at(0);
    *listDir = values.at(1);
    if (mainList->isEmpty() || listDir->isEmpty()) {
        *error = QCoreApplication::translate("UpgradeHelper",
                                             "Cannot read the list file locations from APT's configuration");
        return false;
    }
    return true;
}
