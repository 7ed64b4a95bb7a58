#include "platform/Profile.h"
#include "testkit/Scratch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

TEST(Profile, ValuesPersistPerSectionAndKey)
{
    const auto dir = testkit::TestDir();
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    CProfile profile;
    profile.SetRegistryKey("Wendrik");
    profile.SetAppName("Volumira3D");
    EXPECT_EQ(profile.GetProfileString("Volumix3DPath", "Input", "none"), "none");
    EXPECT_TRUE(profile.WriteProfileString("Volumix3DPath", "Input", "/data/run 1"));
    EXPECT_TRUE(profile.WriteProfileInt("Cache", "ReadAheadBuffer", 512));

    CProfile again;
    again.SetRegistryKey("Wendrik");
    again.SetAppName("Volumira3D");
    EXPECT_EQ(again.GetProfileString("Volumix3DPath", "Input"), "/data/run 1");
    EXPECT_EQ(again.GetProfileInt("Cache", "ReadAheadBuffer", 10240), 512);
    EXPECT_EQ(again.GetProfileInt("Legend", "ExpNotation", 1), 1);
    EXPECT_TRUE(std::filesystem::exists(dir / "Wendrik" / "Volumira3D.ini"));
    EXPECT_EQ(again.GetProfileString("VOLUMIX3DPATH", "input"), "/data/run 1")
        << "names are matched without regard to case, as in the registry";
    EXPECT_TRUE(again.WriteProfileString("Volumix3DPath", "Input", "a=b\\c\nd"));
    EXPECT_EQ(again.GetProfileString("Volumix3DPath", "Input"), "a=b\\c\nd");
    EXPECT_EQ(again.GetProfileInt("Cache", "ReadAheadBuffer", 10240), 512) << "other keys stay";
}

TEST(Profile, WithoutCompanyKeyNothingIsStored)
{
    CProfile profile;
    profile.SetAppName("Trakor3D");
    EXPECT_FALSE(profile.WriteProfileInt("A", "B", 1));
    EXPECT_EQ(profile.GetProfileInt("A", "B", 7), 7);
}
