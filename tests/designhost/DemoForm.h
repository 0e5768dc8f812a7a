// The built designhost and a fresh demo (database and form) in a temporary folder, for the
// end-to-end tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/Process.h"

inline const std::string kDesignhost = TIRVENDAL_BIN_DIR "/designhost";

inline TProcessResult Host(const std::vector<std::string>& Args, const std::filesystem::path& Dir = {}) {
  return RunProgram(kDesignhost, Args, Dir);
}

class DemoForm : public ::testing::Test {
 protected:
  void SetUp() override {
    TProcessResult demo = Host({"new-demo", dir.Path().string()});
    ASSERT_EQ(demo.Status, 0) << demo.Err;
    form = (dir / "demo.xfm").string();
  }

  TTempDir dir;
  std::string form;
};
