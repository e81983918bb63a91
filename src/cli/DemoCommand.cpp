#include "DemoDrive.h"
#include "cli/CliContext.h"

#include <memory>

namespace korvel {

void addDemoCommand(CLI::App& app, const ActionSlot& slot) {
    auto* demo = app.add_subcommand("demo", "write a demo data drive with a few complete stations");
    auto drive = std::make_shared<std::string>();
    demo->add_option("DRIVE", *drive, "directory that stands for the drive root")->required();
    demo->callback([slot, drive] {
        slot([drive](CliContext& context) {
            const auto files = demo::writeDemoDrive(*drive);
            if (context.json) {
                nlohmann::json list = nlohmann::json::array();
                for (const auto& f : files)
                    list.push_back(f.string());
                context.printJson({{"drive", *drive}, {"files", list}});
            } else {
                context.printLine(std::to_string(files.size()) + " files written under " + *drive);
            }
        });
    });
}

} // namespace korvel
