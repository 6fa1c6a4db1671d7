// "CSV Mapper": a foreign frequency list opened into a grid of cells, its columns' meanings
// guessed and chosen (click a column header), lines filtered and cells edited, then saved as a
// clean CSV file. It works on its own grid only.
#pragma once

#include <QAbstractTableModel>
#include <QDialog>

#include "io/csv_mapper.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableView;

namespace vex::gui {

class Prompter;

// The grid as a table model; the header shows each column's meaning.
class MapperModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    MapperGrid& grid() { return d_grid; }
    const MapperGrid& grid() const { return d_grid; }
    // Call around any change of the grid made directly.
    void reset(MapperGrid grid);
    void changed();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    MapperGrid d_grid;
};

class CsvMapper : public QDialog {
    Q_OBJECT
  public:
    explicit CsvMapper(Prompter& prompter, QWidget* parent = nullptr);

    bool openFile(const QString& path);  // File > Open after the dialog
    void open();
    bool saveAs();
    void removeEmpty();
    void removeWithoutNumbers();
    void removeSelectedLines();
    void addColumn();
    void fillDown();
    void applyFilter();
    void copyCells();
    void cutCells();
    void pasteCells();
    void deleteCells();
    MapperModel& model() { return d_model; }

  private:
    MapperRange selectedRange() const;
    MapperRange filterRange() const;
    void chooseType(int column);
    void updateStatus();

    Prompter& d_prompter;
    MapperModel d_model;
    QTableView* d_view = nullptr;
    QLabel* d_status = nullptr;
    QRadioButton* d_upper = nullptr;
    QRadioButton* d_lower = nullptr;
    QRadioButton* d_replace = nullptr;
    QRadioButton* d_remove = nullptr;
    QLineEdit* d_find = nullptr;
    QLineEdit* d_by = nullptr;
    QLineEdit* d_removeText = nullptr;
    QRadioButton* d_selectedRows = nullptr;
    QRadioButton* d_allColumns = nullptr;
    QComboBox* d_column = nullptr;
};

}  // namespace vex::gui
