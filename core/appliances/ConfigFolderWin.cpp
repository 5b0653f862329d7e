#include "core/appliances/ConfigFolder.h"

#include <cstdlib>

namespace qv::appliances {

ConfigFolder userConfigFolder() {
    const char* value = std::getenv("APPDATA");
    return {value != nullptr ? value : "", "APPDATA"};
}

} // namespace qv::appliances
