// The data module's creation and destruction events: run once at run time, never while the
// module is being designed.
#include <gtest/gtest.h>

#include "host/visualclx/forms/FormReader.h"
#include "tests/visualclx/forms/FormTestClasses.h"

namespace {

const char* const kModule =
    "object Demo: TFtModule\n"
    "  OnCreate = ModuleCreate\n"
    "  OnDestroy = ButtonClick\n"
    "end\n";

TEST(DataModule, EventsRunOnceAtRunTimeOnly) {
  RegisterFormTestClasses();
  TFtModule running(nullptr);
  ReadComponent(&running, kModule, "demo.xfm");
  EXPECT_EQ(running.Clicks, (std::vector<std::string>{"ModuleCreate"}));
  running.DoDestroy();
  running.DoDestroy();
  EXPECT_EQ(running.Clicks, (std::vector<std::string>{"ModuleCreate", "ButtonClick:Demo"}));

  TFtModule designed(nullptr);
  designed.SetDesigning(true);
  ReadComponent(&designed, kModule, "demo.xfm");
  designed.DoDestroy();
  EXPECT_TRUE(designed.Clicks.empty());
  EXPECT_EQ(designed.OnCreate.MethodName, "ModuleCreate");  // bound all the same, for the designer to show
  EXPECT_EQ(GetClass("tdatamodule"), TDataModule::StaticClass());
}

}  // namespace
