#include "upgraderequestdialog.h"
#include "ui_upgraderequestdialog.h"

#include "base/boundedprocess.h"
#include "base/checkerlines.h"
#include "base/messagebox.h"
#include "base/systempaths.h"
#include "platform/tarnintegration.h"

#include <QAction>
#include <QEventLoop>
#include <QPushButton>
#include <QStorageInfo>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <optional>

namespace {

// Room kept free beyond what APT reports, for unpacking and for dpkg's own work.
constexpr qint64 BaseRequiredSpace = 300000000;
constexpr int StartTimeout = 3000;
constexpr int SizesTimeout = 30000;
// What the upgrade leaves out is told after the listing, which has built APT's cache already.
constexpr int KeptBackTimeout = 60000;
// A listing of every package of a large system fits many times over; "-s" is one short line.
constexpr qint64 ListingCap = 4 * 1024 * 1024;
constexpr qint64 SizesCap = 4096;
constexpr qint64 ErrorsCap = 64 * 1024;

struct Sizes
{
    qint64 download = 0;
    qint64 change = 0; // negative when the upgrade frees space
};

// "download;change", white space allowed around both; a field that does not parse counts as 0.
std::optional<Sizes> parseSizes(const QString& output)
{
    const QStringList fields = output.trimmed().split(QLatin1Char(';'));
    if (fields.size() != 2)
        return std::nullopt;
    return Sizes{fields.at(0).trimmed().toLongLong(), fields.at(1).trimmed().toLongLong()};
}

void stop(BoundedProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.killGroup();
    process.waitForFinished();
}

// The listing's loop runs inside the button's toggled signal. A deletion requested meanwhile
// (deleteLater, or a close with Qt::WA_DeleteOnClose) would be carried out inside that loop and
// pull the dialog and its button from under the signal; this holds it back and ends the loop,
// and the handler requests it again once it is done.
class DeletionHold : public QObject
{
public:
    DeletionHold(QObject* dialog, QEventLoop& loop) : m_dialog(dialog), m_loop(loop)
    {
        m_dialog->installEventFilter(this);
    }
    ~DeletionHold() override { m_dialog->removeEventFilter(this); }
    bool held() const { return m_held; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_dialog || event->type() != QEvent::DeferredDelete)
            return false;
        m_held = true;
        m_loop.quit();
        return true;
    }

private:
    QObject* m_dialog;
    QEventLoop& m_loop;
    bool m_held = false;
};

// The removed packages of a "-p" listing that the system needs: labelled essential or required.
QStringList neededRemovals(const QString& listing)
{
    QStringList names;
    for (const QStringList& field : checkerRecords(listing)) {
        if (field.at(0) == QLatin1String("d") &&
            (field.at(4) == QLatin1String("essential") || field.at(4) == QLatin1String("required")))
            names << field.at(1);
    }
    return names;
}

bool isDigits(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

quint64 magnitude(qint64 value)
{
    // Written this way so that the smallest 64-bit number has a magnitude too.
    return value < 0 ? quint64(-(value + 1)) + 1 : quint64(value);
}

// Kilobytes as this dialog shows them: bytes / 1000 + 0.5 written without decimals, halves
// rounded upward, which is one more than the whole kilobytes. Integers keep it exact for every
// 64-bit count.
QString kiloBytes(quint64 bytes)
{
    return QString::number(bytes / 1000 + 1);
}

} // namespace

UpgradeRequestDialog::UpgradeRequestDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::UpgradeRequestDialog)
{
    // setupUi also connects the on_<object>_<signal> slots by name.
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &UpgradeRequestDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ui->packageListWidget->hide();
    resize(width(), sizeHint().height());

    tarnAddHelpShortcut(this);
}

UpgradeRequestDialog::~UpgradeRequestDialog() = default;

void UpgradeRequestDialog::expandPackageList()
{
    ui->showPackagesButton->setChecked(true);
    ui->showPackagesButton->hide();
}

qint64 UpgradeRequestDialog::requiredSpace(const QString& sizesOutput)
{
    qint64 required = BaseRequiredSpace;
    const auto add = [&required](qint64 bytes) {
        // Only what the upgrade takes counts: freed space is no reason to skip the warning.
        if (bytes <= 0)
            return;
        const qint64 room = std::numeric_limits<qint64>::max() - required;
        required = bytes > room ? std::numeric_limits<qint64>::max() : required + bytes;
    };
    if (const auto sizes = parseSizes(sizesOutput)) {
        add(sizes->download);
        add(sizes->change);
    }
    return required;
}

void UpgradeRequestDialog::accept()
{
    // A second Ok while the checker works would start another.
    QPushButton* const ok = ui->buttonBox->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    // Unless the list was shown, the removals are read now: the question below must come
    // whether or not the user looked.
    if (!m_neededRemovals) {
        QString listing;
        const Run run = readOutput(QStringLiteral("-p"), SizesTimeout, ListingCap, listing);
        if (run == Run::Closed || run == Run::Deleted)
            return;
        if (run == Run::Ended)
            m_neededRemovals = neededRemovals(listing);
    }
    QString sizes;
    const Run run = readSizes(sizes);
    if (run == Run::Closed || run == Run::Deleted)
        return;
    ok->setEnabled(true);
    if (!confirmNeededRemovals()) {
        QDialog::reject();
        return;
    }
    const qint64 required = requiredSpace(sizes);
    // An unreadable file system reports -1 and so counts as short of space: better ask once
    // too often than start an upgrade that may fill the disk.
    const qint64 available = QStorageInfo(SystemPaths::current().rootFileSystem).bytesAvailable();
    if (available < required) {
        const auto answer =
            MessageBox::question(this, tr("Warning"),
                                 tr("Free disk space is less than %1 kB. Do you want to upgrade now?")
                                     .arg(kiloBytes(magnitude(required))),
                                 QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            QDialog::reject();
            return;
        }
    }
    QDialog::accept();
}

void UpgradeRequestDialog::on_showPackagesButton_toggled(bool checked)
{
    ui->packageListWidget->setVisible(checked);
    if (!checked) {
        setFixedHeight(sizeHint().height());
        ui->showPackagesButton->setArrowType(Qt::RightArrow);
        return;
    }
    setMaximumHeight(4096);
    setMinimumHeight(50);
    resize(width(), sizeHint().height());
    ui->showPackagesButton->setArrowType(Qt::DownArrow);
    // Loaded once per dialog; this also keeps a toggle during the loading from starting another.
    if (ui->packageListWidget->count() > 0)
        return;
    loadPackageList();
}

void UpgradeRequestDialog::loadPackageList()
{
    ui->packageListWidget->clear();
    ui->packageListWidget->addItem(tr("Receiving package list..."));

    BoundedProcess process(ListingCap, ErrorsCap);
    const Run run = runChecker(process, {QStringLiteral("-p")}, -1);
    if (run == Run::Deleted)
        return;
    if (run == Run::NotStarted) {
        ui->packageListWidget->clear();
        ui->packageListWidget->addItem(tr("Error: %1").arg(process.errorString()));
        return;
    }

    ui->packageListWidget->clear();
    // Nobody sees the list of a closed dialog; left empty, it loads again if the dialog reopens.
    if (run == Run::Closed)
        return;

    if (process.overflowed()) {
        ui->packageListWidget->addItem(
            tr("Error: %1").arg(tr("%1 printed more than expected").arg(process.program())));
        return;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        ui->packageListWidget->addItem(tr("Error: %1").arg(process.errorString()));
        const QString errors = QString::fromLocal8Bit(process.errors()).trimmed();
        if (!errors.isEmpty())
            ui->packageListWidget->addItems(errors.split(QLatin1Char('\n')));
        return;
    }
    showListing(QString::fromLocal8Bit(process.output()));
    QString sizes;
    const Run sized = readSizes(sizes);
    if (sized == Run::Closed || sized == Run::Deleted)
        return;
    showSummary(sizes);
    showSizes(sizes);
    // A checker that cannot tell leaves these lines out; the rest stays as it is.
    QString keptBack;
    if (readOutput(QStringLiteral("-k"), KeptBackTimeout, ListingCap, keptBack) == Run::Ended)
        showKeptBack(keptBack);
}

bool UpgradeRequestDialog::confirmNeededRemovals()
{
    if (!m_neededRemovals || m_neededRemovals->isEmpty())
        return true;
    const QString text = tr("The upgrade would remove %n package(s) that the system needs (essential or of "
                            "priority required): %1. Do you really want to upgrade?",
                            nullptr, m_neededRemovals->size())
                             .arg(m_neededRemovals->join(QStringLiteral(", ")));
    return MessageBox::question(this, tr("Warning"), text, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

UpgradeRequestDialog::Run UpgradeRequestDialog::readSizes(QString& sizes)
{
    return readOutput(QStringLiteral("-s"), SizesTimeout, SizesCap, sizes);
}

UpgradeRequestDialog::Run UpgradeRequestDialog::readOutput(const QString& argument, int timeoutMs,
                                                           qint64 outputCap, QString& output)
{
    BoundedProcess process(outputCap, ErrorsCap);
    const Run run = runChecker(process, {argument}, timeoutMs);
    if (run != Run::Ended)
        return run;
    if (process.overflowed() || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return Run::Failed;
    output = QString::fromLocal8Bit(process.output());
    return Run::Ended;
}

// The local loop keeps the dialog responsive while the checker works. It also ends when the
// dialog closes, so a slow checker never keeps the caller of a closed dialog waiting.
UpgradeRequestDialog::Run UpgradeRequestDialog::runChecker(BoundedProcess& process,
                                                           const QStringList& arguments, int timeoutMs)
{
    process.start(SystemPaths::current().aptCheck, arguments);
    if (!process.waitForStarted(StartTimeout)) {
        stop(process);
        return Run::NotStarted;
    }
    bool closed = false;
    bool timedOut = false;
    QEventLoop loop;
    const DeletionHold deletion(this, loop);
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, [&timedOut, &loop] {
        timedOut = true;
        loop.quit();
    });
    connect(&process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), &loop, &QEventLoop::quit);
    connect(this, &QDialog::finished, &loop, [&closed, &loop] {
        closed = true;
        loop.quit();
    });
    if (timeoutMs > 0)
        limit.start(timeoutMs);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    const bool ended = process.state() == QProcess::NotRunning;
    stop(process);
    if (deletion.held()) {
        deleteLater();
        return Run::Deleted;
    }
    if (closed)
        return Run::Closed;
    if (ended)
        return Run::Ended;
    // Still running without a time-out: the application is quitting, which ends this dialog too.
    return timedOut ? Run::TimedOut : Run::Closed;
}

void UpgradeRequestDialog::showListing(const QString& output)
{
    QStringList upgraded;
    QStringList installed;
    QStringList removed;
    // Security updates come first in their group, in the checker's order.
    int securityUpgrades = 0;
    int securityInstalls = 0;
    for (const QStringList& field : checkerRecords(output)) {
        const QString& kind = field.at(0);
        const QString& name = field.at(1);
        const QString& before = field.at(2);
        const QString& after = field.at(3);
        const QString& label = field.at(4);
        const QString prefix = label.isEmpty() ? QString() : tr("%1: ").arg(label);
        const bool security = label == QLatin1String("security");
        // One arg() call for all fields, so a "%2" inside a name is never taken for a placeholder.
        if (kind == QLatin1String("u"))
            upgraded.insert(security ? securityUpgrades++ : upgraded.size(),
                            prefix + tr("%1 (%2 => %3)").arg(name, before, after));
        else if (kind == QLatin1String("i"))
            installed.insert(security ? securityInstalls++ : installed.size(),
                             prefix + tr("%1 (%2)").arg(name, after));
        else if (kind == QLatin1String("d"))
            removed << tr("%1 (%2)").arg(name, before);
    }

    m_upgradedCount = upgraded.size();
    m_installedCount = installed.size();
    m_removedCount = removed.size();
    m_neededRemovals = neededRemovals(output);

    QListWidget* list = ui->packageListWidget;
    if (!upgraded.isEmpty()) {
        list->addItem(tr("The following packages will be upgraded:"));
        list->addItems(upgraded);
    }
    if (!installed.isEmpty()) {
        list->addItem(tr("The following packages will be installed:"));
        list->addItems(installed);
    }
    if (!removed.isEmpty()) {
        list->addItem(tr("The following packages will be removed:"));
        list->addItems(removed);
    }
}

// One line ahead of the list: the counts, and what it costs when the sizes are known.
void UpgradeRequestDialog::showSummary(const QString& sizes)
{
    QString summary = tr("%n upgraded", nullptr, m_upgradedCount) + QStringLiteral(", ") +
                      tr("%n newly installed", nullptr, m_installedCount) + QStringLiteral(", ") +
                      tr("%n to remove", nullptr, m_removedCount);
    if (const auto parsed = parseSizes(sizes)) {
        summary += QStringLiteral("; ") +
                   (parsed->download > 0 ? tr("%1 kB to download").arg(kiloBytes(magnitude(parsed->download)))
                                         : tr("nothing to download"));
        summary += QStringLiteral("; ") +
                   (parsed->change < 0 ? tr("%1 kB of disk space freed") : tr("%1 kB of disk space used"))
                       .arg(kiloBytes(magnitude(parsed->change)));
    }
    ui->packageListWidget->insertItem(0, summary);
}

// Apart from the upgrade: the newer versions it leaves out, each with what holds it back.
void UpgradeRequestDialog::showKeptBack(const QString& output)
{
    QStringList items;
    for (const QStringList& field : checkerRecords(output)) {
        const QString& reason = field.at(3);
        const QString& detail = field.at(4);
        const QString removes = detail.startsWith(QLatin1String("removes:")) ? detail.mid(8) : QString();
        const QString needs = detail.startsWith(QLatin1String("needs:")) ? detail.mid(6) : QString();
        const QString subject = removes.isEmpty() ? needs.isEmpty() ? detail : needs : removes;
        QString text;
        if (reason == QLatin1String("held"))
            text = tr("%1 (%2 => %3): held by the administrator; release it with \"apt-mark unhold %1\"");
        else if (reason == QLatin1String("phased") && isDigits(detail))
            text = tr("%1 (%2 => %3): deferred by a phased rollout, offered to %4% of systems so far");
        else if (reason == QLatin1String("phased"))
            text = tr("%1 (%2 => %3): deferred by a phased rollout");
        else if (reason == QLatin1String("kept") && !removes.isEmpty())
            text = tr("%1 (%2 => %3): kept back because it would remove %4");
        else if (reason == QLatin1String("kept") && !needs.isEmpty())
            text = tr("%1 (%2 => %3): kept back because it needs %4, which cannot be installed");
        else
            text = tr("%1 (%2 => %3): kept back");
        items << (text.contains(QLatin1String("%4"))
                      ? text.arg(field.at(0), field.at(1), field.at(2), subject)
                      : text.arg(field.at(0), field.at(1), field.at(2)));
    }
    if (items.isEmpty())
        return;
    ui->packageListWidget->addItem(tr("The following packages have been kept back:"));
    ui->packageListWidget->addItems(items);
}

void UpgradeRequestDialog::showSizes(const QString& output)
{
    const auto sizes = parseSizes(output);
    if (!sizes)
        return;
    QListWidget* list = ui->packageListWidget;
    if (sizes->download > 0)
        list->addItem(tr("Need to get %1 kB of archives.").arg(kiloBytes(magnitude(sizes->download))));
    if (sizes->change < 0)
        list->addItem(tr("After this operation, %1 kB disk space will be freed.")
                          .arg(kiloBytes(magnitude(sizes->change))));
    else
        list->addItem(tr("After this operation, %1 kB of additional disk space will be used.")
                          .arg(kiloBytes(magnitude(sizes->change))));
}
