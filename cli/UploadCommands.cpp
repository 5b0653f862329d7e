// Uploads, the logo's delete, software and firmware update, reboot: the same limits, checks and
// messages as the window's upload and update pages, in the terminal's language.

#include "cli/CommandOptions.h"
#include "cli/ExitCodes.h"
#include "cli/Registry.h"
#include "cli/Terminal.h"
#include "core/upload/UpdateSteps.h"
#include "core/upload/UploadRules.h"
#include "link/Answers.h"
#include "link/Commands.h"
#include "link/Requests.h"
#include "res/Message.h"
#include "res/StringTable.h"

#include <charconv>
#include <chrono>
#include <iostream>
#include <map>
#include <string>

namespace qvctl {
namespace {

namespace upload = qv::upload;
using qv::StringId;

std::string text(StringId id) {
    return std::string(qv::uiString(id));
}

// The string table's "%1" filled in.
std::string filled(StringId id, const std::string& value) {
    return qv::format(text(id), {value});
}

// Texts from the string table break lines the appliance-era way, "\r\n".
std::string terminalText(std::string message) {
    for (size_t at = message.find("\r\n"); at != std::string::npos; at = message.find("\r\n", at))
        message.erase(at, 1);
    return message;
}

// Bytes sent, total and rate on one line of standard error, rewritten in place; only at a
// terminal, where a person watches a large file go out.
class ProgressLine {
public:
    ProgressLine() : m_shown(errorIsTerminal()), m_start(Clock::now()) {}
    ~ProgressLine() {
        if (m_drawn)
            progressStream() << "\n";
    }
    void operator()(size_t sent, size_t total) {
        if (!m_shown)
            return;
        const double seconds =
            std::max(std::chrono::duration<double>(Clock::now() - m_start).count(), 0.001);
        std::string line = text(StringId::UploadProgress);
        const std::string values[] = {
            std::to_string(sent), std::to_string(total),
            std::to_string(static_cast<long long>(sent / 1024.0 / seconds))};
        for (int i = 0; i < 3; ++i) {
            const std::string mark = "%" + std::to_string(i + 1);
            if (const size_t at = line.find(mark); at != std::string::npos)
                line.replace(at, mark.size(), values[i]);
        }
        progressStream() << "\r" << line << std::flush;
        m_drawn = true;
    }

private:
    using Clock = std::chrono::steady_clock;
    bool m_shown;
    bool m_drawn = false;
    Clock::time_point m_start;
};

// Asks `question` unless --yes was given; kExitOk means go on, kExitDeclined that the answer
// was No and nothing was sent.
int confirm(CommandContext& context, StringId question, bool yes) {
    if (yes || askYes(terminalText(text(question)) + "\n" + text(StringId::CliConfirm)))
        return kExitOk;
    context.err() << text(StringId::CliNotConfirmed) << "\n";
    return kExitDeclined;
}

// A command whose run reads its operands and whether --yes was given.
struct YesLine {
    std::vector<std::string> args;
    bool yes = false;
};

template <int (*Run)(CommandContext&, const YesLine&)> CommandRun withYes(CLI::App& command) {
    auto line = std::make_shared<YesLine>();
    addOperands(command, line->args, "ARGUMENTS");
    command.add_flag("--yes", line->yes, "do not ask first");
    return [line](CommandContext& context) { return Run(context, *line); };
}

int runUpload(CommandContext& context, const std::vector<std::string>& args) {
    static const std::map<std::string, upload::Kind> kinds{
        {"logo", upload::Kind::Logo},
        {"activex", upload::Kind::ActiveXPage},
        {"web", upload::Kind::WebArchive},
    };
    if (args.size() != 2 || kinds.count(args[0]) == 0)
        return context.usageError("takes logo, activex or web, and one FILE");
    const upload::Kind kind = kinds.at(args[0]);
    const std::string& path = args[1];
    // Read and checked before logging on: a refused file costs no connection.
    const upload::Prepared prepared = upload::prepare(kind, path);
    if (prepared.refusal) {
        context.err() << "qvctl upload: " << filled(*prepared.refusal, path) << "\n";
        return kExitUsage;
    }
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    qv::LinkEvent answer;
    int status;
    {
        ProgressLine progress;
        status = context.session().request(*prepared.frame, upload::answerEvent(kind), &answer,
                                           std::ref(progress));
    }
    if (status != kExitOk)
        return status;
    const std::optional<StringId> message = upload::answerMessage(kind, answer.value);
    // A logo upload is confirmed by 1 alone; 0 would say the logo was deleted instead.
    if (!message || (kind == upload::Kind::Logo && answer.value != qv::result::kLogoUploaded)) {
        context.err() << "qvctl upload: "
                      << filled(StringId::CliUploadAnswerMissing, std::to_string(answer.value))
                      << "\n";
        return kExitChangeRefused;
    }
    context.out() << text(*message) << "\n";
    return kExitOk;
}

int runLogo(CommandContext& context, const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0] != "delete")
        return context.usageError("takes delete");
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    qv::LinkEvent answer;
    if (const int status = context.session().request(qv::request::deleteLogo(),
                                                     qv::ReplyEvent::LogoAnswered, &answer);
        status != kExitOk)
        return status;
    if (answer.value != qv::result::kLogoDeleted) {
        context.err() << "qvctl logo: the appliance did not delete the logo (it answered "
                      << answer.value << ")\n";
        return kExitChangeRefused;
    }
    context.out() << text(StringId::LogoDeleted) << "\n";
    return kExitOk;
}

// update start [--stage-timeout SECONDS]: the limit between two stage reports, from 1 s to a
// day.
struct UpdateLine {
    std::vector<std::string> args;
    int stageSeconds = 600;
};

// The time a stage has taken so far, rewritten in place at a terminal while the appliance works.
class StageWait {
public:
    StageWait() : m_shown(errorIsTerminal()) {}
    ~StageWait() { clear(); }
    void operator()(std::chrono::seconds waited) {
        if (!m_shown)
            return;
        const auto minutes = waited.count() / 60, seconds = waited.count() % 60;
        progressStream() << "\r"
                         << filled(StringId::UpdateElapsed, std::to_string(minutes) +
                                                                (seconds < 10 ? ":0" : ":") +
                                                                std::to_string(seconds))
                         << std::flush;
        m_drawn = true;
    }
    void clear() {
        if (m_drawn)
            progressStream() << "\r\x1b[K" << std::flush;
        m_drawn = false;
    }

private:
    bool m_shown;
    bool m_drawn = false;
};

int runUpdate(CommandContext& context, const UpdateLine& line) {
    if (line.args.size() != 1 || line.args[0] != "start")
        return context.usageError("takes start [--stage-timeout SECONDS]");
    const std::chrono::seconds stageLimit{line.stageSeconds};
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    ApplianceSession& session = context.session();
    StageWait waiting;
    const auto nextReport = [&](qv::LinkEvent& report) {
        const int status = session.waitFor(qv::ReplyEvent::UpdateStepReported, &report, stageLimit,
                                           std::ref(waiting));
        waiting.clear();
        return status;
    };
    qv::LinkEvent report;
    int status = session.send(qv::request::startUpdate());
    if (status == kExitOk)
        status = nextReport(report);
    // Each stage as it is reported, the way the page fills its rows, until the run ends.
    for (; status == kExitOk; status = nextReport(report)) {
        if (report.value >= 0 && report.value < qv::update::kStepCount)
            context.out() << text(qv::update::kStepNames[static_cast<size_t>(report.value)]) << ": "
                          << text(StringId::UpdateStepStarted) << std::endl;
        const qv::update::ProgressEffect effect = qv::update::progressEffect(report.value);
        if (!effect.runEnded)
            continue;
        if (report.value != qv::result::kUpdateFinished) {
            context.err() << "qvctl update: " << text(*effect.message) << "\n";
            return kExitChangeRefused;
        }
        context.out() << text(*effect.message) << "\n";
        return kExitOk;
    }
    return status;
}

CommandRun defineUpdate(CLI::App& command) {
    auto line = std::make_shared<UpdateLine>();
    addOperands(command, line->args, "ARGUMENTS");
    // A stage of a real update (a program fetched from the vendor's server) may take minutes;
    // --timeout stays the limit for the link itself.
    command
        .add_option("--stage-timeout", line->stageSeconds,
                    "the longest wait between two stage reports (default 600)")
        ->type_name("SECONDS")
        ->check(wholeNumberOption(1, 86400, "needs seconds from 1 to 86400"));
    return [line](CommandContext& context) { return runUpdate(context, *line); };
}

int runFirmware(CommandContext& context, const YesLine& line) {
    const bool yes = line.yes;
    if (line.args.size() != 1 || line.args[0] != "update")
        return context.usageError("takes update [--yes]");
    if (const int status = confirm(context, StringId::FirmwareUpdateQuestion, yes);
        status != kExitOk)
        return status;
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    qv::LinkEvent answer;
    if (const int status = context.session().request(
            qv::request::startFirmwareUpdate(), qv::ReplyEvent::FirmwareUpdateAnswered, &answer);
        status != kExitOk)
        return status;
    if (answer.value != qv::result::kFirmwareUpdateFinished) {
        context.err() << "qvctl firmware: "
                      << (answer.value == qv::result::kUpdateServerUnreachable
                              ? text(StringId::FirmwareServerUnreachable)
                              : filled(StringId::ChangeRefused, std::to_string(answer.value)))
                      << "\n";
        return kExitChangeRefused;
    }
    context.out() << text(StringId::FirmwareUpdated) << "\n";
    return kExitOk;
}

int runReboot(CommandContext& context, const YesLine& line) {
    const bool yes = line.yes;
    if (!line.args.empty())
        return context.usageError("takes [--yes]");
    if (const int status = confirm(context, StringId::RebootQuestion, yes); status != kExitOk)
        return status;
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    ApplianceSession& session = context.session();
    qv::LinkEvent answer;
    int status = session.request(qv::request::reboot(), qv::ReplyEvent::RebootAnswered, &answer);
    using qv::answer::RebootAnswer;
    // Notices ride on the same reply: they are shown as the window shows them, and the wait for
    // the reboot's own answer goes on.
    for (; status == kExitOk && qv::answer::isNotice(qv::answer::rebootAnswer(answer.value));
         status = session.waitFor(qv::ReplyEvent::RebootAnswered, &answer)) {
        if (qv::answer::rebootAnswer(answer.value) == RebootAnswer::SchedulePrivilegeNotice) {
            context.out() << text(StringId::SchedulePrivilegeChanged) << "\n";
        } else {
            session.store().maxStandbyCount = answer.value - qv::result::kRebootStandbyOffset;
            context.out() << filled(StringId::CliStandbyLimitNotice,
                                    std::to_string(session.store().maxStandbyCount))
                          << "\n";
        }
    }
    if (status != kExitOk)
        return status;
    if (qv::answer::rebootAnswer(answer.value) == RebootAnswer::Unknown) {
        context.err() << "qvctl reboot: "
                      << filled(StringId::ChangeRefused, std::to_string(answer.value)) << "\n";
        return kExitChangeRefused;
    }
    // 101, or 1 to 99 (the center ID limit after the reboot): the appliance reboots.
    context.out() << text(StringId::CliRebooting) << "\n";
    return kExitOk;
}

CommandRun defineFirmware(CLI::App& command) {
    return withYes<runFirmware>(command);
}

CommandRun defineReboot(CLI::App& command) {
    return withYes<runReboot>(command);
}

} // namespace

QVCTL_OPERANDS_COMMAND(runUpload, "upload", "logo|activex|web FILE",
                       "upload the company logo, the ActiveX start page or a web page archive");
QVCTL_OPERANDS_COMMAND(runLogo, "logo", "delete", "delete the company logo and banner");
QVCTL_COMMAND(defineUpdate, "update", "start [--stage-timeout SECONDS]",
              "start the software update and print each stage until it ends");
QVCTL_COMMAND(defineFirmware, "firmware", "update [--yes]",
              "start the firmware update; the appliance reboots (asks first without --yes)");
QVCTL_COMMAND(defineReboot, "reboot", "[--yes]", "reboot the appliance (asks first without --yes)");

} // namespace qvctl
