// The jobs a session runs, by family: reading, sending and the scanner's tables. Each ends with
// the outcome in the context's result; the session reports it.
#pragma once

#include "link/job_context.h"

namespace vex {

inline constexpr std::string_view kTrunkTypeFailed = "Reading trunktype failed.";
inline constexpr std::string_view kSelectArea = "Please select All Banks or Single Bank.";

// The start-up sequence; the outcome goes to context.open.
Task<void> openJob(JobContext& context);

// Reading (session_read.cpp).
Task<void> readJob(JobContext& context, ReadRequest request);

// Sending (session_send.cpp).
Task<void> sendJob(JobContext& context, SendRequest request);
Task<void> deleteBankJob(JobContext& context, int bank);

// The scanner's tables (session_tables.cpp).
Task<void> bankNamesJob(JobContext& context);
Task<void> trunkTypesJob(JobContext& context);
Task<void> idListTagsJob(JobContext& context);
// The scanner's trunk type of each bank ("TB A" .. "TB E") into context.scanner.
Task<bool> readTrunkTypes(JobContext& context);
// "Read Data" takes the scanner's types as the image's; a name the table does not know leaves
// the bank's type as it was.
void takeScannerTypes(JobContext& context);
// The ID list tags "TA L A 0" .. "TA L J 9" into context.work.ScanListTag, stored only once the
// walk has come to its end; then the search-range names. False when the read had to end (the
// result says why).
Task<bool> readIdListTags(JobContext& context);

}  // namespace vex
