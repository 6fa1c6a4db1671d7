#include "gui/csvmapper.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include "core/atomic_file.h"
#include "core/memfile.h"
#include "gui/prompter.h"
#include "io/input_file.h"

namespace vex::gui {
namespace {

constexpr std::uintmax_t kMaxMapperFile = 64u << 20;

}  // namespace

void MapperModel::reset(MapperGrid grid) {
    beginResetModel();
    d_grid = std::move(grid);
    endResetModel();
}

void MapperModel::changed() {
    beginResetModel();
    endResetModel();
}

int MapperModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : d_grid.rowCount();
}

int MapperModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : d_grid.columns;
}

QVariant MapperModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return L1(d_grid.rows[index.row()][index.column()]);
}

bool MapperModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    // A comma would split the cell when the file is saved.
    d_grid.rows[index.row()][index.column()] = ToL1(value.toString().replace(',', ';'));
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags MapperModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

QVariant MapperModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section;
    const int type = section < static_cast<int>(d_grid.types.size()) ? d_grid.types[section] : 0;
    return L1(kMapperColumnTypes[type]);
}

CsvMapper::CsvMapper(Prompter& prompter, QWidget* parent) : QDialog(parent), d_prompter(prompter) {
    setObjectName("csvmapper");
    setWindowTitle(tr("CSV Mapper: Import And Modify CSV Files .104"));
    d_view = new QTableView;
    d_view->setObjectName("grid");
    d_view->setModel(&d_model);
    d_view->horizontalHeader()->setSectionsClickable(true);
    d_view->horizontalHeader()->setToolTip(tr("Click a column's header to choose its meaning"));
    connect(d_view->horizontalHeader(), &QHeaderView::sectionClicked, this, &CsvMapper::chooseType);
    d_status = new QLabel;
    d_status->setObjectName("status");

    auto* bar = new QMenuBar(this);
    auto add = [this](QMenu* menu, const QString& text, const char* name, auto slot,
                      const QKeySequence& key = {}) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu* file = bar->addMenu(tr("&File"));
    add(
        file, tr("New"), "mapperNew",
        [this] {
            d_model.reset({});
            updateStatus();
        },
        QKeySequence::New);
    add(file, tr("Open"), "mapperOpen", &CsvMapper::open, QKeySequence::Open);
    add(file, tr("Save &As CSV"), "mapperSave", &CsvMapper::saveAs, QKeySequence::Save);
    add(file, tr("E&xit"), "mapperExit", &QDialog::accept);
    QMenu* edit = bar->addMenu(tr("&Edit"));
    add(edit, tr("Cu&t"), "mapperCut", &CsvMapper::cutCells, QKeySequence::Cut);
    add(edit, tr("&Copy"), "mapperCopy", &CsvMapper::copyCells, QKeySequence::Copy);
    add(edit, tr("&Paste"), "mapperPaste", &CsvMapper::pasteCells, QKeySequence::Paste);
    add(
        edit, tr("Select All"), "mapperSelectAll", [this] { d_view->selectAll(); },
        QKeySequence::SelectAll);
    add(edit, tr("Delete"), "mapperDelete", &CsvMapper::deleteCells, QKeySequence::Delete);
    add(edit, tr("Remove Selected Line(s)"), "mapperRemoveLines", &CsvMapper::removeSelectedLines);
    add(edit, tr("Fill Down"), "mapperFillDown", &CsvMapper::fillDown,
        QKeySequence(Qt::CTRL | Qt::Key_D));
    QMenu* options = bar->addMenu(tr("Options"));
    add(options, tr("Remove Empty Lines"), "mapperRemoveEmpty", &CsvMapper::removeEmpty);

    d_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(d_view, &QWidget::customContextMenuRequested, this, [this, edit](const QPoint& at) {
        QMenu popup;
        for (const char* name :
             {"mapperCut", "mapperCopy", "mapperPaste", "mapperDelete", "mapperFillDown"})
            if (QAction* a = edit->findChild<QAction*>(name)) popup.addAction(a);
        popup.exec(d_view->viewport()->mapToGlobal(at));
    });

    auto button = [this](const QString& text, const char* name, auto slot) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    auto* lineButtons = new QHBoxLayout;
    lineButtons->addWidget(
        button(tr("remove empty lines"), "removeEmpty", &CsvMapper::removeEmpty));
    lineButtons->addWidget(button(tr("remove without numbers"), "removeWithoutNumbers",
                                  &CsvMapper::removeWithoutNumbers));
    lineButtons->addWidget(button(tr("Add Column"), "addColumn", &CsvMapper::addColumn));
    lineButtons->addStretch();

    auto* filters = new QGroupBox(tr("Filter Options (selected cells):"));
    auto* f = new QGridLayout(filters);
    d_upper = new QRadioButton(tr("Convert Selection To Upper Case"));
    d_lower = new QRadioButton(tr("Convert Selection To Lower Case"));
    d_replace = new QRadioButton(tr("Replace String:"));
    d_remove = new QRadioButton(tr("Remove String:"));
    d_upper->setChecked(true);
    d_find = new QLineEdit;
    d_find->setObjectName("find");
    d_by = new QLineEdit;
    d_by->setObjectName("by");
    d_removeText = new QLineEdit;
    d_removeText->setObjectName("removeText");
    f->addWidget(d_upper, 0, 0, 1, 4);
    f->addWidget(d_lower, 1, 0, 1, 4);
    f->addWidget(d_replace, 2, 0);
    f->addWidget(d_find, 2, 1);
    f->addWidget(new QLabel(tr("by:")), 2, 2);
    f->addWidget(d_by, 2, 3);
    f->addWidget(d_remove, 3, 0);
    f->addWidget(d_removeText, 3, 1);
    auto* rows = new QGroupBox;
    auto* rowBox = new QVBoxLayout(rows);
    d_selectedRows = new QRadioButton(tr("Selected Rows"));
    d_selectedRows->setChecked(true);
    rowBox->addWidget(d_selectedRows);
    rowBox->addWidget(new QRadioButton(tr("Entire Row")));
    auto* columns = new QGroupBox;
    auto* columnBox = new QGridLayout(columns);
    d_allColumns = new QRadioButton(tr("All Columns"));
    d_allColumns->setChecked(true);
    d_column = new QComboBox;
    d_column->setObjectName("filterColumn");
    columnBox->addWidget(d_allColumns, 0, 0, 1, 2);
    columnBox->addWidget(new QRadioButton(tr("Single Column:")), 1, 0);
    columnBox->addWidget(d_column, 1, 1);
    f->addWidget(rows, 0, 4, 2, 1);
    f->addWidget(columns, 2, 4, 2, 1);
    f->addWidget(button(tr("Apply"), "applyFilter", &CsvMapper::applyFilter), 4, 4);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    layout->addLayout(lineButtons);
    layout->addWidget(d_view, 1);
    layout->addWidget(filters);
    layout->addWidget(d_status);
    connect(d_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CsvMapper::updateStatus);
    resize(780, 560);
    updateStatus();
}

bool CsvMapper::openFile(const QString& path) {
    const InputFile file = LoadInputFile(path.toStdString(), kMaxMapperFile);
    if (!file.ok) {
        d_prompter.tell(this, windowTitle(), QString::fromStdString(file.error),
                        NoticeIcon::Warning);
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    MapperOpenResult opened = OpenMapperText(file.content);
    d_model.reset(std::move(opened.grid));
    QApplication::restoreOverrideCursor();
    if (opened.tooLarge)
        d_prompter.tell(this, windowTitle(), L1(kMsgMapperTooLarge), NoticeIcon::Warning);
    updateStatus();
    return true;
}

void CsvMapper::open() {
    const QString path =
        d_prompter.openFileName(this, tr("Open"), L1(DialogFilter(kMapperOpenFilter)));
    if (!path.isEmpty()) openFile(path);
}

bool CsvMapper::saveAs() {
    const QString name =
        d_prompter.saveFileName(this, tr("Save As CSV"), L1(DialogFilter(kMapperSaveFilter)));
    if (name.isEmpty()) return false;
    const std::string path = WithMapperSuffix(name.toStdString());
    const WriteResult written = WriteFileAtomically(path, SaveMapperText(d_model.grid()));
    if (!written.ok) {
        d_prompter.tell(
            this, windowTitle(),
            tr("Cannot write %1: %2")
                .arg(QString::fromStdString(path), QString::fromStdString(written.error)),
            NoticeIcon::Warning);
    }
    return written.ok;
}

MapperRange CsvMapper::selectedRange() const {
    MapperRange range{INT_MAX, -1, INT_MAX, -1};
    for (const QModelIndex& index : d_view->selectionModel()->selectedIndexes()) {
        range.firstRow = std::min(range.firstRow, index.row());
        range.lastRow = std::max(range.lastRow, index.row());
        range.firstColumn = std::min(range.firstColumn, index.column());
        range.lastColumn = std::max(range.lastColumn, index.column());
    }
    if (range.lastRow < 0) {
        const QModelIndex current = d_view->currentIndex();
        if (!current.isValid()) return {0, -1, 0, -1};
        range = {current.row(), current.row(), current.column(), current.column()};
    }
    return range;
}

MapperRange CsvMapper::filterRange() const {
    MapperRange range = selectedRange();
    if (!d_selectedRows->isChecked())
        range = {0, d_model.grid().rowCount() - 1, range.firstColumn, range.lastColumn};
    if (d_allColumns->isChecked()) {
        range.firstColumn = 0;
        range.lastColumn = d_model.grid().columns - 1;
    } else {
        range.firstColumn = range.lastColumn = d_column->currentIndex();
    }
    return range;
}

void CsvMapper::removeEmpty() {
    RemoveEmptyLines(d_model.grid());
    d_model.changed();
    updateStatus();
}

void CsvMapper::removeWithoutNumbers() {
    RemoveLinesWithoutNumbers(d_model.grid());
    d_model.changed();
    updateStatus();
}

void CsvMapper::removeSelectedLines() {
    const MapperRange range = selectedRange();
    RemoveLines(d_model.grid(), range.firstRow, range.lastRow);
    d_model.changed();
    updateStatus();
}

void CsvMapper::addColumn() {
    AddColumn(d_model.grid());
    d_model.changed();
    updateStatus();
}

void CsvMapper::fillDown() {
    FillDown(d_model.grid(), selectedRange());
    d_model.changed();
}

void CsvMapper::applyFilter() {
    const MapperRange range = filterRange();
    MapperGrid& grid = d_model.grid();
    if (d_upper->isChecked())
        ApplyCellFilter(grid, range, CellFilter::Upper);
    else if (d_lower->isChecked())
        ApplyCellFilter(grid, range, CellFilter::Lower);
    else if (d_replace->isChecked())
        ApplyCellFilter(grid, range, CellFilter::Replace, ToL1(d_find->text()),
                        ToL1(QString(d_by->text()).replace(',', ';')));
    else
        ApplyCellFilter(grid, range, CellFilter::Remove, ToL1(d_removeText->text()));
    d_model.changed();
}

void CsvMapper::copyCells() {
    const MapperRange range = selectedRange();
    QStringList lines;
    for (int r = range.firstRow; r <= range.lastRow; ++r) {
        QStringList cells;
        for (int c = range.firstColumn; c <= range.lastColumn; ++c)
            cells << L1(d_model.grid().rows[r][c]);
        lines << cells.join('\t');
    }
    QApplication::clipboard()->setText(lines.join('\n'));
}

void CsvMapper::cutCells() {
    copyCells();
    deleteCells();
}

void CsvMapper::deleteCells() {
    const MapperRange range = selectedRange();
    MapperGrid& grid = d_model.grid();
    for (int r = range.firstRow; r <= range.lastRow; ++r)
        for (int c = range.firstColumn; c <= range.lastColumn; ++c) grid.rows[r][c].clear();
    d_model.changed();
}

void CsvMapper::pasteCells() {
    const QModelIndex at = d_view->currentIndex();
    if (!at.isValid()) return;
    MapperGrid& grid = d_model.grid();
    const QStringList lines = QApplication::clipboard()->text().split('\n');
    for (int i = 0; i < lines.size() && at.row() + i < grid.rowCount(); ++i) {
        const QStringList cells = QString(lines[i]).remove('\r').split('\t');
        for (int j = 0; j < cells.size() && at.column() + j < grid.columns; ++j)
            grid.rows[at.row() + i][at.column() + j] = ToL1(QString(cells[j]).replace(',', ';'));
    }
    d_model.changed();
}

void CsvMapper::chooseType(int column) {
    QMenu menu;
    for (int t = 0; t < static_cast<int>(kMapperColumnTypes.size()); ++t) {
        QAction* a = menu.addAction(L1(kMapperColumnTypes[t]));
        a->setData(t);
    }
    QHeaderView* header = d_view->horizontalHeader();
    const QAction* chosen = menu.exec(
        header->mapToGlobal(QPoint(header->sectionViewportPosition(column), header->height())));
    if (!chosen) return;
    d_model.grid().types[column] = chosen->data().toInt();
    emit d_model.headerDataChanged(Qt::Horizontal, column, column);
}

void CsvMapper::updateStatus() {
    const MapperGrid& grid = d_model.grid();
    if (d_column->count() != grid.columns) {
        d_column->clear();
        for (int c = 0; c < grid.columns; ++c) d_column->addItem(QString::number(c + 1));
    }
    const MapperRange range = selectedRange();
    d_status->setText(tr(" %1 Rows x %2 Cols    Selection: Row:%3 RowSel:%4 Col:%5 ColSel:%6")
                          .arg(grid.rowCount())
                          .arg(grid.columns)
                          .arg(range.firstRow)
                          .arg(range.lastRow)
                          .arg(range.firstColumn)
                          .arg(range.lastColumn));
}

}  // namespace vex::gui
