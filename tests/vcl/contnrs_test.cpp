// Component lists: owned components freed with the list, freed components leave it.
#include "vcl/contnrs.h"

#include <gtest/gtest.h>

namespace {

// A component that counts its own end.
class TCounted : public TComponent {
 public:
  TCounted(TComponent* owner, int& freed) : TComponent(owner), FFreed(freed) {}
  ~TCounted() override { ++FFreed; }

 private:
  int& FFreed;
};

TEST(ComponentList, OwningListFreesWhatItDeletesAndHolds) {
  int freed = 0;
  auto* kept = new TCounted(nullptr, freed);
  {
    TComponentList list;
    auto* a = new TCounted(nullptr, freed);
    list.Add(a);
    list.Add(new TCounted(nullptr, freed));
    list.Insert(0, kept);
    EXPECT_EQ(list.IndexOf(a), 1);
    EXPECT_EQ(list.Extract(kept), kept);  // out, not freed
    EXPECT_EQ(freed, 0);
    list.Delete(0);  // a
    EXPECT_EQ(freed, 1);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_THROW(list.Items(1), EListError);
  }
  EXPECT_EQ(freed, 2);
  delete kept;  // extracted: the list no longer listens to it
  EXPECT_EQ(freed, 3);
}

TEST(ComponentList, ComponentFreedElsewhereLeavesTheList) {
  for (bool owns : {true, false}) {
    SCOPED_TRACE(owns);
    int freed = 0;
    auto* owner = new TComponent(nullptr);
    auto* a = new TCounted(owner, freed);
    auto* b = new TCounted(nullptr, freed);
    TComponentList list(owns);
    list.Add(a);
    list.Add(b);
    list.Add(a);  // twice
    delete owner;
    EXPECT_EQ(freed, 1);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Items(0), b);
    list.Remove(b);
    EXPECT_EQ(freed, owns ? 2 : 1);
    if (!owns) delete b;
  }
}

}  // namespace
