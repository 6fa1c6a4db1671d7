// Shared by the main window's tests: a prompter that answers from a script and records what was
// asked, a runner that hands each child window to the test, a window set up in a temporary
// program folder, and typing into the focused widget.
#pragma once

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "gui/dialog_runner.h"
#include "gui/memtab.h"

namespace vex::gui::test {

class ScriptedPrompter : public Prompter {
  public:
    std::deque<Answer> answers;     // given to ask() in order
    std::deque<QString> openNames;  // given to openFileName() in order ("" = cancelled)
    std::deque<QString> saveNames;  // given to saveFileName() in order
    QStringList asked;              // titles and texts of every question, "title|text"
    QStringList told;               // "title|text" of every notice
    QList<NoticeIcon> icons;        // the icon of every notice
    int unexpected = 0;             // questions or dialogs nobody scripted
    QString lastFilter;             // the filter of the last file dialog

    Answer ask(QWidget*, const Question& q) override {
        asked << QString::fromLatin1(q.title.c_str()) + '|' + QString::fromLatin1(q.text.c_str());
        return next(answers, Answer::Cancel);
    }
    void tell(QWidget*, const QString& title, const QString& text, NoticeIcon icon) override {
        told << title + '|' + text;
        icons.push_back(icon);
    }
    QString openFileName(QWidget*, const QString&, const QString& filter) override {
        lastFilter = filter;
        return next(openNames, QString());
    }
    QString saveFileName(QWidget*, const QString&, const QString& filter) override {
        lastFilter = filter;
        return next(saveNames, QString());
    }

  private:
    // The next scripted reply; one nobody scripted counts as unexpected and cancels.
    template <typename T>
    T next(std::deque<T>& script, T cancelled) {
        if (script.empty()) {
            ++unexpected;
            return cancelled;
        }
        T reply = script.front();
        script.pop_front();
        return reply;
    }
};

// Runs each child window the main window opens through the next scripted act, at once: the act
// works the window as a user would and closes it. A window that closes itself when its work
// ends (a read) is waited for; one nobody scripted runs as it would for the user.
class ScriptedDialogs : public DialogRunner {
  public:
    std::deque<std::function<void(QWidget*)>> acts;  // one per modal window, in order
    QStringList opened;                              // object names of every window run or shown
    int leftOpen = 0;                                // windows an act did not close

    int exec(QDialog& dialog) override {
        opened << dialog.objectName();
        if (acts.empty()) return DialogRunner::exec(dialog);
        const auto act = std::move(acts.front());
        acts.pop_front();
        dialog.show();
        act(&dialog);
        if (!QTest::qWaitFor([&dialog] { return !dialog.isVisible(); }, 20000)) {
            ++leftOpen;
            dialog.reject();
        }
        return dialog.result();
    }
    void show(QWidget& window) override {
        opened << window.objectName();
        DialogRunner::show(window);
    }
};

// A window over a fresh image in its own temporary program folder.
struct Fixture {
    QTemporaryDir dir;
    AppState state;
    ScriptedPrompter prompter;
    ScriptedDialogs dialogs;
    std::unique_ptr<MemTab> window;

    explicit Fixture(const std::function<void(AppState&)>& tweak = {}) {
        LoadStartupState(std::filesystem::path(dir.path().toStdString()), state);
        state.options.round = 0;      // raster rounding on, so the rules show
        state.options.option[4] = 1;  // no "Exit VEXA?" unless a test asks for it
        if (tweak) tweak(state);
        window = std::make_unique<MemTab>(state, prompter);
        window->setDialogRunner(dialogs);
        window->show();
        QApplication::setActiveWindow(window.get());
        window->grid()->setFocus();
    }
    std::filesystem::path folder() const { return state.folder; }
    QString path(const QString& name) const { return dir.filePath(name); }

    BankGridView* grid() const { return window->grid(); }
    QString cell(int row, int field) const {
        return grid()->model()->index(row - 1, field - 1).data().toString();
    }
    void setCurrent(int row, int field) const {
        grid()->setCurrentIndex(grid()->model()->index(row - 1, field - 1));
    }
    void selectBlock(int r0, int r1, int f0, int f1) const {
        Selection s;
        s.firstRow = s.currentRow = r0;
        s.lastRow = r1;
        s.firstField = s.currentField = f0;
        s.lastField = f1;
        grid()->selectBlock(s);
    }
    // Types into whatever has the focus, as a user would: the first key opens the edit box.
    void type(const QString& text) const {
        for (QChar ch : text) {
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : grid();
            QTest::keyClick(target, ch.toLatin1());
        }
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) const {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : grid();
        QTest::keyClick(target, k, m);
    }
    // Types a value into a cell and presses Enter.
    void enter(int row, int field, const QString& text) const {
        setCurrent(row, field);
        grid()->setFocus();
        type(text);
        key(Qt::Key_Return);
    }
    QAction* action(const char* name) const {
        return window->findChild<QAction*>(QString::fromLatin1(name));
    }
    void trigger(const char* name) const {
        QAction* a = action(name);
        QVERIFY2(a, name);
        a->trigger();
    }
    const Channel& channel(int bank, int slot) const { return state.image.channel(bank, slot); }
    // Runs the command `name` with `act` working the modal window it opens.
    void triggerWith(const char* name, std::function<void(QWidget*)> act) {
        dialogs.acts.push_back(std::move(act));
        trigger(name);
    }
};

inline bool WriteTestFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

inline QByteArray ReadTestFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Channel n of the simulated scanner's memory below, as the table holds it.
inline std::string SimulatorFrequency(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d.%04d", 150 + n * 125 / 10000, n * 125 % 10000);
    return text;
}

// A memory file for the scanner simulator: channels 1..250 at 150.0000 + n * 0.0125 MHz.
inline std::string SimulatorMemoryFile() {
    std::string text = "BCT8SIM MEMORY 1\n";
    for (int n = 1; n <= 250; ++n) {
        char line[64];
        std::snprintf(line, sizeof line, "CH %03d %08d TF DN LF\n", n, 1500000 + n * 125);
        text += line;
    }
    return text;
}

// Data tables: one row per entry of `rows`, named by its `name`; the test takes its row back.
template <typename Row, std::size_t N>
void AddRows(const Row (&rows)[N]) {
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < N; ++i) QTest::addRow("%s", rows[i].name) << int(i);
}
template <typename Row, std::size_t N>
const Row& FetchRow(const Row (&rows)[N]) {
    return rows[*static_cast<int*>(QTest::qData("row", qMetaTypeId<int>()))];
}

}  // namespace vex::gui::test
