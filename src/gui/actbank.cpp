#include "gui/actbank.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vex::gui {

ActBank::ActBank(const Image& image, ImageChange apply, QWidget* parent)
    : QDialog(parent), d_apply(std::move(apply)) {
    setObjectName("ACTBANK");
    setWindowTitle(tr("Active Banks:"));

    auto* box = new QGroupBox(tr("Scanbank:"));
    auto* boxLayout = new QHBoxLayout(box);
    const ActiveBankFlags active = ActiveBanksOf(image);
    for (int bank = 0; bank < kScannerBanks; ++bank) {
        d_banks[bank] = new QCheckBox(QString::number(bank + 1));
        d_banks[bank]->setObjectName(QStringLiteral("bank%1").arg(bank + 1));
        d_banks[bank]->setChecked(active[bank]);
        boxLayout->addWidget(d_banks[bank]);
    }

    auto button = [this](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* all = button(tr("All"), "all");
    QPushButton* clear = button(tr("Clr"), "clear");
    QPushButton* ok = button(tr("Ok"), "ok");
    QPushButton* cancel = button(tr("Cancel"), "cancel");
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {all, clear}) buttons->addWidget(b);
    buttons->addStretch(1);
    for (QPushButton* b : {ok, cancel}) buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(buttons);

    connect(all, &QPushButton::clicked, this, [this] {
        for (QCheckBox* b : d_banks) b->setChecked(true);
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        for (QCheckBox* b : d_banks) b->setChecked(false);
    });
    connect(ok, &QPushButton::clicked, this, &ActBank::store);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ActBank::store() {
    ActiveBankFlags ticked{};
    for (int bank = 0; bank < kScannerBanks; ++bank) ticked[bank] = d_banks[bank]->isChecked();
    if (d_apply(tr("Set active banks"),
                [&](Image& image) { return SetActiveBanks(image, ticked); }))
        accept();
}

}  // namespace vex::gui
