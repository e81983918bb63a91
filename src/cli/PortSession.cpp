#include "cli/PortSession.h"

#include "instruments/LevelLoggerView.h"

#include <iostream>
#include <unistd.h>

namespace korvel {

void requireOk(const CommandOutcome& outcome) {
    if (!outcome.ok)
        throw CliError(outcome.message);
}

DownloadOutcome downloadWithCount(Exchange& exchange, const DownloadOptions& options) {
    const bool showProgress = ::isatty(STDERR_FILENO) != 0;
    DownloadOutcome outcome = downloadMemory(exchange, options, [showProgress](std::size_t n) {
        if (showProgress)
            std::cerr << "\r" << n << std::flush;
    });
    if (showProgress)
        std::cerr << "\n";
    return outcome;
}

void eraseAndReport(PortSession& session, const CliContext& context) {
    requireOk(eraseMemory(session.exchange()));
    if (context.json)
        context.printJson({{"erased", true}});
    else
        context.printLine(std::string(kMemoryErased));
}

} // namespace korvel
