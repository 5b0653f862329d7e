// qvsim: a stand-in for the appliance's admin port, for demonstrations and end-to-end tests.

#include "link/PrivateFile.h"
#include "sim/SimFleet.h"
#include "sim/SimServer.h"
#include "sim/SimState.h"
#include "sim/StopRequest.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFailure = 1;

const char* const kHelp = R"(Usage: qvsim [OPTIONS]

A simulated Quorvel MY appliance: it answers the administration conversation of QVSetting and
qvctl on TCP from state it keeps, seeded with demonstration data.

Options:
  --bind ADDRESS           address to listen on (default 127.0.0.1)
  --port PORT              port to listen on (default 12300; 0 picks a free port). The port is
                           printed as "qvsim listening on ADDRESS:PORT" once listening.
  --admin-id ID            administrator ID to accept (default "admin", or the one kept in
                           the state file)
  --admin-password TEXT    administrator password to accept (default "admin", or the one kept
                           in the state file)
  --admin-password-file FILE
                           read the administrator password from the first line of FILE, so
                           that it need not appear in the argument list
  --state FILE             keep the state in FILE across restarts: read at start (a missing
                           file is created from the demonstration data), written after every
                           change
  --upload-dir DIR         where uploaded logo (logo.gif/.jpg/.swf), ActiveX page (index.html)
                           and web archive (webpage.zip) are stored (default FILE.uploads next
                           to the state file, else a new folder qvsim-uploads-XXXXXX in the
                           temporary directory, named at start). The folder must be the user's
                           own and writable by no one else.
  --update-unreachable     act as if the vendor's update server cannot be reached: software
                           and firmware updates answer 99
  --update-step SECONDS    time between two software update reports (default 1.5)
  --reboot-pause SECONDS   how long connections are refused after a reboot, a firmware update
                           or Save & Reboot (default 5)
  --follow-address         after Save & Reboot, listen on the new static address the record
                           holds (same port), as the appliance would; on Linux every
                           127.x.y.z address is local
  --max-center-ids N       center ID limit the logon answer reports (1 to 149, default 20,
                           or the one kept in the state file)
  --devices N              seed a large plant: N IO devices named IO-0001 on (0 to 1024) in
                           place of the demonstration devices and schedules
  --schedules M            with --devices: M schedules spread over the devices (0 to 2040,
                           default 0); the schedule limit becomes 2040
  --fleet N                serve N appliances (1 to 1000) from one process, on N consecutive
                           ports from --port (with --port 0 each on a free port of its own),
                           each with its own state, demonstration names and serial number (its
                           MAC address): device names QV-MY2400-001 on. One "qvsim listening
                           on" line is printed per appliance. --admin-id, --admin-password,
                           --max-center-ids and --devices apply to each of them.
  --state-dir DIR          keep each appliance's state in its own file in DIR
                           (appliance-001.state on), as --state does for one; the folder is
                           made when missing and must be the user's own. Uploads go to
                           appliance-001.state.uploads on, or with --upload-dir to its
                           subfolders appliance-001 on.
  --latency MS             answer every request MS milliseconds late (0 to 60000, default 0),
                           as an appliance across a slow wide-area link
  --help                   show this text

Several clients are served at once against one state; each request is applied whole. A client
that stops inside a request for 10 s, has not logged on within 30 s or does not read its answers
is dropped; a logged-on administrator may stay idle. Before its logon a client may send nothing
but the logon. At most 64 clients are served at once, of which at most 16 have not logged on
yet; more are refused (in a fleet, for each appliance on its own). A failed logon is answered
after a pause of 0.25 s that doubles with every earlier failure on the connection or from the
same address (up to 8 s; a correct logon clears it). A change the state file could not keep
is refused and undone. Every request served is logged on standard output, one line each (in a
fleet, after the appliance's number: "[001]"). SIGINT or SIGTERM stops the simulator; on
Windows Ctrl+C, Ctrl+Break, closing its console, or setting the event Local\qvsim-stop-PID
(PID: its process id).

Exit status: 0 stopped as above, 1 cannot listen, the state file is unusable or the upload
folder is not its own, 2 usage error.
)";

struct Arguments {
    qv::sim::ServerOptions server;
    std::optional<std::string> adminId;
    std::optional<std::string> adminPassword;
    std::optional<int> maxCenterIds;
    std::optional<int> devices;
    int schedules = 0;
    bool uploadDirGiven = false;
    std::string uploadDir;
    std::optional<int> fleet;
    std::string stateDir;
};

bool parseSeconds(const std::string& text, std::chrono::milliseconds& out) {
    try {
        size_t used = 0;
        const double seconds = std::stod(text, &used);
        if (used != text.size() || seconds < 0 || seconds > 3600)
            return false;
        out = std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
        return true;
    } catch (...) {
        return false;
    }
}

bool parseInteger(const std::string& text, int low, int high, int& out) {
    try {
        size_t used = 0;
        const long value = std::stol(text, &used);
        if (used != text.size() || value < low || value > high)
            return false;
        out = static_cast<int>(value);
        return true;
    } catch (...) {
        return false;
    }
}

// The first line of `path`, without its line end; false when it cannot be read or is no
// administrator password. Reads no more than a password's length and a line end.
bool readPasswordFile(const std::string& path, std::string& password) {
    std::ifstream file(path, std::ios::binary);
    char text[66] = {};
    file.read(text, sizeof text);
    const std::string head(text, static_cast<size_t>(file.gcount()));
    password = head.substr(0, head.find_first_of("\r\n"));
    return !password.empty() && password.size() <= 63;
}

int usageError(const std::string& message) {
    std::cerr << "qvsim: " << message << "\nTry 'qvsim --help'.\n";
    return kExitUsage;
}

// Returns -1 when the arguments are good, otherwise the exit status.
int parseArguments(int argc, char** argv, Arguments& args) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            std::cout << kHelp;
            return 0;
        }
        if (option == "--update-unreachable") {
            args.server.updateServerUnreachable = true;
            continue;
        }
        if (option == "--follow-address") {
            args.server.followAddress = true;
            continue;
        }
        if (i + 1 >= argc)
            return usageError("unknown option or missing value: " + option);
        const std::string value = argv[++i];
        if (option == "--bind") {
            args.server.bindAddress = value;
        } else if (option == "--port") {
            if (!parseInteger(value, 0, 65535, args.server.port))
                return usageError("--port needs a number from 0 to 65535");
        } else if (option == "--admin-id") {
            if (value.empty() || value.size() > 31)
                return usageError("--admin-id needs 1 to 31 bytes");
            args.adminId = value;
        } else if (option == "--admin-password") {
            if (value.empty() || value.size() > 63)
                return usageError("--admin-password needs 1 to 63 bytes");
            args.adminPassword = value;
        } else if (option == "--admin-password-file") {
            std::string password;
            if (!readPasswordFile(value, password))
                return usageError("--admin-password-file needs a readable file whose first line "
                                  "holds 1 to 63 bytes");
            args.adminPassword = password;
        } else if (option == "--state") {
            args.server.statePath = value;
        } else if (option == "--upload-dir") {
            args.uploadDir = value;
            args.uploadDirGiven = true;
        } else if (option == "--update-step") {
            if (!parseSeconds(value, args.server.updateStep))
                return usageError("--update-step needs seconds from 0 to 3600");
        } else if (option == "--reboot-pause") {
            if (!parseSeconds(value, args.server.rebootPause))
                return usageError("--reboot-pause needs seconds from 0 to 3600");
        } else if (option == "--max-center-ids") {
            int n = 0;
            if (!parseInteger(value, 1, 149, n))
                return usageError("--max-center-ids needs a number from 1 to 149");
            args.maxCenterIds = n;
        } else if (option == "--devices") {
            int n = 0;
            if (!parseInteger(value, 0, 1024, n))
                return usageError("--devices needs a number from 0 to 1024");
            args.devices = n;
        } else if (option == "--fleet") {
            int n = 0;
            if (!parseInteger(value, 1, qv::sim::kMaxFleet, n))
                return usageError("--fleet needs a number from 1 to " +
                                  std::to_string(qv::sim::kMaxFleet));
            args.fleet = n;
        } else if (option == "--state-dir") {
            if (value.empty())
                return usageError("--state-dir needs a folder");
            args.stateDir = value;
        } else if (option == "--latency") {
            int ms = 0;
            if (!parseInteger(value, 0, 60000, ms))
                return usageError("--latency needs milliseconds from 0 to 60000");
            args.server.latency = std::chrono::milliseconds(ms);
        } else if (option == "--schedules") {
            if (!parseInteger(value, 0, 2040, args.schedules))
                return usageError("--schedules needs a number from 0 to 2040");
        } else {
            return usageError("unknown option: " + option);
        }
    }
    if (!args.stateDir.empty() && !args.server.statePath.empty())
        return usageError("--state and --state-dir exclude each other");
    if (args.fleet.value_or(1) > 1 && !args.server.statePath.empty())
        return usageError("--fleet keeps its appliances' states with --state-dir, not --state");
    if (args.server.port != 0 && args.server.port + args.fleet.value_or(1) - 1 > 65535)
        return usageError("--fleet " + std::to_string(*args.fleet) + " from --port " +
                          std::to_string(args.server.port) + " goes past port 65535");
    if (args.schedules > 0 && !args.devices)
        return usageError("--schedules needs --devices");
    return -1;
}

// The state of fleet member `index` (or of the one appliance, `inFleet` false): read from
// `statePath` when it is there, else seeded, then the overrides of the command line, saved
// back when new or overridden. Returns -1 when it is usable, else the exit status.
int prepareState(const Arguments& args, const std::string& statePath, bool inFleet, int index,
                 std::unique_ptr<qv::sim::SimState>& state) {
    state = qv::sim::seededState();
    if (inFleet)
        qv::sim::seedFleetMember(*state, index);
    bool stateIsNew = true;
    // A link is there too, even when it points nowhere: it is refused, never written through.
    std::error_code code;
    if (!statePath.empty() &&
        std::filesystem::exists(std::filesystem::symlink_status(statePath, code))) {
        std::string error;
        if (!qv::sim::loadState(*state, statePath, error)) {
            // A broken file is left alone: it may be the only copy of someone's settings.
            std::cerr << "qvsim: " << error << "\n";
            return kExitFailure;
        }
        stateIsNew = false;
    }
    if (args.devices)
        qv::sim::seedLargePlant(*state, *args.devices, args.schedules);
    const bool overridden = args.adminId || args.adminPassword || args.maxCenterIds || args.devices;
    if (args.adminId)
        state->adminId = *args.adminId;
    if (args.adminPassword)
        state->adminPassword = *args.adminPassword;
    if (args.maxCenterIds) {
        if (state->centerIdCount > *args.maxCenterIds)
            return usageError("--max-center-ids " + std::to_string(*args.maxCenterIds) +
                              " is below the " + std::to_string(state->centerIdCount) +
                              " center IDs the appliance holds");
        state->maxCenterIds = *args.maxCenterIds;
    }
    if (!statePath.empty() && (stateIsNew || overridden)) {
        std::string error;
        if (!qv::sim::saveState(*state, statePath, error)) {
            std::cerr << "qvsim: " << error << "\n";
            return kExitFailure;
        }
    }
    return -1;
}

// Member `index`'s state file, upload folder and log lines.
void setUpMember(qv::sim::ServerOptions& options, const Arguments& args, bool inFleet, int index,
                 const std::string& freshUploadDir) {
    namespace fs = std::filesystem;
    if (options.port != 0)
        options.port += index;
    if (!args.stateDir.empty())
        options.statePath = qv::sim::fleetStatePath(args.stateDir, index);
    const std::string member = "appliance-" + qv::sim::fleetLabel(index).substr(1, 3);
    if (args.uploadDirGiven)
        options.uploadDir = inFleet ? (fs::path(args.uploadDir) / member).string() : args.uploadDir;
    else if (!options.statePath.empty())
        options.uploadDir = options.statePath + ".uploads";
    else
        options.uploadDir = inFleet ? (fs::path(freshUploadDir) / member).string() : freshUploadDir;
    if (inFleet) {
        const std::string label = qv::sim::fleetLabel(index) + " ";
        options.log = [label](const std::string& line) {
            std::printf("%s%s\n", label.c_str(), line.c_str());
        };
    } else {
        options.log = [](const std::string& line) { std::printf("%s\n", line.c_str()); };
    }
}

// A fresh upload folder that received nothing is not left behind; one with uploads is kept.
void removeUnusedUploadFolders(const std::string& freshUploadDir,
                               const std::vector<std::string>& uploadDirs) {
    if (freshUploadDir.empty())
        return;
    std::error_code code;
    for (const std::string& folder : uploadDirs)
        std::filesystem::remove(folder, code);
    std::filesystem::remove(freshUploadDir, code);
}

} // namespace

int main(int argc, char** argv) {
    Arguments args;
    if (const int status = parseArguments(argc, argv, args); status >= 0)
        return status;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    const bool inFleet = args.fleet || !args.stateDir.empty();
    const int count = args.fleet.value_or(1);
    std::error_code code;
    if (!args.stateDir.empty()) {
        // A new folder is the user's own from the start; one that is there must already be.
        if (!std::filesystem::exists(std::filesystem::symlink_status(args.stateDir, code)) &&
            std::filesystem::create_directories(args.stateDir, code))
            std::filesystem::permissions(args.stateDir, std::filesystem::perms::owner_all, code);
        if (const std::string fault = qv::privateFolderFault(args.stateDir); !fault.empty()) {
            std::cerr << "qvsim: cannot keep states in " << args.stateDir << ": " << fault << "\n";
            return kExitFailure;
        }
    }

    // Without a place named for them, uploads go to a fresh folder of their own: a fixed name in
    // a shared temporary folder could be made first by another user, with links in it to the
    // owner's files.
    std::string freshUploadDir;
    if (!args.uploadDirGiven && args.server.statePath.empty() && args.stateDir.empty()) {
        const std::string fault = qv::makePrivateFolder(
            std::filesystem::temp_directory_path(code).string(), "qvsim-uploads-", freshUploadDir);
        if (!fault.empty()) {
            std::cerr << "qvsim: cannot make a folder for uploads: " << fault << "\n";
            return kExitFailure;
        }
    }

    std::vector<qv::sim::SimFleet::Member> members;
    std::vector<std::string> uploadDirs;
    for (int i = 0; i < count; ++i) {
        qv::sim::SimFleet::Member member;
        member.options = args.server;
        setUpMember(member.options, args, inFleet, i, freshUploadDir);
        if (const int status =
                prepareState(args, member.options.statePath, inFleet, i, member.state);
            status >= 0) {
            if (!freshUploadDir.empty())
                std::filesystem::remove(freshUploadDir, code);
            return status;
        }
        uploadDirs.push_back(member.options.uploadDir);
        members.push_back(std::move(member));
    }

    qv::sim::StopRequest stopRequest;
    qv::sim::SimFleet fleet(std::move(members));
    std::string error;
    if (!fleet.start(error)) {
        std::cerr << "qvsim: " << error << "\n";
        removeUnusedUploadFolders(freshUploadDir, uploadDirs);
        return kExitFailure;
    }
    for (size_t i = 0; i < fleet.size(); ++i)
        std::printf("qvsim listening on %s:%d\n", args.server.bindAddress.c_str(),
                    fleet.member(i).port());
    for (const std::string& folder : uploadDirs)
        std::printf("qvsim keeps uploads in %s\n", folder.c_str());

    std::thread stopWaiter([&fleet, &stopRequest] {
        const std::string what = stopRequest.wait();
        std::printf("qvsim stopping (%s)\n", what.c_str());
        fleet.stop();
    });
    fleet.run();
    stopWaiter.join();
    removeUnusedUploadFolders(freshUploadDir, uploadDirs);
    return 0;
}
