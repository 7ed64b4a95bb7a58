// The scripted UI of tests: the one place that names the backend tests script, a fixture that
// starts every test with empty queues and no recorded message boxes, and the texts shown.
#pragma once
#include "platform/HeadlessBackend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testkit
{
// The backend whose answers tests queue and whose message boxes they read.
CHeadlessBackend& Ui();

// The message boxes shown so far, as texts ("icon: text" with withIcon).
std::vector<std::string> MessageTexts(bool withIcon = false);
// True when a message box whose text starts with prefix was shown (with that icon, if given).
bool Shown(const std::string& prefix, const std::string& icon = "");

class CUiTest : public ::testing::Test
{
protected:
    void SetUp() override { Ui().Reset(); }
};
} // namespace testkit
