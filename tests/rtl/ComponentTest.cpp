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
  // A sibling is told only when it asked: the owner does not pass notifications on.
  auto* sibling = new TCounted(&root);
  auto* other = new TCounted(&root);
  watcher->Watch(sibling);
  other->Watched = sibling;
  FreeObject(sibling);
  EXPECT_EQ(watcher->Watched, nullptr);
  EXPECT_EQ(other->Watched, sibling);
  // Two components that keep a reference to each other: one taking back its request leaves the
  // other's standing.
  auto* p = new TCounted(&root);
  auto* q = new TCounted(&root);
  p->Watch(q);
  q->Watch(p);
  q->RemoveFreeNotification(p);  // p's request
  p->Watched = q;
  FreeObject(p);
  EXPECT_EQ(q->Watched, nullptr);
  // Asking and then taking the request back: no notification, and no dangling entry.
  auto* third = new TCounted(&root);
  watcher->Watch(third);
  third->RemoveFreeNotification(watcher);
  FreeObject(third);
  EXPECT_EQ(watcher->Watched, third);
}

// The owner's look-up by name against a plain scan of its components, through a long run of
// inserts, renames (some only in case, some to and from an empty name), moves between owners
// and frees, with names that differ only in case, many enough to grow the owner's table.
TEST(Component, LookUpByNameFollowsEveryChange) {
  TCounted a(nullptr), b(nullptr);
  std::vector<std::string> pool = {"Orders", "ORDERS", "orders", "Items", "iTeMs", "Q", "q", "", "x1", "X1"};
  // Enough names that the owner's table grows, its runs collide and wrap around its end.
  for (int i = 0; i < 40; ++i) pool.push_back((i % 2 ? "T" : "t") + std::to_string(i % 30));
  auto scan = [&](TComponent& owner, const std::string& name) -> TComponent* {
    for (int i = 0; i < owner.ComponentCount(); ++i)
      if (!name.empty() && SameText(owner.Components(i)->Name(), name)) return owner.Components(i);
    return nullptr;
  };
  unsigned seed = 7;
  auto next = [&](unsigned n) { return (seed = seed * 1103515245u + 12345u) / 65536u % n; };
  for (int step = 0; step < 2000; ++step) {
    TCounted& owner = next(2) ? a : b;
    const std::string& name = pool[next(static_cast<unsigned>(pool.size()))];
    int count = owner.ComponentCount();
    TComponent* some = count ? owner.Components(static_cast<int>(next(static_cast<unsigned>(count)))) : nullptr;
    switch (next(4)) {
      case 0: {
        auto* c = new TCounted(&owner);
        try {
          c->SetName(name);
        } catch (const EComponentError&) {
          EXPECT_NE(scan(owner, name), nullptr) << name;
        }
        break;
      }
      case 1:
        if (!some) break;
        try {
          some->SetName(name);
          EXPECT_EQ(some->Name(), name);
        } catch (const EComponentError&) {
          EXPECT_NE(scan(owner, name), some) << name;
        }
        break;
      case 2:
        if (!some) break;
        try {
          some->ChangeOwner(&owner == &a ? &b : &a);
        } catch (const EComponentError&) {
          EXPECT_EQ(some->Owner(), &owner);
        }
        break;
      default:
        if (some) FreeObject(some);
    }
    for (TCounted* o : {&a, &b})
      for (const std::string& n : pool) ASSERT_EQ(o->FindComponent(n), scan(*o, n)) << "step " << step << ": " << n;
  }
  EXPECT_GT(a.ComponentCount() + b.ComponentCount(), 0);
}

// Thousands of names in one owner: its table grows many times over, and names taken out in a
// scattered order (freed, renamed) leave gaps inside runs, some of which wrap around its end.
TEST(Component, LookUpByNameAmongThousands) {
  constexpr int kCount = 4000;  // just under half the table it grows to: long runs
  TCounted owner(nullptr);
  std::vector<TComponent*> made;
  for (int i = 0; i < kCount; ++i) {
    made.push_back(new TCounted(&owner));
    made.back()->SetName("C" + std::to_string(i));
  }
  std::vector<bool> freed(kCount);
  for (int i = 0; i < kCount; ++i) {
    const int victim = i * 7 % kCount;  // every third, in a scattered order
    if (victim % 3 != 0) continue;
    FreeObject(made[static_cast<size_t>(victim)]);
    freed[static_cast<size_t>(victim)] = true;
  }
  for (int i = 1; i < kCount; i += 3) made[static_cast<size_t>(i)]->SetName("c" + std::to_string(i) + "r");
  for (int i = 0; i < kCount; ++i) {
    const std::string n = std::to_string(i);
    TComponent* expected = freed[static_cast<size_t>(i)] || i % 3 == 1 ? nullptr : made[static_cast<size_t>(i)];
    EXPECT_EQ(owner.FindComponent("c" + n), expected) << n;
    if (i % 3 == 1) {
      EXPECT_EQ(owner.FindComponent("C" + n + "R"), made[static_cast<size_t>(i)]) << n;
    }
  }
  EXPECT_EQ(owner.ComponentCount(), kCount - (kCount + 2) / 3);
}

TEST(Component, DesigningStateReachesOwnedComponents) {
  TCounted root(nullptr);
  root.SetDesigning(true);
  auto* a = new TCounted(&root);
  EXPECT_TRUE(a->ComponentState().Contains(csDesigning));
}

}  // namespace
