// "Advanced Data Import": frequencies picked out of a file or the clipboard into the left list,
// chosen into the right list, and written into consecutive channels of a bank.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace vex::gui {

class MemTab;

class DataImport : public QDialog {
    Q_OBJECT
  public:
    explicit DataImport(MemTab& main, QWidget* parent = nullptr);

    void importFromFile();       // "Import From File"
    void importFromClipboard();  // "&Import From Clipboard"
    void exportToClipboard();    // "&Export To Clipboard"
    void exportToTable();        // "Export To Table:"

  private:
    void addFound(const std::string& text);
    void move(QListWidget* from, QListWidget* to, int count, const QString& none);
    void clampStart();
    void updateCounts();
    std::vector<std::string> selected() const;
    int bank() const;

    MemTab& d_main;
    QListWidget* d_found = nullptr;
    QListWidget* d_chosen = nullptr;
    QComboBox* d_bank = nullptr;
    QLineEdit* d_start = nullptr;
    QLineEdit* d_absolute = nullptr;
    QLabel* d_count = nullptr;
};

}  // namespace vex::gui
