// The package loader: what it refuses, and that a package is registered once per load and
// taken back whole on unload.
#include <gtest/gtest.h>

#include "host/designide/PackageLoader.h"
#include "host/designide/Palette.h"
#include "tests/support/Process.h"

namespace {

const std::string kPackage = TIRVENDAL_LIB_DIR "/bpldclTirvendalK3D.so";

std::string LoadError(const std::string& file) {
  try {
    LoadPackage(file);
  } catch (const EPackageError& e) {
    return e.Message();
  }
  return "loaded";
}

int PaletteEntriesOf(HMODULE module) {
  int n = 0;
  for (const TPaletteEntry& e : Palette()) n += e.Module == module;
  return n;
}

TEST(PackageLoader, RefusesWhatIsNoLoadablePackageAndNamesTheFile) {
  std::string missing = "/nonexistent/bplnothing.so";
  std::string message = LoadError(missing);
  EXPECT_NE(message.find(missing), std::string::npos) << message;
  EXPECT_NE(message.find("No such file"), std::string::npos) << message;

  // A library, but no package: it hands out no package table.
  std::string library = TIRVENDAL_LIB_DIR "/bplrtl.so.6.9";
  message = LoadError(library);
  EXPECT_NE(message.find(library), std::string::npos) << message;
  EXPECT_NE(message.find("GetPackageInfoTable"), std::string::npos) << message;

  TTempDir dir;
  auto text = dir / "designide-not-a-library.so";
  WriteFile(text, "object Form1: TForm\nend\n");
  message = LoadError(text.string());
  EXPECT_NE(message.find(text.string()), std::string::npos) << message;

  // A package cut off in copying is refused before the dynamic linker maps what is missing.
  auto cut = dir / "bplcut.so";
  WriteFile(cut, ReadFile(kPackage).substr(0, 100000));
  message = LoadError(cut.string());
  EXPECT_NE(message.find("the file is cut off (100000 bytes"), std::string::npos) << message;
  EXPECT_THROW(ReadPackageInfo(cut.string()), EPackageError);

  EXPECT_THROW(ReadPackageInfo(missing), EPackageError);
  EXPECT_THROW(ReadPackageInfo(library), EPackageError);
  EXPECT_TRUE(LoadedPackages().empty());
}

TEST(PackageLoader, EveryRequiredPackageMustBeLoadedAlready) {
  const std::string_view present[] = {"bplrtl.so.6.9", "bpldesignide.so.6.9"};
  const std::string_view absent[] = {"bplrtl.so.6.9", "bplnowhere.so.6.9", "bplelsewhere.so.6.9"};
  TPackageInfoTable table{"Probe", "", {}, present, {}, {}};
  EXPECT_NO_THROW(CheckRequiredPackages(table));
  table.Requires = absent;
  try {
    CheckRequiredPackages(table);
    FAIL() << "a missing package was not noticed";
  } catch (const EPackageError& e) {
    EXPECT_EQ(e.Message(), "Package Probe requires package bplnowhere.so.6.9, which is not loaded");
  }
}

TEST(PackageLoader, RegistersOncePerLoadAndTakesItAllBackOnUnload) {
  HMODULE module = LoadPackage(kPackage);
  EXPECT_EQ(LoadedPackages(), std::vector<HMODULE>{module});
  EXPECT_EQ(PackageFileName(module), kPackage);
  EXPECT_EQ(PaletteEntriesOf(module), 2);
  ASSERT_NE(FindResource("tqvrlinkfields"), nullptr);

  // A second load of the same library is refused and registers nothing more.
  EXPECT_THROW(LoadPackage(kPackage), EPackageError);
  EXPECT_EQ(PaletteEntriesOf(module), 2);

  UnloadPackage(module);
  EXPECT_EQ(PaletteEntriesOf(module), 0);
  EXPECT_EQ(FindResource("tqvrlinkfields"), nullptr);
  EXPECT_TRUE(LoadedPackages().empty());
  EXPECT_THROW(UnloadPackage(module), EPackageError);

  module = LoadPackage(kPackage);
  EXPECT_EQ(PaletteEntriesOf(module), 2);
  UnloadPackage(module);
}

}  // namespace
