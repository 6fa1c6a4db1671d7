#include "gui/vervangtrunk.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/trunkwidgets.h"
#include "trunk/trunk_id.h"

namespace vex::gui {

VervangTrunk::VervangTrunk(Replace replace, QWidget* parent)
    : QDialog(parent), d_replace(std::move(replace)) {
    setObjectName("vervangtrunk");
    setWindowTitle(tr("Replace Text Tag:"));

    d_find = new QLineEdit;
    d_find->setObjectName("find");
    d_replacement = new QLineEdit;
    d_replacement->setObjectName("replacement");
    for (QLineEdit* field : {d_find, d_replacement}) {
        field->setMaxLength(static_cast<int>(kTrunkTagLength));
        KeepOnlyAccepted(field, &TagKeyAccepted);
    }
    d_result = new QLabel;
    d_result->setObjectName("result");

    auto* form = new QFormLayout;
    form->addRow(tr("Find:"), d_find);
    form->addRow(tr("Replace with:"), d_replacement);

    auto* apply = new QPushButton(tr("Apply"));
    apply->setObjectName("apply");
    apply->setDefault(true);
    auto* close = new QPushButton(tr("Close"));
    close->setObjectName("close");
    close->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(d_result, 1);
    buttons->addWidget(apply);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(apply, &QPushButton::clicked, this, &VervangTrunk::apply);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void VervangTrunk::apply() {
    if (d_find->text().isEmpty()) {
        d_result->setText(tr("Type the text to find."));
        return;
    }
    const int changed = d_replace(ToL1(d_find->text()), ToL1(d_replacement->text()));
    d_result->setText(changed == 1 ? tr("1 tag changed.") : tr("%1 tags changed.").arg(changed));
}

}  // namespace vex::gui
