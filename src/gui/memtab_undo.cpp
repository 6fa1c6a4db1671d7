// Undo and redo in the main window: the Edit menu entries named after the step they take back
// or make again, and what the window shows afterwards.
#include <QAction>
#include <QStatusBar>
#include <QTabBar>

#include "gui/icons.h"
#include "gui/memtab.h"

namespace vex::gui {

void MemTab::cmdUndo() {
    const QString name = L1(d_editor.history().undoName());
    if (!d_editor.undo()) {
        statusBar()->showMessage(tr("Nothing to undo."), 4000);
        return;
    }
    // The step may have been made in another bank, or have changed bank tags.
    selectBank(d_editor.currentBank());
    statusBar()->showMessage(tr("Undone: %1").arg(name), 4000);
}

void MemTab::cmdRedo() {
    const QString name = L1(d_editor.history().redoName());
    if (!d_editor.redo()) {
        statusBar()->showMessage(tr("Nothing to redo."), 4000);
        return;
    }
    selectBank(d_editor.currentBank());
    statusBar()->showMessage(tr("Redone: %1").arg(name), 4000);
}

void MemTab::updateUndoActions() {
    if (!d_undoAction || !d_redoAction) return;
    const UndoHistory& history = d_editor.history();
    // A step name holding "&" must not turn into a mnemonic.
    auto caption = [](const QString& verb, const std::string& name) {
        return name.empty() ? verb : verb + ' ' + L1(name).replace('&', "&&");
    };
    d_undoAction->setText(caption(tr("&Undo"), history.undoName()));
    d_redoAction->setText(caption(tr("&Redo"), history.redoName()));
    d_undoAction->setEnabled(history.canUndo());
    d_redoAction->setEnabled(history.canRedo());
    for (QAction* a : {d_undoAction, d_redoAction}) {
        // The mnemonic goes; an "&" of the step name ("&&") stays.
        QString tip = a->text();
        tip.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove('&').replace('\x01', '&');
        const auto proxies = findChildren<QAction*>(QStringLiteral("tb_") + a->objectName());
        for (QAction* proxy : proxies) {
            setShortcutToolTip(proxy, a, tip);
            proxy->setEnabled(a->isEnabled());
        }
    }
}

void MemTab::goToChannel(int bank, int slot) {
    if (bank != d_editor.currentBank()) selectBank(bank);
    if (bank != d_editor.currentBank()) return;
    Selection s = Selection::cell(slot, kGridFrequency);
    const Selection now = d_grid->selection();
    s.firstField = s.lastField = s.currentField = now.currentField;
    d_grid->selectBlock(s);
}

}  // namespace vex::gui
