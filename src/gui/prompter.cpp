#include "gui/prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace vex::gui {

Answer DialogPrompter::ask(QWidget* parent, const Question& question) {
    if (question.beep) QApplication::beep();
    QMessageBox box(parent);
    box.setWindowTitle(L1(question.title));
    box.setText(L1(question.text));
    box.setIcon(question.warning ? QMessageBox::Warning : QMessageBox::Question);
    switch (question.buttons) {
        case Question::Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            break;
        case Question::Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case Question::Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
        case QMessageBox::Ok:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

void DialogPrompter::tell(QWidget* parent, const QString& title, const QString& text,
                          NoticeIcon icon) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(icon == NoticeIcon::Critical  ? QMessageBox::Critical
                : icon == NoticeIcon::Warning ? QMessageBox::Warning
                                              : QMessageBox::Information);
    box.exec();
}

QString DialogPrompter::openFileName(QWidget* parent, const QString& caption,
                                     const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

QString DialogPrompter::saveFileName(QWidget* parent, const QString& caption,
                                     const QString& filter) {
    // The dialog confirms overwriting an existing file itself.
    return QFileDialog::getSaveFileName(parent, caption, QString(), filter);
}

}  // namespace vex::gui
