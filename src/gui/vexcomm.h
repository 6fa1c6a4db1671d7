// The communication window `vexcomm`: "Read Data" reads the scanner into the image, "Send Data"
// sends the image to the scanner (and clears a bank in it). It opens the serial port when it
// opens, reads the scanner's trunk types (what a read takes and a send compares with), and
// closes the port when it closes; the transfers themselves are the link's, this window only
// collects the choices, shows the progress and hands the result over.
#pragma once

#include <QDialog>
#include <QStringList>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/image.h"
#include "link/partial_read.h"
#include "link/transfer_choices.h"
#include "settings/options.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;

namespace vex {
struct ReadRequest;
struct SendRequest;
class Transport;
class Scheduler;
class LinkSession;
class SerialTrace;
struct TransferResult;
struct LinkProgress;
}  // namespace vex

namespace vex::gui {

class Prompter;

class VexComm : public QDialog {
    Q_OBJECT
  public:
    enum class Mode { Read, Send };

    // Opens the configured serial port (ComSettings: device or port number, baud rate). A read
    // replaces `image` when it completed, or when it ended half way and the user chose to keep
    // what was read; a send never changes it. Questions and notices go through `prompter`.
    VexComm(Mode mode, Image& image, const Options& options, const ComSettings& com,
            std::filesystem::path programFolder, Prompter& prompter, QWidget* parent = nullptr);
    // The same window over a line (and, when given, a clock) of the caller's choosing.
    VexComm(Mode mode, Image& image, const Options& options, long baud,
            std::unique_ptr<Transport> transport, std::filesystem::path programFolder,
            Prompter& prompter, QWidget* parent = nullptr,
            std::unique_ptr<Scheduler> scheduler = {});
    ~VexComm() override;

    Mode mode() const { return d_mode; }
    // True once a read has replaced the image.
    bool imageReplaced() const { return d_imageReplaced; }
    // True when the image holds a read that ended half way, kept at the user's wish: it matches
    // neither the scanner nor a file, so the caller should treat it as unsaved.
    bool partialReadKept() const { return d_partialKept; }
    // The names-read flag: bank names, trunk IDs or ID list tags have been read completely
    // since the window opened.
    bool namesRead() const { return d_namesRead; }
    bool busy() const;
    // The settle delay as the window's delay control left it (for the caller to keep).
    int delay1() const { return d_options.delay1; }
    // Opening has ended (the port opened or not, and the trunk type read that follows ended):
    // the transfer buttons take commands.
    bool ready() const { return d_ready; }

    // Compare With Scanner (Read mode): once the port is open, reads every bank into `copy`,
    // over the open image so that what the scanner does not store (tags, comments) stays as it
    // is, and closes; the open image is left alone. copyRead() is true when the read completed.
    void readIntoCopy(Image& copy);
    bool copyRead() const { return d_copyRead; }
    // Send Changes (Send mode): once the port is open, sends only what differs from the image
    // kept from the last complete transfer with this scanner; without one it says so and offers
    // the whole send.
    void sendChanges();

    // The single-bank flag the caller keeps between windows: set after a read of one bank, it
    // makes sending all banks ask once more. Set it before the window runs, take it after.
    bool singleBankFlag() const { return d_singleBankFlag; }
    void setSingleBankFlag(bool on) { d_singleBankFlag = on; }

  signals:
    // The start-up sequence has ended; `ok` false when the port could not be opened.
    void opened(bool ok);
    // Opening has ended: ready() is now true.
    void readied();
    // A transfer has ended (the value of vex::TransferOutcome).
    void transferFinished(int outcome);

  public slots:
    // Closing by any way (Esc, Close, the close box, a completed read) stops a running
    // transfer and closes the port.
    void done(int result) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // What the running transfer is: the trunk type read on opening, the main button's, one
    // step of a download, the bank names, a bank delete.
    enum class Job { None, OpenTypes, Main, Step, Names, Delete };
    enum class Step {
        Frequencies,
        TrunkData,
        TrunkSettings,
        TrunkTypes,
        BankNames,
        TrunkIds,
        IdListTags
    };
    void startItems(const TransferItems& items, Job job);
    void runStep(Step step);
    void build();
    void connectSession();
    void fillBankList();
    void openPort();
    void startTransfer();
    void deleteBank();
    void stopTransfer();
    void onProgress(const LinkProgress& progress);
    void onFinished(const TransferResult& result);
    void onOpenTypesFinished(const TransferResult& result);
    bool offerPartialRead(const TransferResult& result);
    // Before a read without "Merge Data" that would drop tags: says how many and offers to
    // merge instead (the request follows the answer).
    void confirmTagLoss(ReadRequest& request);
    void rememberChoices(const TransferItems& items);
    void saveChoices();
    void updatePlan();
    void updateControls();
    void setNamesRead(bool on);
    void setDelay(int ms);
    bool takeRange(int max, int& start, int& end);
    void tell(const QString& title, const QString& text, bool error);
    // Yes/No, No by default.
    bool ask(const QString& title, const QString& text, bool warning);
    void shutDown();
    void saveTrace();
    void startCopyRead();
    void startChanges();
    void sendEverything();
    // Keeps, or forgets, what the scanner holds after a transfer (for Send Changes); a note for
    // the user when that could not be written.
    QString recordTransfer(const TransferResult& result, Job job);

    Mode d_mode;
    Image& d_image;
    Options d_options;
    long d_baud;
    std::filesystem::path d_folder;
    std::unique_ptr<Scheduler> d_scheduler;
    std::unique_ptr<Transport> d_transport;
    std::unique_ptr<SerialTrace> d_serialTrace;  // outlives the session that feeds it
    std::unique_ptr<LinkSession> d_session;
    bool d_imageReplaced = false;
    bool d_partialKept = false;
    bool d_namesRead = false;
    bool d_ready = false;
    bool d_singleBankFlag = false;
    ChannelWalkWatch d_walk;
    bool d_closing = false;
    Job d_job = Job::None;
    std::array<std::string, kScannerBanks> d_scannerNames;
    TransferChoices d_choices;
    std::string d_identification;  // the scanner's, from opening the port
    bool d_detected = false;
    Image* d_copy = nullptr;  // readIntoCopy's target
    bool d_copyRead = false;
    bool d_changesAsked = false;
    std::unique_ptr<SendRequest> d_lastSend;
    Prompter& d_prompter;

    QCheckBox* d_frequencies = nullptr;
    QCheckBox* d_trunkIds = nullptr;
    QCheckBox* d_trunkSettings = nullptr;
    QRadioButton* d_allBanks = nullptr;
    QRadioButton* d_singleBank = nullptr;
    QRadioButton* d_channelRange = nullptr;
    QComboBox* d_bankList = nullptr;
    QLineEdit* d_rangeStart = nullptr;
    QLineEdit* d_rangeEnd = nullptr;
    QCheckBox* d_merge = nullptr;
    QPushButton* d_start = nullptr;
    QPushButton* d_delete = nullptr;
    QPushButton* d_stop = nullptr;
    QPushButton* d_close = nullptr;
    QLabel* d_delayLabel = nullptr;
    QSlider* d_delaySlider = nullptr;
    QLineEdit* d_delayField = nullptr;
    QLabel* d_delayUnit = nullptr;
    QLineEdit* d_channel = nullptr;
    QLineEdit* d_status = nullptr;
    QLineEdit* d_reply = nullptr;
    QLabel* d_scanner = nullptr;
    QCheckBox* d_namesReadBox = nullptr;
    QProgressBar* d_progress = nullptr;
    QLabel* d_plan = nullptr;
    std::vector<QPushButton*> d_stepButtons;
    QCheckBox* d_traceToggle = nullptr;
    QPlainTextEdit* d_trace = nullptr;
    QPushButton* d_saveTrace = nullptr;
};

}  // namespace vex::gui
