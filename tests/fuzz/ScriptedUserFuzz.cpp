// Fuzzing the scripted user: any script, played against the link designer's form, a message
// box and an open-file dialog, either runs or raises a platform error naming its line; every
// line it prints is one valid JSON object.
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "host/visualclx/MessageDlg.h"
#include "host/visualclx/OpenDialog.h"
#include "host/visualclx/ScriptedUser.h"
#include "host/visualclx/VisualClasses.h"
#include "tests/visualclx/LinkProbe.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static const bool registered = (RegisterVisualClasses(), RegisterLinkProbeResource(), true);
  (void)registered;
  std::string_view script(reinterpret_cast<const char*>(Data), Size);
  std::ostringstream out;
  {
    TFormPtr<TLinkProbe> form = CreateForm<TLinkProbe>();
    for (const char* f : {"CustNo", "OrderNo", "Date"}) form->DetailList->Items()->Add(f);
    for (const char* f : {"Id", "Name"}) form->MasterList->Items()->Add(f);
    for (const char* f : {"PRIMARY", "ByCustomer"}) form->IndexList->Items()->Add(f);
    form->IndexList->SetItemIndex(0);
    try {
      TScriptedUser user(script, out, "fuzz.txt");
      user.SetFolder("/nonexistent");
      TWidgetSetScope scope(user);
      form->ShowModal();
      MessageDlg("Field CustNo, from the Detail Fields list, must be linked", mtError, {mbOK, mbCancel}, 0);
      TOpenDialog dialog(nullptr);
      dialog.SetOptions({ofFileMustExist});
      dialog.Execute();
      user.CheckFinished();
    } catch (const EScriptError& e) {
      if (e.Message().rfind("fuzz.txt:", 0) != 0) std::abort();  // a script error names its line
    } catch (const Exception&) {
    }
  }
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);)
    if (!nlohmann::json::accept(line)) std::abort();
  return 0;
}
