#pragma once

#include "cli/CliContext.h"
#include "instruments/Clock.h"
#include "instruments/Exchange.h"
#include "instruments/LevelLogger.h"
#include "instruments/SerialLink.h"
#include "platform/PosixSerialLink.h"

#include <CLI/CLI.hpp>
#include <string>

namespace korvel {

// An instrument exchange on the port named on the command line (19200 8N1), on the
// steady clock. The port opens and closes with each command of the exchange.
class PortSession {
public:
    explicit PortSession(const std::string& port) : port_(port) {
        link_.setLineSettings(kInstrumentLine);
        link_.setPort(port);
    }
    Exchange& exchange() { return exchange_; }
    const std::string& port() const { return port_; }

private:
    std::string port_;
    PosixSerialLink link_;
    SteadyClock clock_;
    Exchange exchange_{link_, clock_};
};

// The required "--port" option of an instrument command.
inline void addPortOption(CLI::App* command, std::string& port) {
    command->add_option("--port", port, "\"Com1\" (KORVEL_COM1 or /dev/ttyS0) or a device path")->required();
}

// Throws the message of a command that failed.
void requireOk(const CommandOutcome& outcome);

// `view` after showing the replies of a command.
template <typename View> View showReplies(View view, const CommandOutcome& outcome, const Locale& locale) {
    for (const LoggerReply& r : outcome.replies)
        view.showReply(r.readByte, r.reply, locale);
    return view;
}

// Downloads a logger's memory, counting the bytes on standard error when that is a terminal.
DownloadOutcome downloadWithCount(Exchange& exchange, const DownloadOptions& options);

// Erases a logger's memory and says so.
void eraseAndReport(PortSession& session, const CliContext& context);

} // namespace korvel
