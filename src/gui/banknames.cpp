#include "gui/banknames.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "gui/memtab.h"
#include "gui/prompter.h"

namespace vex::gui {
namespace {

constexpr std::size_t kNameLength = 16;

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text.substr(0, kNameLength);
}

}  // namespace

std::string CenteredName(std::string_view text) {
    const std::string_view t = Trim(text);
    std::string out((kNameLength - t.size()) / 2, ' ');
    out += t;
    out.resize(kNameLength, ' ');
    return out;
}

std::string LeftName(std::string_view text) {
    std::string out(Trim(text));
    out.resize(kNameLength, ' ');
    return out;
}

BankNamesDialog::BankNamesDialog(const std::array<std::string, 6>& names, const Options& options,
                                 long baud, std::unique_ptr<Transport> transport,
                                 Prompter& prompter, QWidget* parent,
                                 std::unique_ptr<Scheduler> scheduler)
    : ScannerDialog(tr("Bank Tags"), options, baud, std::move(transport), std::move(scheduler),
                    prompter, true, parent) {
    setObjectName(QStringLiteral("tbtags"));
    auto* form = new QFormLayout;
    for (int b = 0; b < 6; ++b) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("name%1").arg(b + 1));
        field->setMaxLength(static_cast<int>(kNameLength));
        // The names live in comma-separated files: no double quotes.
        field->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\"]*")), field));
        field->setFont(QFont(QStringLiteral("Monospace")));
        form->addRow(b < 5 ? tr("Bank %1:").arg(b + 1) : tr("Dummy:"), field);
        d_fields[static_cast<std::size_t>(b)] = field;
    }
    body()->addLayout(form);
    body()->addWidget(new QLabel(tr("Maximum 16 characters are allowed."), this));
    setAll(names);

    auto* grid = new QGridLayout;
    auto button = [&](const QString& caption, const char* name, int row, int column) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        grid->addWidget(b, row, column);
        return b;
    };
    QPushButton* ok = button(tr("Ok"), "ok", 0, 0);
    QPushButton* cancel = button(tr("Cancel"), "cancel", 0, 1);
    QPushButton* clear = button(tr("Clear All"), "clearAll", 0, 2);
    QPushButton* defaults = button(tr("Default"), "default", 1, 0);
    QPushButton* center = button(tr("Center"), "center", 1, 1);
    QPushButton* left = button(tr("Left"), "left", 1, 2);
    QPushButton* update = button(tr("Update scanner now"), "update", 2, 0);
    body()->addLayout(grid);
    addScannerControl(update);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(clear, &QPushButton::clicked, this, [this] {
        for (QLineEdit* f : d_fields) f->clear();
    });
    connect(defaults, &QPushButton::clicked, this, [this] {
        setAll({"Bank: 1", "Bank: 2", "Bank: 3", "Bank: 4", "Bank: 5", "Dummy"});
    });
    connect(center, &QPushButton::clicked, this, [this] {
        for (QLineEdit* f : d_fields) f->setText(L1(CenteredName(ToL1(f->text()))));
    });
    connect(left, &QPushButton::clicked, this, [this] {
        for (QLineEdit* f : d_fields) f->setText(L1(LeftName(ToL1(f->text()))));
    });
    connect(update, &QPushButton::clicked, this, [this] {
        const std::array<std::string, 6> all = this->names();
        d_stored = all;
        std::array<std::string, 5> banks;
        std::copy_n(all.begin(), 5, banks.begin());
        runJob(
            tr("Writing the bank names"),
            [banks](ScannerJobs& jobs) { return jobs.sendBankNames(banks); },
            [this](const ScannerJobResult& r) {
                if (r.ok) setStatus(tr("The scanner has the new bank names."));
            });
    });
}

void BankNamesDialog::setAll(const std::array<std::string, 6>& names) {
    for (int b = 0; b < 6; ++b)
        d_fields[static_cast<std::size_t>(b)]->setText(L1(names[static_cast<std::size_t>(b)]));
}

std::array<std::string, 6> BankNamesDialog::names() const {
    std::array<std::string, 6> out;
    for (int b = 0; b < 6; ++b) {
        std::string text =
            ToL1(d_fields[static_cast<std::size_t>(b)]->text()).substr(0, kNameLength);
        out[static_cast<std::size_t>(b)] = text.empty() ? std::string(" ") : text;
    }
    return out;
}

void OpenBankNames(MemTab& main) {
    if (!MayOpenScannerDialog(main)) return;
    AppState& state = main.state();
    std::array<std::string, 6> current;
    std::copy_n(state.image.BankTag.begin(), 6, current.begin());
    BankNamesDialog dialog(current, state.options, state.com.baud,
                           ScannerDialogTransport(state.com), main.prompter(), &main);
    // "Update scanner now" keeps the names as "Ok" does.
    std::array<std::string, 6> names;
    if (main.dialogs().exec(dialog) == QDialog::Accepted) {
        names = dialog.names();
    } else if (dialog.stored()) {
        names = *dialog.stored();
    } else {
        return;
    }
    main.applyImageChange(QObject::tr("Bank tags"), [&](Image& image) {
        bool changed = false;
        for (int b = 0; b < 6; ++b) {
            changed = changed || image.BankTag[static_cast<std::size_t>(b)] !=
                                     names[static_cast<std::size_t>(b)];
            image.BankTag[static_cast<std::size_t>(b)] = names[static_cast<std::size_t>(b)];
        }
        return changed;
    });
    main.updateBankCaptions();
}

}  // namespace vex::gui
