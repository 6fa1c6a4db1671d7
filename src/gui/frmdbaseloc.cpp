#include "gui/frmdbaseloc.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/prompter.h"

namespace vex::gui {

FrmDBaseLoc::FrmDBaseLoc(netdb::EndpointKind kind, const std::string& endpoint, Prompter& prompter,
                         QWidget* parent)
    : QDialog(parent), d_prompter(prompter), d_kind(kind), d_endpoint(endpoint) {
    setWindowTitle(tr("Database Address"));
    setObjectName("FrmDBaseLoc");
    auto* layout = new QVBoxLayout(this);
    d_remote = new QRadioButton(tr("remote"), this);
    d_remote->setObjectName("remote");
    d_local = new QRadioButton(tr("local"), this);
    d_local->setObjectName("local");
    d_address = new QLineEdit(this);
    d_address->setObjectName("address");
    d_address->setToolTip(tr("Any address, for example 127.0.0.1:9000 or http://host:port/soap2/"));
    layout->addWidget(new QLabel(tr("Where the frequency database is reached:"), this));
    layout->addWidget(d_remote);
    layout->addWidget(d_local);
    layout->addWidget(d_address);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    d_localText =
        kind == netdb::EndpointKind::Local ? endpoint : std::string(netdb::kLocalEndpoint);
    (kind == netdb::EndpointKind::Local ? d_local : d_remote)->setChecked(true);
    connect(d_remote, &QRadioButton::toggled, this, [this] { showChoice(); });
    connect(d_local, &QRadioButton::toggled, this, [this] { showChoice(); });
    // An emptied box gets the local default back.
    connect(d_address, &QLineEdit::editingFinished, this, [this] {
        if (d_local->isChecked() && d_address->text().trimmed().isEmpty())
            d_address->setText(L1(netdb::kLocalEndpoint));
    });
    showChoice();
}

void FrmDBaseLoc::showChoice() {
    const bool local = d_local->isChecked();
    if (d_showingLocal && !local) d_localText = ToL1(d_address->text());
    d_showingLocal = local;
    d_address->setEnabled(local);
    d_address->setReadOnly(!local);
    d_address->setText(local ? L1(d_localText) : L1(netdb::kRemoteEndpoint));
}

void FrmDBaseLoc::done(int result) {
    if (result == QDialog::Accepted) {
        if (d_local->isChecked()) {
            const std::string normalised = netdb::NormaliseEndpoint(ToL1(d_address->text()));
            if (normalised.empty()) {
                d_prompter.tell(this, windowTitle(),
                                tr("\"%1\" is not a usable address. Type one such as "
                                   "127.0.0.1:9000 or http://host:port/soap2/.")
                                    .arg(d_address->text()),
                                NoticeIcon::Warning);
                return;
            }
            d_kind = netdb::EndpointKind::Local;
            d_endpoint = normalised;
        } else {
            d_kind = netdb::EndpointKind::Remote;
            d_endpoint = netdb::kRemoteEndpoint;
        }
    }
    QDialog::done(result);
}

}  // namespace vex::gui
