#include "gui/softoptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace vex::gui {

namespace {

QWidget* NewPage(QTabWidget* pages, const QString& title, const char* name) {
    auto* page = new QWidget(pages);
    page->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(page);
    layout->setAlignment(Qt::AlignTop);
    pages->addTab(page, title);
    return page;
}

}  // namespace

QString SoftOptions::backupDelayText(int minutes) {
    return QStringLiteral("%1 %2").arg(minutes).arg(minutes == 1 ? "Minute." : "Minutes.");
}

SoftOptions::SoftOptions(Options& options, Image& image, QWidget* parent)
    : QDialog(parent), d_options(options), d_image(image) {
    setObjectName("softoptions");
    setWindowTitle(tr("Software Options"));
    auto* layout = new QVBoxLayout(this);
    d_pages = new QTabWidget(this);
    layout->addWidget(d_pages);

    // General
    QWidget* general = NewPage(d_pages, tr("General"), "pageGeneral");
    auto* form = new QFormLayout;
    static_cast<QVBoxLayout*>(general->layout())->addLayout(form);
    d_model = new QComboBox(general);
    d_model->setObjectName("model");
    d_model->addItem(tr("Unknown"));
    d_model->setCurrentIndex(options.model >= 0 && options.model < d_model->count() ? options.model
                                                                                    : -1);
    auto* modelLabel = new QLabel(tr("Scanner &Model:"), general);
    modelLabel->setBuddy(d_model);
    form->addRow(modelLabel, d_model);
    d_align = new QComboBox(general);
    d_align->setObjectName("align");
    d_align->addItems({tr("Left"), tr("Center"), tr("Right")});
    d_align->setCurrentIndex(options.align >= 0 && options.align <= 2 ? options.align : 0);
    auto* alignLabel = new QLabel(tr("Grid Text &Alignment:"), general);
    alignLabel->setBuddy(d_align);
    form->addRow(alignLabel, d_align);
    addCheck(general, tr("Show Info Box"), "infob", options.infob,
             tr("Shows an information box with tips."));
    addCheck(general, tr("Upload Active Bank settings"), "linkbank", options.linkbank,
             tr("Sends the active bank settings to the scanner along with the channels."));
    QCheckBox* smart = addCheck(general, tr("Smart Info"), "smart", options.smart,
                                tr("Shows a short explanation of the option that has the focus."));
    addCheck(general, tr("Hide leading zero's of frequencies"), "zero", options.zero,
             tr("Shows 162.5500 instead of 0162.5500 in the grid."));
    addCheck(general, tr("Load last used file at startup"), "loadlast", options.loadlast,
             tr("Opens the file you had open when the program ended."));
    addCheck(general, tr("Save Main Window Position and Size"), "window", options.window,
             tr("The main window opens where you left it."));
    addCheck(general, tr("Reverse Channel Shift Option Buttons"), "shiftdir", options.shiftdir,
             tr("Swaps Ctrl+U and Ctrl+D."));
    addCheck(general, tr("Save Width of Tabs"), "tabwidth", options.tabwidth,
             tr("The grid columns keep the widths you dragged them to."));
    d_smartInfo = new QLabel(tr("This is Smart Info."), general);
    d_smartInfo->setObjectName("smartInfo");
    d_smartInfo->setFrameShape(QFrame::StyledPanel);
    d_smartInfo->setWordWrap(true);
    d_smartInfo->setMinimumHeight(d_smartInfo->fontMetrics().height() * 3);
    general->layout()->addWidget(d_smartInfo);
    d_smartInfo->setVisible(smart->isChecked());
    connect(smart, &QCheckBox::toggled, d_smartInfo, &QWidget::setVisible);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && isAncestorOf(now) && !now->toolTip().isEmpty())
            d_smartInfo->setText(now->toolTip());
    });

    // Tags
    QWidget* tags = NewPage(d_pages, tr("Tags"), "pageTags");
    addCheck(tags, tr("Display Tags in Fixed Width Font"), "ffont", options.ffont,
             tr("The grid uses a font whose letters are all equally wide."));
    addCheck(tags, tr("Show Easy Tag Dropdown List"), "option9", options.option[9],
             tr("Lists the tags in use, to pick one into a tag cell."));
    addCheck(tags, tr("Save memory bank tags in MEM file"), "savenames", options.savenames,
             tr("Without it the bank tags are saved as \"None\"."));
    addCheck(tags, tr("Automatically clear bank tags when selecting File _ New"), "cleartag",
             options.cleartag, tr("File New names the banks Bank 1 to Bank 5 again."));
    addCheck(tags, tr("Software remembers last used bank tags"), "remtags", options.remtags,
             tr("The bank tags come back at the next start."));

    // Trunk
    QWidget* trunk = NewPage(d_pages, tr("Trunk"), "pageTrunk");
    addCheck(trunk, tr("Delete Empty Trunk Id's during upload"), "delid", options.delid,
             tr("Empty trunk ID rows are deleted in the scanner when sending."));
    auto* reset = new QPushButton(tr("Reset Trunk systems"), trunk);
    reset->setObjectName("resetTrunk");
    reset->setToolTip(tr("Sets the trunk system type of every bank back to none, at once."));
    reset->setAutoDefault(false);
    connect(reset, &QPushButton::clicked, this, &SoftOptions::resetTrunkSystems);
    trunk->layout()->addWidget(reset);
    d_resetDone = new QLabel(trunk);
    d_resetDone->setObjectName("resetDone");
    trunk->layout()->addWidget(d_resetDone);

    // Virtual Control
    QWidget* vc = NewPage(d_pages, tr("Virtual Control"), "pageVirtualControl");
    addCheck(vc, tr("When minimized show STATUS window"), "vcstat", options.vcstat, {});
    addCheck(vc, tr("Store Virtual Control Window position"), "vpos", options.vpos, {});
    addCheck(vc, tr("Always start with Virtual Control"), "vstart", options.vstart,
             tr("Opens the Virtual Control Panel when the program starts."));
    addCheck(vc, tr("Virtual Control Always On Top"), "qview", options.qview,
             tr("Keeps the Virtual Control Panel above other windows."));
    addCheck(vc, tr("Do not close editor when running Virtual Control"), "vcm", options.vcm,
             tr("Keeps the editor open beside the Virtual Control Panel."));

    // Backup
    QWidget* backup = NewPage(d_pages, tr("Backup"), "pageBackup");
    auto* frame = new QGroupBox(tr("Create Backup of MEM files:"), backup);
    auto* frameLayout = new QVBoxLayout(frame);
    backup->layout()->addWidget(frame);
    addCheck(frame, tr("Enable Automatic Backup every:"), "backena", options.backena,
             tr("Writes the table to the backup folder now and then."));
    auto* row = new QHBoxLayout;
    d_backupDelay = new QScrollBar(Qt::Horizontal, frame);
    d_backupDelay->setObjectName("backupdelay");
    d_backupDelay->setRange(1, 99);
    d_backupDelay->setPageStep(10);
    d_backupDelay->setFocusPolicy(Qt::StrongFocus);
    d_backupDelay->setMinimumWidth(200);
    d_backupLabel = new QLabel(frame);
    d_backupLabel->setObjectName("backupLabel");
    d_backupLabel->setMinimumWidth(d_backupLabel->fontMetrics().horizontalAdvance("99 Minutes.."));
    connect(d_backupDelay, &QScrollBar::valueChanged, this,
            [this](int v) { d_backupLabel->setText(backupDelayText(v)); });
    d_backupDelay->setValue(std::clamp(options.backupdelay, 1, 99));
    d_backupLabel->setText(backupDelayText(d_backupDelay->value()));
    row->addWidget(d_backupDelay, 1);
    row->addWidget(d_backupLabel);
    frameLayout->addLayout(row);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QCheckBox* SoftOptions::addCheck(QWidget* page, const QString& caption, const char* key,
                                 int& option, const QString& help) {
    auto* box = new QCheckBox(caption, page);
    box->setObjectName(QString::fromLatin1(key));
    box->setChecked(option == 1);
    if (!help.isEmpty()) box->setToolTip(help);
    page->layout()->addWidget(box);
    d_checks.push_back({box, &option, option == 1});
    return box;
}

void SoftOptions::resetTrunkSystems() {
    for (auto& type : d_image.TrunkType) type.assign(1, '0');
    d_resetDone->setText(tr("The trunk system of every bank is reset."));
}

void SoftOptions::accept() {
    for (const Check& c : d_checks)
        if (c.box->isChecked() != c.initial) *c.option = c.box->isChecked() ? 1 : 0;
    // A model the list does not show (1 or 2) stays unless the user picks an entry.
    if (d_model->currentIndex() >= 0) d_options.model = d_model->currentIndex();
    d_options.align = d_align->currentIndex();
    // The label shows the value the option takes.
    d_options.backupdelay = d_backupLabel->text().section(' ', 0, 0).toInt();
    QDialog::accept();
}

}  // namespace vex::gui
