// TComponent: named objects in an ownership tree; an owner frees what it owns.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/rtl/Persistent.h"

enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  TIRVENDAL_CLASS(TComponent)

  // Joins Owner's components when Owner is not nil; Owner then frees this component.
  explicit TComponent(TComponent* Owner);
  ~TComponent() override;

  const std::string& Name() const { return FName; }
  // Raises EComponentError for a name that is not an identifier or that a sibling already has.
  virtual void SetName(const std::string& NewName);
  int Tag() const { return FTag; }
  void SetTag(int Value) { FTag = Value; }

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const;
  int ComponentIndex() const;
  // The owned component of that name (case-insensitive), or nil.
  TComponent* FindComponent(std::string_view Name) const;

  // Moves this component to another owner (or to none).
  void ChangeOwner(TComponent* NewOwner);

  TComponentState ComponentState() const { return FState; }
  // Marks this component and everything it owns as edited by a designer.
  void SetDesigning(bool Value, bool SetChildren = true);
  void SetLoading(bool Value) { Value ? FState.Include(csLoading) : FState.Exclude(csLoading); }

  // Asks that this component and Component each be told (Notification with opRemove) when the
  // other is destroyed; each request stands until one RemoveFreeNotification takes it back.
  void FreeNotification(TComponent* Component);
  void RemoveFreeNotification(TComponent* Component);

  // Called once a stored form has been read and every reference resolved.
  virtual void Loaded();

  // The folder of the stored form this component belongs to: relative file names that the
  // form's components hold are taken from there, never from the working directory. Set on the
  // root by whoever reads the form; any component answers its owner's. Empty: not from a file.
  std::string FormFolder() const;
  void SetFormFolder(std::string Folder) { FFormFolder = std::move(Folder); }

  // The component that contains this one on screen (a control's parent), as a stored form
  // nests it; components that are only owned answer nil and ignore the setter.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* Value) {}

  TPersistent* GetOwner() const override { return FOwner; }
  std::string GetNamePath() const override { return FName; }

 protected:
  // Told that Component joins or leaves this owner's components (the owner alone is told), or
  // that a component this one asked about with FreeNotification is destroyed; a component
  // clears its references to a component that is going away. Siblings are not told: a
  // component that keeps a reference to another asks with FreeNotification.
  virtual void Notification(TComponent* Component, TOperation Operation);
  void SetComponentState(TComponentState State) { FState = State; }

 private:
  void InsertComponent(TComponent* Component);
  void RemoveComponent(TComponent* Component);
  void DestroyComponents();

  std::string FName;
  int FTag = 0;
  TComponent* FOwner = nullptr;
  // The owned components that have a name, found by name compared as SameText does (ASCII
  // letters without regard to case). Open addressing over the hash of the folded name, kept in
  // each slot: a look-up reads a component's name only when its hash matches, so a form of a
  // hundred thousand components is not a walk through as many scattered names.
  class TNameTable {
   public:
    TComponent* Find(std::string_view Name) const;
    // Component's name must be set and not yet in the table.
    void Add(TComponent* Component);
    // Takes Component out, found under its current name.
    void Remove(const TComponent* Component);

   private:
    struct TSlot {
      size_t Hash = 0;
      TComponent* Component = nullptr;  // nil: free
    };
    size_t Home(size_t Hash) const;
    void Grow();

    std::vector<TSlot> FSlots;  // a power of two of them, at most half taken
    size_t FCount = 0;
    int FShift = 64;
  };

  std::vector<TComponent*> FComponents;  // owned
  TNameTable FNames;
  std::vector<TComponent*> FFreeNotifies;  // not owned
  TComponentState FState;
  std::string FFormFolder;
};

// What components report while a stored form is read when they cannot do what the form asks
// and the form is still worth editing (a table stored open whose database is missing). A
// reader installs one for the length of a read; it gathers the reports made on its thread.
class TLoadWarnings {
 public:
  struct TWarning {
    std::string Component;
    std::string Message;
  };

  TLoadWarnings();
  ~TLoadWarnings();
  TLoadWarnings(const TLoadWarnings&) = delete;
  TLoadWarnings& operator=(const TLoadWarnings&) = delete;

  const std::vector<TWarning>& Items() const { return FItems; }

  // Hands the report to the gathering of this thread; false when nobody gathers, and the
  // component then raises its error as it would outside a read.
  static bool Report(const TComponent* Component, const std::string& Message);

 private:
  std::vector<TWarning> FItems;
  TLoadWarnings* FPrevious;
};

// The platform's significant length of an identifier; a longer name is refused, not cut.
constexpr size_t kMaxIdentLength = 255;

// True for a name the platform accepts as an identifier (letters, digits, "_"; not a digit
// first; at most kMaxIdentLength characters).
bool IsValidIdent(std::string_view Ident);
