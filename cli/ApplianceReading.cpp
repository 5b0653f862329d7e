#include "cli/ApplianceReading.h"

#include "cli/ExitCodes.h"
#include "core/backup/TransferSteps.h"

namespace qvctl {

int readAppliance(CommandContext& context, qv::backup::Backup& into) {
    for (const qv::backup::Step& step : qv::backup::readingSteps()) {
        qv::LinkEvent answer;
        if (const int status = context.session().request(step.request, step.answer, &answer);
            status != kExitOk)
            return status;
        qv::backup::takeReading(into, answer);
    }
    return kExitOk;
}

} // namespace qvctl
