// The zevsim command line: the demo plant by default, lists, and the errors
// that keep it from starting with a plant the line cannot carry.
#include <gtest/gtest.h>

#include "protocol/sim_options.h"

using zevsim::parseSimOptions;

TEST(SimOptions, DefaultIsThreeControllersOf16Zones) {
    const auto r = parseSimOptions({});
    ASSERT_EQ(r.error, "");
    ASSERT_EQ(r.options.controllers.size(), 3u);
    for (const auto& c : r.options.controllers) {
        EXPECT_EQ(c.channels, 16);
        EXPECT_FALSE(c.slave);
        EXPECT_FALSE(c.fahrenheit);
        EXPECT_EQ(c.az, 12);
    }
    EXPECT_EQ(r.options.baud, 19200);
    EXPECT_EQ(r.options.speed, 1.0);
}

TEST(SimOptions, ListsAndFlags) {
    const auto r = parseSimOptions({"--controllers", "16,8,4", "--slaves", "3", "--az", "12,12,7",
                                    "--fahrenheit", "--baud", "9600", "--speed", "60",
                                    "--port-link", "/x/ports/COM4", "--control", "/x/ctl"});
    ASSERT_EQ(r.error, "");
    const auto& c = r.options.controllers;
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(c[1].channels, 8);
    EXPECT_EQ(c[1].type, "ZEV-8");
    EXPECT_TRUE(c[2].slave);
    EXPECT_FALSE(c[1].slave);
    EXPECT_EQ(c[2].az, 7);
    EXPECT_TRUE(c[0].fahrenheit);
    EXPECT_EQ(r.options.baud, 9600);
    EXPECT_EQ(r.options.speed, 60.0);
    EXPECT_EQ(r.options.portLink, "/x/ports/COM4");
    EXPECT_EQ(r.options.controlPath, "/x/ctl");
}

TEST(SimOptions, RefusesWhatNoLineCarries) {
    const std::vector<std::vector<std::string>> bad = {
        {"--controllers", "16,33"},                 // 33 channels
        {"--controllers", "32,32,32,32,32,32,32,32,32"},  // 288 zones
        {"--controllers", "16,,8"},
        {"--slaves", "1"},                           // the first device is a master
        {"--controllers", "16,8", "--slaves", "3"},  // no controller 3
        {"--controllers", "16,8", "--az", "12,12,12"},
        {"--speed", "0"},
        {"--baud", "fast"},
        {"--port-link"},
        {"--what"},
    };
    for (const auto& args : bad)
        EXPECT_NE(parseSimOptions(args).error, "") << args[0] << (args.size() > 1 ? " " + args[1] : "");
}
