#include "host/Options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct CParsed
{
    bool m_Ok = false;
    std::string m_Error;
    CHostOptions m_Options;
};

CParsed Parse(std::vector<std::string> args)
{
    args.insert(args.begin(), "tessaron-host");
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    CParsed p;
    p.m_Ok = p.m_Options.Parse(static_cast<int>(argv.size()), argv.data(), p.m_Error);
    return p;
}
} // namespace

TEST(HostOptions, ValuesAndPlugInsAreTaken)
{
    const CParsed p = Parse({"--interface-version", "2.2", "--snap-point-size", "3.5", "--batch",
                             "run.batch", "a.so", "b.so"});
    ASSERT_TRUE(p.m_Ok) << p.m_Error;
    EXPECT_DOUBLE_EQ(p.m_Options.m_InterfaceVersion, 2.2);
    EXPECT_FLOAT_EQ(p.m_Options.m_SnapPointSize, 3.5f);
    EXPECT_EQ(p.m_Options.m_BatchScript, "run.batch");
    EXPECT_EQ(p.m_Options.m_PlugIns, (std::vector<std::string>{"a.so", "b.so"}));
    EXPECT_TRUE(Parse({"--batch-help"}).m_Options.m_BatchHelp);
}

TEST(HostOptions, AnOptionWithoutItsValueIsNamed)
{
    for (const char* option : {"--batch", "--script", "--interface-version", "--snap-point-size"})
    {
        const CParsed p = Parse({option});
        EXPECT_FALSE(p.m_Ok);
        EXPECT_EQ(p.m_Error, std::string(option) + " needs a value");
    }
}

TEST(HostOptions, NumbersMustBeWholeNumbers)
{
    CParsed p = Parse({"--interface-version", "2.3x"});
    EXPECT_FALSE(p.m_Ok);
    EXPECT_EQ(p.m_Error, "--interface-version: not a number: 2.3x");
    p = Parse({"--snap-point-size", ""});
    EXPECT_FALSE(p.m_Ok);
    EXPECT_EQ(p.m_Error, "--snap-point-size: not a number: ");
}

TEST(HostOptions, UnknownOptionsAndHelpShowTheUsage)
{
    CParsed p = Parse({"--frobnicate"});
    EXPECT_FALSE(p.m_Ok);
    EXPECT_EQ(p.m_Error.rfind("unknown option --frobnicate\nusage: tessaron-host", 0), 0u);
    p = Parse({"-h"});
    EXPECT_FALSE(p.m_Ok);
    EXPECT_EQ(p.m_Error, CHostOptions::Usage());
}

// Libraries are plug-ins, anything else a data file; the file options become the script that
// opens and renders them, with file names that hold quotes, blanks and dollars kept as they are.
TEST(HostOptions, DataFilesAndTheirRenderOptionsBecomeAScript)
{
    const CParsed p =
        Parse({"libX.so", "dose \"1\".usrbin", "a$HOME.tracks", "--output", "o.png", "--size",
               "640x480", "--camera", "-z", "--planes", "1,2,3", "--palette", "Gray", "--range",
               "1e-3:5", "--linear", "--title", "Dose map"});
    ASSERT_TRUE(p.m_Ok) << p.m_Error;
    EXPECT_EQ(p.m_Options.m_PlugIns, (std::vector<std::string>{"libX.so"}));
    EXPECT_EQ(p.m_Options.m_Files.size(), 2u);
    EXPECT_EQ(p.m_Options.FileScript(),
              "open \"dose \\\"1\\\".usrbin\" \"planes=1,2,3\" \"palette=Gray\" \"range=1e-3:5\" "
              "linear\n"
              "open \"a$$HOME.tracks\" \"planes=1,2,3\" \"palette=Gray\" \"range=1e-3:5\" linear\n"
              "view -z\ntitle \"Dose map\"\nrender \"o.png\" 640 480\n");
    const std::pair<std::vector<std::string>, std::string> bad[] = {
        {{"--output", "o.png"}, "--output needs a data file to render"},
        {{"f.usrbin", "--camera", "up"}, "--camera: give x, y, z, -x, -y, -z or iso, not up"},
        {{"f.usrbin", "--size", "10x10"}, "--size: give WIDTHxHEIGHT, 16 to 8192 each: 10x10"},
        {{"f.usrbin", "--range", "3:1"}, "--range: give MIN:MAX with MIN below MAX, not 3:1"},
    };
    for (const auto& [args, message] : bad)
    {
        const CParsed q = Parse(args);
        EXPECT_FALSE(q.m_Ok);
        EXPECT_EQ(q.m_Error, message);
    }
}
