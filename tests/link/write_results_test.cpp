// What the link writes beside a transfer (version.ini, the transfer logs) is checked: a file
// that cannot be written becomes a warning of the result, not silence. And a question nobody
// can answer is a No.
#include "session_fixture.h"

namespace vex::test {
namespace {

using LinkWrites = SessionTest;

TEST_F(LinkWrites, FilesThatCannotBeWrittenAreWarningsOfTheOpenAndTheTransfer) {
    std::filesystem::create_directory(folder / "version.ini");
    std::filesystem::create_directory(folder / "txlog.txt");
    const OpenResult opened = open();
    EXPECT_TRUE(opened.port.ok());
    EXPECT_EQ(opened.warnings,
              (std::vector<std::string>{"version.ini could not be written: it is a folder."}));
    image.channel(0, 1)[kFieldFrequency] = "0162.5500";
    const TransferResult r = send(SendRange(1, 2));
    EXPECT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_EQ(
        r.warnings,
        (std::vector<std::string>{"The log txlog.txt could not be written: it is a folder."}));
}

TEST_F(LinkWrites, AQuestionWithNobodyToAnswerIsNo) {
    make();
    LinkEvents events;
    events.finished = [this](const TransferResult& r) { result = r; };
    session->setEvents(std::move(events));
    image.channel(0, 1)[kFieldFrequency] = "0162.5500";
    session->startSend(image, SendRange(1, 2));
    const TransferResult r = runToEnd();
    EXPECT_EQ(r.outcome, TransferOutcome::Refused);
    EXPECT_TRUE(scanner.sent.empty()) << "nothing may be sent unconfirmed";
}

}  // namespace
}  // namespace vex::test
