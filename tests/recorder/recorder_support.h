// Shared by the recorder tests: panels loaded, the pause rule satisfied, a
// fresh temporary folder for record files, and readers for the panel.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/corvel.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "support/panels.h"
#include "uir_ids.h"

namespace rectest {

class RecorderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Reads a numeric control of RECP.
    int Num(int control);
    std::string RecFileShown();
    // Puts a path into DispRecFile as the file popup would.
    void ShowRecFile(const std::string& path);
    // The popups shown since SetUp, as "title|text".
    std::string LastPopup();

    std::string dir;  // removed again in TearDown
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

}  // namespace rectest
