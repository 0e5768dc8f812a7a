// A form class built from the link designer's stored description (under another class name),
// with every published field and handler that description binds; the handlers record their
// calls. Tests use it to check that the description reads as written and to drive a real form.
#pragma once

#include <string>
#include <vector>

#include "host/visualclx/Bevel.h"
#include "host/visualclx/Button.h"
#include "host/visualclx/ComboBox.h"
#include "host/visualclx/Form.h"
#include "host/visualclx/Label.h"
#include "host/visualclx/ListBox.h"

class TLinkProbe : public TForm {
  TIRVENDAL_CLASS(TLinkProbe)

  explicit TLinkProbe(TComponent* Owner) : TForm(Owner) {}

  TListBox* DetailList = nullptr;
  TListBox* MasterList = nullptr;
  TListBox* BindList = nullptr;
  TLabel* Label30 = nullptr;
  TLabel* Label31 = nullptr;
  TComboBox* IndexList = nullptr;
  TLabel* IndexLabel = nullptr;
  TLabel* Label2 = nullptr;
  TBevel* Bevel1 = nullptr;
  TBevel* Bevel2 = nullptr;
  TButton* AddButton = nullptr;
  TButton* DeleteButton = nullptr;
  TButton* ClearButton = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TButton* Help = nullptr;

  // "Handler(Sender)" per call, in order.
  std::vector<std::string> Calls;
  // Runs inside BitBtn1Click after it is recorded (the OK button's handler).
  std::function<void()> OnOk;

  void FormCreate(TObject* Sender);
  void BindingListClick(TObject* Sender);
  void AddButtonClick(TObject* Sender);
  void DeleteButtonClick(TObject* Sender);
  void BindListClick(TObject* Sender);
  void ClearButtonClick(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void BitBtn1Click(TObject* Sender);
  void HelpClick(TObject* Sender);
  void IndexListChange(TObject* Sender);

  // Calls of FormDestroy, across all probes (a destroyed probe cannot be asked).
  static std::vector<std::string>& DestroyLog();

 private:
  void Record(const char* Handler, TObject* Sender);
};

// Makes the probe's description findable as the resource "tlinkprobe".
void RegisterLinkProbeResource();
