#include "gui/defdata.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vex::gui {

DefData::DefData(DefaultData& data, QWidget* parent) : QDialog(parent), d_data(data) {
    setObjectName("defdata");
    setWindowTitle(tr("Setup Default Data"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        tr("A newly entered frequency sets these flags of its channel to their default:"), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* grid = new QGridLayout;
    const char* captions[3] = {"Trunk", "Delay", "Lock Out"};
    const char* names[3] = {"trunk", "delay", "lockout"};
    for (int i = 0; i < 3; ++i) {
        d_use[i] = new QCheckBox(tr("Use default for %1").arg(tr(captions[i])), this);
        d_use[i]->setObjectName(QStringLiteral("use_%1").arg(names[i]));
        d_use[i]->setChecked(data.use[i] == 1);
        d_value[i] = new QComboBox(this);
        d_value[i]->setObjectName(QStringLiteral("value_%1").arg(names[i]));
        d_value[i]->addItems({tr("Off"), tr("On")});
        d_value[i]->setCurrentIndex(data.value[i] == 1 ? 1 : 0);
        d_value[i]->setEnabled(d_use[i]->isChecked());
        connect(d_use[i], &QCheckBox::toggled, d_value[i], &QWidget::setEnabled);
        grid->addWidget(d_use[i], i, 0);
        grid->addWidget(d_value[i], i, 1);
    }
    layout->addLayout(grid);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void DefData::accept() {
    for (int i = 0; i < 3; ++i) {
        d_data.use[i] = d_use[i]->isChecked() ? 1 : 0;
        d_data.value[i] = d_value[i]->currentIndex() == 1 ? 1 : 0;
    }
    QDialog::accept();
}

}  // namespace vex::gui
