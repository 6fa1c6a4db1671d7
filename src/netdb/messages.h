// The texts the database import shows, in one place so the window, the command line and the
// tests use the same words.
#pragma once

#include <string>
#include <string_view>

namespace vex::netdb {

inline constexpr std::string_view kCaption = "Frequency Database WebService - build 62";
inline constexpr std::string_view kMsgWsdlLoad =
    "Error, can't load WSDL site, check firewall settings";
inline constexpr std::string_view kMsgHttpTimeout = "Unexpected HTTP TimeOut";
inline constexpr std::string_view kMsgUnexpectedReturn = "Unexpected Return:";
inline constexpr std::string_view kMsgInitNotOk = "INIT not ok, check firewall settings.";
inline constexpr std::string_view kMsgNoUserData = "INIT not ok, can't read user data.";
inline constexpr std::string_view kMsgSubscription = "Subscription expires on: ";
inline constexpr std::string_view kMsgUnknownDate = "UnKnown";
inline constexpr std::string_view kMsgNoResponse = "No Response From Web Service.";
inline constexpr std::string_view kMsgNoResponseRepeated =
    "Error, no response from webservice, check firewall/username/password";
inline constexpr std::string_view kMsgWaitConnecting = "Wait connecting.";
inline constexpr std::string_view kMsgReadingStates = "Reading States for Country ";
inline constexpr std::string_view kMsgSelectState = "Please select State.";
inline constexpr std::string_view kMsgWaitRetrieving = "Wait retrieving data from database..";
inline constexpr std::string_view kMsgWaitProcessing = "Wait processing data";
inline constexpr std::string_view kMsgSelectCountyAgency = "Please select County or Agency";
inline constexpr std::string_view kMsgDone = "Done.";
inline constexpr std::string_view kMsgSelectSite = "Please select at least one site.";
inline constexpr std::string_view kMsgSelectFrequency =
    "Please select at least one frequency for import.";
inline constexpr std::string_view kMsgLcnWarningTitle = "Edacs/LTR LCN warning";
inline constexpr std::string_view kMsgLcnWarning =
    "Warning: You selected more than one site, your scanner may not trunk this system "
    "properly.\nPlease select only one site.";
inline constexpr std::string_view kMsgNotSupported =
    "trunk system type not supported by this scanner model";
inline constexpr std::string_view kMsgLogDeleted = "Log file deleted.";
inline constexpr std::string_view kMsgDeletingWsdl = "deleting wsdl: ";
inline constexpr std::string_view kMsgFileNotFound = "file not found";
inline constexpr std::string_view kMsgEnterUser =
    "Please enter the user name of your frequency database account.";
inline constexpr std::string_view kMsgEnterPassword =
    "Please enter the password of your frequency database account.";
inline constexpr std::string_view kMsgServiceFault = "The frequency database refused the request: ";
inline constexpr std::string_view kMsgAnswerUnreadable =
    "The answer of the frequency database could not be read: ";
inline constexpr std::string_view kMsgCancelled = "Cancelled.";
inline constexpr std::string_view kMsgPasswordUnencrypted =
    "The password is stored unencrypted in your user settings.";

inline std::string HttpErrorMessage(int status) {
    return "The frequency database answered with an error page (HTTP " + std::to_string(status) +
           ").";
}

}  // namespace vex::netdb
