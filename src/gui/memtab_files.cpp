// File commands of the main window and its close: New, Open, Save, Save As, the sibling file,
// the start-up reload, the exit questions and what is written on the way out.
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <utility>

#include "core/memfile.h"
#include "core/normalise.h"
#include "gui/memtab.h"

namespace vex::gui {

namespace {

const QString kUntitled = QStringLiteral("Untitled");
constexpr int kStartupReloadMs = 200;

std::filesystem::path ToPath(const QString& name) {
    return std::filesystem::path(name.toStdString());
}
QString FromPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

}  // namespace

bool MemTab::askBeforeLoss() {
    if (!d_editor.modified()) return true;
    Question q;
    q.title = "Warning";
    q.text = "This will clear your table.\nIf not saved, data is lost!\nSave data?";
    q.buttons = Question::Buttons::YesNoCancel;
    switch (d_prompter.ask(this, q)) {
        case Answer::Cancel:
            return false;
        case Answer::No:
            return true;
        case Answer::Yes:
            // A save that did not happen (dialog cancelled, disk full) stops the command: the
            // user asked for the data to be kept.
            return fileSave();
    }
    return false;
}

std::filesystem::path MemTab::chooseSavePath() {
    const QString chosen =
        d_prompter.saveFileName(this, tr("Save As"), L1(DialogFilter(kMemSaveFilter)));
    if (chosen.isEmpty()) {
        setFileName(kUntitled);
        return {};
    }
    const QString name = QString::fromStdString(WithMemSuffix(chosen.toStdString()));
    setFileName(name);
    return ToPath(name);
}

bool MemTab::writeMem(const std::filesystem::path& path) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const MemWriteResult result = WriteMemFile(d_state.image, path, d_state.options);
    QApplication::restoreOverrideCursor();
    if (!result) {
        // The old file is intact; say so rather than let the user believe the data is safe.
        d_prompter.tell(this, tr("Save"),
                        tr("The file could not be saved:\n%1\n\n%2\n\nThe data is still in the "
                           "table; save it elsewhere with Save As.")
                            .arg(FromPath(result.path.empty() ? path : result.path),
                                 QString::fromStdString(result.error)),
                        NoticeIcon::Critical);
        updateStatus();
        return false;
    }
    setFileName(FromPath(result.path));
    d_editor.setModified(false);
    updateStatus();
    statusBar()->showMessage(tr("Saved %1").arg(FromPath(result.path)), 5000);
    return true;
}

bool MemTab::fileSave() {
    if (!storeGrid()) return false;
    // What the check repairs before saving is an undo step of its own.
    run(d_editor.checkDataInTable());
    const std::filesystem::path path =
        d_fileName == kUntitled ? chooseSavePath() : ToPath(d_fileName);
    if (path.empty()) return false;
    return writeMem(path);
}

bool MemTab::fileSaveAs() {
    if (!storeGrid()) return false;
    run(d_editor.checkDataInTable());
    const std::filesystem::path path = chooseSavePath();
    if (path.empty()) return false;
    return writeMem(path);
}

void MemTab::fileNew() {
    if (!askBeforeLoss()) return;
    d_editor.setModified(false);
    ClearForFileNew(d_state.image);
    setFileName(kUntitled);
    if (d_state.options.cleartag == 1) SetNewFileBankTags(d_state.image);
    d_editor.resetAfterNewImage();
    updateBankLabels();
    refreshGrid();
}

void MemTab::fileOpen() {
    if (!askBeforeLoss()) return;
    const QString path =
        d_prompter.openFileName(this, tr("Open"), L1(DialogFilter(kMemOpenFilter)));
    if (path.isEmpty()) return;
    if (!IsOpenableMemName(path.toStdString())) {
        statusBar()->showMessage(
            tr("Not opened: only .mem files can be opened here (%1).").arg(path), 8000);
        return;
    }
    openMemFile(path);
}

void MemTab::fileOpenSibling() {
    if (!askBeforeLoss()) return;
    const QString path = d_prompter.openFileName(this, tr("Open PELIXO mem file"),
                                                 tr("PELIXO Data Files (*.mem);;All Files (*)"));
    if (path.isEmpty()) return;
    // The sibling file is not this program's document: saving must ask for a name.
    if (loadImage(path, &ReadSiblingMemFile)) setFileName(kUntitled);
}

bool MemTab::openMemFile(const QString& path) {
    return loadImage(path, &ReadMemFile);
}

bool MemTab::loadImage(const QString& path, MemReader read) {
    // Unstored edits of the grid must not be lost when the file is not taken.
    d_editor.store();
    d_progress->setValue(0);
    d_progress->show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Image image = d_state.image;
    const MemReadResult result =
        read(image, ToPath(path), d_state.options, [this](int p) { d_progress->setValue(p); });
    QApplication::restoreOverrideCursor();
    d_progress->hide();
    if (result.fileMissing) d_state.options.loadlast = 0;

    bool take = result.ok;
    // Line 1 is the signature: a file damaged there holds nothing worth taking.
    if (!result.ok && result.damagedLine > 2) {
        Question q;
        q.title = "Open";
        q.text = result.message + "\n\nLines 1 to " + std::to_string(result.damagedLine - 1) +
                 " could be read. Open the part that was read?";
        q.buttons = Question::Buttons::YesNo;
        take = d_prompter.ask(this, q) == Answer::Yes;
        if (!take) statusBar()->showMessage(tr("Not opened: %1").arg(path), 8000);
    } else if (!result.ok) {
        d_prompter.tell(this, tr("Open"), path + QStringLiteral("\n\n") + L1(result.message),
                        NoticeIcon::Critical);
    }
    if (!take) return false;

    d_state.image = std::move(image);
    // A part of a file matches no file: saving must ask for a name.
    setFileName(result.ok ? path : kUntitled);
    d_editor.resetAfterNewImage();
    // The table is the file now: edits the user chose to drop are no longer pending. A part
    // of a file matches no file.
    d_editor.setModified(!result.ok);
    if (d_state.options.option9() == 1)
        for (const ReadTag& t : result.tags) d_editor.tags().offer(t.bank, t.tag);
    updateBankLabels();
    refreshGrid();
    return result.ok;
}

namespace {

// The one local MEM file a drag carries, or nothing.
QString DroppedMemFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return {};
    const QUrl url = mime->urls().front();
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    return IsOpenableMemName(path.toStdString()) ? path : QString();
}

}  // namespace

void MemTab::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedMemFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MemTab::dropEvent(QDropEvent* event) {
    const QString path = DroppedMemFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    d_grid->commitEdit();
    if (askBeforeLoss()) openMemFile(path);
}

void MemTab::reloadLastFile() {
    FileNotes notes;
    const std::string last = ReadLastFile(d_state.folder, &notes);
    if (!notes.empty())
        d_prompter.tell(this, tr("Open"),
                        L1(DescribeFileNotes("The last file cannot be opened again:", notes)),
                        NoticeIcon::Warning);
    if (last.empty()) return;
    openMemFile(QString::fromStdString(last));
}

void MemTab::scheduleStartupReload() {
    if (d_state.options.loadlast == 1)
        QTimer::singleShot(kStartupReloadMs, this, &MemTab::reloadLastFile);
}

void MemTab::tellStartupNotes() {
    if (d_state.startupNotes.empty()) return;
    const FileNotes notes = std::exchange(d_state.startupNotes, {});
    d_prompter.tell(
        this, tr("Settings"),
        L1(DescribeFileNotes("These files could not be used; the defaults stand:", notes)),
        NoticeIcon::Warning);
}

bool MemTab::queryUnload() {
    if (d_state.options.option[4] == 0) {
        Question q;
        q.title = "Exit";
        q.text = "Exit VEXA?";
        q.buttons = Question::Buttons::OkCancel;
        q.warning = false;
        if (d_prompter.ask(this, q) != Answer::Yes) return false;
    }
    if (d_editor.modified()) {
        Question q;
        q.title = "Warning";
        q.text = "Save data?";
        q.buttons = Question::Buttons::YesNoCancel;
        switch (d_prompter.ask(this, q)) {
            case Answer::Cancel:
                return false;
            case Answer::No:
                break;
            case Answer::Yes:
                // Not saved after all (dialog cancelled, write failed): stay open.
                if (!fileSave()) return false;
                break;
        }
    }
    d_editor.store();
    NormaliseTable(d_state.image, d_state.options);
    // Failures are told once, with those of the state files, when the window ends.
    d_exitProblems.clear();
    const MemWriteResult last =
        WriteMemFile(d_state.image, d_state.folder / std::string(kLastUsedName), d_state.options);
    if (!last) d_exitProblems.push_back({last.path, last.error});
    if (d_state.options.loadlast == 1 && !d_fileName.startsWith(kUntitled)) {
        const WriteResult written = WriteLastFile(d_state.folder, d_fileName.toStdString());
        if (!written)
            d_exitProblems.push_back({d_state.folder / std::string(kLastFileName), written.error});
    }
    return true;
}

void MemTab::formUnload() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ExitState exit;
    if (d_state.options.window == 1) {
        const QRect g = normalGeometry().isValid() ? normalGeometry() : geometry();
        exit.placement = WindowPlacement{g.x() * kTwipsPerPixel, g.y() * kTwipsPerPixel,
                                         g.width() * kTwipsPerPixel, g.height() * kTwipsPerPixel};
    }
    for (int field = 1; field <= kGridColumns; ++field)
        exit.columnWidths.push_back(
            d_grid->horizontalHeader()->sectionSize(BankGridModel::columnOf(field)) *
            kTwipsPerPixel);
    FileNotes failed = std::exchange(d_exitProblems, {});
    for (FileNote& note : WriteStateAtExit(d_state, exit)) failed.push_back(std::move(note));
    QApplication::restoreOverrideCursor();
    if (!failed.empty())
        d_prompter.tell(this, tr("Exit"),
                        L1(DescribeFileNotes("These files could not be written; what they keep "
                                             "between runs is lost:",
                                             failed)),
                        NoticeIcon::Warning);
}

}  // namespace vex::gui
