// The Virtual Control Panel `lcd8`: the scanner's front with its display and keys. It polls
// the display over its own serial port, draws it again only when it changed, sends a key when
// the user clicks one (right click: the held form of L/O, PRI, TRUNK and ENTER; keyboard
// shortcuts for every key) and logs what the scanner receives into its grid and idlog.txt. It
// stays open beside the main window.
#pragma once

#include <QWidget>
#include <array>
#include <filesystem>
#include <memory>

#include "link/panel_poller.h"
#include "settings/options.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace vex {
class Scheduler;
class Transport;
}  // namespace vex

namespace vex::gui {

class MemTab;
class Prompter;

// The drawn display: indicators, bank digits, channel, frequency, STATUS and TAG, mode line.
class LcdView : public QWidget {
    Q_OBJECT
  public:
    explicit LcdView(QWidget* parent = nullptr);
    void setDisplay(const PanelDisplay& display);
    void setNoScanner(const QString& text);  // empty: the display is live
    const PanelDisplay& display() const { return d_display; }
    // Times the display was painted (for tests and the benchmark).
    int paints() const { return d_paints; }
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    PanelDisplay d_display;
    QString d_notice;
    int d_paints = 0;
};

class Lcd8 : public QWidget {
    Q_OBJECT
  public:
    // Opens the configured port.
    Lcd8(const Options& options, const ComSettings& com, std::filesystem::path programFolder,
         Prompter& prompter, QWidget* parent = nullptr);
    // Over a line and a clock of the caller's choosing.
    Lcd8(const Options& options, std::unique_ptr<Transport> transport,
         std::unique_ptr<Scheduler> scheduler, std::filesystem::path programFolder,
         Prompter& prompter, QWidget* parent = nullptr, PanelTiming timing = {});
    ~Lcd8() override;

    PanelPoller& poller() { return *d_poller; }
    LcdView* view() const { return d_view; }
    QTableWidget* logGrid() const { return d_log; }
    // Clicks a key as the mouse would (held: the right button).
    void clickKey(std::string_view caption, bool held = false);

  signals:
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void build();
    QPushButton* addKey(const PanelKey& key, QWidget* parent);
    void sendKey(const PanelKey& key, bool held);
    void onState(PanelState state);
    void onLogged(const std::vector<Reception>& receptions);
    void startPolling();

    Options d_options;
    std::filesystem::path d_folder;
    Prompter& d_prompter;
    std::unique_ptr<Scheduler> d_scheduler;
    std::unique_ptr<Transport> d_transport;
    std::unique_ptr<PanelPoller> d_poller;
    LcdView* d_view = nullptr;
    QTableWidget* d_log = nullptr;
    QLabel* d_status = nullptr;
    bool d_closed = false;
};

// "&Virtual Control" of the main window: opens the panel beside it (or raises the open one).
// With `vcm` 1 the main window refuses its transfers and pauses the backup while it is open.
void OpenVirtualControl(MemTab& main);
// The open panel, if any.
Lcd8* OpenPanel();

}  // namespace vex::gui
