#include "gui/comparemenu.h"

#include <QDir>
#include <filesystem>

#include "core/memfile.h"
#include "gui/comparewin.h"
#include "gui/memtab.h"
#include "gui/trunkmenu.h"
#include "gui/vexcomm.h"

namespace vex::gui {
CompareWin* ShowComparison(MemTab& main, const QString& against, const Image& other) {
    if (!main.storeGrid()) return nullptr;
    std::vector<ImageDifference> differences = DiffImages(main.state().image, other);
    if (differences.empty()) {
        main.prompter().tell(&main, QObject::tr("Compare"),
                             QObject::tr("The open table and %1 hold the same data.").arg(against),
                             NoticeIcon::Information);
        return nullptr;
    }
    auto* window = new CompareWin(against, std::move(differences), &main);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setModal(false);
    window->setGoTo([&main](const ImagePlace& place, bool open) { GoToPlace(main, place, open); });
    main.dialogs().show(*window);
    return window;
}

void GoToPlace(MemTab& main, const ImagePlace& place, bool open) {
    switch (place.area) {
        case ImageArea::Channel:
            main.goToChannel(place.bank, place.index);
            return;
        case ImageArea::BankName:
        case ImageArea::ActiveBank:
        case ImageArea::PriorityChannel:
            main.selectBank(place.bank);
            return;
        case ImageArea::TrunkId:
        case ImageArea::TrunkSetting:
        case ImageArea::TrunkType:
        case ImageArea::BaseConfiguration:
            main.selectBank(place.bank);
            if (!open) return;
            if (place.area == ImageArea::TrunkId)
                OpenTrunkIdList(main);
            else
                OpenTrunkSettings(main);
            return;
        case ImageArea::IdListTag:
            if (place.bank < kScannerBanks) main.selectBank(place.bank);
            if (open) OpenTrunkIdList(main);
            return;
    }
}

void CompareWithFile(MemTab& main) {
    const QString path = main.prompter().openFileName(&main, QObject::tr("Compare With"),
                                                      L1(DialogFilter(kMemOpenFilter)));
    if (path.isEmpty()) return;
    if (!main.storeGrid()) return;
    // The file is read over a copy of the open image, as File Open would read it.
    Image other = main.state().image;
    const MemReadResult read =
        ReadMemFile(other, std::filesystem::path(path.toStdString()), main.state().options);
    if (!read.ok) {
        main.prompter().tell(&main, QObject::tr("Compare With"),
                             path + QStringLiteral("\n\n") + L1(read.message),
                             NoticeIcon::Critical);
        return;
    }
    ShowComparison(main, QObject::tr("the file %1").arg(QDir::toNativeSeparators(path)), other);
}

void CompareWithScanner(MemTab& main) {
    // Like a send, it needs the port and leaves the image alone.
    main.sendToScanner([&main] {
        AppState& state = main.state();
        Image copy = state.image;
        VexComm window(VexComm::Mode::Read, state.image, state.options, state.com, state.folder,
                       main.prompter(), &main);
        window.setSingleBankFlag(state.singleBankFlag);
        window.readIntoCopy(copy);
        main.dialogs().exec(window);
        state.options.delay1 = window.delay1();
        if (window.copyRead()) ShowComparison(main, QObject::tr("the scanner"), copy);
    });
}

void SendChanges(MemTab& main) {
    main.sendToScanner([&main] {
        AppState& state = main.state();
        VexComm window(VexComm::Mode::Send, state.image, state.options, state.com, state.folder,
                       main.prompter(), &main);
        window.setSingleBankFlag(state.singleBankFlag);
        window.sendChanges();
        main.dialogs().exec(window);
        state.options.delay1 = window.delay1();
        state.singleBankFlag = window.singleBankFlag();
    });
}

}  // namespace vex::gui
