#include "gui/vervang.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/prompter.h"
#include "gui/trunkwidgets.h"
#include "tools/find_replace.h"

namespace vex::gui {

namespace {

// What a tag may hold: printable Latin-1 without the double quote, which would break the
// file's lines.
bool TagCharacter(unsigned char c) {
    return c >= 32 && c != '"' && c != 127;
}

}  // namespace

Vervang::Vervang(int currentBank, ImageChange apply, QWidget* parent)
    : QDialog(parent), d_currentBank(currentBank), d_apply(std::move(apply)) {
    setObjectName("vervang");
    setWindowTitle(tr("Replace Text Tag:"));

    d_find = new QLineEdit;
    d_find->setObjectName("findText");
    d_replacement = new QLineEdit;
    d_replacement->setObjectName("replaceText");
    for (QLineEdit* field : {d_find, d_replacement}) KeepOnlyAccepted(field, &TagCharacter);
    auto* fields = new QFormLayout;
    fields->addRow(tr("Find:"), d_find);
    fields->addRow(tr("Replace with:"), d_replacement);

    auto* scope = new QGroupBox(tr("Search:"));
    auto* scopeLayout = new QHBoxLayout(scope);
    auto* current = new QRadioButton(tr("Current Bank"));
    current->setObjectName("scopeCurrent");
    current->setChecked(true);
    d_allBanks = new QRadioButton(tr("All Banks"));
    d_allBanks->setObjectName("scopeAll");
    scopeLayout->addWidget(current);
    scopeLayout->addWidget(d_allBanks);

    d_matchCase = new QCheckBox(tr("Match case"));
    d_matchCase->setObjectName("matchCase");
    d_result = new QLabel;
    d_result->setObjectName("result");
    d_result->setWordWrap(true);

    auto* applyButton = new QPushButton(tr("Apply"));
    applyButton->setObjectName("apply");
    applyButton->setDefault(true);
    auto* close = new QPushButton(tr("Close"));
    close->setObjectName("close");
    close->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(d_matchCase);
    buttons->addStretch(1);
    buttons->addWidget(applyButton);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(scope);
    layout->addWidget(d_result);
    layout->addLayout(buttons);
    resize(420, sizeHint().height());

    connect(applyButton, &QPushButton::clicked, this, &Vervang::replace);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void Vervang::replace() {
    const std::string find = ToL1(d_find->text());
    if (find.empty()) {
        d_result->setText(tr("Enter the text to find."));
        return;
    }
    const std::string with = ToL1(d_replacement->text());
    const FindScope scope = d_allBanks->isChecked() ? FindScope::AllBanks : FindScope::CurrentBank;
    const bool matchCase = d_matchCase->isChecked();
    ReplaceResult result;
    const bool done = d_apply(L1(ReplaceStepName(find, with)), [&](Image& image) {
        result = ReplaceInTags(image, d_currentBank, scope, find, with, matchCase);
        return result.tags > 0;
    });
    if (done) d_result->setText(L1(ReplaceResultText(result)));
}

}  // namespace vex::gui
