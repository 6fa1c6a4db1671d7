// The menus, toolbars and popup menu of the main window. Each entry is one addCommand line; a
// menu whose entries all live in windows not part of the program stays hidden.
#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "gui/banknames.h"
#include "gui/comparemenu.h"
#include "gui/easyprog.h"
#include "gui/frmimportrr.h"
#include "gui/icons.h"
#include "gui/iomenu.h"
#include "gui/lcd8.h"
#include "gui/memtab.h"
#include "gui/other82.h"
#include "gui/printie.h"
#include "gui/priority.h"
#include "gui/toolsmenu.h"
#include "gui/trunkmenu.h"

namespace vex::gui {

QAction* MemTab::addCommand(QMenu* menu, const QString& caption, const char* name,
                            std::function<void()> run, const QKeySequence& key) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) action->setShortcut(key);
    // Shortcuts work anywhere in the window, also while the grid has the focus.
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, run = std::move(run)] {
        d_grid->commitEdit();
        run();
    });
    if (menu) {
        menu->addAction(action);
        menu->menuAction()->setVisible(true);
    }
    addAction(action);
    return action;
}

void MemTab::buildMenus() {
    QMenuBar* bar = menuBar();
    auto make = [&](Menu which, const QString& title, const char* name) {
        QMenu* m = new QMenu(title, this);
        m->setObjectName(QString::fromLatin1(name));
        d_menus[static_cast<std::size_t>(which)] = m;
        return m;
    };
    QMenu* file = make(Menu::File, tr("&File"), "menuFile");
    QMenu* import = make(Menu::Import, tr("&Import"), "menuImport");
    QMenu* edit = make(Menu::Edit, tr("&Edit"), "menuEdit");
    QMenu* view = make(Menu::View, tr("&View"), "menuView");
    QMenu* options = make(Menu::Options, tr("&Options"), "menuOptions");
    QMenu* bct8 = make(Menu::Bct8, tr("&BCT8"), "menuBct8");
    QMenu* trunk = make(Menu::Trunk, tr("&Trunk"), "menuTrunk");
    QMenu* internet = make(Menu::Internet, tr("&Internet"), "menuInternet");
    QMenu* setup = make(Menu::Setup, tr("&Setup"), "menuSetup");
    QMenu* help = make(Menu::Help, tr("&Help"), "menuHelp");

    // File
    addCommand(
        file, tr("&New"), "menunew", [this] { fileNew(); }, QKeySequence::New);
    addCommand(
        file, tr("&Open"), "tabopen", [this] { fileOpen(); }, QKeySequence::Open);
    addCommand(
        file, tr("&Save"), "savenu", [this] { fileSave(); }, QKeySequence::Save);
    addCommand(
        file, tr("Save &As"), "tabsaveas", [this] { fileSaveAs(); },
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator();
    file->addMenu(import);
    addCommand(import, tr("Import CSV File"), "imp_csv2", [this] { OpenCsvMapper(*this); });
    addCommand(import, tr("Import ICF File &Advanced..."), "impadv",
               [this] { OpenIcfImport(*this); });
    addCommand(import, tr("Frequencies from MEM File..."), "imp_ic2",
               [this] { OpenSiblingChannels(*this); });
    addCommand(import, tr("Trunk ID's and Tags from MEM file"), "imp_trtags",
               [this] { OpenSiblingTrunkIds(*this); });
    addCommand(import, tr("Channels from CSV File..."), "imp_csvchannels",
               [this] { ImportCsvChannels(*this); });
    addCommand(file, tr("Open PELIXO mem file"), "open_780file", [this] { fileOpenSibling(); });
    addCommand(file, tr("&Export CSV Data"), "expcsv", [this] { OpenCsvExport(*this); });
    addCommand(file, tr("&Advanced Data Import"), "imp_csv", [this] { OpenDataImport(*this); });
    addCommand(file, tr("Netscoop"), "catch", [this] { OpenNetscoop(*this); });
    addCommand(file, tr("Co&mpare With..."), "compare_file", [this] { CompareWithFile(*this); });
    file->addSeparator();
    addCommand(
        file, tr("&Print..."), "menuprint", [this] { OpenPrintie(*this); }, QKeySequence::Print);
    file->addSeparator();
    addCommand(
        file, tr("E&xit"), "exit_tab", [this] { close(); }, QKeySequence::Quit);

    // Edit
    d_undoAction = addCommand(
        edit, tr("&Undo"), "tabundo", [this] { cmdUndo(); }, QKeySequence::Undo);
    d_redoAction = addCommand(edit, tr("&Redo"), "tabredo", [this] { cmdRedo(); });
    d_redoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addSeparator();
    addCommand(
        edit, tr("Cu&t"), "tab_cut", [this] { cmdCut(); }, QKeySequence::Cut);
    addCommand(
        edit, tr("&Copy"), "tab_copy", [this] { cmdCopy(); }, QKeySequence::Copy);
    addCommand(
        edit, tr("&Paste"), "tab_paste", [this] { cmdPaste(); }, QKeySequence::Paste);
    addCommand(
        edit, tr("&Delete"), "tab_delete", [this] { cmdDelete(); }, QKeySequence(Qt::Key_Delete));
    edit->addSeparator();
    addCommand(
        edit, tr("Cut Line(s)"), "cut_line", [this] { cmdCutLines(); },
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_X));
    addCommand(
        edit, tr("Copy Line(s)"), "copy_line", [this] { cmdCopyLines(); },
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    addCommand(
        edit, tr("Paste Line(s)"), "paste_line", [this] { cmdPasteLines(); },
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    edit->addSeparator();
    addCommand(edit, tr("Copy/Move/Swap Memory &Channels"), "copy_channhels",
               [this] { OpenMemoryManager(*this, false); });
    addCommand(edit, tr("Copy/Move/Swap Memory &Banks"), "swapbanks",
               [this] { OpenMemoryManager(*this, true); });
    edit->addSeparator();
    d_shiftUp = addCommand(edit, tr("Shift Channel Up"), "edit_shiftup",
                           [this] { cmdShift(ShiftDirection::Up); });
    d_shiftDown = addCommand(edit, tr("Shift Channel Down"), "edit_shiftdown",
                             [this] { cmdShift(ShiftDirection::Down); });
    addCommand(
        edit, tr("Select &All"), "tabselect", [this] { cmdSelectAll(); }, QKeySequence::SelectAll);
    edit->addSeparator();
    addCommand(
        edit, tr("&Find..."), "menufind", [this] { OpenFind(*this); }, QKeySequence::Find);
    addCommand(
        edit, tr("Replace"), "menu_repl", [this] { OpenReplace(*this); },
        QKeySequence(Qt::CTRL | Qt::Key_H));
    edit->addSeparator();
    addCommand(edit, tr("C&lear Current Bank"), "menucreate", [this] { cmdClearBank(); });

    // View
    auto* banks = new QActionGroup(this);
    for (int bank = 0; bank < kBankCount; ++bank) {
        QAction* a = addCommand(
            view, QString(), "bk0", [this, bank] { selectBank(bank); },
            QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + bank)));
        a->setObjectName(QStringLiteral("bk0_%1").arg(bank));
        a->setCheckable(true);
        banks->addAction(a);
        d_bankActions[bank] = a;
    }
    view->addSeparator();
    addCommand(
        view, tr("&Next Bank"), "bank_next",
        [this] { selectBank((d_editor.currentBank() + 1) % kBankCount); },
        QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    addCommand(
        view, tr("&Previous Bank"), "bank_previous",
        [this] { selectBank((d_editor.currentBank() + kBankCount - 1) % kBankCount); },
        QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    view->addSeparator();
    d_toolbarToggle = addCommand(view, tr("Toolbar"), "mnu_toolb", [this] {
        d_state.options.toolbar = d_toolbarToggle->isChecked() ? 1 : 0;
        d_toolbar1->setVisible(d_state.options.toolbar == 1);
        d_toolbar2->setVisible(d_state.options.toolbar == 1);
    });
    d_toolbarToggle->setCheckable(true);
    d_helpBarToggle = addCommand(view, tr("&Help Bar"), "mnu_helpbar", [this] {
        d_state.options.helpbar = d_helpBarToggle->isChecked() ? 1 : 0;
        d_helpBar->setVisible(d_state.options.helpbar == 1);
    });
    d_helpBarToggle->setCheckable(true);

    // Options
    addCommand(
        options, tr("&Clear Selected Lines"), "memtab_delline", [this] { cmdClearLines(); },
        QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    addCommand(
        options, tr("&Insert Empty Line"), "memtab_inslin", [this] { cmdInsertLine(); },
        QKeySequence(Qt::Key_Insert));
    addCommand(options, tr("Remove &All Empty Lines"), "memtab_remlines",
               [this] { cmdRemoveEmptyLines(); });
    addCommand(
        options, tr("&Remove Selected Lines"), "memtab_shiftup", [this] { cmdRemoveLines(); },
        QKeySequence(Qt::CTRL | Qt::Key_Delete));
    options->addSeparator();
    addCommand(
        options, tr("&Fill Down"), "menu_fd", [this] { cmdFillDown(); },
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    addCommand(
        options, tr("Fill Series"), "menu_fs", [this] { cmdFillSeries(); },
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    addCommand(options, tr("&Easy Fill"), "tabeasy", [this] { OpenEasyFill(*this); });
    options->addSeparator();
    addCommand(options, tr("Show Bank Empty Status"), "emptystatus", [this] { cmdEmptyStatus(); });
    QMenu* dupl = options->addMenu(tr("Find &Duplicate Channels"));
    dupl->setObjectName("menuDuplicates");
    addCommand(dupl, tr("in Current Bank"), "fd_curbank",
               [this] { cmdDuplicates(DuplicateScope::CurrentBank); });
    addCommand(dupl, tr("in All Banks"), "fd_allbanks",
               [this] { cmdDuplicates(DuplicateScope::AllBanks); });
    // This scanner's channels carry no subtone, so "Including Subtone" finds what the plain
    // search finds; it stays for those who look for it.
    addCommand(dupl, tr("Including Subtone"), "find_duplisub",
               [this] { cmdDuplicates(DuplicateScope::CurrentBank); });
    addCommand(options, tr("Remove D&uplicate Channels"), "remove_dupli",
               [this] { cmdRemoveDuplicates(); });
    QMenu* sort = options->addMenu(tr("&Sort by Frequency"));
    sort->setObjectName("menuSort");
    addCommand(sort, tr("&Ascending"), "sort_allb", [this] { cmdSort(SortOrder::Ascending); });
    addCommand(sort, tr("&Descending"), "sort_rangedown",
               [this] { cmdSort(SortOrder::Descending); });
    options->addSeparator();
    addCommand(
        options, tr("Check &Data In Table"), "checktab", [this] { cmdCheckData(); },
        QKeySequence(Qt::Key_F9));
    QMenu* bandplan = options->addMenu(tr("Check Table using &Bandplan"));
    bandplan->setObjectName("menuBandplan");
    addCommand(bandplan, tr("Current Bank"), "runband1",
               [this] { cmdCheckBandplan(DuplicateScope::CurrentBank); });
    addCommand(bandplan, tr("All Banks"), "runband2",
               [this] { cmdCheckBandplan(DuplicateScope::AllBanks); });
    QMenu* tagOptions = options->addMenu(tr("Table Tags Options"));
    tagOptions->setObjectName("menuTagOptions");
    addCommand(tagOptions, tr("Center Memory Tags"), "center_tags", [this] { cmdCenterTags(); });
    addCommand(tagOptions, tr("Remove Leading Spaces"), "rem_space",
               [this] { cmdRemoveLeadingSpaces(); });

    // Trunk
    addCommand(trunk, tr("&ID List"), "mnu_idlist", [this] { OpenTrunkIdList(*this); });
    addCommand(trunk, tr("&System Settings"), "trunkset", [this] { OpenTrunkSettings(*this); });

    // BCT8
    addCommand(
        bct8, tr("&Read Data From Scanner"), "menread", [this] { cmdReadData(); },
        QKeySequence(Qt::CTRL | Qt::Key_R));
    addCommand(
        bct8, tr("&Send Data To Scanner"), "memsend", [this] { cmdSendData(); },
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    addCommand(bct8, tr("Send C&hanges"), "send_changes", [this] { SendChanges(*this); });
    addCommand(bct8, tr("Co&mpare With Scanner"), "compare_scanner",
               [this] { CompareWithScanner(*this); });
    bct8->addSeparator();
    addCommand(bct8, tr("&Virtual Control"), "vc", [this] { OpenVirtualControl(*this); });
    d_directTuneAction = addCommand(bct8, tr("Direct Tune"), "ditun",
                                    [this] { setDirectTune(d_directTuneAction->isChecked()); });
    d_directTuneAction->setCheckable(true);
    bct8->addSeparator();
    addCommand(bct8, tr("Priority Channels"), "mnu_prioch",
               [this] { OpenPriorityChannels(*this); });
    addCommand(bct8, tr("&Other Options"), "other82", [this] { OpenScannerSettings(*this); });
    addCommand(bct8, tr("&Easy program"), "setdelay", [this] { OpenEasyProgram(*this); });
    addCommand(bct8, tr("Rs232 &Communication Setup"), "comset", [this] { cmdComSetup(); });

    // Internet
    addCommand(internet, tr("Frequency Database Webservice"), "imp_rrs",
               [this] { OpenDatabaseImport(*this); });

    // Setup
    addCommand(setup, tr("&Bank Tags"), "tbtags", [this] { OpenBankNames(*this); });
    addCommand(setup, tr("&Active Banks"), "set_search", [this] { OpenActiveBanks(*this); });
    addCommand(setup, tr("Setup &Default Data"), "setdef", [this] { cmdDefaultData(); });
    addCommand(setup, tr("&Software Options"), "soft_options", [this] { cmdSoftwareOptions(); });

    // Help
    addCommand(
        help, tr("&Contents"), "help_edit", [this] { cmdUserGuide(); }, QKeySequence::HelpContents);
    addCommand(help, tr("Read User Manual"), "open_manaul", [this] {
        // A manual of the user's own in the program folder wins; else the guide that ships.
        const auto manual = d_state.folder / "Manual" / "vexa.pdf";
        if (std::filesystem::is_regular_file(manual)) {
            cmdOpenProgramFile("Manual/vexa.pdf", tr("user manual"));
        } else {
            cmdUserGuide();
        }
    });
    addCommand(help, tr("&Keyboard Shortcuts"), "shortkey", [this] { cmdKeyboardShortcuts(); });
    help->addSeparator();
    addCommand(help, tr("&About"), "hpabout", [this] { cmdAbout(); });

    for (QMenu* m : {file, edit, view, options, bct8, trunk, internet, setup, help}) {
        bar->addMenu(m);
        // Menus fill up as their windows join the program; an empty one is not shown.
        m->menuAction()->setVisible(!m->actions().isEmpty());
    }
    import->menuAction()->setVisible(!import->actions().isEmpty());
}

void MemTab::buildToolbars() {
    auto findAction = [this](const char* name) {
        return findChild<QAction*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    };
    // The button shows the command's icon (applyIcons) and a tip naming its shortcut.
    auto button = [&](QToolBar* bar, const char* name, const QString& tip) {
        QAction* a = findAction(name);
        if (!a) return;
        if (a->isCheckable()) {
            bar->addAction(a);  // the button shows the toggle's state
            setShortcutToolTip(a, a, tip);
            return;
        }
        // The toolbar shows its own tip; the menu keeps the menu caption.
        auto* proxy = new QAction(a->icon(), tip, bar);
        proxy->setObjectName(QStringLiteral("tb_") + QString::fromLatin1(name));
        setShortcutToolTip(proxy, a, tip);
        connect(proxy, &QAction::triggered, a, &QAction::trigger);
        bar->addAction(proxy);
    };

    d_toolbar1 = addToolBar(tr("Toolbar"));
    d_toolbar1->setObjectName("Toolbar1");
    d_toolbar1->setIconSize(QSize(20, 20));
    button(d_toolbar1, "exit_tab", tr("Exit"));
    button(d_toolbar1, "tabopen", tr("Open"));
    button(d_toolbar1, "savenu", tr("Save"));
    button(d_toolbar1, "tabundo", tr("Undo"));
    button(d_toolbar1, "tabredo", tr("Redo"));
    d_toolbar1->addSeparator();
    button(d_toolbar1, "tab_cut", tr("Cut"));
    button(d_toolbar1, "tab_copy", tr("Copy"));
    button(d_toolbar1, "tab_paste", tr("Paste"));
    button(d_toolbar1, "copy_channhels", tr("Copy/Move/Swap Channels"));
    button(d_toolbar1, "swapbanks", tr("Copy/Move/Swap Banks"));
    d_toolbar1->addSeparator();
    button(d_toolbar1, "memtab_delline", tr("Clear selected lines"));
    button(d_toolbar1, "memtab_inslin", tr("Insert empty line"));
    button(d_toolbar1, "memtab_remlines", tr("Remove empty lines"));
    button(d_toolbar1, "memtab_shiftup", tr("Remove lines and shift up"));
    button(d_toolbar1, "tab_delete", tr("Clear selected area"));
    button(d_toolbar1, "menu_fd", tr("Fill down"));
    button(d_toolbar1, "menu_fs", tr("Fill series"));
    button(d_toolbar1, "checktab", tr("Check data in table"));
    d_toolbar1->addSeparator();
    button(d_toolbar1, "menread", tr("Read data from scanner"));
    button(d_toolbar1, "memsend", tr("Send data to scanner"));
    auto* popupHint = new QAction(themedIcon("vexatron-popup-hint"), tr("Popup menu"), this);
    popupHint->setObjectName("tb_popuphint");
    connect(popupHint, &QAction::triggered, this, [this] {
        d_prompter.tell(this, tr("Vexatron"),
                        tr("Use right mouse button click in grid to show the popup menu"),
                        NoticeIcon::Information);
    });
    d_toolbar1->addAction(popupHint);
    button(d_toolbar1, "open_manaul", tr("Read user manual"));

    addToolBarBreak();
    d_toolbar2 = addToolBar(tr("Toolbar 2"));
    d_toolbar2->setObjectName("Toolbar2");
    d_toolbar2->setIconSize(QSize(20, 20));
    button(d_toolbar2, "menuprint", tr("Print option"));
    button(d_toolbar2, "imp_csv", tr("Advanced Data Import"));
    button(d_toolbar2, "catch", tr("Netscoop"));
    button(d_toolbar2, "ditun", tr("Direct Tune"));
    button(d_toolbar2, "vc", tr("Virtual Control Panel"));
    button(d_toolbar2, "cut_line", tr("Cut Line(s)"));
    button(d_toolbar2, "copy_line", tr("Copy Line(s)"));
    button(d_toolbar2, "paste_line", tr("Paste Line(s)"));
    button(d_toolbar2, "menucreate", tr("Clear sheet"));
    button(d_toolbar2, "center_tags", tr("Center memory tags"));
    button(d_toolbar2, "sort_allb", tr("Sort Ascending"));
    button(d_toolbar2, "sort_rangedown", tr("Sort Decending"));
    button(d_toolbar2, "fd_curbank", tr("Find Duplicates"));
    button(d_toolbar2, "remove_dupli", tr("Remove Duplicates"));
    button(d_toolbar2, "tabeasy", tr("EasyFill"));
    button(d_toolbar2, "menufind", tr("Find"));
    button(d_toolbar2, "checktab", tr("Check data is valid"));
    button(d_toolbar2, "tbtags", tr("Setup bank tags"));
    button(d_toolbar2, "soft_options", tr("Software setup"));
    button(d_toolbar2, "edit_shiftdown", tr("Shift Channel Down"));
    button(d_toolbar2, "edit_shiftup", tr("Shift Channel up"));
}

void MemTab::buildPopup() {
    d_popup = new QMenu(this);
    d_popup->setObjectName("tabpop");
    auto item = [this](const QString& caption, const char* name) {
        QAction* a = findChild<QAction*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
        if (!a) return;
        // The shortcut is shown, not bound a second time.
        const QString key = a->shortcut().toString(QKeySequence::NativeText);
        QAction* p = d_popup->addAction(key.isEmpty() ? caption : caption + '\t' + key);
        connect(p, &QAction::triggered, a, &QAction::trigger);
    };
    item(tr("Cut"), "tab_cut");
    item(tr("Copy"), "tab_copy");
    item(tr("Paste"), "tab_paste");
    item(tr("Delete"), "tab_delete");
    d_popup->addSeparator();
    item(tr("Cut Line"), "cut_line");
    item(tr("Copy Line"), "copy_line");
    item(tr("Paste Line"), "paste_line");
    d_popup->addSeparator();
    item(tr("Clear Selected Lines"), "memtab_delline");
    item(tr("Insert Line"), "memtab_inslin");
    item(tr("Remove Selected Lines"), "memtab_shiftup");
    item(tr("Shift Channel Up"), "edit_shiftup");
    item(tr("Shift Channel Down"), "edit_shiftdown");
    d_popup->addSeparator();
    item(tr("Easy Fill"), "tabeasy");
    item(tr("Fill Down"), "menu_fd");
}

}  // namespace vex::gui
