#include "cli/Registry.h"

#include "cli/ExitCodes.h"
#include "core/appliances/Keyring.h"
#include "link/Wipe.h"
#include "res/Message.h"

#include <algorithm>
#include <ostream>

namespace qvctl {
namespace {

// Built on first use, so registrations from any source file's static initialisation find it.
std::vector<CommandEntry>& registry() {
    static std::vector<CommandEntry> commands;
    return commands;
}

} // namespace

bool registerCommand(CommandEntry entry) {
    registry().push_back(std::move(entry));
    return true;
}

const CommandEntry* findCommand(const std::string& name) {
    for (const CommandEntry& entry : registry())
        if (entry.name == name)
            return &entry;
    return nullptr;
}

std::vector<CommandEntry> allCommands() {
    std::vector<CommandEntry> commands = registry();
    std::sort(commands.begin(), commands.end(),
              [](const CommandEntry& a, const CommandEntry& b) { return a.name < b.name; });
    return commands;
}

CommandContext::CommandContext(const Options& options, std::ostream& out, std::ostream& err)
    : m_options(options), m_out(out), m_err(err) {}

CommandContext::~CommandContext() = default;

int CommandContext::logOn() {
    if (m_session)
        return kExitOk;
    std::string password, error;
    if (m_options.password) {
        password = *m_options.password;
    } else if (!obtainPassword(m_options, password, error)) {
        m_err << "qvctl: " << error << "\n";
        return kExitUsage;
    }
    auto session = std::make_unique<ApplianceSession>(m_options, m_err);
    const int status = session->logOn(password);
    if (status == kExitOk) {
        m_session = std::move(session);
        // Kept only once the appliance took it.
        if (m_options.savePassword && !m_options.applianceName.empty()) {
            const qv::appliances::KeyringResult saved =
                qv::appliances::storePassword(m_options.applianceName, m_options.server, password);
            if (const std::optional<qv::Message> why = saved.message())
                m_err << "qvctl: " << qv::format(*why) << "\n";
        }
    }
    qv::wipe(password);
    return status;
}

void CommandContext::print(const Report& report) {
    m_out << (m_options.json ? renderJson(report) : renderHuman(report)) << std::flush;
}

int CommandContext::usageError(const std::string& message) {
    m_err << "qvctl " << m_options.command << ": " << message << "\nTry 'qvctl "
          << m_options.command << " --help'.\n";
    return kExitUsage;
}

} // namespace qvctl
