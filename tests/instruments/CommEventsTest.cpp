#include "instruments/CommEvents.h"

#include "instruments/ModemTerminal.h"

#include <gtest/gtest.h>

using namespace korvel;

TEST(CommEvents, EveryCodeOfTheTableWithItsTextAndKind) {
    const std::pair<int, const char*> notices[] = {{3, "Change in CTS Detected"},
                                                   {4, "Change in DSR Detected"},
                                                   {5, "Change in CD Detected"},
                                                   {6, "The Phone is Ringing"},
                                                   {7, "End of File Detected"}};
    for (const auto& [code, text] : notices) {
        EXPECT_EQ(commEventText(code).kind, CommEventKind::Notice) << code;
        EXPECT_EQ(commEventText(code).text, text) << code;
    }
    const std::pair<int, const char*> errors[] = {
        {1001, "Break Received"},          {1002, "CTS Timeout"},   {1003, "DSR Timeout"},
        {1004, "Framing Error"},           {1006, "Overrun Error"}, {1007, "Carrier Detect Timeout"},
        {1008, "Receive Buffer Overflow"}, {1009, "Parity Error"},  {1010, "Transmit Buffer Full"},
        {1011, "Error retrieving DCB"}};
    for (const auto& [code, text] : errors) {
        EXPECT_EQ(commEventText(code).kind, CommEventKind::Error) << code;
        EXPECT_EQ(commEventText(code).text, text) << code;
    }
    EXPECT_EQ(commEventText(comm::kReceive).kind, CommEventKind::Data);
    // Codes the table does not name, 1005 among them, are all the same unknown error.
    for (const int code : {0, 1, 8, 1005, 1012, comm::kUnknown}) {
        EXPECT_EQ(commEventText(code).kind, CommEventKind::Error) << code;
        EXPECT_EQ(commEventText(code).text, "Unknown error or event") << code;
    }
}

TEST(CommEvents, PanelsAndHoldingItems) {
    EXPECT_EQ(statusPanelText(), "Status: ");
    EXPECT_EQ(statusPanelText("CTS Timeout"), "Status: CTS Timeout");
    EXPECT_EQ(holdingText("CTSHolding", true), "CTSHolding = True");
    EXPECT_EQ(holdingText("CDHolding", false), "CDHolding = False");
}

TEST(CommEvents, LineChangesInTheirOrderAndTheRingOnlyAsItStarts) {
    const LineState quiet;
    EXPECT_TRUE(lineChangeEvents(quiet, quiet).empty());
    LineState all{true, true, true, false};
    EXPECT_EQ(lineChangeEvents(quiet, all), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(lineChangeEvents(all, quiet), (std::vector<int>{3, 4, 5}));
    LineState ringing = quiet;
    ringing.ring = true;
    EXPECT_EQ(lineChangeEvents(quiet, ringing), std::vector<int>{6});
    EXPECT_TRUE(lineChangeEvents(ringing, quiet).empty());
    LineState dsr = quiet;
    dsr.dsr = true;
    EXPECT_EQ(lineChangeEvents(quiet, dsr), std::vector<int>{4});
}

TEST(CommEvents, ReceivedBytesAsTheTerminalShowsThem) {
    const std::string reply = "\r\nCONNECT 19200\r\n";
    TerminalText shown = terminalText(Bytes(reply.begin(), reply.end()));
    EXPECT_EQ(shown.erase, 0u);
    EXPECT_EQ(shown.text, "\nCONNECT 19200\n");

    // cp1254 letters become UTF-8; NULs are dropped.
    shown = terminalText(Bytes{0xDD, 0x00, 'S', 0xFE});
    EXPECT_EQ(shown.text, "İSş");

    // A backspace takes the character before it, or one already shown.
    shown = terminalText(Bytes{'\b', '\b', 'a', 'b', '\b', 'c'});
    EXPECT_EQ(shown.erase, 2u);
    EXPECT_EQ(shown.text, "ac");
}

TEST(ModemLineSettings, TheStoredSpeedWithNoParityEightBitsOneStopBit) {
    EXPECT_EQ(modemLineSettings("4800"), "4800,n,8,1");
    EXPECT_EQ(modemLineSettings(" 2400 "), "2400,n,8,1");
    // Nothing stored, or a speed the port cannot take: the instrument line.
    EXPECT_EQ(modemLineSettings(""), "19200,n,8,1");
    EXPECT_EQ(modemLineSettings("hızlı"), "19200,n,8,1");
    EXPECT_EQ(modemLineSettings("0"), "19200,n,8,1");
}
