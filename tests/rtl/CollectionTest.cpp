// Collections copy their items and keep what they had when a copy fails.
#include <gtest/gtest.h>

#include "host/rtl/Classes.h"

namespace {

class TNote : public TCollectionItem {
  TIRVENDAL_CLASS(TNote)
  std::string Text;
  bool Poisoned = false;
  void Assign(const TPersistent* source) override {
    auto* other = dynamic_cast<const TNote*>(source);
    if (!other) return TCollectionItem::Assign(source);
    if (other->Poisoned) throw EConvertError("cannot copy " + other->Text);
    Text = other->Text;
  }
};

TClass TNote::StaticClass() {
  static const TClassInfo info = TClassBuilder<TNote>(TCollectionItem::StaticClass()).Build();
  return &info;
}

TCollection::ItemFactory Notes() {
  return [] { return std::make_unique<TNote>(); };
}

TEST(Collection, AddInsertDeleteKeepOrderAndIndex) {
  TCollection c(Notes());
  static_cast<TNote*>(c.Add())->Text = "a";
  static_cast<TNote*>(c.Add())->Text = "c";
  static_cast<TNote*>(c.Insert(1))->Text = "b";
  ASSERT_EQ(c.Count(), 3);
  EXPECT_EQ(static_cast<TNote*>(c.Items(1))->Text, "b");
  EXPECT_EQ(c.Items(2)->Index(), 2);
  c.Delete(0);
  EXPECT_EQ(static_cast<TNote*>(c.Items(0))->Text, "b");
  EXPECT_THROW(c.Items(5), EListError);
}

TEST(Collection, AssignReplacesWithCopies) {
  TCollection from(Notes()), to(Notes());
  static_cast<TNote*>(from.Add())->Text = "x";
  static_cast<TNote*>(to.Add())->Text = "old";
  to.Assign(&from);
  ASSERT_EQ(to.Count(), 1);
  EXPECT_NE(to.Items(0), from.Items(0));
  EXPECT_EQ(static_cast<TNote*>(to.Items(0))->Text, "x");
  EXPECT_EQ(to.Items(0)->Collection(), &to);
}

TEST(Collection, FailedAssignLeavesTheTargetAsItWas) {
  TCollection from(Notes()), to(Notes());
  static_cast<TNote*>(from.Add())->Text = "ok";
  auto* bad = static_cast<TNote*>(from.Add());
  bad->Text = "bad";
  bad->Poisoned = true;
  static_cast<TNote*>(to.Add())->Text = "kept";
  EXPECT_THROW(to.Assign(&from), EConvertError);
  ASSERT_EQ(to.Count(), 1);
  EXPECT_EQ(static_cast<TNote*>(to.Items(0))->Text, "kept");
  TStringList notACollection;
  EXPECT_THROW(to.Assign(&notACollection), EConvertError);
}

}  // namespace
