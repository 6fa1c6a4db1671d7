#include "gui/easy2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "gui/prompter.h"
#include "gui/trunkwidgets.h"

namespace vex::gui {

namespace {

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QComboBox* OnOffList(const char* name) {
    auto* list = Named(new QComboBox, name);
    list->addItems({QStringLiteral("OFF"), QStringLiteral("ON")});
    return list;
}

bool TagCharacter(unsigned char c) {
    return c >= 32 && c != '"' && c != 127;
}

}  // namespace

Easy2::Easy2(int firstChannel, int lastChannel, ImageChange apply, QWidget* parent)
    : QDialog(parent), d_apply(std::move(apply)) {
    setObjectName("easy2");
    setWindowTitle(tr("Easy Fill BCT8"));

    auto* range = new QGroupBox(tr("Channel range:"));
    auto* rangeLayout = new QHBoxLayout(range);
    d_start = Named(new QLineEdit(QString::number(firstChannel)), "rangeStart");
    d_end = Named(new QLineEdit(QString::number(lastChannel)), "rangeEnd");
    for (QLineEdit* field : {d_start, d_end})
        field->setValidator(new QIntValidator(0, 9999, field));
    auto* allChannels = Named(new QPushButton(tr("1 - 250")), "allChannels");
    allChannels->setAutoDefault(false);
    rangeLayout->addWidget(new QLabel(tr("Start:")));
    rangeLayout->addWidget(d_start);
    rangeLayout->addWidget(new QLabel(tr("End:")));
    rangeLayout->addWidget(d_end);
    rangeLayout->addWidget(allChannels);

    auto* fillBox = new QGroupBox(tr("Fill Range With:"));
    auto* grid = new QGridLayout(fillBox);
    d_frequency = Named(new QCheckBox(tr("Frequency:")), "fillFrequency");
    d_startMHz = Named(new QLineEdit(QStringLiteral("0400.0000")), "startFreq");
    d_startMHz->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,4}([.][0-9]{0,6})?")), d_startMHz));
    d_step = Named(new QComboBox, "step");
    d_step->setEditable(true);
    d_step->addItems({QStringLiteral("5"), QStringLiteral("10"), QStringLiteral("12.5")});
    d_step->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,5}([.][0-9]{0,4})?")), d_step));
    grid->addWidget(d_frequency, 0, 0);
    grid->addWidget(new QLabel(tr("Start:")), 0, 1);
    grid->addWidget(d_startMHz, 0, 2);
    grid->addWidget(new QLabel(tr("Step:")), 0, 3);
    grid->addWidget(d_step, 0, 4);
    grid->addWidget(new QLabel(tr("kHz")), 0, 5);

    d_tag = Named(new QCheckBox(tr("Tag:")), "fillTag");
    d_tagText = Named(new QLineEdit, "tagText");
    KeepOnlyAccepted(d_tagText, &TagCharacter);
    d_series = Named(new QCheckBox(tr("Fill Series")), "fillSeries");
    grid->addWidget(d_tag, 1, 0);
    grid->addWidget(d_tagText, 1, 1, 1, 3);
    grid->addWidget(d_series, 1, 4, 1, 2);

    d_trunk = Named(new QCheckBox(tr("Trunk:")), "fillTrunk");
    d_trunkValue = OnOffList("trunkValue");
    d_delay = Named(new QCheckBox(tr("Delay Time:")), "fillDelay");
    d_delayValue = OnOffList("delayValue");
    d_lockout = Named(new QCheckBox(tr("Lockout:")), "fillLockout");
    d_lockoutValue = OnOffList("lockoutValue");
    int row = 2;
    for (auto [box, value] : {std::pair{d_trunk, d_trunkValue}, std::pair{d_delay, d_delayValue},
                              std::pair{d_lockout, d_lockoutValue}}) {
        grid->addWidget(box, row, 0);
        grid->addWidget(value, row, 1);
        ++row;
    }

    auto* explanation = new QLabel(
        tr(" With Easy Fill you can setup a bank with ascending frequencies. Enter a start "
           "frequency and a step and VEX will calculate all remaining frequencies.\n\nExample: "
           "Start = 88.00 and step = 100 kHz will fill the bank with 88.00 - 88.10 - 88.20 - "
           "88.30 etc."));
    explanation->setWordWrap(true);
    d_result = Named(new QLabel, "result");
    d_result->setWordWrap(true);

    d_selectAll = Named(new QPushButton(tr("Select All")), "selectAll");
    d_applyButton = Named(new QPushButton(tr("Apply")), "apply");
    auto* cancel = Named(new QPushButton(tr("Cancel")), "cancel");
    d_applyButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(d_selectAll);
    buttons->addStretch(1);
    buttons->addWidget(d_applyButton);
    buttons->addWidget(cancel);
    for (QPushButton* b : {d_selectAll, cancel}) b->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(range);
    layout->addWidget(fillBox);
    layout->addWidget(explanation);
    layout->addWidget(d_result);
    layout->addLayout(buttons);

    const QList<QCheckBox*> boxes{d_frequency, d_tag, d_trunk, d_delay, d_lockout, d_series};
    connect(allChannels, &QPushButton::clicked, this, [this] {
        d_start->setText(QStringLiteral("1"));
        d_end->setText(QStringLiteral("250"));
    });
    connect(d_selectAll, &QPushButton::clicked, this, [this, boxes] {
        const bool tick = d_selectAll->text() == tr("Select All");
        for (QCheckBox* b : boxes) b->setChecked(tick);
        d_selectAll->setText(tick ? tr("Unselect All") : tr("Select All"));
    });
    connect(d_applyButton, &QPushButton::clicked, this, &Easy2::fill);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Apply is enabled again by any change of a field.
    auto changed = [this] {
        d_applyButton->setEnabled(true);
        d_result->clear();
    };
    for (QCheckBox* b : boxes) connect(b, &QCheckBox::toggled, this, changed);
    for (QLineEdit* e : {d_start, d_end, d_startMHz, d_tagText})
        connect(e, &QLineEdit::textChanged, this, changed);
    for (QComboBox* c : {d_trunkValue, d_delayValue, d_lockoutValue})
        connect(c, &QComboBox::currentIndexChanged, this, changed);
    connect(d_step, &QComboBox::currentTextChanged, this, changed);
}

EasyFillChoices Easy2::choices() const {
    EasyFillChoices c;
    c.start = ToL1(d_start->text());
    c.end = ToL1(d_end->text());
    c.frequency = d_frequency->isChecked();
    c.startMHz = ToL1(d_startMHz->text());
    c.stepKHz = ToL1(d_step->currentText());
    c.tag = d_tag->isChecked();
    c.tagText = ToL1(d_tagText->text());
    c.series = d_series->isChecked();
    if (d_trunk->isChecked()) c.trunk = d_trunkValue->currentIndex() == 1;
    if (d_delay->isChecked()) c.delay = d_delayValue->currentIndex() == 1;
    if (d_lockout->isChecked()) c.lockout = d_lockoutValue->currentIndex() == 1;
    return c;
}

void Easy2::fill() {
    const EasyFillChoices c = choices();
    if (!c.frequency && !c.tag && !c.trunk && !c.delay && !c.lockout) {
        d_result->setText(tr("Tick what to fill the range with."));
        return;
    }
    EasyFillResult result;
    const EasyFillRange range = EasyFillRangeOf(c.start, c.end);
    const bool done = d_apply(L1(EasyFillStepName(range)), [&](Image& image) {
        result = EasyFill(image, c);
        return result.changed;
    });
    if (!done) return;
    // The range as it was used.
    {
        const QSignalBlocker a(d_start), b(d_end);
        d_start->setText(QString::number(range.first));
        d_end->setText(QString::number(range.last));
    }
    QString text = tr("Channels %1 to %2 filled.").arg(range.first).arg(range.last);
    if (result.clamped > 0)
        text += ' ' + tr("%n frequencies lay outside the scanner's bands (25-512, 806-956, "
                         "1240-1300 MHz) and were stored at the nearest band edge.",
                         nullptr, result.clamped);
    d_result->setText(text);
    d_applyButton->setEnabled(false);
}

}  // namespace vex::gui
