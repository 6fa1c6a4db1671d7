#include "gui/prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

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
    return suggestSaveFileName(parent, caption, filter, {});
}

QString DialogPrompter::suggestSaveFileName(QWidget* parent, const QString& caption,
                                            const QString& filter, const QString& suggested) {
    QFileDialog dialog(parent, caption, QString(), filter);
    if (!suggested.isEmpty()) dialog.selectFile(suggested);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The suffix is added before the dialog asks about overwriting, so "name" does not
    // silently replace an existing "name.mem".
    const qsizetype star = filter.indexOf("(*.");
    if (star >= 0) {
        const qsizetype end = filter.indexOf(QRegularExpression("[ )]"), star + 3);
        dialog.setDefaultSuffix(filter.mid(star + 3, end < 0 ? -1 : end - star - 3));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

}  // namespace vex::gui
