// TComponent: named objects in an ownership tree; an owner frees what it owns.
#pragma once

#include <string>
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

  // Asks to be told (Notification with opRemove) when Component is destroyed.
  void FreeNotification(TComponent* Component);
  void RemoveFreeNotification(TComponent* Component);

  // Called once a stored form has been read and every reference resolved.
  virtual void Loaded();

  // The component that contains this one on screen (a control's parent), as a stored form
  // nests it; components that are only owned answer nil and ignore the setter.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* Value) {}

  TPersistent* GetOwner() const override { return FOwner; }
  std::string GetNamePath() const override { return FName; }

 protected:
  // Told that Component joins or leaves the owner tree or is destroyed; a component clears
  // its references to a component that is going away. The default passes it to the owned.
  virtual void Notification(TComponent* Component, TOperation Operation);
  void SetComponentState(TComponentState State) { FState = State; }

 private:
  void InsertComponent(TComponent* Component);
  void RemoveComponent(TComponent* Component);
  void DestroyComponents();

  std::string FName;
  int FTag = 0;
  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;    // owned
  std::vector<TComponent*> FFreeNotifies;  // not owned
  TComponentState FState;
};

// True for a name the platform accepts as an identifier (letters, digits, "_"; not a digit first).
bool IsValidIdent(std::string_view Ident);
