// The client's session over a scripted transport: the description cache, the trace, and how
// each kind of failed exchange is told.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>

#include "core/atomic_file.h"
#include "core/temp_folder.h"
#include "netdb/browse.h"
#include "netdb/messages.h"
#include "netdb/session.h"

namespace vex::netdb {
namespace {

class ScriptedTransport : public HttpTransport {
  public:
    void get(const std::string& url, const std::string&, const std::string&, int,
             Done done) override {
        urls.push_back(url);
        answer(std::move(done));
    }
    void post(const std::string& url, const std::string&, const std::string& body, int,
              Done done) override {
        urls.push_back(url);
        bodies.push_back(body);
        answer(std::move(done));
    }
    void cancel() override {}

    std::deque<HttpReply> replies;
    std::vector<std::string> urls, bodies;

  private:
    void answer(Done done) {
        HttpReply reply;
        if (!replies.empty()) {
            reply = replies.front();
            replies.pop_front();
        } else {
            reply.error = "Connection refused";
        }
        done(reply);
    }
};

const char* kDescription =
    "<definitions xmlns:tns=\"urn:t\" targetNamespace=\"urn:t\">"
    "<message name=\"getUserData\"/><message name=\"getUserDataResponse\"/>"
    "<portType><operation name=\"getUserData\"><input message=\"tns:getUserData\"/>"
    "<output message=\"tns:getUserDataResponse\"/></operation></portType>"
    "<binding><operation name=\"getUserData\"><soap:operation soapAction=\"urn:t#u\"/>"
    "</operation></binding></definitions>";

HttpReply Reply(int status, std::string body, std::string error = {}) {
    HttpReply r;
    r.status = status;
    r.body = std::move(body);
    r.error = std::move(error);
    return r;
}

// A reply that ended without an answer: timed out, too large or cancelled.
HttpReply Ended(bool HttpReply::*how) {
    HttpReply r;
    r.*how = true;
    return r;
}

class SessionTest : public testing::Test {
  protected:
    Outcome init() {
        Outcome result;
        session.init([&](Outcome o) { result = o; });
        return result;
    }
    SoapAnswer userData() {
        SoapAnswer result;
        session.call(kGetUserData, {}, [&](SoapAnswer a) { result = std::move(a); });
        return result;
    }
    vex::test::TempFolder folder;
    ScriptedTransport transport;
    Session session{transport, folder.path() / "marlosoap"};
};

struct FetchCase {
    const char* name;
    HttpReply reply;
    bool cached;
    const char* message;
};

class CacheTest : public SessionTest, public testing::WithParamInterface<FetchCase> {};

TEST_P(CacheTest, OnlyAGoodDescriptionIsCached) {
    session.setEndpoint(EndpointKind::Local, "http://127.0.0.1:9000/soap2/");
    transport.replies.push_back(GetParam().reply);
    const Outcome o = init();
    EXPECT_EQ(transport.urls.at(0), "http://127.0.0.1:9000/soap2/?wsdl&v=9");
    EXPECT_EQ(o.ok, GetParam().cached);
    EXPECT_EQ(std::filesystem::exists(folder.path() / "marlosoap" / "Local.wsdl"),
              GetParam().cached);
    EXPECT_EQ(o.message.substr(0, std::strlen(GetParam().message)), GetParam().message)
        << o.message;
}

INSTANTIATE_TEST_SUITE_P(
    Fetches, CacheTest,
    testing::Values(FetchCase{"Good", Reply(200, kDescription), true, ""},
                    FetchCase{"Cut", Reply(200, std::string(kDescription).substr(0, 80)), false,
                              "Error, can't load WSDL site"},
                    FetchCase{"CutByConnection", Reply(200, kDescription, "closed"), false,
                              "Error, can't load WSDL site"},
                    FetchCase{"TimedOut", Ended(&HttpReply::timedOut), false,
                              "Unexpected HTTP TimeOut"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionTest, CachedDescriptionIsUsedWithoutFetchingAndKeptApart) {
    std::filesystem::create_directories(folder.path() / "marlosoap");
    ASSERT_TRUE(WriteFileAtomically(folder.path() / "marlosoap" / "RR_Soap.wsdl", kDescription));
    EXPECT_TRUE(init().ok);
    EXPECT_TRUE(transport.urls.empty());
    session.setEndpoint(EndpointKind::Local, "http://127.0.0.1:9000/soap2/");
    EXPECT_FALSE(init().ok);  // Local.wsdl is not there, and nothing answers
    EXPECT_EQ(transport.urls.size(), 1u);
}

TEST_F(SessionTest, TraceNeverHoldsThePassword) {
    session.setCredentials("tester", "Secr3tPass");
    session.setTrace(true);
    transport.replies.push_back(Reply(200, kDescription));
    ASSERT_TRUE(init().ok);
    transport.replies.push_back(Reply(500,
                                      "<E:Envelope xmlns:E=\"e\"><E:Body><E:Fault><faultstring>"
                                      "bad password Secr3tPass</faultstring></E:Fault>"
                                      "</E:Body></E:Envelope>"));
    const SoapAnswer a = userData();
    EXPECT_FALSE(a.ok);
    ASSERT_EQ(transport.bodies.size(), 1u);
    EXPECT_NE(transport.bodies[0].find("Secr3tPass"), std::string::npos);  // sent to the service
    std::string trace;
    ASSERT_TRUE(ReadWholeFile(session.traceFile(), trace));
    EXPECT_NE(trace.find("getUserData"), std::string::npos);
    EXPECT_EQ(trace.find("Secr3tPass"), std::string::npos);
}

struct CallCase {
    const char* name;
    HttpReply reply;
    const char* message;
};

class CallFailureTest : public SessionTest, public testing::WithParamInterface<CallCase> {};

TEST_P(CallFailureTest, SaysWhatWentWrong) {
    transport.replies.push_back(Reply(200, kDescription));
    ASSERT_TRUE(init().ok);
    transport.replies.push_back(GetParam().reply);
    const SoapAnswer a = userData();
    EXPECT_FALSE(a.ok);
    EXPECT_EQ(a.message.substr(0, std::strlen(GetParam().message)), GetParam().message)
        << a.message;
}

INSTANTIATE_TEST_SUITE_P(
    Calls, CallFailureTest,
    testing::Values(CallCase{"Down", Reply(0, "", "Connection refused"),
                             "The frequency database cannot be reached: Connection refused"},
                    CallCase{"Cancelled", Ended(&HttpReply::cancelled), "Cancelled."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionTest, FailedUserDataKeepsTheServiceText) {
    session.setCredentials("tester", "wrong");
    transport.replies.push_back(Reply(200, kDescription));
    transport.replies.push_back(Reply(500,
                                      "<E:Envelope xmlns:E=\"e\"><E:Body><E:Fault><faultstring>"
                                      "Invalid username or password.</faultstring></E:Fault>"
                                      "</E:Body></E:Envelope>"));
    LoginResult result;
    Login(session, [&](LoginResult r) { result = std::move(r); });
    EXPECT_FALSE(result.outcome.ok);
    EXPECT_EQ(result.outcome.message, std::string(kMsgNoUserData) + " " +
                                          std::string(kMsgServiceFault) +
                                          "Invalid username or password.");
    // A refusal, which the window does not retry; an unanswered call is no refusal.
    EXPECT_TRUE(result.outcome.refused);
    EXPECT_NE(session.lastAnswer().find("Invalid username"), std::string::npos);
    EXPECT_EQ(session.answerCount(), 2);
    transport.replies.push_back(Reply(503, "<html>down</html>"));
    Login(session, [&](LoginResult r) { result = std::move(r); });
    EXPECT_FALSE(result.outcome.ok);
    EXPECT_FALSE(result.outcome.refused);
}

TEST(EndpointTest, TypedAddressesBecomeBaseAddresses) {
    EXPECT_EQ(NormaliseEndpoint("127.0.0.1:9000"), "http://127.0.0.1:9000/soap2/");
    EXPECT_EQ(NormaliseEndpoint("http://localhost:9000/soap2/"), "http://localhost:9000/soap2/");
    EXPECT_EQ(NormaliseEndpoint("http://db.lan/freq"), "http://db.lan/freq/soap2/");
    EXPECT_EQ(NormaliseEndpoint("https://db.lan:8443/soap2"), "https://db.lan:8443/soap2/");
    EXPECT_EQ(NormaliseEndpoint(""), "");
    EXPECT_EQ(NormaliseEndpoint("ftp://db.lan/"), "");
    EXPECT_EQ(NormaliseEndpoint("http:///soap2/"), "");
    EXPECT_EQ(NormaliseEndpoint("http://h/?x=1"), "");
}

}  // namespace
}  // namespace vex::netdb
