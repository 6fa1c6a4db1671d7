// The Edit and Options commands of the main window: each hands the grid's selection to the
// editor and shows what came back.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenu>
#include <QProgressBar>
#include <QStatusBar>
#include <QUrl>

#include "core/normalise.h"
#include "gui/comsetup.h"
#include "gui/defdata.h"
#include "gui/memtab.h"
#include "gui/softoptions.h"
#include "gui/userguide.h"
#include "gui/vexcomm.h"
#include "link/protocol.h"
#include "platform/serial_transport.h"

namespace vex::gui {

Asker MemTab::asker() {
    return
        [this](const Question& question) { return d_prompter.ask(this, question) == Answer::Yes; };
}

void MemTab::run(const CommandResult& result, const char* title) {
    refreshGrid();
    if (result.selection) d_grid->selectBlock(*result.selection);
    if (!result.message.empty()) {
        if (result.cancelled) QApplication::beep();
        d_prompter.tell(this, title ? tr(title) : tr("Vexatron"), L1(result.message),
                        result.cancelled ? NoticeIcon::Warning : NoticeIcon::Information);
    }
}

bool MemTab::applyImageChange(const QString& stepName, const std::function<bool(Image&)>& change) {
    const CommandResult result = d_editor.applyImageChange(ToL1(stepName), change);
    updateBankCaptions();
    run(result);
    updateStatus();
    return !result.cancelled;
}

void MemTab::putOnClipboard(const std::string& text) {
    // The grid separates rows by CR; spreadsheets and editors here expect LF.
    QString published = L1(text);
    published.replace("\r\n", "\n");
    published.replace('\r', '\n');
    d_clipboardRaw = text;
    d_clipboardPublished = published;
    QApplication::clipboard()->setText(published);
}

std::string MemTab::clipboardText() const {
    const QString text = QApplication::clipboard()->text();
    // Our own copy comes back with its own line ends, so whole lines keep their comments.
    if (!d_clipboardPublished.isEmpty() && text == d_clipboardPublished) return d_clipboardRaw;
    return ToL1(text);
}

void MemTab::cmdCut() {
    const CommandResult result = d_editor.cutCells(d_grid->selection());
    if (!result.cancelled) putOnClipboard(result.clipboard);
    run(result);
}

void MemTab::cmdCopy() {
    const CommandResult result = d_editor.copyCells(d_grid->selection());
    putOnClipboard(result.clipboard);
    run(result);
}

void MemTab::cmdPaste() {
    run(d_editor.pasteCells(d_grid->selection(), clipboardText()));
}

void MemTab::cmdDelete() {
    run(d_editor.deleteCells(d_grid->selection()));
}

void MemTab::cmdCutLines() {
    const CommandResult result = d_editor.cutLines(d_grid->selection());
    if (!result.cancelled) putOnClipboard(result.clipboard);
    run(result);
}

void MemTab::cmdCopyLines() {
    const CommandResult result = d_editor.copyLines(d_grid->selection());
    if (!result.cancelled) putOnClipboard(result.clipboard);
    run(result);
}

void MemTab::cmdPasteLines() {
    run(d_editor.pasteLines(d_grid->selection(), clipboardText()));
}

void MemTab::cmdShift(ShiftDirection direction) {
    const Selection s = d_grid->selection();
    run(direction == ShiftDirection::Up ? d_editor.shiftChannelUp(s)
                                        : d_editor.shiftChannelDown(s));
}

void MemTab::cmdSelectAll() {
    Selection s = Selection::rows(1, ChannelsPerBank);
    const Selection now = d_grid->selection();
    s.currentRow = now.currentRow;
    s.currentField = now.currentField;
    d_grid->selectBlock(s);
}

void MemTab::cmdClearBank() {
    run(d_editor.clearCurrentBank(asker()));
}
void MemTab::cmdClearLines() {
    run(d_editor.clearSelectedLines(d_grid->selection(), asker()));
}
void MemTab::cmdInsertLine() {
    run(d_editor.insertEmptyLine(d_grid->selection(), asker()));
}
void MemTab::cmdRemoveEmptyLines() {
    run(d_editor.removeAllEmptyLines());
}
void MemTab::cmdRemoveLines() {
    run(d_editor.removeSelectedLines(d_grid->selection(), asker()));
}
void MemTab::cmdFillDown() {
    run(d_editor.fillDown(d_grid->selection()));
}
void MemTab::cmdFillSeries() {
    run(d_editor.fillSeries(d_grid->selection()), "Fill Series");
}
void MemTab::cmdCenterTags() {
    run(d_editor.centerMemoryTags());
}
void MemTab::cmdRemoveLeadingSpaces() {
    run(d_editor.removeLeadingSpaces());
}
void MemTab::cmdEmptyStatus() {
    run(d_editor.bankEmptyStatus(), "Bank Empty Status");
}
void MemTab::cmdRemoveDuplicates() {
    run(d_editor.removeDuplicateChannels());
}

void MemTab::cmdDuplicates(DuplicateScope scope) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CommandResult result = d_editor.findDuplicateChannels(scope, d_state.folder);
    QApplication::restoreOverrideCursor();
    // A box cannot show thousands of pairs: the first ones, and where the rest is.
    constexpr int kShownLines = 25;
    const QStringList lines = L1(result.message).split('\n');
    if (lines.size() > kShownLines + 1) {
        const QString report =
            QString::fromStdString((d_state.folder / std::string(kDuplicateReportName)).string());
        result.message = ToL1(lines.mid(0, kShownLines).join('\n') +
                              tr("\n... and %1 more.\n\nThe whole report is in %2")
                                  .arg(lines.size() - kShownLines)
                                  .arg(report));
    }
    run(result, "Duplicate Channels");
}

void MemTab::cmdSort(SortOrder order) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    d_progress->setValue(0);
    d_progress->show();
    // The question box must not show a busy pointer.
    const Asker ask = [this](const Question& q) {
        QApplication::restoreOverrideCursor();
        const bool yes = d_prompter.ask(this, q) == Answer::Yes;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return yes;
    };
    const CommandResult result = d_editor.sort(d_grid->selection(), order, ask);
    d_progress->setValue(100);
    d_progress->hide();
    QApplication::restoreOverrideCursor();
    run(result);
}

void MemTab::cmdCheckData() {
    // Repairs are edits too: one undo step brings the table back as it was.
    const CommandResult result = d_editor.checkDataInTable();
    run(result);
    if (!result.cancelled) statusBar()->showMessage(tr("Table checked."), 4000);
}

void MemTab::cmdCheckBandplan(DuplicateScope scope) {
    run(d_editor.checkBandplan(scope), "Check Table using Bandplan");
    updateStatus();
}

void MemTab::cmdSoftwareOptions() {
    // The grid's text depends on the options (leading zeros): store it under the old ones.
    if (!storeGrid()) return;
    bool accepted = false;
    // "Reset Trunk systems" changes the image, OK or not: an undo step.
    applyImageChange(tr("Reset trunk systems"), [&](Image& image) {
        SoftOptions dialog(d_state.options, image, this);
        accepted = d_dialogs->exec(dialog) == QDialog::Accepted;
        return true;
    });
    if (accepted) applyOptions();
    updateStatus();
}

void MemTab::cmdDefaultData() {
    DefData dialog(d_state.defaults, this);
    if (d_dialogs->exec(dialog) == QDialog::Accepted) {
        const WriteResult written = WriteDefaultData(d_state.folder, d_state.defaults);
        if (!written)
            statusBar()->showMessage(tr("Default data could not be saved: %1")
                                         .arg(QString::fromStdString(written.error)));
    }
}

void MemTab::cmdKeyboardShortcuts() {
    QString text = L1(KeyboardShortcutsText());
    text += tr("\n\nIn the whole window:\n");
    const auto actions = findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly);
    for (const QAction* a : actions) {
        if (a->shortcut().isEmpty() || a->text().isEmpty()) continue;
        QString caption = a->text();
        caption.remove('&');
        text += a->shortcut().toString(QKeySequence::NativeText) + " = " + caption + '\n';
    }
    d_prompter.tell(this, tr("Keyboard Shortcuts"), text, NoticeIcon::Information);
}

void MemTab::cmdAbout() {
    d_prompter.tell(this, tr("About"),
                    tr("Vexatron for BCT8\nVersion %1\n\nProgramming software for the BCT8 "
                       "trunk-tracking scanner.\n\nProgram folder: %2")
                        .arg(QApplication::applicationVersion(),
                             QString::fromStdString(d_state.folder.string())),
                    NoticeIcon::Information);
}

void MemTab::cmdUserGuide() {
    if (!d_userGuide) {
        d_userGuide = new UserGuide(this);
        if (!d_userGuide->load()) {
            delete d_userGuide;
            d_prompter.tell(this, tr("Vexatron"),
                            tr("The user guide was not found beside the program."),
                            NoticeIcon::Information);
            return;
        }
    }
    d_dialogs->show(*d_userGuide);
}

void MemTab::cmdOpenProgramFile(const QString& relative, const QString& what) {
    const QString path = QString::fromStdString((d_state.folder / relative.toStdString()).string());
    if (!QFileInfo::exists(path)) {
        d_prompter.tell(this, tr("Vexatron"), tr("The %1 was not found:\n%2").arg(what, path),
                        NoticeIcon::Information);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool MemTab::setDirectTune(bool on) {
    if (!on) {
        if (d_tuneLine) d_tuneLine->close();
        d_tuneLine.reset();
        d_tunedChannel = 0;
    } else if (!d_tuneLine) {
        std::unique_ptr<Transport> line =
            makeTransport ? makeTransport(d_state.com) : MakeSerialTransport(d_state.com);
        const TransportStatus status = line->open();
        if (!status.ok()) {
            QString text = L1(status.message);
            if (!status.detail.empty()) text += '\n' + QString::fromStdString(status.detail);
            d_prompter.tell(this, tr("Direct Tune"), text, NoticeIcon::Warning);
        } else {
            line->setDataHandler([](std::string_view) {});  // the replies are not needed
            line->setFaultHandler([this](const TransportStatus& fault) {
                // The line went away: Direct Tune ends; the port is released later, not
                // from inside the transport's own call.
                QMetaObject::invokeMethod(
                    this,
                    [this, message = L1(fault.message)] {
                        setDirectTune(false);
                        statusBar()->showMessage(tr("Direct Tune ended: %1").arg(message), 10000);
                    },
                    Qt::QueuedConnection);
            });
            d_tuneLine = std::move(line);
            tuneToCurrentRow();
        }
    }
    if (d_directTuneAction) {
        const QSignalBlocker block(d_directTuneAction);
        d_directTuneAction->setChecked(directTune());
    }
    return directTune() == on;
}

void MemTab::tuneToCurrentRow() {
    if (!d_tuneLine || !d_tuneLine->isOpen()) return;
    const int bank = d_editor.currentBank();
    const QModelIndex current = d_grid->currentIndex();
    // The Dummy bank is not in the scanner.
    if (bank >= kScannerBanks || !current.isValid()) return;
    const int channel = AbsoluteChannel(bank, current.row() + 1);
    if (channel == d_tunedChannel) return;
    d_tunedChannel = channel;
    d_tuneLine->write(ChannelReadCommand(channel) + std::string(kCommandEnd));
}

void MemTab::readFromScanner(const std::function<bool()>& readWindow) {
    readFromScanner(std::function<ReadOutcome()>(
        [&readWindow] { return readWindow() ? ReadOutcome::Whole : ReadOutcome::Nothing; }));
}

void MemTab::readFromScanner(const std::function<ReadOutcome()>& readWindow) {
    d_grid->commitEdit();
    if (virtualControlRunning()) {
        d_prompter.tell(this, tr("Vexatron"), L1(kVirtualControlRunning), NoticeIcon::Warning);
        return;
    }
    if (d_editor.modified()) {
        Question q;
        q.title = "Not Saved";
        q.text = "Data is not saved. Save it now?";
        q.buttons = Question::Buttons::YesNoCancel;
        switch (d_prompter.ask(this, q)) {
            case Answer::Cancel:
                return;
            case Answer::No:
                break;
            case Answer::Yes:
                // The read replaces the table: without a save the data would be gone.
                if (!fileSave()) return;
                break;
        }
    }
    if (!storeGrid()) return;
    // The communication window opens the port itself.
    setDirectTune(false);
    // The read is one undo step. Only a read that replaced the whole image matches the scanner
    // and clears the modified flag; a merge, a single step or a kept partial read leaves a mix,
    // so the flag stays up. A cancelled or failed read leaves the edits as they were.
    ReadOutcome outcome = ReadOutcome::Nothing;
    applyImageChange(tr("Read data from scanner"), [&](Image&) {
        outcome = readWindow();
        return outcome != ReadOutcome::Nothing;
    });
    if (outcome != ReadOutcome::Nothing) {
        d_editor.setModified(outcome == ReadOutcome::Part);
        setFileName(QStringLiteral("Untitled"));
        d_editor.resetTagLists();
        updateBankLabels();
    }
    showBank();
}

void MemTab::sendToScanner(const std::function<void()>& sendWindow) {
    if (virtualControlRunning()) {
        d_prompter.tell(this, tr("Vexatron"), L1(kVirtualControlRunning), NoticeIcon::Warning);
        return;
    }
    if (!storeGrid()) return;
    setDirectTune(false);
    sendWindow();
    showBank();
}

void MemTab::cmdReadData() {
    readFromScanner(std::function<ReadOutcome()>([this] {
        VexComm window(VexComm::Mode::Read, d_state.image, d_state.options, d_state.com,
                       d_state.folder, d_prompter, this);
        window.setSingleBankFlag(d_state.singleBankFlag);
        // A step of the download changes the image while the window stays open: the grid
        // shows it at once.
        connect(&window, &VexComm::transferFinished, this, [this] { showBank(); });
        d_dialogs->exec(window);
        d_state.options.delay1 = window.delay1();  // the window's delay control is a setting
        d_state.singleBankFlag = window.singleBankFlag();
        if (!window.imageReplaced()) return ReadOutcome::Nothing;
        // Only the main read closes the window by itself; a merge keeps what was there.
        const auto* merge = window.findChild<QCheckBox*>(QStringLiteral("merge"));
        const bool whole = window.result() == QDialog::Accepted && !window.partialReadKept() &&
                           !(merge && merge->isChecked());
        return whole ? ReadOutcome::Whole : ReadOutcome::Part;
    }));
}

void MemTab::cmdSendData() {
    sendToScanner([this] {
        VexComm window(VexComm::Mode::Send, d_state.image, d_state.options, d_state.com,
                       d_state.folder, d_prompter, this);
        window.setSingleBankFlag(d_state.singleBankFlag);
        d_dialogs->exec(window);
        d_state.options.delay1 = window.delay1();
        d_state.singleBankFlag = window.singleBankFlag();
    });
}

void MemTab::cmdComSetup() {
    if (virtualControlRunning()) {
        d_prompter.tell(this, tr("Vexatron"), L1(kVirtualControlRunning), NoticeIcon::Warning);
        return;
    }
    // The autodetect opens every port itself, the one Direct Tune holds included.
    setDirectTune(false);
    ComSetup dialog(d_state.com, d_state.folder, d_prompter, this);
    d_dialogs->exec(dialog);
    // After "Ok", and after a cancel that followed a successful autodetect, every later
    // scanner window uses the new port and speed.
    d_state.com = dialog.settings();
}

// Flag changes can be undone one by one, like typed entries.
void MemTab::onFlagKey(char key) {
    if (d_editor.flagKey(d_grid->selection(), key)) refreshGrid();
}

void MemTab::onFlagDoubleClicked(int row, int field) {
    if (d_editor.toggleFlag(row, field)) refreshGrid();
}

}  // namespace vex::gui
