// The analytics collector fixture as tests reach it: its address and what a bin received.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/PackageServer.h"

namespace testsupport {

inline std::string CollectorBase() {
  const char* port = std::getenv("ZAVIX_FIXTURE_COLLECTOR_PORT");
  EXPECT_NE(nullptr, port) << "the collector fixture publishes its port";
  return std::string("http://127.0.0.1:") + (port ? port : "1");
}

// The "n" of every record of every batch a bin received, batch by batch.
inline std::vector<std::vector<int>> Received(const std::string& bin) {
  const std::string json = testsupport::HttpGet(CollectorBase() + "/batches/" + bin);
  std::vector<std::vector<int>> batches;
  const std::regex batch("\"records\": \\[([^\\]]*)\\]"), number("\"n\": (\\d+)");
  for (auto b = std::sregex_iterator(json.begin(), json.end(), batch); b != std::sregex_iterator(); ++b) {
    const std::string records = (*b)[1];
    std::vector<int> ns;
    for (auto n = std::sregex_iterator(records.begin(), records.end(), number); n != std::sregex_iterator(); ++n) {
      ns.push_back(std::stoi((*n)[1]));
    }
    batches.push_back(ns);
  }
  return batches;
}

}  // namespace testsupport
