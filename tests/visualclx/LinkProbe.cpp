// The link designer's description read into a probe form class.
#include "tests/visualclx/LinkProbe.h"

#include <fstream>
#include <sstream>

#include "host/rtl/Classes.h"
#include "host/rtl/Resources.h"

TClass TLinkProbe::StaticClass() {
  static const TClassInfo info = TClassBuilder<TLinkProbe>(TForm::StaticClass())
                                     .Component()
                                     .Field("DetailList", &TLinkProbe::DetailList)
                                     .Field("MasterList", &TLinkProbe::MasterList)
                                     .Field("BindList", &TLinkProbe::BindList)
                                     .Field("Label30", &TLinkProbe::Label30)
                                     .Field("Label31", &TLinkProbe::Label31)
                                     .Field("IndexList", &TLinkProbe::IndexList)
                                     .Field("IndexLabel", &TLinkProbe::IndexLabel)
                                     .Field("Label2", &TLinkProbe::Label2)
                                     .Field("Bevel1", &TLinkProbe::Bevel1)
                                     .Field("Bevel2", &TLinkProbe::Bevel2)
                                     .Field("AddButton", &TLinkProbe::AddButton)
                                     .Field("DeleteButton", &TLinkProbe::DeleteButton)
                                     .Field("ClearButton", &TLinkProbe::ClearButton)
                                     .Field("Button1", &TLinkProbe::Button1)
                                     .Field("Button2", &TLinkProbe::Button2)
                                     .Field("Help", &TLinkProbe::Help)
                                     .Method("FormCreate", &TLinkProbe::FormCreate)
                                     .Method("BindingListClick", &TLinkProbe::BindingListClick)
                                     .Method("AddButtonClick", &TLinkProbe::AddButtonClick)
                                     .Method("DeleteButtonClick", &TLinkProbe::DeleteButtonClick)
                                     .Method("BindListClick", &TLinkProbe::BindListClick)
                                     .Method("ClearButtonClick", &TLinkProbe::ClearButtonClick)
                                     .Method("FormDestroy", &TLinkProbe::FormDestroy)
                                     .Method("BitBtn1Click", &TLinkProbe::BitBtn1Click)
                                     .Method("HelpClick", &TLinkProbe::HelpClick)
                                     .Method("IndexListChange", &TLinkProbe::IndexListChange)
                                     .Build();
  return &info;
}

void TLinkProbe::Record(const char* Handler, TObject* Sender) {
  auto* component = dynamic_cast<TComponent*>(Sender);
  Calls.push_back(std::string(Handler) + "(" + (component ? component->Name() : "nil") + ")");
}

void TLinkProbe::FormCreate(TObject* Sender) {
  Record("FormCreate", Sender);
  SetHelpContext(27140);
}
void TLinkProbe::BindingListClick(TObject* Sender) { Record("BindingListClick", Sender); }
void TLinkProbe::AddButtonClick(TObject* Sender) { Record("AddButtonClick", Sender); }
void TLinkProbe::DeleteButtonClick(TObject* Sender) { Record("DeleteButtonClick", Sender); }
void TLinkProbe::BindListClick(TObject* Sender) { Record("BindListClick", Sender); }
void TLinkProbe::ClearButtonClick(TObject* Sender) { Record("ClearButtonClick", Sender); }
void TLinkProbe::FormDestroy(TObject* Sender) {
  // The controls are still there while the form goes away.
  DestroyLog().push_back("FormDestroy(" + Name() + ") " + DetailList->Name());
}
void TLinkProbe::BitBtn1Click(TObject* Sender) {
  Record("BitBtn1Click", Sender);
  if (OnOk) OnOk();
}
void TLinkProbe::HelpClick(TObject* Sender) { Record("HelpClick", Sender); }
void TLinkProbe::IndexListChange(TObject* Sender) { Record("IndexListChange", Sender); }

std::vector<std::string>& TLinkProbe::DestroyLog() {
  static std::vector<std::string> log;
  return log;
}

void RegisterLinkProbeResource() {
  static const std::string text = [] {
    std::ifstream in(TIRVENDAL_SOURCE_DIR "/fldlinks/QVRLinkFields.xfm");
    std::stringstream s;
    s << in.rdbuf();
    std::string t = s.str();
    const std::string from = "TQVRLinkFields", to = "TLinkProbe";
    t.replace(t.find(from), from.size(), to);
    return t;
  }();
  RegisterClass(TLinkProbe::StaticClass());
  static const int module = 0;
  RegisterModuleResources(&module, {{"tlinkprobe", "RCDATA", text}});
}
