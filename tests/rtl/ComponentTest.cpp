// Ownership, names and free notifications of components.
#include <gtest/gtest.h>

#include "host/rtl/Classes.h"

namespace {

int live = 0;

class TCounted : public TComponent {
  TIRVENDAL_CLASS(TCounted)
  explicit TCounted(TComponent* owner) : TComponent(owner) { ++live; }
  ~TCounted() override { --live; }
  TComponent* Watched = nullptr;
  void Watch(TComponent* c) {
    Watched = c;
    if (c) c->FreeNotification(this);
  }

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c == Watched) Watched = nullptr;
  }
};

TClass TCounted::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCounted>(TComponent::StaticClass()).Component().Build();
  return &info;
}

TEST(Component, OwnerFreesWhatItOwns) {
  {
    TCounted root(nullptr);
    auto* a = new TCounted(&root);
    new TCounted(a);
    EXPECT_EQ(root.ComponentCount(), 1);
    EXPECT_EQ(a->ComponentCount(), 1);
    EXPECT_EQ(live, 3);
  }
  EXPECT_EQ(live, 0);
}

TEST(Component, FreeingAnOwnedComponentLeavesItsOwner) {
  TCounted root(nullptr);
  auto* a = new TCounted(&root);
  auto* b = new TCounted(&root);
  FreeObject(a);
  ASSERT_EQ(root.ComponentCount(), 1);
  EXPECT_EQ(root.Components(0), b);
  EXPECT_EQ(b->ComponentIndex(), 0);
}

TEST(Component, NamesAreIdentifiersAndUniqueAmongSiblings) {
  TCounted root(nullptr);
  auto* a = new TCounted(&root);
  auto* b = new TCounted(&root);
  a->SetName("Orders");
  EXPECT_THROW(b->SetName("orders"), EComponentError);
  EXPECT_THROW(b->SetName("1abc"), EComponentError);
  EXPECT_THROW(b->SetName("a b"), EComponentError);
  // Past the platform's significant length a name is refused, not cut, and not echoed whole.
  b->SetName(std::string(255, 'n'));
  try {
    b->SetName(std::string(100000, 'n'));
    ADD_FAILURE() << "a name of 100000 characters was taken";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component name of 100000 characters is longer than the 255 that count");
  }
  EXPECT_EQ(b->Name(), std::string(255, 'n'));
  b->SetName("Customers");
  EXPECT_EQ(root.FindComponent("CUSTOMERS"), b);
  EXPECT_EQ(root.FindComponent("Nope"), nullptr);
  a->SetName("Orders");  // its own name again is fine
}

TEST(Component, FreeNotificationClearsReferences) {
  TCounted root(nullptr);
  auto* watcher = new TCounted(&root);
  {
    TCounted outside(nullptr);  // not owned by the same root
    watcher->Watch(&outside);
  }
  EXPECT_EQ(watcher->Watched, nullptr);
  auto* sibling = new TCounted(&root);
  watcher->Watched = sibling;  // siblings hear of each other through their owner
  FreeObject(sibling);
  EXPECT_EQ(watcher->Watched, nullptr);
}

TEST(Component, DesigningStateReachesOwnedComponents) {
  TCounted root(nullptr);
  root.SetDesigning(true);
  auto* a = new TCounted(&root);
  EXPECT_TRUE(a->ComponentState().Contains(csDesigning));
}

}  // namespace
