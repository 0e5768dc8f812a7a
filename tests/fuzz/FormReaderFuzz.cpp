// Fuzzing the form reader: any text read into a module of test classes either builds, and then
// writes a description that reads back to the same text, or raises a platform error and leaves
// the module without a component.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/visualclx/forms/FormReader.h"
#include "tests/visualclx/forms/FormTestClasses.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static const bool registered = (RegisterFormTestClasses(), true);
  (void)registered;
  std::string_view text(reinterpret_cast<const char*>(Data), Size);
  TFtModule root(nullptr);
  try {
    ReadComponent(&root, text, "fuzz.xfm");
  } catch (const Exception&) {
    if (root.ComponentCount() != 0) std::abort();
    FtLoadLog().clear();
    return 0;
  }
  std::string written = WriteComponent(&root);
  TFtModule again(nullptr);
  try {
    ReadComponent(&again, written, "fuzz.xfm");
  } catch (const Exception&) {
    std::abort();  // the writer stored something the reader refuses
  }
  if (WriteComponent(&again) != written) std::abort();
  FtLoadLog().clear();
  return 0;
}
