#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Every message box of the program goes through here, so tests can answer a box in
// advance instead of waiting on a real modal one, and can read what was shown. Texts are
// shown as plain text, lines separated by line feeds.
class MessageBox
{
public:
    static QMessageBox::StandardButton
    critical(QWidget* parent, const QString& title, const QString& text,
             QMessageBox::StandardButtons buttons = QMessageBox::Ok,
             QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton
    warning(QWidget* parent, const QString& title, const QString& text,
            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton
    information(QWidget* parent, const QString& title, const QString& text,
                QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton
    question(QWidget* parent, const QString& title, const QString& text,
             QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No,
             QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

    // Test support: while answers are queued (or autoAnswer is on) no box is shown; each
    // call takes the next queued answer, or the box's default/first button.
    static void setNextAnswer(QMessageBox::StandardButton answer);
    // As above; `whileOpen` runs before the answer is given, in place of the time the user
    // looks at the box (what happens meanwhile, such as a job ending, is what tests want).
    static void setNextAnswer(QMessageBox::StandardButton answer, const std::function<void()>& whileOpen);
    static void setAutoAnswer(bool on);
    // The texts of the boxes answered in advance, oldest first; taking them clears the list.
    static QStringList takeShownTexts();

private:
    static QMessageBox::StandardButton show(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                                            const QString& text, QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton);
};
