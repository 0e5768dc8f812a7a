// TControl: bounds, visibility, parent window and change notices.
#include "host/visualclx/Control.h"

#include <algorithm>

#include "host/rtl/TypInfo.h"
#include "host/visualclx/Form.h"
#include "host/visualclx/WinControl.h"

TClass TControl::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TControl>(TComponent::StaticClass())
          .Integer("Left", &TControl::Left, &TControl::SetLeft)
          .Integer("Top", &TControl::Top, &TControl::SetTop)
          .Integer("Width", &TControl::Width, &TControl::SetWidth)
          .Integer("Height", &TControl::Height, &TControl::SetHeight)
          .Boolean("Visible", &TControl::Visible, &TControl::SetVisible, true)
          .Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
          .Integer("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext)
          .String("Hint", &TControl::Hint, &TControl::SetHint)
          .Enum("Color", &TControl::Color, &TControl::SetColor, ColorTypeInfo(), clBackground)
          .Build();
  return &info;
}

namespace {

uint64_t NextCreationOrder() {
  static uint64_t counter = 0;
  return ++counter;
}

}  // namespace

TControl::TControl(TComponent* Owner) : TComponent(Owner), FCreationOrder(NextCreationOrder()) {}

TControl::~TControl() {
  Changed(TControlChange::Destroying);
  FObservers.clear();
  if (FParent) FParent->RemoveControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  Changed(TControlChange::Bounds);
}

void TControl::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  Changed(TControlChange::Visible);
}

void TControl::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  Changed(TControlChange::Enabled);
}

void TControl::SetHelpContext(int Value) {
  if (Value == FHelpContext) return;
  FHelpContext = Value;
  Changed(TControlChange::Property);
}

void TControl::SetHint(const std::string& Value) {
  if (Value == FHint) return;
  FHint = Value;
  Changed(TControlChange::Property);
}

void TControl::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed(TControlChange::Color);
}

void TControl::SetCaption(const std::string& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  Changed(TControlChange::Caption);
}

void TControl::SetParent(TWinControl* Value) {
  if (Value == FParent) return;
  for (const TControl* p = Value; p; p = p->FParent)
    if (p == this) throw EInvalidOperation("Control " + Name() + " cannot be its own parent");
  if (FParent) FParent->RemoveControl(this);
  FParent = Value;
  if (FParent) FParent->InsertControl(this);
  Changed(TControlChange::Parent);
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FVisible) return false;
  return true;
}

bool TControl::Usable() const {
  if (!Showing()) return false;
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FEnabled) return false;
  return true;
}

void TControl::Click() { OnClick(this); }

int TControl::AddObserver(TControlObserver Observer) {
  int id = FNextObserverId++;
  FObservers.emplace_back(id, std::move(Observer));
  return id;
}

void TControl::RemoveObserver(int Id) {
  std::erase_if(FObservers, [Id](const auto& entry) { return entry.first == Id; });
}

void TControl::Changed(TControlChange Change) {
  if (FObservers.empty()) return;
  // Observers may come and go while they are told: tell those present at the start that are
  // still present when their turn comes.
  std::vector<int> ids;
  for (const auto& entry : FObservers) ids.push_back(entry.first);
  for (int id : ids) {
    auto it = std::find_if(FObservers.begin(), FObservers.end(), [id](const auto& e) { return e.first == id; });
    if (it == FObservers.end()) continue;
    TControlObserver observer = it->second;
    observer(this, Change);
  }
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* Value) {
  if (!Value) {
    SetParent(nullptr);
    return;
  }
  auto* window = dynamic_cast<TWinControl*>(Value);
  if (!window) throw EInvalidOperation(Value->ClassName() + " cannot hold the control " + Name());
  SetParent(window);
}

TCustomForm* GetParentForm(const TControl* Control) {
  const TControl* top = Control;
  while (top && top->Parent()) top = top->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(top));
}
