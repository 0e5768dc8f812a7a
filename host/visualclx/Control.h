// TControl, the base of every widget of the model: bounds, visibility, the window that holds
// it, and the change notices through which a widget set mirrors the model on a screen.
//
// The model is the one source of truth. Code changes it through setters; a user's action
// reaches it through the User* entry points of the controls (TButton::Click,
// TListBox::UserSelect, TCustomForm::UserKey, ...), which every widget set calls alike.
// Changes made from code never fire a control's events; a user's action does.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/rtl/Component.h"
#include "host/visualclx/Color.h"
#include "host/visualclx/Forward.h"

// What changed in a control, as its observers are told.
enum class TControlChange {
  Bounds,         // Left, Top, Width or Height
  Visible,        //
  Enabled,        //
  Caption,        // a caption, or a combo box's text
  Color,          //
  Parent,         // the control moved to another window, or out of one
  Children,       // a control joined or left this window
  Items,          // a list's items: texts, count or order
  ItemIndex,      // a list's current item, a combo box's choice
  Selection,      // which items of a list box are selected
  Property,       // any other property (Default, MultiSelect, Style, HelpContext, ...)
  ActiveControl,  // the focused control of a form
  ModalResult,    // a form's modal result: its modal run ends once it is not mrNone
  Destroying      // the control is going away: use the pointer as a key only
};

using TControlObserver = std::function<void(TControl* Sender, TControlChange Change)>;

class TControl : public TComponent {
  TIRVENDAL_CLASS(TControl)

  explicit TControl(TComponent* Owner);
  ~TControl() override;

  int Left() const { return FLeft; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  int Top() const { return FTop; }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  int Width() const { return FWidth; }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  int Height() const { return FHeight; }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  // The text a control shows as its title or label; published by the kinds that have one.
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);

  // The window that holds the control on screen (nil for a form and for a control not yet placed).
  TWinControl* Parent() const { return FParent; }
  // Raises EInvalidOperation when Value is this control or lies inside it.
  void SetParent(TWinControl* Value);

  // The control and every window around it are visible.
  bool Showing() const;
  // Showing, and the control and every window around it are enabled: a user can reach it.
  bool Usable() const;

  // Runs OnClick. The kinds that do more on a user's click (TButton) extend it.
  virtual void Click();
  TNotifyEvent OnClick;

  // Observers are told of every change of the control's state, after it happened. An observer
  // may remove itself (or others) while being told.
  int AddObserver(TControlObserver Observer);
  void RemoveObserver(int Id);
  // Tells the observers; the model's classes call it for each change they make.
  void Changed(TControlChange Change);

  // Ascending in the order the controls were constructed: a form lists its controls this way.
  uint64_t CreationOrder() const { return FCreationOrder; }

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  // A stored form nests a control in the window that holds it; nesting it in anything that
  // cannot hold controls raises EInvalidOperation.
  void SetParentComponent(TComponent* Value) override;

 private:
  friend class TWinControl;

  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  int FHelpContext = 0;
  std::string FHint;
  TColor FColor = clBackground;
  std::string FCaption;
  TWinControl* FParent = nullptr;
  uint64_t FCreationOrder;
  int FNextObserverId = 1;
  std::vector<std::pair<int, TControlObserver>> FObservers;
};

// The form that holds Control (Control itself when it is a form), or nil.
TCustomForm* GetParentForm(const TControl* Control);
