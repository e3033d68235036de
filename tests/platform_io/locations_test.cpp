// Where installation files are found and where the operator's files go.
#include "platform/locations.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "platform/files.h"
#include "support/sandbox.h"

namespace {

class Locations : public ::testing::Test {
protected:
    void SetUp() override {
        root = testsupport::MakeTempFolder("corvel-loc");
        ASSERT_FALSE(root.empty());
        bin = root + "/usr/bin";
        share = root + "/usr/share/corvel-scope";
        docs = root + "/home/Documents";
        ASSERT_EQ(system(("mkdir -p '" + bin + "' '" + share + "'").c_str()), 0);
    }
    void TearDown() override { ASSERT_TRUE(testsupport::RemoveTree(root)); }
    static void Touch(const std::string& p) { std::ofstream(p) << "x"; }
    static bool IsDir(const std::string& p) {
        struct stat st;
        return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    std::string Find(const std::string& name, int expected) {
        char path[600] = "";
        EXPECT_EQ(FindInstalledFileIn(bin.c_str(), name.c_str(), path, sizeof path), expected) << name;
        return path;
    }
    std::string root, bin, share, docs;
};

TEST_F(Locations, InstalledLayoutFindsShareFilesAndUsesTheDocumentsFolder) {
    Touch(share + "/CorvelV20.uir");
    Touch(share + "/logo5.png");
    EXPECT_EQ(Find("CorvelV20.uir", 0), share + "/CorvelV20.uir");
    EXPECT_EQ(Find("logo5.png", 0), share + "/logo5.png");
    // Not beside the program, not in share: the name beside it, not found.
    EXPECT_EQ(Find("logo3.png", -1), bin + "/logo3.png");

    char dir[260] = "";
    ASSERT_EQ(ChooseUserFileDir(bin.c_str(), false, true, docs.c_str(), dir), 0);
    EXPECT_EQ(std::string(dir), docs + "/CORVEL-Scope");
    EXPECT_TRUE(IsDir(docs + "/CORVEL-Scope"));
    // A second start finds the folder already there.
    ASSERT_EQ(ChooseUserFileDir(bin.c_str(), false, true, docs.c_str(), dir), 0);
    EXPECT_EQ(std::string(dir), docs + "/CORVEL-Scope");
}

TEST_F(Locations, BuildLayoutPrefersFilesBesideTheProgramAndKeepsItsFolder) {
    Touch(bin + "/CorvelV20.uir");
    Touch(share + "/CorvelV20.uir");
    EXPECT_EQ(Find("CorvelV20.uir", 0), bin + "/CorvelV20.uir");

    char dir[260] = "";
    ASSERT_EQ(ChooseUserFileDir(bin.c_str(), true, true, docs.c_str(), dir), 0);
    EXPECT_EQ(std::string(dir), bin);
    EXPECT_FALSE(IsDir(docs)) << "nothing is created for a build";

    // The test program itself runs from the build folder beside the panel file.
    char own[260] = "", program[260] = "";
    ASSERT_EQ(GetUserFileDir(own), 0);
    ASSERT_EQ(GetProjectDir(program), 0);
    EXPECT_STREQ(own, program);
}

TEST_F(Locations, UnwritableProgramFolderUsesTheDocumentsFolder) {
    Touch(bin + "/CorvelV20.uir");
    char dir[260] = "";
    ASSERT_EQ(ChooseUserFileDir(bin.c_str(), true, false, docs.c_str(), dir), 0);
    EXPECT_EQ(std::string(dir), docs + "/CORVEL-Scope");
    // No documents folder that can be made: failure, not a wrong folder.
    Touch(root + "/file");
    EXPECT_EQ(ChooseUserFileDir(bin.c_str(), true, false, (root + "/file").c_str(), dir), -1);
    EXPECT_EQ(ChooseUserFileDir(bin.c_str(), true, false, "", dir), -1);
}

TEST(RecordName, RelativeNamesResolveInTheFolderAbsoluteOnesStay) {
    char name[260] = "record.dat";
    ASSERT_TRUE(ResolveInFolder("/home/op/Documents/CORVEL-Scope", name, sizeof name));
    EXPECT_STREQ(name, "/home/op/Documents/CORVEL-Scope/record.dat");
    char absolute[260] = "/data/run.dat";
    ASSERT_TRUE(ResolveInFolder("/home/op", absolute, sizeof absolute));
    EXPECT_STREQ(absolute, "/data/run.dat");
    char empty[260] = "";
    ASSERT_TRUE(ResolveInFolder("/home/op", empty, sizeof empty));
    EXPECT_STREQ(empty, "");
    char small[16] = "record.dat";
    EXPECT_FALSE(ResolveInFolder("/a/long/folder/name", small, sizeof small));
    EXPECT_STREQ(small, "record.dat");
}

}  // namespace
