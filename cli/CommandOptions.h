#pragma once

// What a command's definition uses to declare its operands and options.

#include "cli/Registry.h"

#include <CLI/CLI.hpp>

#include <memory>

#include <string>
#include <vector>

namespace qvctl {

// A whole number from `min` to `max`, else the message `words` ("needs a number from 1 to 50").
CLI::Validator wholeNumberOption(long min, long max, const std::string& words);

// The words after a command that are not options, in their order, wherever the options stand
// among them; the command judges how many it takes. `name` is what the help calls them.
void addOperands(CLI::App& command, std::vector<std::string>& operands, const std::string& name);

// The definition of a command whose run reads only its operands.
template <int (*Run)(CommandContext&, const std::vector<std::string>&)>
CommandRun operandsOnly(CLI::App& command) {
    auto operands = std::make_shared<std::vector<std::string>>();
    addOperands(command, *operands, "ARGUMENTS");
    return [operands](CommandContext& context) { return Run(context, *operands); };
}

} // namespace qvctl

// Registers a command whose run reads only its operands.
#define QVCTL_OPERANDS_COMMAND(run, name, usage, summary)                                          \
    [[maybe_unused]] static const bool qvctlRegistered_##run =                                     \
        ::qvctl::registerCommand({name, usage, summary, &::qvctl::operandsOnly<run>})
