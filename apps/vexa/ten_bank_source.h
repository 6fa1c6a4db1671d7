// The two imports from a ten-bank sibling MEM file share their argument checks and reading.
#pragma once

#include <memory>

#include "commands.h"
#include "core/memfile.h"

namespace vexa {

struct TenBankChoice {
    bool all = false;
    int source = -1;  // 0..9
    int bank = -1;    // destination
};

// Parses (--all | --from 1..10 --bank ...) ; false with `exitCode` on a usage error.
bool ParseTenBankChoice(const ParsedArgs& parsed, bool allowDummy, TenBankChoice& choice,
                        int& exitCode);

// Reads the file; nullptr (after telling why, with `exitCode`) when it is refused.
std::unique_ptr<vex::TenBankFile> ReadTenBankSource(const std::string& path, int& exitCode);

}  // namespace vexa
