#include "tools/step_names.h"

#include "core/image.h"

namespace vex {

std::string BankStepText(int bank) {
    if (bank == kDummyBank) return "Dummy bank";
    return "bank " + std::to_string(bank + 1);
}

std::string EditChannelsStepName(int firstChannel, int lastChannel) {
    if (firstChannel == lastChannel) return "Edit channel " + std::to_string(firstChannel);
    return "Edit channels " + std::to_string(firstChannel) + " to " + std::to_string(lastChannel);
}

std::string ClearBankStepName(int bank) {
    return "Clear " + BankStepText(bank);
}

}  // namespace vex
