// The component palette: pages in the order they first appear, classes in registration order,
// and a package's entries gone with the package.
#include <gtest/gtest.h>

#include "host/designide/Palette.h"
#include "tests/designide/TestComponents.h"

namespace {

int PackageKey;

std::vector<std::string> EntriesOf(HMODULE module) {
  std::vector<std::string> out;
  for (const TPaletteEntry& e : Palette())
    if (e.Module == module) out.push_back(e.Page + "/" + e.ComponentClass->Name);
  return out;
}

TEST(Palette, PagesKeepTheirFirstPlaceAndClassesTheirOrder) {
  RegisterDesignClasses();
  {
    TRegisteringModule registering(&PackageKey);
    RegisterComponents("Zeta", {TTestBase::StaticClass()});
    RegisterComponents("Alpha", {TTestDerived::StaticClass(), TTestOther::StaticClass()});
    RegisterComponents("zeta", {TTestRoot::StaticClass()});
  }
  EXPECT_EQ(EntriesOf(&PackageKey),
            (std::vector<std::string>{"Zeta/TTestBase", "zeta/TTestRoot", "Alpha/TTestDerived", "Alpha/TTestOther"}));
  EXPECT_EQ(GetClass("TTestOther"), TTestOther::StaticClass());
  UnregisterModuleComponents(&PackageKey);
  EXPECT_TRUE(EntriesOf(&PackageKey).empty());
}

TEST(Palette, OnlyComponentClassesThatCanBeMadeGoOnIt) {
  RegisterDesignClasses();
  TRegisteringModule registering(&PackageKey);
  EXPECT_THROW(RegisterComponents("Page", {TTestFont::StaticClass()}), EComponentError);
  EXPECT_THROW(RegisterComponents("", {TTestBase::StaticClass()}), EComponentError);
  EXPECT_TRUE(EntriesOf(&PackageKey).empty());
}

}  // namespace
