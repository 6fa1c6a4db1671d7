// The description parser, requests, and the reading of answers, hostile ones included.
#include <gtest/gtest.h>

#include "netdb/messages.h"
#include "netdb/records.h"
#include "netdb/soap.h"
#include "netdb/xml_load.h"

namespace vex::netdb {
namespace {

// A small description in the service's style; `prefix` is how messages are referred to.
std::string Description(const std::string& prefix = "tns:") {
    return "<?xml version=\"1.0\"?>"
           "<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\" "
           "xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\" xmlns:tns=\"urn:t\" "
           "targetNamespace=\"urn:t\">"
           "<types><xsd:schema xmlns:xsd=\"x\" targetNamespace=\"urn:t\">"
           "<xsd:import namespace=\"n\"/>"
           "<xsd:complexType name=\"getCountyInfoResponse\"><xsd:all>"
           "<xsd:element name=\"return\" type=\"tns:County\"/></xsd:all></xsd:complexType>"
           "<xsd:complexType name=\"Freqs\"><xsd:complexContent><xsd:restriction "
           "base=\"SOAP-ENC:Array\"><xsd:attribute ref=\"SOAP-ENC:arrayType\" "
           "wsdl:arrayType=\"tns:Freq[]\"/></xsd:restriction></xsd:complexContent>"
           "</xsd:complexType></xsd:schema></types>"
           "<message name=\"getCountyInfo\"><part name=\"ctid\" type=\"xsd:int\"/>"
           "<part name=\"authInfo\" type=\"tns:authInfo\"/></message>"
           "<message name=\"getCountyInfoResponse\"><part name=\"return\" type=\"tns:County\"/>"
           "</message>"
           "<portType name=\"PT\"><operation name=\"getCountyInfo\"><documentation>County"
           "</documentation><input message=\"" +
           prefix + "getCountyInfo\"/><output message=\"" + prefix +
           "getCountyInfoResponse\"/></operation></portType>"
           "<binding name=\"B\" type=\"tns:PT\"><soap:binding style=\"rpc\" transport=\"http\"/>"
           "<operation name=\"getCountyInfo\"><soap:operation soapAction=\"urn:t#getCountyInfo\" "
           "style=\"rpc\"/><input><soap:body use=\"encoded\" namespace=\"urn:t\"/></input>"
           "<output><soap:body use=\"encoded\" namespace=\"urn:t\"/></output></operation>"
           "</binding><service name=\"S\"><port name=\"P\" binding=\"tns:B\">"
           "<soap:address location=\"http://h/soap2/index.php\"/></port></service></definitions>";
}

TEST(WsdlTest, ParsesAndSelectsAnOperationOrNone) {
    const WsdlParse parsed = ParseWsdl(Description());
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const WsdlModel& m = parsed.model;
    EXPECT_EQ(m.targetNamespace, "urn:t");
    EXPECT_EQ(m.address, "http://h/soap2/index.php");
    EXPECT_EQ(m.bindingStyle, "rpc");
    EXPECT_EQ(m.types.at(1).arrayType, "tns:Freq[]");
    const SelectedOperation op = SelectOperation(m, kGetCountyInfo);
    EXPECT_TRUE(op.found);
    EXPECT_EQ(op.binding.soapAction, "urn:t#getCountyInfo");
    ASSERT_EQ(op.inputParts.size(), 2u);
    EXPECT_EQ(op.inputParts[0], (MessagePart{"ctid", "xsd:int"}));
    EXPECT_EQ(op.type.name, "getCountyInfoResponse");
    const SelectedOperation missing = SelectOperation(m, kGetTrsSites);
    EXPECT_FALSE(missing.found);
    EXPECT_TRUE(missing.binding.soapAction.empty());
    EXPECT_EQ(OperationName(30), "");
    EXPECT_EQ(OperationName(29), "registerPCUniqueString");
}

TEST(WsdlTest, MessagesWithoutOrWithOtherPrefixesAreFound) {
    for (const std::string prefix : {"", "ns:", "service:"}) {
        const SelectedOperation op =
            SelectOperation(ParseWsdl(Description(prefix)).model, kGetCountyInfo);
        EXPECT_EQ(op.inputParts.size(), 2u) << prefix;
        EXPECT_NE(ComposeRequest({}, op, {}, {}).find("<m:getCountyInfo "), std::string::npos);
    }
}

TEST(RequestTest, ParametersThenAuthInfoInOrder) {
    const WsdlModel model = ParseWsdl(Description()).model;
    const SelectedOperation op = SelectOperation(model, kGetCountyInfo);
    const Credentials c{"tester", "s&cret", "46021937", "9"};
    const std::string xml = ComposeRequest(model, op, {{"ctid", -5}}, c);
    EXPECT_NE(xml.find("<m:getCountyInfo xmlns:m=\"urn:t/\">"), std::string::npos);
    EXPECT_NE(xml.find("<ctid xsi:type=\"xsd:int\">-5</ctid><authInfo><username"),
              std::string::npos);
    EXPECT_NE(xml.find("s&amp;cret</password><appKey xsi:type=\"xsd:string\">46021937</appKey>"
                       "<version xsi:type=\"xsd:string\">9</version></authInfo>"),
              std::string::npos);
}

std::string Answer(const std::string& inner) {
    return "<?xml version=\"1.0\"?><E:Envelope xmlns:E=\"e\"><E:Body>" + inner +
           "</E:Body></E:Envelope>";
}

struct AnswerCase {
    const char* name;
    std::string body;
    int status;
    std::string message;  // expected start of the message; empty = success
};

class AnswerTest : public testing::TestWithParam<AnswerCase> {};

TEST_P(AnswerTest, ReadsOrExplains) {
    const SelectedOperation op = SelectOperation(ParseWsdl(Description()).model, kGetCountyInfo);
    const SoapAnswer a = ReadAnswer(GetParam().body, GetParam().status, op);
    if (GetParam().message.empty()) {
        ASSERT_TRUE(a.ok) << a.message;
        EXPECT_EQ(std::string(ChildNamed(a.value, "countyName").text().get()), "Ember");
    } else {
        EXPECT_FALSE(a.ok);
        EXPECT_EQ(a.message.substr(0, GetParam().message.size()), GetParam().message) << a.message;
    }
}

std::string Nested(int depth) {
    std::string s;
    for (int i = 0; i < depth; ++i) s += "<a>";
    for (int i = 0; i < depth; ++i) s += "</a>";
    return Answer(s);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, AnswerTest,
    testing::Values(
        AnswerCase{"Good",
                   Answer("<ns:getCountyInfoResponse><return><countyName>Ember</countyName>"
                          "</return></ns:getCountyInfoResponse>"),
                   200, ""},
        AnswerCase{"Fault",
                   Answer("<E:Fault><faultcode>c</faultcode><faultstring>Invalid username"
                          " or password.</faultstring></E:Fault>"),
                   500, std::string(kMsgServiceFault) + "Invalid username or password."},
        AnswerCase{"ErrorPageNotXml", "Service Unavailable", 502, HttpErrorMessage(502)},
        AnswerCase{"Cut", Answer("<ns:getCountyInfoResponse><return><countyName>Em").substr(0, 90),
                   200, std::string(kMsgAnswerUnreadable)},
        AnswerCase{"NotSoap", "<hello/>", 200, std::string(kMsgAnswerUnreadable)},
        AnswerCase{"EntityExpansion",
                   "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY a \"aaaa\"><!ENTITY b "
                   "\"&a;&a;&a;&a;\">]><E:Envelope xmlns:E=\"e\"><E:Body>&b;</E:Body></E:Envelope>",
                   200, std::string(kMsgAnswerUnreadable) + "the XML text declares"},
        AnswerCase{"DeepNesting", Nested(100000), 200,
                   std::string(kMsgAnswerUnreadable) + "the XML text is nested"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(XmlLimitTest, RefusesHugeText) {
    pugi::xml_document doc;
    const std::string huge(kMaxXmlBytes + 1, ' ');
    const XmlLoad load = LoadXml(doc, huge);
    EXPECT_FALSE(load.ok);
    EXPECT_NE(load.error.find("too large"), std::string::npos);
}

TEST(RecordTest, FieldsByNameWithDefaultsAndSemicolons) {
    pugi::xml_document doc;
    ASSERT_TRUE(LoadXml(doc,
                        "<r><item><fid>7</fid><out>155.0100</out><descr>Main, North"
                        "</descr><tags><item><tagId>2</tagId></item></tags></item>"
                        "<item><siteId>3</siteId><siteFreqs><item><lcn>4</lcn><freq>461.2"
                        "</freq><use>d</use></item></siteFreqs></item>"
                        "<item><tgCid>9</tgCid><tgCname></tgCname></item>"
                        "<item><tgDescr>A, B</tgDescr><tgLtr>true</tgLtr><tgDec>99999999999"
                        "</tgDec></item></r>"));
    const auto items = Items(doc.document_element());
    ASSERT_EQ(items.size(), 4u);
    const Frequency f = ReadFrequency(items[0]);
    EXPECT_EQ(f.fid, 7);
    EXPECT_EQ(f.descr, "Main; North");
    EXPECT_EQ(f.alpha, "");
    EXPECT_EQ(f.tags, std::vector<std::int32_t>{2});
    const Site s = ReadSite(items[1]);
    EXPECT_EQ(s.ctid, "Null");
    ASSERT_EQ(s.freqs.size(), 1u);
    EXPECT_EQ(s.freqs[0].lcn, 4);
    EXPECT_EQ(s.freqs[0].use, "d");
    EXPECT_EQ(ReadTalkgroupCat(items[2]).name, "All");
    const Talkgroup t = ReadTalkgroup(items[3]);
    EXPECT_EQ(t.descr, "A; B");
    EXPECT_TRUE(t.ltr);
    EXPECT_EQ(t.tgDec, 0);  // out of range reads as the default
}

TEST(NameTableTest, CategoriesAndSystemTypes) {
    EXPECT_EQ(CategoryName(5), "");
    EXPECT_EQ(CategoryName(215), "Custom 8");
    EXPECT_EQ(SortedCategoryNames().front(), "Aircraft");
    EXPECT_EQ(SystemTypeName(8), "Project 25");
    EXPECT_EQ(SystemTypeName(90), "Other");
}

}  // namespace
}  // namespace vex::netdb
