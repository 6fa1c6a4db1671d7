#include "gui/dataimport.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSet>
#include <QVBoxLayout>

#include "core/numeric.h"
#include "gui/iomenu.h"
#include "gui/memtab.h"
#include "io/freq_picker.h"
#include "io/input_file.h"

namespace vex::gui {
namespace {

constexpr std::uintmax_t kMaxTextFile = 64u << 20;

}  // namespace

DataImport::DataImport(MemTab& main, QWidget* parent) : QDialog(parent), d_main(main) {
    setObjectName("dataimport");
    setWindowTitle(tr("Advanced Data Import"));
    d_found = new QListWidget;
    d_found->setObjectName("found");
    d_chosen = new QListWidget;
    d_chosen->setObjectName("chosen");
    d_count = new QLabel;
    d_count->setObjectName("count");
    d_bank = new QComboBox;
    d_bank->setObjectName("bank");
    for (const char* b : {"1", "2", "3", "4", "5", "D"}) d_bank->addItem(QString::fromLatin1(b));
    d_bank->setCurrentIndex(std::min(main.editor().currentBank(), 5));
    d_start = new QLineEdit("1");
    d_start->setObjectName("start");
    d_start->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9./-]*"), d_start));
    d_absolute = new QLineEdit;
    d_absolute->setObjectName("absolute");
    d_absolute->setReadOnly(true);

    auto button = [this](const QString& text, const char* name, auto slot) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    const QString noneLeft = tr("Select an item from the left list.");
    const QString noneRight = tr("Select an item from the right list.");
    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(button(tr("All >>"), "allRight",
                             [this] { move(d_found, d_chosen, d_found->count(), {}); }));
    middle->addWidget(button(tr("<< All"), "allLeft",
                             [this] { move(d_chosen, d_found, d_chosen->count(), {}); }));
    middle->addWidget(
        button(tr(">>>"), "right", [this, noneLeft] { move(d_found, d_chosen, 0, noneLeft); }));
    middle->addWidget(
        button(tr("<<<"), "left", [this, noneRight] { move(d_chosen, d_found, 0, noneRight); }));
    middle->addWidget(button(tr("100 >>"), "hundred", [this] {
        move(d_found, d_chosen, std::min(100, static_cast<int>(d_found->count())), {});
    }));
    middle->addStretch();

    connect(d_found, &QListWidget::itemDoubleClicked, this,
            [this, noneLeft] { move(d_found, d_chosen, 0, noneLeft); });
    connect(d_chosen, &QListWidget::itemDoubleClicked, this,
            [this, noneRight] { move(d_chosen, d_found, 0, noneRight); });

    auto* lists = new QGridLayout;
    lists->addWidget(new QLabel(tr("Frequency data found:")), 0, 0);
    lists->addWidget(new QLabel(tr("Data selected for import:")), 0, 2);
    lists->addWidget(d_found, 1, 0);
    lists->addLayout(middle, 1, 1);
    lists->addWidget(d_chosen, 1, 2);
    lists->addWidget(button(tr("Clear ^"), "clearFound",
                            [this] {
                                d_found->clear();
                                updateCounts();
                            }),
                     2, 0);
    lists->addWidget(button(tr("Clear ^"), "clearChosen",
                            [this] {
                                d_chosen->clear();
                                updateCounts();
                            }),
                     2, 2);
    lists->addWidget(d_count, 3, 0, 1, 3);

    auto* sources = new QHBoxLayout;
    sources->addWidget(button(tr("Import From File"), "fromFile", &DataImport::importFromFile));
    sources->addWidget(
        button(tr("&Import From Clipboard"), "fromClipboard", &DataImport::importFromClipboard));
    sources->addWidget(
        button(tr("&Export To Clipboard"), "toClipboard", &DataImport::exportToClipboard));

    auto* target = new QHBoxLayout;
    target->addWidget(button(tr("Export To Table:"), "toTable", &DataImport::exportToTable));
    target->addWidget(new QLabel(tr("Bank:")));
    target->addWidget(d_bank);
    target->addWidget(new QLabel(tr("Starting at channel:")));
    target->addWidget(d_start);
    target->addWidget(d_absolute);
    target->addStretch();
    target->addWidget(button(tr("Close"), "close", &QDialog::reject));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sources);
    layout->addLayout(lists);
    layout->addWidget(new QLabel(tr("Tip: use doubleclick to move items between lists.")));
    layout->addLayout(target);
    resize(620, 520);

    connect(d_start, &QLineEdit::editingFinished, this, &DataImport::clampStart);
    connect(d_bank, &QComboBox::currentIndexChanged, this, &DataImport::clampStart);
    clampStart();
    updateCounts();
}

int DataImport::bank() const {
    return d_bank->currentIndex();  // "1".."5" are banks 0..4, "D" the Dummy bank
}

void DataImport::clampStart() {
    // The bank has channels 1 to 50; the box beside shows the channel number it stands for.
    const int start = std::clamp(IntegerValue(d_start->text().toStdString()), 1, ChannelsPerBank);
    d_start->setText(QString::number(start));
    d_absolute->setText(QString::number(AbsoluteStartChannel(bank(), start)));
}

void DataImport::updateCounts() {
    d_count->setText(
        tr("%1 entries found, %2 selected").arg(d_found->count()).arg(d_chosen->count()));
}

void DataImport::addFound(const std::string& text) {
    QSet<QString> present;
    for (int i = 0; i < d_found->count(); ++i) present.insert(d_found->item(i)->text());
    QStringList fresh;
    for (const std::string& entry : FindFrequencies(text)) {
        const QString item = L1(entry);
        if (!present.contains(item)) {
            present.insert(item);
            fresh << item;
        }
    }
    d_found->addItems(fresh);
    updateCounts();
}

void DataImport::importFromFile() {
    const QString path = d_main.prompter().openFileName(
        this, tr("Import From File"),
        tr("Text Files (*.csv *.txt *.htm *.html *.tsv);;All Files (*)"));
    if (path.isEmpty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const InputFile file = LoadInputFile(path.toStdString(), kMaxTextFile);
    if (file.ok) addFound(file.content);
    QApplication::restoreOverrideCursor();
    if (!file.ok)
        d_main.prompter().tell(this, windowTitle(), QString::fromStdString(file.error),
                               NoticeIcon::Warning);
}

void DataImport::importFromClipboard() {
    addFound(ToL1(QApplication::clipboard()->text()));
}

void DataImport::move(QListWidget* from, QListWidget* to, int count, const QString& none) {
    if (count == 0) {
        QListWidgetItem* item = from->currentItem();
        if (!item || !item->isSelected()) {
            d_main.prompter().tell(this, windowTitle(), none, NoticeIcon::Information);
            return;
        }
        to->addItem(from->takeItem(from->row(item)));
    } else {
        for (int i = 0; i < count && from->count() > 0; ++i) to->addItem(from->takeItem(0));
    }
    updateCounts();
}

std::vector<std::string> DataImport::selected() const {
    std::vector<std::string> entries;
    for (int i = 0; i < d_chosen->count(); ++i) entries.push_back(ToL1(d_chosen->item(i)->text()));
    return entries;
}

void DataImport::exportToClipboard() {
    if (d_chosen->count() == 0) {
        d_main.prompter().tell(this, "?", L1(kMsgNothingSelected), NoticeIcon::Information);
        return;
    }
    QStringList lines;
    for (const std::string& entry : selected()) lines << L1(entry);
    QApplication::clipboard()->setText(lines.join("\r\n"));
}

void DataImport::exportToTable() {
    if (d_chosen->count() == 0) {
        Question q;
        q.title = "?";
        q.text = std::string(kMsgNothingSelected) + " Close this window anyway?";
        if (d_main.prompter().ask(this, q) == Answer::Yes) reject();
        return;
    }
    clampStart();
    const ImportPlan plan = PlanSimpleImport(selected(), bank(), d_start->text().toInt());
    ApplyPlan(d_main, windowTitle(), plan, bank());
}

}  // namespace vex::gui
