// TCustomForm: two-phase construction from the stored description, the modal run and the
// dialog keys.
#include "host/visualclx/Form.h"

#include <algorithm>
#include <functional>

#include "host/rtl/Resources.h"
#include "host/rtl/TypInfo.h"
#include "host/visualclx/Button.h"
#include "host/visualclx/VisualClasses.h"
#include "host/visualclx/WidgetSet.h"
#include "host/visualclx/forms/FormReader.h"

TClass TCustomForm::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomForm>(TScrollingWinControl::StaticClass())
          .Object<TWinControl>("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
          .String("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption)
          .Boolean("Visible", &TCustomForm::Visible, &TCustomForm::SetVisible, false)
          .Integer("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch, 96)
          .Integer("TextHeight", &TCustomForm::TextHeight, &TCustomForm::SetTextHeight)
          .Integer("TextWidth", &TCustomForm::TextWidth, &TCustomForm::SetTextWidth)
          .Event("OnCreate", &TCustomForm::OnCreate)
          .Event("OnDestroy", &TCustomForm::OnDestroy)
          .Event("OnShow", &TCustomForm::OnShow)
          .Event("OnClose", &TCustomForm::OnClose)
          .Build();
  return &info;
}

TClass TForm::StaticClass() {
  static const TClassInfo info = TClassBuilder<TForm>(TCustomForm::StaticClass()).Component().Build();
  return &info;
}

TCustomForm::TCustomForm(TComponent* Owner) : TScrollingWinControl(Owner) {
  SetVisible(false);  // a form shows only when asked to
  // The owner's destruction tells us first, while this form is whole, so OnDestroy can run.
  if (Owner) FreeNotification(Owner);
}

TCustomForm::~TCustomForm() = default;

void TCustomForm::AfterConstruction() {
  if (ClassType() != TForm::StaticClass() && ClassType() != TCustomForm::StaticClass()) {
    RegisterVisualClasses();  // the description names the model's classes
    std::string resourceName = AnsiLowerCase(ClassName());
    const TResourceEntry* resource = FindResource(resourceName);
    if (!resource) throw EResNotFound("Resource " + resourceName + " not found");
    ReadComponent(this, resource->Data, resourceName);
  }
  FCreated = true;
  OnCreate(this);
}

void TCustomForm::BeforeDestruction() {
  if (!FCreated || FDestroyed) return;
  FDestroyed = true;
  OnDestroy(this);
}

void TFormDeleter::operator()(TCustomForm* Form) const noexcept {
  if (!Form) return;
  Form->BeforeDestruction();
  FreeObject(Form);
}

void TCustomForm::Notification(TComponent* Component, TOperation Operation) {
  TScrollingWinControl::Notification(Component, Operation);
  if (Operation != opRemove) return;
  if (Component == FActiveControl) {
    FActiveControl = nullptr;
    Changed(TControlChange::ActiveControl);
  }
  if (Component == Owner() && Owner()->ComponentState().Contains(csDestroying)) BeforeDestruction();
}

void TCustomForm::SetActiveControl(TWinControl* Value) {
  if (Value == FActiveControl) return;
  if (Value && GetParentForm(Value) != this)
    throw EInvalidOperation("Invalid ActiveControl: " + Value->Name() + " is not on " + Name());
  if (Value && FModal && !Value->CanFocus())
    throw EInvalidOperation("Cannot focus a disabled or invisible window: " + Value->Name());
  if (FActiveControl) RemoveFreeNotification(FActiveControl);
  FActiveControl = Value;
  if (FActiveControl) FreeNotification(FActiveControl);
  Changed(TControlChange::ActiveControl);
}

void TCustomForm::SetPixelsPerInch(int Value) {
  if (Value == FPixelsPerInch) return;
  FPixelsPerInch = Value;
  Changed(TControlChange::Property);
}

void TCustomForm::SetTextHeight(int Value) {
  if (Value == FTextHeight) return;
  FTextHeight = Value;
  Changed(TControlChange::Property);
}

void TCustomForm::SetTextWidth(int Value) {
  if (Value == FTextWidth) return;
  FTextWidth = Value;
  Changed(TControlChange::Property);
}

void TCustomForm::SetModalResult(TModalResult Value) {
  if (Value == FModalResult) return;
  FModalResult = Value;
  Changed(TControlChange::ModalResult);
}

TModalResult TCustomForm::ShowModal() {
  if (FModal) throw EInvalidOperation("Cannot make a visible window modal");
  SetModalResult(mrNone);
  FModal = true;
  SetVisible(true);
  // Whatever ends the run, the form leaves it hidden and not modal.
  struct TModalGuard {
    TCustomForm* Form;
    ~TModalGuard() {
      Form->FModal = false;
      Form->SetVisible(false);
    }
  } guard{this};
  OnShow(this);
  if (!FActiveControl || !FActiveControl->CanFocus()) FocusFirstControl();
  WidgetSet().RunModal(*this);
  if (FModalResult == mrNone) SetModalResult(mrCancel);  // the widget set gave up on the run
  OnClose(this);
  return FModalResult;
}

void TCustomForm::Close() {
  if (FModal) {
    SetModalResult(mrCancel);
    return;
  }
  if (!Visible()) return;
  OnClose(this);
  Hide();
}

TButton* TCustomForm::UserKey(TDialogKey Key) {
  for (TControl* control : AllControls()) {
    auto* button = dynamic_cast<TButton*>(control);
    if (!button || !button->Usable()) continue;
    if (Key == TDialogKey::Enter ? button->Default() : button->Cancel()) {
      button->Click();
      return button;
    }
  }
  return nullptr;
}

std::vector<TControl*> TCustomForm::AllControls() const {
  std::vector<TControl*> result;
  std::function<void(const TWinControl*)> collect = [&](const TWinControl* window) {
    for (int i = 0; i < window->ControlCount(); ++i) {
      TControl* control = window->Controls(i);
      result.push_back(control);
      if (auto* inner = dynamic_cast<const TWinControl*>(control)) collect(inner);
    }
  };
  collect(this);
  std::sort(result.begin(), result.end(),
            [](const TControl* a, const TControl* b) { return a->CreationOrder() < b->CreationOrder(); });
  return result;
}

TControl* TCustomForm::FindControl(std::string_view ControlName) const {
  if (ControlName.empty()) return nullptr;
  for (TControl* control : AllControls())
    if (SameText(control->Name(), ControlName)) return control;
  return nullptr;
}

void TCustomForm::FocusFirstControl() {
  // Depth first through the windows, each window's controls in focus order.
  std::function<TWinControl*(const TWinControl*)> first = [&](const TWinControl* window) -> TWinControl* {
    std::vector<TWinControl*> order;
    for (int i = 0; i < window->ControlCount(); ++i)
      if (auto* w = dynamic_cast<TWinControl*>(window->Controls(i))) order.push_back(w);
    std::stable_sort(order.begin(), order.end(),
                     [](const TWinControl* a, const TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
    for (TWinControl* w : order) {
      if (!w->CanFocus()) continue;
      if (w->TabStop()) return w;
      if (TWinControl* inner = first(w)) return inner;
    }
    return nullptr;
  };
  TWinControl* target = first(this);
  if (target == FActiveControl) return;
  if (FActiveControl) RemoveFreeNotification(FActiveControl);
  FActiveControl = target;
  if (FActiveControl) FreeNotification(FActiveControl);
  Changed(TControlChange::ActiveControl);
}
