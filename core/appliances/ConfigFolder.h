#pragma once

#include <string>

namespace qv::appliances {

// The user's configuration folder, as the platform names it: $XDG_CONFIG_HOME (when absolute),
// else ~/.config; %APPDATA% on Windows. `path` is empty when the environment names none, and
// `variable` says which variable would have named it.
struct ConfigFolder {
    std::string path;
    const char* variable;
};

ConfigFolder userConfigFolder();

} // namespace qv::appliances
