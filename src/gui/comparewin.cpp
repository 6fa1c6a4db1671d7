#include "gui/comparewin.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/prompter.h"

namespace vex::gui {

CompareWin::CompareWin(const QString& against, std::vector<ImageDifference> differences,
                       QWidget* parent)
    : QDialog(parent), d_differences(std::move(differences)) {
    setObjectName(QStringLiteral("comparewin"));
    setWindowTitle(tr("Compare With %1").arg(against));
    auto* layout = new QVBoxLayout(this);
    auto* heading =
        new QLabel(tr("%n value(s) differ. Each line: where, the open image's value -> %1's value.",
                      nullptr, static_cast<int>(d_differences.size()))
                       .arg(against),
                   this);
    heading->setWordWrap(true);
    layout->addWidget(heading);
    d_list = new QListWidget(this);
    d_list->setObjectName(QStringLiteral("differences"));
    for (const ImageDifference& d : d_differences) d_list->addItem(L1(DifferenceLine(d)));
    layout->addWidget(d_list);
    auto* hint = new QLabel(tr("Select a line to show the channel or bank; Enter or a double "
                               "click opens the trunk window a trunk line names."),
                            this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* goButton = buttons->addButton(tr("&Go To"), QDialogButtonBox::ActionRole);
    goButton->setObjectName(QStringLiteral("goto"));
    layout->addWidget(buttons);
    resize(560, 420);

    connect(d_list, &QListWidget::currentRowChanged, this, [this](int row) { go(row, false); });
    connect(d_list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { go(d_list->row(item), true); });
    connect(goButton, &QPushButton::clicked, this, [this] { go(d_list->currentRow(), true); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CompareWin::go(int row, bool open) {
    if (row < 0 || row >= static_cast<int>(d_differences.size()) || !d_goTo) return;
    d_goTo(d_differences[static_cast<std::size_t>(row)].place, open);
}

}  // namespace vex::gui
