#include "gui/expcsv.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/atomic_file.h"
#include "io/csv_export.h"

namespace vex::gui {

ExpCsv::ExpCsv(const Image& image, int currentBank, Prompter& prompter, QWidget* parent)
    : QDialog(parent), d_image(image), d_bank(currentBank), d_prompter(prompter) {
    setObjectName("expcsv");
    setWindowTitle(tr("Export CSV data"));
    auto* frame = new QGroupBox(tr("Options:"));
    auto* box = new QVBoxLayout(frame);
    const QString captions[] = {
        tr("Export Current Bank"), tr("Export All Memory Banks"), tr("Export Search/Edge Data"),
        tr("Export Trunk Id's (current bank)"), tr("Export Trunk Id's (all banks)")};
    for (int i = 0; i < 5; ++i) {
        d_choices[i] = new QRadioButton(captions[i]);
        d_choices[i]->setObjectName(QStringLiteral("choice%1").arg(i));
        box->addWidget(d_choices[i]);
    }
    // The Dummy bank has no trunk IDs; the current bank is preselected when it is a real one.
    const bool realBank = currentBank < kScannerBanks;
    d_choices[3]->setEnabled(realBank);
    d_choices[realBank ? 0 : 1]->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &ExpCsv::exportNow);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(buttons);
}

void ExpCsv::exportNow() {
    int choice = 0;
    while (choice < 4 && !d_choices[choice]->isChecked()) ++choice;
    const QString name = d_prompter.saveFileName(this, tr("Export CSV data"), L1(kCsvSaveFilter));
    if (name.isEmpty()) return;
    const std::string path = WithCsvSuffix(name.toStdString());
    const WriteResult written =
        WriteFileAtomically(path, ExportCsv(d_image, static_cast<CsvExportChoice>(choice), d_bank));
    if (!written.ok) {
        d_prompter.tell(
            this, tr("Export CSV data"),
            tr("Cannot write %1: %2")
                .arg(QString::fromStdString(path), QString::fromStdString(written.error)),
            NoticeIcon::Warning);
        return;
    }
    accept();
}

}  // namespace vex::gui
