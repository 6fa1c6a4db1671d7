// The software setup dialog and the default-data dialog, through their controls, and what the
// options do to the main window once confirmed.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include "gui/defdata.h"
#include "gui/memtab_support.h"
#include "gui/softoptions.h"
#include "settings/state_files.h"

using namespace vex;
using namespace vex::gui;
using namespace vex::gui::test;

class SoftOptionsTest : public QObject {
    Q_OBJECT
  private slots:
    void okWithoutChangesAndCancelKeepEveryOptionAndTheBackupLabelFollows() {
        Options options;
        options.model = 2;  // not in the list
        options.vcstat = 1;
        options.backupdelay = 45;
        options.align = 2;
        options.option[9] = 1;
        const Options before = options;
        Image image;
        SoftOptions(options, image).accept();
        QVERIFY(options == before);
        SoftOptions cancelled(options, image);
        cancelled.findChild<QCheckBox*>("zero")->setChecked(true);
        cancelled.findChild<QScrollBar*>("backupdelay")->setValue(7);
        cancelled.reject();
        QVERIFY(options == before);

        // The backup delay's label follows its scroll bar.
        SoftOptions dialog(options, image);
        auto* bar = dialog.findChild<QScrollBar*>("backupdelay");
        auto* label = dialog.findChild<QLabel*>("backupLabel");
        QCOMPARE(label->text(), QString("45 Minutes."));
        for (auto [value, shown] :
             {std::pair{1, "1 Minute."}, {2, "2 Minutes."}, {500, "99 Minutes."}}) {
            bar->setValue(value);
            QCOMPARE(label->text(), QString(shown));
        }
        dialog.accept();
        QCOMPARE(options.backupdelay, 99);
    }

    void checkBoxesWriteTheirOptions_data() {
        QTest::addColumn<QString>("box");
        for (const char* key :
             {"infob",    "linkbank", "smart",   "zero",      "loadlast", "window",  "shiftdir",
              "tabwidth", "ffont",    "option9", "savenames", "cleartag", "remtags", "delid",
              "vcstat",   "vpos",     "vstart",  "qview",     "vcm",      "backena"})
            QTest::newRow(key) << QString::fromLatin1(key);
    }

    void checkBoxesWriteTheirOptions() {
        QFETCH(QString, box);
        Options options;
        Image image;
        const Options before = options;
        SoftOptions dialog(options, image);
        auto* check = dialog.findChild<QCheckBox*>(box);
        QVERIFY(check);
        check->setChecked(!check->isChecked());
        dialog.accept();
        QVERIFY(!(options == before));
        // Exactly that option flipped: flipping it back gives the defaults again.
        SoftOptions again(options, image);
        check = again.findChild<QCheckBox*>(box);
        check->setChecked(!check->isChecked());
        again.accept();
        QVERIFY(options == before);
    }

    void defaultDataFromTheMenuIsWrittenAndCancelKeepsIt() {
        Fixture f;
        f.dialogs.acts.push_back([](QWidget* window) {
            auto* dialog = qobject_cast<DefData*>(window);
            QVERIFY(dialog);
            auto* trunk = dialog->findChild<QComboBox*>("value_trunk");
            QCOMPARE(trunk->currentText(), QString("Off"));
            QCOMPARE(dialog->findChild<QComboBox*>("value_delay")->currentText(), QString("On"));
            dialog->findChild<QCheckBox*>("use_delay")->setChecked(false);
            trunk->setCurrentIndex(1);
            dialog->accept();
        });
        f.trigger("setdef");
        QCOMPARE(f.state.defaults.use[1], 0);
        QCOMPARE(f.state.defaults.value[0], 1);
        // Written for the next start (the file's form is the settings tests').
        QVERIFY(ReadDefaultData(f.state.folder) == f.state.defaults);
        DefaultData unchanged;
        DefData cancelled(unchanged);
        cancelled.findChild<QComboBox*>("value_trunk")->setCurrentIndex(1);
        cancelled.reject();
        QVERIFY(unchanged == DefaultData{});
    }

    // "Reset Trunk Systems" takes effect at once: a cancel afterwards does not undo it.
    void resetFromTheMenuStaysAfterCancelAndMarksTheTableModified() {
        Fixture f;
        f.state.image.TrunkType.fill(std::string(1, '2'));
        QVERIFY(!f.window->editor().modified());
        f.dialogs.acts.push_back([](QWidget* window) {
            auto* dialog = qobject_cast<SoftOptions*>(window);
            QVERIFY(dialog);
            QTest::mouseClick(dialog->findChild<QPushButton*>("resetTrunk"), Qt::LeftButton);
            dialog->reject();
        });
        f.trigger("soft_options");
        for (const auto& type : f.state.image.TrunkType)
            QCOMPARE(QString::fromStdString(type), QString("0"));
        QVERIFY(f.window->editor().modified());
    }
};

QTEST_MAIN(SoftOptionsTest)
#include "softoptions.moc"
