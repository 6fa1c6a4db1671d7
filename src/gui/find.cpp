#include "gui/find.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/prompter.h"

namespace vex::gui {

Find::Find(const Image& image, int currentBank, Options& options,
           std::function<void(const FindHit&)> found, QWidget* parent)
    : QDialog(parent),
      d_image(image),
      d_currentBank(currentBank),
      d_options(options),
      d_found(std::move(found)) {
    setObjectName("find");
    setWindowTitle(tr("Find Data"));

    d_text = new QLineEdit;
    d_text->setObjectName("findText");
    auto* textLabel = new QLabel(tr("Find:"));
    textLabel->setBuddy(d_text);

    auto* fieldBox = new QGroupBox(tr("Search in:"));
    auto* fieldLayout = new QHBoxLayout(fieldBox);
    auto* frequency = new QRadioButton(tr("Frequency"));
    frequency->setObjectName("fieldFrequency");
    d_tag = new QRadioButton(tr("Comments"));
    d_tag->setObjectName("fieldComments");
    fieldLayout->addWidget(frequency);
    fieldLayout->addWidget(d_tag);
    (options.findoptie[0] == 1 ? d_tag : frequency)->setChecked(true);

    auto* scopeBox = new QGroupBox(tr("Scope:"));
    auto* scopeLayout = new QHBoxLayout(scopeBox);
    auto* current = new QRadioButton(tr("Current Bank"));
    current->setObjectName("scopeCurrent");
    d_allBanks = new QRadioButton(tr("All Banks"));
    d_allBanks->setObjectName("scopeAll");
    scopeLayout->addWidget(current);
    scopeLayout->addWidget(d_allBanks);
    (options.findoptie[1] == 1 ? d_allBanks : current)->setChecked(true);

    d_matchCase = new QCheckBox(tr("Match case"));
    d_matchCase->setObjectName("matchCase");
    d_result = new QLabel;
    d_result->setObjectName("result");
    d_result->setMinimumWidth(320);

    auto* next = new QPushButton(tr("Find >>"));
    next->setObjectName("findNext");
    next->setDefault(true);
    auto* close = new QPushButton(tr("Close"));
    close->setObjectName("close");
    close->setAutoDefault(false);

    auto* textRow = new QHBoxLayout;
    textRow->addWidget(textLabel);
    textRow->addWidget(d_text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(d_matchCase);
    buttons->addStretch(1);
    buttons->addWidget(next);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(textRow);
    layout->addWidget(fieldBox);
    layout->addWidget(scopeBox);
    layout->addWidget(d_result);
    layout->addLayout(buttons);

    connect(next, &QPushButton::clicked, this, &Find::findNext);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    // A new search starts from the first channel.
    auto restart = [this] {
        d_position = 0;
        remember();
    };
    connect(d_text, &QLineEdit::textEdited, this, restart);
    connect(d_tag, &QRadioButton::toggled, this, restart);
    connect(d_allBanks, &QRadioButton::toggled, this, restart);
}

void Find::remember() {
    d_options.findoptie[0] = d_tag->isChecked() ? 1 : 0;
    d_options.findoptie[1] = d_allBanks->isChecked() ? 1 : 0;
}

void Find::findNext() {
    const std::string text = ToL1(d_text->text());
    if (text.empty()) return;
    d_result->clear();
    const auto hit =
        FindNext(d_image, d_currentBank,
                 d_allBanks->isChecked() ? FindScope::AllBanks : FindScope::CurrentBank,
                 d_tag->isChecked() ? FindField::Tag : FindField::Frequency, text,
                 d_matchCase->isChecked(), d_position);
    if (!hit) {
        d_result->setText(
            tr("No further channel contains this data. The next search starts "
               "at the first channel."));
        return;
    }
    d_result->setText(L1(FindResultText(*hit)));
    if (d_found) d_found(*hit);
}

}  // namespace vex::gui
