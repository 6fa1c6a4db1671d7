// The three bank-by-bank imports: "Import data from ICF files", "Import frequency data from MEM
// files" and "Import trunk data from MEM files". Each reads the whole source file first, shows
// the chosen source bank in a read-only grid and copies on "Apply" (one bank) or "Import All
// banks" (banks 1 to 5), asking before it overrides a bank that holds data.
#pragma once

#include <QDialog>
#include <memory>

#include "core/memfile.h"
#include "io/icf.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace vex::gui {

class MemTab;

class BankImport : public QDialog {
    Q_OBJECT
  public:
    enum class Kind { Icf, SiblingChannels, SiblingTrunkIds };

    // Asks for the file, reads it and runs the dialog; a refused file is told and no dialog
    // opens.
    static void run(MemTab& main, Kind kind);

    BankImport(MemTab& main, Kind kind, std::unique_ptr<IcfFile> icf,
               std::unique_ptr<TenBankFile> tenBank, QWidget* parent = nullptr);
    ~BankImport() override;

    void apply();        // "Apply"
    void importAll();    // "Import All banks"
    void toggleNames();  // "Names" / "Default"
    void perconClean();  // "Percon Clean"

  private:
    void fillSources();
    void markDestinations();
    void showSource();
    ImportPlan planFor(int source, int bank) const;
    bool destinationFilled(int bank) const;
    // Asks the override question; true to go on.
    bool askOverride();
    QString caption() const;

    MemTab& d_main;
    Kind d_kind;
    std::unique_ptr<IcfFile> d_icf;
    std::unique_ptr<TenBankFile> d_tenBank;
    bool d_names = false;
    QComboBox* d_source = nullptr;
    QComboBox* d_destination = nullptr;
    QTableWidget* d_viewer = nullptr;
    QPushButton* d_namesButton = nullptr;
};

}  // namespace vex::gui
