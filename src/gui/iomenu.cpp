#include "gui/iomenu.h"

#include <QPointer>

#include "core/memfile.h"
#include "gui/bankimport.h"
#include "gui/csvmapper.h"
#include "gui/dataimport.h"
#include "gui/expcsv.h"
#include "gui/memtab.h"
#include "gui/netscoop.h"
#include "io/csv_channels.h"
#include "io/input_file.h"

namespace vex::gui {
namespace {

constexpr std::uintmax_t kMaxCsvFile = 16u << 20;

}  // namespace

bool ApplyPlan(MemTab& main, const QString& step, const ImportPlan& plan, int showBank) {
    if (showBank >= 0 && showBank != main.editor().currentBank()) main.selectBank(showBank);
    if (!main.applyImageChange(step, [&plan](Image& image) { return ApplyImport(image, plan); }))
        return false;
    if (!plan.notes.empty()) {
        QString text;
        for (const std::string& note : plan.notes) text += L1(note) + '\n';
        main.prompter().tell(&main, step, text.trimmed(), NoticeIcon::Information);
    }
    return true;
}

void OpenCsvExport(MemTab& main) {
    if (!main.storeGrid()) return;
    ExpCsv window(main.state().image, main.editor().currentBank(), main.prompter(), &main);
    main.dialogs().exec(window);
}

void OpenDataImport(MemTab& main) {
    DataImport window(main, &main);
    main.dialogs().exec(window);
}

void OpenNetscoop(MemTab& main) {
    // It stays open beside the main window; a second click brings the same one forward.
    static QPointer<Netscoop> open;
    if (!open) {
        open = new Netscoop(main, &main);
        open->setAttribute(Qt::WA_DeleteOnClose);
    }
    main.dialogs().show(*open);
}

void OpenCsvMapper(MemTab& main) {
    CsvMapper window(main.prompter(), &main);
    main.dialogs().exec(window);
}

void OpenIcfImport(MemTab& main) {
    BankImport::run(main, BankImport::Kind::Icf);
}

void OpenSiblingChannels(MemTab& main) {
    BankImport::run(main, BankImport::Kind::SiblingChannels);
}

void OpenSiblingTrunkIds(MemTab& main) {
    BankImport::run(main, BankImport::Kind::SiblingTrunkIds);
}

void ImportCsvChannels(MemTab& main) {
    const QString title = QObject::tr("Import CSV Channel File");
    const QString path =
        main.prompter().openFileName(&main, title, L1(DialogFilter(kCsvChannelOpenFilter)));
    if (path.isEmpty()) return;
    const InputFile file = LoadInputFile(path.toStdString(), kMaxCsvFile);
    if (!file.ok) {
        main.prompter().tell(&main, title, QString::fromStdString(file.error), NoticeIcon::Warning);
        return;
    }
    const CsvChannelImport read = ParseCsvChannels(file.content);
    if (!read.ok) {
        main.prompter().tell(&main, title, L1(read.message), NoticeIcon::Warning);
        return;
    }
    const int first = read.plan.channels.empty() ? -1 : read.plan.channels.front().bank;
    ApplyPlan(main, title, read.plan, first);
}

}  // namespace vex::gui
