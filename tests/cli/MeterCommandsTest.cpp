#include "common/ToolRun.h"
#include "sim/SimProcess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace korvel;
using namespace korvel::testing;

namespace {

ToolRun run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--locale", "tr_TR"});
    return runTool(args);
}

} // namespace

TEST(MeterTool, WriteThenReadBackThenErase) {
    if (!SimProcess::available())
        GTEST_SKIP() << "korvel-sim is not built";
    SimProcess sim({"--device", "meter"});
    ASSERT_TRUE(sim.running());
    ToolRun r =
        run({"--json", "meter", "write", "--port", sim.path(), "--a", "0,4", "--b", "0,03", "--time", "50"});
    ASSERT_EQ(r.code, 0) << r.err;
    // X = 40000 / 50 = 800, Y = 30, T' = round(59.09) = 59.
    EXPECT_EQ(nlohmann::json::parse(r.out)["written"], nlohmann::json::parse("[0, 0, 8, 0, 3, 59]"));
    r = run({"--json", "meter", "read", "--port", sim.path()});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto texts = nlohmann::json::parse(r.out)["texts"];
    EXPECT_EQ(texts["Text2"], "0,03");
    EXPECT_EQ(texts["Text3"].get<std::string>().substr(0, 6), "49,923");
    r = run({"meter", "erase", "--port", sim.path()});
    EXPECT_EQ(r.code, 0) << r.err;
}

TEST(MeterTool, RefusalsAndASilentMeter) {
    if (!SimProcess::available())
        GTEST_SKIP() << "korvel-sim is not built";
    SimProcess sim({"--device", "meter", "--fault", "silence@0x31"});
    ASSERT_TRUE(sim.running());
    ToolRun r = run({"meter", "write", "--port", sim.path(), "--a", "0,5", "--b", "0,1", "--time", "60"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("B KATSAYISI İZİNSİZ"), std::string::npos) << r.err;
    r = run({"meter", "read", "--port", sim.path()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("K.3300 model MULİNE HIZMETRESİNİ BAĞLAYINIZ"), std::string::npos) << r.err;
}
