// The database address dialog `FrmDBaseLoc`: the public service, or a local one at any URL.
#pragma once

#include <QDialog>
#include <string>

#include "netdb/session.h"

class QLineEdit;
class QRadioButton;

namespace vex::gui {

class Prompter;

class FrmDBaseLoc : public QDialog {
    Q_OBJECT
  public:
    FrmDBaseLoc(netdb::EndpointKind kind, const std::string& endpoint, Prompter& prompter,
                QWidget* parent = nullptr);

    // The choice after "OK".
    netdb::EndpointKind kind() const { return d_kind; }
    const std::string& endpoint() const { return d_endpoint; }

    QLineEdit* addressBox() const { return d_address; }
    QRadioButton* localButton() const { return d_local; }

  protected:
    void done(int result) override;

  private:
    void showChoice();

    Prompter& d_prompter;
    QRadioButton* d_remote;
    QRadioButton* d_local;
    QLineEdit* d_address;
    netdb::EndpointKind d_kind;
    std::string d_endpoint;
    std::string d_localText;
    bool d_showingLocal = false;  // the box holds the local address being edited
};

}  // namespace vex::gui
