#include "messagebox.h"

#include <QList>

namespace {
struct TestAnswers
{
    QList<QMessageBox::StandardButton> queued;
    QList<std::function<void()>> whileOpen; // parallel to queued
    bool automatic = false;
    QStringList shown;
};

TestAnswers& answers()
{
    static TestAnswers instance;
    return instance;
}

QMessageBox::StandardButton firstButton(QMessageBox::StandardButtons buttons)
{
    for (unsigned bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1) {
        if (buttons & bit)
            return QMessageBox::StandardButton(bit);
    }
    return QMessageBox::NoButton;
}
} // namespace

QMessageBox::StandardButton MessageBox::critical(QWidget* parent, const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    return show(QMessageBox::Critical, parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton MessageBox::warning(QWidget* parent, const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton)
{
    return show(QMessageBox::Warning, parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton MessageBox::information(QWidget* parent, const QString& title,
                                                    const QString& text, QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton)
{
    return show(QMessageBox::Information, parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton MessageBox::question(QWidget* parent, const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    return show(QMessageBox::Question, parent, title, text, buttons, defaultButton);
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer)
{
    setNextAnswer(answer, {});
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer, const std::function<void()>& whileOpen)
{
    answers().queued.append(answer);
    answers().whileOpen.append(whileOpen);
}

void MessageBox::setAutoAnswer(bool on)
{
    answers().automatic = on;
}

QStringList MessageBox::takeShownTexts()
{
    QStringList texts;
    texts.swap(answers().shown);
    return texts;
}

QMessageBox::StandardButton MessageBox::show(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                                             const QString& text, QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton)
{
    TestAnswers& test = answers();
    if (!test.queued.isEmpty() || test.automatic) {
        test.shown.append(text);
        if (!test.queued.isEmpty()) {
            const QMessageBox::StandardButton answer = test.queued.takeFirst();
            const std::function<void()> whileOpen = test.whileOpen.takeFirst();
            if (whileOpen)
                whileOpen();
            return answer;
        }
        return defaultButton != QMessageBox::NoButton ? defaultButton : firstButton(buttons);
    }
    QMessageBox box(icon, title, text, buttons, parent);
    // Texts carry what the helper, APT or a file said, which must read as it was said: as rich
    // text, "<b>" in a file name would vanish. Lines are separated by line feeds.
    box.setTextFormat(Qt::PlainText);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return QMessageBox::StandardButton(box.exec());
}
