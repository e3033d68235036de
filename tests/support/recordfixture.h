// What the graph panel's record-file tests start from: the program's panels,
// no popups scripted, a fresh folder holding one record file, and the graph
// panel shown on its first graph. Taken down again, the file forgotten.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

class GraphPanelWithRecordFile : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The record file's name in the folder, and its bytes.
    virtual std::string FileName() const = 0;
    virtual std::string FileBytes() const = 0;

    std::string dir;   // removed again in TearDown
    std::string path;  // dir + "/" + FileName()
};

}  // namespace testsupport
