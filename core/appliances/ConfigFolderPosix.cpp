#include "core/appliances/ConfigFolder.h"

#include <cstdlib>
#include <filesystem>

namespace qv::appliances {

ConfigFolder userConfigFolder() {
    namespace fs = std::filesystem;
    const auto variable = [](const char* name) -> std::string {
        const char* value = std::getenv(name);
        return value != nullptr ? value : "";
    };
    // The base directory rules: a relative XDG_CONFIG_HOME is ignored.
    std::string base = variable("XDG_CONFIG_HOME");
    if (!fs::path(base).is_absolute())
        base.clear();
    if (base.empty() && fs::path(variable("HOME")).is_absolute())
        base = (fs::path(variable("HOME")) / ".config").string();
    return {base, "HOME"};
}

} // namespace qv::appliances
