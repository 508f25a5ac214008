// The package list file's section reading and replacing.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <fstream>
#include <sstream>

#include "../peimage/pewriter.h"
#include "packages/inifile.h"

namespace {

using namespace fwtest;
using fw::pkg::ReadIniSectionValues;
using fw::pkg::WriteIniSectionList;

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(IniFile, ReadsTheValuesOfTheFirstSectionOfThatName) {
    TempDir dir;
    const struct {
        const char* text;
        std::vector<std::string> values;
    } cases[] = {
        {"", {}},
        {"[Other]\n0=a\n", {}},
        {"[Packages]\n0=a\n1=b\n", {"a", "b"}},
        {"[ PACKAGES ]\r\n5=a\r\n5=b\r\nx=c\r\n", {"a", "b", "c"}},
        {"[Packages]\n; 0=commented\n# 1=commented\nno entry\n 2 =  spaced  \n3=\"quoted \"\n4=\n",
         {"spaced", "quoted ", ""}},
        {"[Packages]\n0=a=b\n[Other]\n1=c\n[Packages]\n2=d\n", {"a=b"}},
        {"[Packages]\n0=last line without end", {"last line without end"}},
    };
    for (const auto& c : cases) {
        const std::string file = dir.Write("list.ini", BytesOf(c.text));
        EXPECT_EQ(ReadIniSectionValues(file, "Packages"), c.values) << c.text;
    }
    EXPECT_TRUE(ReadIniSectionValues((dir.Path() / "missing.ini").string(), "Packages").empty());
}

TEST(IniFile, ReplacesEverySectionOfThatNameAndKeepsTheRest) {
    TempDir dir;
    const struct {
        const char* before;
        std::vector<std::string> values;
        const char* after;
    } cases[] = {
        {"", {"a", "b"}, "[Packages]\n0=a\n1=b\n"},
        {"[Other]\r\nk=v", {"a"}, "[Other]\r\nk=v\r\n[Packages]\r\n0=a\r\n"},
        {"[Packages]\n0=x\n300=y\n\n[Other]\nk=v\n[PACKAGES]\n7=z\n",
         {"a"},
         "[Packages]\n0=a\n\n[Other]\nk=v\n"},
        {"[Packages]\n0=x\n", {}, "[Packages]\n"},
        {"[Packages]\n",
         {" lead", "trail ", "\"q\"", "plain"},
         "[Packages]\n0=\" lead\"\n1=\"trail \"\n2=\"\"q\"\"\n3=plain\n"},
    };
    for (const auto& c : cases) {
        const std::string file = dir.Write("list.ini", BytesOf(c.before));
        WriteIniSectionList(file, "Packages", c.values);
        EXPECT_EQ(Contents(file), c.after) << c.before;
        EXPECT_EQ(ReadIniSectionValues(file, "Packages"), c.values) << c.before;
    }
}

TEST(IniFile, WritesIntoANewFolderAndKeepsPermissions) {
    TempDir dir;
    const std::string nested = (dir.Path() / "config" / "Zentrix" / "formwright.ini").string();
    WriteIniSectionList(nested, "Packages", {"a"});
    EXPECT_EQ(Contents(nested), "[Packages]\n0=a\n");

    const std::string file = dir.Write("private.ini", BytesOf("[Packages]\n"));
    ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
    WriteIniSectionList(file, "Packages", {"b"});
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    // No temporary file is left beside it.
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()),
        2);
}

}  // namespace
