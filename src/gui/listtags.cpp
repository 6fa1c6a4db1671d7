#include "gui/listtags.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/trunkwidgets.h"
#include "trunk/trunk_id.h"

namespace vex::gui {

ListTags::ListTags(Image& image, int bank, QWidget* parent)
    : QDialog(parent), d_image(image), d_bank(bank) {
    setObjectName("listtags");
    setWindowTitle(tr("Listtags"));

    auto* grid = new QGridLayout;
    for (int j = 0; j < kListTagFields; ++j) {
        d_fields[j] = new QLineEdit;
        d_fields[j]->setObjectName(QStringLiteral("list%1").arg(j + 1));
        // Same length and characters as an ID tag: the scanner shows them the same way.
        d_fields[j]->setMaxLength(static_cast<int>(kTrunkTagLength));
        KeepOnlyAccepted(d_fields[j], &TagKeyAccepted);
        auto* label = new QLabel(tr("List No. %1").arg(j + 1));
        label->setBuddy(d_fields[j]);
        grid->addWidget(label, j, 0);
        grid->addWidget(d_fields[j], j, 1);
    }

    const auto button = [this](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* left = button(tr("Left"), "left");
    QPushButton* center = button(tr("Center"), "center");
    QPushButton* defaults = button(tr("Default"), "default");
    QPushButton* clearAll = button(tr("Clear All"), "clearAll");
    QPushButton* cancel = button(tr("Cancel"), "cancel");
    QPushButton* ok = button(tr("Ok"), "ok");
    ok->setDefault(true);

    auto* tools = new QHBoxLayout;
    for (QPushButton* b : {left, center, defaults, clearAll}) tools->addWidget(b);
    auto* closing = new QHBoxLayout;
    closing->addStretch(1);
    closing->addWidget(ok);
    closing->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(tools);
    layout->addLayout(closing);

    connect(left, &QPushButton::clicked, this, [this] {
        ListTagFields f = fields();
        AlignListTagsLeft(f);
        setFields(f);
    });
    connect(center, &QPushButton::clicked, this, [this] {
        ListTagFields f = fields();
        CenterListTags(f);
        setFields(f);
    });
    connect(defaults, &QPushButton::clicked, this, [this] { setFields(DefaultListTags(d_bank)); });
    connect(clearAll, &QPushButton::clicked, this, [this] { setFields({}); });
    connect(ok, &QPushButton::clicked, this, [this] {
        if (fields() != d_shown) StoreListTags(fields(), d_image, d_bank);
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFields(LoadListTags(d_image, d_bank));
    d_shown = fields();
}

ListTagFields ListTags::fields() const {
    ListTagFields f;
    for (int j = 0; j < kListTagFields; ++j) f[j] = ToL1(d_fields[j]->text());
    return f;
}

void ListTags::setFields(const ListTagFields& f) {
    for (int j = 0; j < kListTagFields; ++j) d_fields[j]->setText(L1(f[j]));
}

}  // namespace vex::gui
