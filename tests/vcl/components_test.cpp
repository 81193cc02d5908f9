#include <gtest/gtest.h>

#include "vcl/classes.h"

namespace {

// Records the notifications it receives and tells a flag when it is freed.
class Probe : public TComponent {
 public:
  Probe(TComponent* owner, bool* freed = nullptr) : TComponent(owner), freed_(freed) {}
  ~Probe() override {
    if (freed_) *freed_ = true;
  }
  std::vector<std::pair<TComponent*, TOperation>> seen;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    seen.emplace_back(c, op);
    TComponent::Notification(c, op);
  }

 private:
  bool* freed_;
};

TEST(Components, OwnerFreesOwnedComponentsAndNamesAreUnique) {
  bool aFreed = false, bFreed = false;
  auto* owner = new TComponent(nullptr);
  auto* a = new Probe(owner, &aFreed);
  auto* b = new Probe(owner, &bFreed);
  a->SetName("First");
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->FindComponent("first"), a);
  EXPECT_THROW(b->SetName("FIRST"), EComponentError);
  delete b;  // leaves its owner's list
  EXPECT_TRUE(bFreed);
  EXPECT_EQ(owner->ComponentCount(), 1);
  delete owner;
  EXPECT_TRUE(aFreed);
}

TEST(Components, FreeNotificationReachesPeersWithOtherOwners) {
  auto* o1 = new TComponent(nullptr);
  auto* o2 = new TComponent(nullptr);
  auto* watcher = new Probe(o1);
  auto* watched = new TComponent(o2);
  watched->FreeNotification(watcher);
  delete watched;
  ASSERT_FALSE(watcher->seen.empty());
  EXPECT_EQ(watcher->seen.back().first, watched);
  EXPECT_EQ(watcher->seen.back().second, opRemove);
  delete o2;
  delete o1;  // the watcher must not touch the freed peer
}

TEST(Components, ClassReferencesKnowTheirParents) {
  TComponent c(nullptr);
  EXPECT_EQ(c.ClassName(), "TComponent");
  EXPECT_TRUE(c.InheritsFrom(TPersistent::StaticClass()));
  EXPECT_FALSE(TPersistent::StaticClass()->InheritsFrom(TComponent::StaticClass()));
}

}  // namespace
