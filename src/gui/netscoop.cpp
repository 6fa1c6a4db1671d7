#include "gui/netscoop.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dataimport.h"
#include "gui/memtab.h"

namespace vex::gui {

Netscoop::Netscoop(MemTab& main, QWidget* parent) : QDialog(parent), d_main(main) {
    setObjectName("netscoop");
    setWindowTitle(tr("Netscoop"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(tr("Netscoop Info:"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);
    layout->addWidget(new QLabel(tr("Read frequency data directly from any website.")));
    layout->addWidget(
        new QLabel(tr("1: Use your browser to locate a website that shows frequencies.")));
    layout->addWidget(new QLabel(tr("2: In your browser type CTRL A.")));
    layout->addWidget(new QLabel(tr("3: In your browser type CTRL C.")));
    auto* buttons = new QHBoxLayout;
    auto* import = new QPushButton(tr("Press To Import"));
    import->setObjectName("pressToImport");
    connect(import, &QPushButton::clicked, this, &Netscoop::pressToImport);
    auto* close = new QPushButton(tr("Close"));
    close->setObjectName("close");
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(import);
    buttons->addWidget(close);
    layout->addLayout(buttons);
}

void Netscoop::pressToImport() {
    DataImport window(d_main, &d_main);
    window.importFromClipboard();
    d_main.dialogs().exec(window);
}

}  // namespace vex::gui
