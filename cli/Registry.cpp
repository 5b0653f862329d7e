#include "Registry.h"

#include "ExitCodes.h"

#include <algorithm>
#include <iostream>

namespace qvctl {
namespace {

// Built on first use, so registrations from any source file's static initialisation find it.
std::vector<CommandSpec>& registry() {
    static std::vector<CommandSpec> commands;
    return commands;
}

} // namespace

bool registerCommand(CommandSpec spec) {
    registry().push_back(std::move(spec));
    return true;
}

const CommandSpec* findCommand(const std::string& name) {
    for (const CommandSpec& spec : registry())
        if (spec.name == name)
            return &spec;
    return nullptr;
}

std::vector<CommandSpec> allCommands() {
    std::vector<CommandSpec> commands = registry();
    std::sort(commands.begin(), commands.end(),
              [](const CommandSpec& a, const CommandSpec& b) { return a.name < b.name; });
    return commands;
}

CommandContext::CommandContext(const Options& options, std::ostream& out)
    : m_options(options), m_out(out) {}

CommandContext::~CommandContext() = default;

int CommandContext::logOn() {
    if (m_session)
        return kExitOk;
    std::string password, error;
    if (!obtainPassword(m_options, password, error)) {
        std::cerr << "qvctl: " << error << "\n";
        return kExitUsage;
    }
    auto session = std::make_unique<ApplianceSession>(m_options);
    const int status = session->logOn(password);
    if (status == kExitOk)
        m_session = std::move(session);
    return status;
}

void CommandContext::print(const Report& report) {
    m_out << (m_options.json ? renderJson(report) : renderHuman(report)) << std::flush;
}

int CommandContext::usageError(const std::string& message) {
    std::cerr << "qvctl " << m_options.command << ": " << message << "\nTry 'qvctl "
              << m_options.command << " --help'.\n";
    return kExitUsage;
}

} // namespace qvctl
