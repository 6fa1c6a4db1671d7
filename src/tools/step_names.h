// The names of the undo steps, as the Edit menu shows them after "Undo " and "Redo ".
#pragma once

#include <string>

namespace vex {

// "bank 2" for bank index 1, "Dummy bank" for the Dummy bank.
std::string BankStepText(int bank);
// "Edit channel 12", "Edit channels 12 to 15" (absolute channel numbers).
std::string EditChannelsStepName(int firstChannel, int lastChannel);
// "Clear bank 2", "Clear Dummy bank".
std::string ClearBankStepName(int bank);

}  // namespace vex
